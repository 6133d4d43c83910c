// Bugs keep copies of the names of their people, versions, project and
// classification. Synchronize rewrites those copies from the current records,
// all in one transaction on the context's connection: either every stored
// name is brought up to date or none is.
#include <exception>

#include "context/CExeContext.h"
#include "core/Guarded.h"
#include "db/DatabaseError.h"
#include "db/Recordset.h"
#include "mapping/ValueConversion.h"
#include "stores/BugStore.h"
#include "stores/ClassificationStore.h"

namespace lindor {
namespace {

constexpr const char* kSynUser = "CExeContext::SynUser";
constexpr const char* kSynVersion = "CExeContext::SynVersion";
constexpr const char* kSynClass = "CExeContext::SynClass";

// A step that failed after logging why.
struct StepFailed {};

[[noreturn]] void FailStep(const char* source, const char* text)
{
    LogMessage(kLogGeneral, source, text);
    throw StepFailed();
}

template <class Step>
bool RunStep(const char* source, Step step)
{
    try {
        step();
        return true;
    } catch (const StepFailed&) {
    } catch (const DatabaseError& error) {
        LogDatabaseError(kLogDatabase, source, error);
    } catch (const std::exception& error) {
        LogMessage(kLogGeneral, source, error.what());
    }
    return false;
}

void SynchronizeUser(db::Connection& connection, IUser* user)
{
    std::int32_t id = 0;
    std::string name;
    user->get_ID(&id);
    user->get_UserName(&name);
    stores::RewriteUserNameInBugs(connection, id, name);
}

void SynchronizeVersion(db::Connection& connection, IVersion* version)
{
    std::int32_t id = 0;
    std::string name;
    version->get_ID(&id);
    version->get_Name(&name);
    stores::RewriteVersionNameInBugs(connection, id, name);
}

void SynchronizeProject(db::Connection& connection, IProject* project)
{
    std::int32_t versionCount = 0;
    project->get_VersionCount(&versionCount);
    for (std::int32_t i = 0; i < versionCount; ++i) {
        ComPtr<IVersion> version;
        if (Failed(project->get_Version(i, version.put())) || !version)
            FailStep(kSynVersion, "get version failed");
        SynchronizeVersion(connection, version.get());
    }
    std::int32_t id = 0;
    std::string name;
    project->get_ID(&id);
    project->get_Name(&name);
    stores::RewriteProjectNameInBugs(connection, id, name);
}

void SynchronizeClassifications(db::Connection& connection)
{
    db::Recordset classes;
    stores::OpenClassificationNames(classes, connection);
    for (; !classes.IsEOF(); classes.MoveNext())
        stores::RewriteClassificationNameInBugs(connection,
                                                mapping::ReadWholeNumber(classes.Fields(0).Value()),
                                                mapping::ReadText(classes.Fields(1).Value()));
}

// Calls each(item) for every item of a user or project set, in order.
template <class Item, class Set, class Each>
void ForEachItem(Set& set, const char* source, Each each)
{
    std::int32_t count = 0;
    set.get_Count(&count);
    for (std::int32_t i = 0; i < count; ++i) {
        ComPtr<Item> item;
        if (Failed(set.get_Item(i, item.put())) || !item) FailStep(source, "get_Item failed");
        each(item.get());
    }
}

// Step 1: the people's names.
bool SynchronizeUserNames(IExeContext& context, db::Connection& connection)
{
    return RunStep(kSynUser, [&] {
        ComPtr<IUserSet> users;
        if (Failed(context.get_AllUser(users.put())) || !users)
            FailStep(kSynUser, "Get All user set failed");
        ForEachItem<IUser>(*users, kSynUser,
                           [&](IUser* user) { SynchronizeUser(connection, user); });
    });
}

// Step 2: the names of versions and projects.
bool SynchronizeVersionNames(IExeContext& context, db::Connection& connection)
{
    return RunStep(kSynVersion, [&] {
        ComPtr<IProjectSet> projects;
        if (Failed(context.get_ProjectSet(projects.put())) || !projects)
            FailStep(kSynVersion, "Get projects set failed");
        ForEachItem<IProject>(*projects, kSynVersion,
                              [&](IProject* project) { SynchronizeProject(connection, project); });
    });
}

// Step 3: the classifications' names.
bool SynchronizeClassNames(db::Connection& connection)
{
    return RunStep(kSynClass, [&] { SynchronizeClassifications(connection); });
}

}  // namespace

HRESULT CExeContext::Synchronize()
{
    const char* const failed = "Synchronization Failed!";
    return Guarded(failed, "CExeContext::Synchronize", [&] {
        db::Transaction transaction(connection());
        const bool done = SynchronizeUserNames(*this, connection()) &&
                          SynchronizeVersionNames(*this, connection()) &&
                          SynchronizeClassNames(connection());
        // Each failed step has logged its cause; the transaction rolls back.
        if (!done) return Report().FailQuietly(failed);
        transaction.Commit();
        return S_OK;
    });
}

}  // namespace lindor
