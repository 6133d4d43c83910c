// The context's administration object and the classifications assigned to
// users.
#include <exception>
#include <set>

#include "admin/CAdmin.h"
#include "classifications/CClassification.h"
#include "classifications/CClassificationSet.h"
#include "context/CExeContext.h"
#include "db/DatabaseError.h"
#include "db/Recordset.h"
#include "mapping/DBUtil.h"
#include "mapping/ValueConversion.h"
#include "stores/ClassificationStore.h"

namespace lindor {
namespace {

constexpr const char* kGetClassSource = "CExeContext::GetUserClassification";
constexpr const char* kGetClassFailed = "Get User's Classification Failed";
constexpr const char* kAssignSource = "CExeContext::AssignUserClassification";
constexpr const char* kAssignFailed = "Assign classification to user failed!";
constexpr const char* kAssignAction = "assign classification to user for this Project";

std::string UserClassificationQuery(std::int32_t userID, std::int32_t projectID)
{
    if (userID == 0)
        return Format("SELECT * FROM tClassification WHERE ProjectID=%ld",
                      static_cast<long>(projectID));
    if (projectID != 0)
        return Format(
            "SELECT tClassification.* FROM tUser INNER JOIN ((tProject INNER JOIN tClassification "
            "ON  tClassification.ProjectID  = tProject.ProjectID) INNER JOIN tUserClassification "
            "ON tClassification.ClassificationID = tUserClassification.ClassificationID) ON "
            "tUser.UserID = tUserClassification.UserID WHERE tUser.UserID=%ld AND "
            "tProject.ProjectID=%ld",
            static_cast<long>(userID), static_cast<long>(projectID));
    return Format(
        "SELECT tClassification.* FROM tUserRight INNER JOIN (tUser INNER JOIN (((tProject INNER "
        "JOIN tClassification ON tProject.ProjectID = tClassification.ProjectID) INNER JOIN tRight "
        "ON tProject.ProjectID = tRight.ProjectID) INNER JOIN tUserClassification ON "
        "tClassification.ClassificationID = tUserClassification.ClassificationID) ON tUser.UserID "
        "= tUserClassification.UserID) ON (tUserRight.UserRightID = tUser.UserRightID) AND "
        "(tUserRight.UserRightID = tRight.UserRightID) WHERE tUser.UserID=%ld",
        static_cast<long>(userID));
}

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

// Deletes the user's assignments in the project and adds the given ones.
// The assignments in other projects stay: the client assigns one project at
// a time.
void ReplaceAssignments(db::Connection& connection, std::int32_t userID,
                        const std::set<std::int32_t>& projectClasses, const std::int32_t* classIDs,
                        std::int32_t classCount)
{
    db::Recordset rows;
    rows.Open(
        Format("SELECT *  FROM tUserClassification WHERE UserID=%ld", static_cast<long>(userID)),
        connection, db::CursorType::Keyset, db::LockType::Optimistic);
    for (; !rows.IsEOF(); rows.MoveNext()) {
        const std::int32_t classID =
            mapping::ReadWholeNumber(rows.Fields("ClassificationID").Value());
        if (projectClasses.count(classID) != 0) rows.Delete();
    }
    for (std::int32_t i = 0; i < classCount; ++i) {
        rows.AddNew();
        mapping::WriteWholeNumber(rows.Fields("UserID"), userID);
        mapping::WriteWholeNumber(rows.Fields("ClassificationID"), classIDs[i]);
        rows.Update();
    }
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
    try {
        db::Recordset rows;
        rows.Open(UserClassificationQuery(userID, projectID), connection(), db::CursorType::Static,
                  db::LockType::ReadOnly);
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
    } catch (const DatabaseError& error) {
        return Report().FailDatabase(kGetClassFailed, kGetClassSource, error);
    } catch (const std::exception& error) {
        return Report().Fail(kGetClassFailed, kLogGeneral, kGetClassSource, error.what());
    }
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
    try {
        db::Transaction transaction(connection());
        const std::set<std::int32_t> projectClasses =
            stores::ClassificationIDsOfProject(connection(), projectID);
        if (const std::int32_t* foreign =
                ForeignClassification(classIDs, classCount, projectClasses))
            return Report().Fail(kAssignFailed, kLogGeneral, kAssignSource,
                                 Format("Classification(ID=%ld) does not belong to Project(ID=%ld)",
                                        static_cast<long>(*foreign), static_cast<long>(projectID)));
        ReplaceAssignments(connection(), userID, projectClasses, classIDs, classCount);
        transaction.Commit();
        return S_OK;
    } catch (const DatabaseError& error) {
        return Report().FailDatabase(kAssignFailed, kAssignSource, error);
    } catch (const std::exception& error) {
        return Report().Fail(kAssignFailed, kLogGeneral, kAssignSource, error.what());
    }
}

}  // namespace lindor
