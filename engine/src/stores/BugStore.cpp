#include "stores/BugStore.h"

#include "stores/AttachmentStore.h"
#include "stores/StoreRows.h"

namespace lindor::stores {
namespace {

// Deletes each bug the query selects (by BugID) after its attachments.
void DeleteBugsWithAttachments(db::Connection& connection, const db::Query& bugs)
{
    for (const std::int32_t bugID : ReadIdentifiers(connection, bugs))
        DeleteAttachmentsOfBug(connection, bugID);
    DeleteEveryRow(connection, bugs);
}

// Rewrites the copied name in `column` of the bugs whose `idColumn` is `id`,
// leaving alone the rows that already hold the name (and those that hold none).
void RewriteWhereDiffers(db::Connection& connection, const std::string& column,
                         const char* idColumn, std::int32_t id, const std::string& name)
{
    RewriteEveryRow(
        connection,
        {"SELECT " + column + " FROM tBugReport WHERE " + idColumn + " = ? AND " + column + " <> ?",
         id, name},
        name);
}

}  // namespace

void OpenBugList(db::Recordset& rows, db::Connection& connection, const std::string& condition,
                 const std::string& order)
{
    const std::string where = condition.empty() ? "" : " WHERE " + condition;
    OpenToWrite(rows, connection, "SELECT * FROM tBugReport" + where + " ORDER BY " + order);
}

bool ReadBugPlacement(db::Connection& connection, std::int32_t id, std::int32_t* projectID,
                      std::int32_t* reportedInVersionID)
{
    db::Recordset row;
    row.Open({"SELECT ReportedInPrjID, ReportedInVersionID FROM tBugReport WHERE BugID = ?", id},
             connection, db::CursorType::ForwardOnly, db::LockType::ReadOnly);
    if (row.IsEOF()) return false;
    *projectID = NumberOf(row.Fields(0).Value());
    *reportedInVersionID = NumberOf(row.Fields(1).Value());
    return true;
}

bool DeleteBugWithAttachments(db::Connection& connection, std::int32_t id)
{
    DeleteAttachmentsOfBug(connection, id);
    return DeleteEveryRow(connection, {"SELECT BugID FROM tBugReport WHERE BugID = ?", id}) > 0;
}

void DeleteBugsReportedIn(db::Connection& connection, std::int32_t versionID)
{
    DeleteBugsWithAttachments(
        connection, {"SELECT BugID FROM tBugReport WHERE ReportedInVersionID = ?", versionID});
}

void DeleteBugsOfProject(db::Connection& connection, std::int32_t projectID)
{
    DeleteBugsWithAttachments(
        connection, {"SELECT BugID FROM tBugReport WHERE ReportedInPrjID = ?", projectID});
}

void DetachBugsFromClassification(db::Connection& connection, std::int32_t classificationID)
{
    db::Recordset bugs;
    OpenToWrite(
        bugs, connection,
        {"SELECT ClassID, Classification FROM tBugReport WHERE ClassID = ?", classificationID});
    for (; !bugs.IsEOF(); bugs.MoveNext()) {
        bugs.Fields(0).SetValue(Variant::I4(0));
        bugs.Fields(1).SetValue(Variant::Null());
        bugs.Update();
    }
}

void RewriteUserNameInBugs(db::Connection& connection, std::int32_t userID, const std::string& name)
{
    RewriteEveryRow(connection,
                    {"SELECT ReportedBy FROM tBugReport WHERE ReportedByID = ?", userID}, name);
    RewriteEveryRow(connection, {"SELECT FixedBy FROM tBugReport WHERE FixedByID = ?", userID},
                    name);
    RewriteEveryRow(connection,
                    {"SELECT VerifiedBy FROM tBugReport WHERE VerifiedByID = ?", userID}, name);
}

void RewriteVersionNameInBugs(db::Connection& connection, std::int32_t versionID,
                              const std::string& name)
{
    RewriteWhereDiffers(connection, "ReportedInVersion", "ReportedInVersionID", versionID, name);
    RewriteWhereDiffers(connection, "FixedInVersion", "FixedInVersionID", versionID, name);
}

void RewriteProjectNameInBugs(db::Connection& connection, std::int32_t projectID,
                              const std::string& name)
{
    RewriteWhereDiffers(connection, "ReportedInPrj", "ReportedInPrjID", projectID, name);
}

void RewriteClassificationNameInBugs(db::Connection& connection, std::int32_t classificationID,
                                     const std::string& name)
{
    RewriteEveryRow(connection,
                    {"SELECT Classification FROM tBugReport WHERE ClassID = ?", classificationID},
                    name);
}

bool ReadUserNameForBug(db::Connection& connection, std::int32_t userID, std::string* name)
{
    return FirstText(connection, {"SELECT UserName FROM tUser WHERE UserID = ?", userID}, name);
}

}  // namespace lindor::stores
