// The context's administration object and the classifications assigned to
// users.
#include <set>
#include <vector>

#include "admin/CAdmin.h"
#include "classifications/CClassification.h"
#include "classifications/CClassificationSet.h"
#include "context/CExeContext.h"
#include "db/Recordset.h"
#include "mapping/DBUtil.h"
#include "mapping/ValueConversion.h"
#include "stores/ClassificationStore.h"
#include "stores/UserStore.h"

namespace lindor {
namespace {

constexpr const char* kGetClassSource = "CExeContext::GetUserClassification";
constexpr const char* kGetClassFailed = "Get User's Classification Failed";
constexpr const char* kAssignSource = "CExeContext::AssignUserClassification";
constexpr const char* kAssignFailed = "Assign classification to user failed!";
constexpr const char* kAssignAction = "assign classification to user for this Project";

// Why the current user may not assign classifications in the project by his
// rights there as stored now, or null when he may.
const char* AssignRefusal(CurrentRights& rights, std::int32_t projectID)
{
    // Before any login there is no role, and so no right.
    if (rights.LoggedInUserID() == 0) return "get current right failed";
    const ComPtr<IRight> right = rights.StoredProjectRight(projectID);
    if (!right) return "current user has no right for this Project";
    if (!HasFlag(right.get(), &IRight::get_AssignClassToUser))
        return "current has no right to assign classification to user!";
    return nullptr;
}

// The first of the given classifications that is not one of the project's,
// or null when all are.
const std::int32_t* ForeignClassification(const std::int32_t* classIDs, std::int32_t classCount,
                                          const std::set<std::int32_t>& projectClasses)
{
    for (std::int32_t i = 0; i < classCount; ++i)
        if (projectClasses.count(classIDs[i]) == 0) return &classIDs[i];
    return nullptr;
}

}  // namespace

HRESULT CExeContext::get_Admin(IAdmin** out)
{
    if (out == nullptr) return Report().FailQuietly("Invalid Pointer");
    *out = nullptr;
    if (!IsAdministrator()) {
        LogMessage(kLogGeneral, "CExeContext::get_Admin", "You are not an admin");
        return S_OK;
    }
    HandOut(MakeObject<CAdmin>(), out);
    return S_OK;
}

HRESULT CExeContext::GetUserClassification(std::int32_t userID, std::int32_t projectID,
                                           IClassificationSet** out)
{
    if (out == nullptr) return Report().FailQuietly("Invalid Pointer");
    *out = nullptr;
    return Guarded(kGetClassFailed, kGetClassSource, [&] {
        db::Recordset rows;
        stores::OpenClassificationsOfUser(rows, connection(), userID, projectID);
        ComPtr<CClassificationSet> set = MakeObject<CClassificationSet>();
        for (; !rows.IsEOF(); rows.MoveNext()) {
            ComPtr<CClassification> classification = MakeObject<CClassification>();
            // The reader has logged why it failed.
            if (CDBUtil::GetClassData(rows, classification.get()) != S_OK)
                return Report().FailQuietly(kGetClassFailed);
            set->Append(classification.get());
        }
        HandOut(set, out);
        return S_OK;
    });
}

// Replaces the user's assignments in one project, all or nothing. Only
// classifications of that project are accepted: the right checked is the
// right in that project.
HRESULT CExeContext::AssignUserClassification(std::int32_t userID, const std::int32_t* classIDs,
                                              std::int32_t classCount, std::int32_t projectID)
{
    if (const char* refusal = AssignRefusal(*this, projectID))
        return Report().FailRight(kAssignAction, kAssignSource, refusal);
    if (classCount < 0 || (classCount > 0 && classIDs == nullptr))
        return Report().Fail(kAssignFailed, kLogGeneral, kAssignSource, "Invalid Pointer");
    return Guarded(kAssignFailed, kAssignSource, [&] {
        db::Transaction transaction(connection());
        const std::set<std::int32_t> projectClasses =
            stores::ClassificationIDsOfProject(connection(), projectID);
        if (const std::int32_t* foreign =
                ForeignClassification(classIDs, classCount, projectClasses))
            return Report().Fail(kAssignFailed, kLogGeneral, kAssignSource,
                                 Format("Classification(ID=%ld) does not belong to Project(ID=%ld)",
                                        static_cast<long>(*foreign), static_cast<long>(projectID)));
        // The assignments in other projects stay: the client assigns one
        // project at a time.
        stores::ReplaceAssignments(
            connection(), userID,
            std::vector<std::int32_t>(projectClasses.begin(), projectClasses.end()),
            std::vector<std::int32_t>(classIDs, classIDs + classCount));
        transaction.Commit();
        return S_OK;
    });
}

}  // namespace lindor
