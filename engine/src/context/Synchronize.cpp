// Bugs keep copies of the names of their people, versions, project and
// classification. Synchronize rewrites those copies from the current records,
// all in one transaction on the context's connection: either every stored
// name is brought up to date or none is.
#include <exception>

#include "context/CExeContext.h"
#include "db/DatabaseError.h"
#include "db/Dialect.h"
#include "db/Recordset.h"
#include "mapping/ValueConversion.h"

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

// Sets the only column of every row the query returns to the name.
void Rewrite(db::Connection& connection, const std::string& query, const std::string& name)
{
    db::Recordset rows;
    rows.Open(query, connection, db::CursorType::Keyset, db::LockType::Optimistic);
    for (; !rows.IsEOF(); rows.MoveNext()) {
        mapping::WriteText(rows.Fields(0), name);
        rows.Update();
    }
}

// A condition that leaves rows already holding the name (and rows holding
// none) alone; the name is quoted so that an apostrophe in it is just text.
std::string Differs(const char* column, const std::string& name)
{
    return std::string(" AND ") + column + " <> " + db::QuoteText(name);
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
    const long userID = static_cast<long>(id);
    Rewrite(connection,
            Format("SELECT ReportedBy FROM tBugReport WHERE ReportedByID = %ld", userID), name);
    Rewrite(connection, Format("SELECT FixedBy FROM tBugReport WHERE FixedByID = %ld", userID),
            name);
    Rewrite(connection,
            Format("SELECT VerifiedBy FROM tBugReport WHERE VerifiedByID = %ld", userID), name);
}

void SynchronizeVersion(db::Connection& connection, IVersion* version)
{
    std::int32_t id = 0;
    std::string name;
    version->get_ID(&id);
    version->get_Name(&name);
    const long versionID = static_cast<long>(id);
    Rewrite(connection,
            Format("SELECT ReportedInVersion FROM tBugReport WHERE ReportedInVersionID = %ld",
                   versionID) +
                Differs("ReportedInVersion", name),
            name);
    Rewrite(
        connection,
        Format("SELECT FixedInVersion FROM tBugReport WHERE FixedInVersionID = %ld", versionID) +
            Differs("FixedInVersion", name),
        name);
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
    Rewrite(connection,
            Format("SELECT ReportedInPrj FROM tBugReport WHERE ReportedInPrjID = %ld",
                   static_cast<long>(id)) +
                Differs("ReportedInPrj", name),
            name);
}

void SynchronizeClassifications(db::Connection& connection)
{
    db::Recordset classes;
    classes.Open("SELECT ClassificationID, ClassName FROM tClassification", connection,
                 db::CursorType::ForwardOnly, db::LockType::ReadOnly);
    for (; !classes.IsEOF(); classes.MoveNext()) {
        const std::int32_t id = mapping::ReadWholeNumber(classes.Fields(0).Value());
        Rewrite(connection,
                Format("SELECT Classification FROM tBugReport WHERE ClassID=%ld",
                       static_cast<long>(id)),
                mapping::ReadText(classes.Fields(1).Value()));
    }
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
    try {
        db::Transaction transaction(connection());
        const bool done = SynchronizeUserNames(*this, connection()) &&
                          SynchronizeVersionNames(*this, connection()) &&
                          SynchronizeClassNames(connection());
        // Each failed step has logged its cause; the transaction rolls back.
        if (!done) return Report().FailQuietly(failed);
        transaction.Commit();
        return S_OK;
    } catch (const DatabaseError& error) {
        return Report().FailDatabase(failed, "CExeContext::Synchronize", error);
    } catch (const std::exception& error) {
        return Report().Fail(failed, kLogGeneral, "CExeContext::Synchronize", error.what());
    }
}

}  // namespace lindor
