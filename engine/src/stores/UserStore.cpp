#include "stores/UserStore.h"

#include "stores/StoreRows.h"

#include <algorithm>

namespace lindor::stores {

// ---- users ------------------------------------------------------------------

void OpenLogin(db::Recordset& row, db::Connection& connection, const std::string& loginName)
{
    OpenToRead(row, connection,
               {"SELECT UserID,Password FROM tUser WHERE LoginName = ?", loginName});
}

void OpenUser(db::Recordset& row, db::Connection& connection, std::int32_t userID)
{
    OpenToRead(row, connection, {"SELECT * FROM tUser WHERE UserID = ?", userID});
}

void OpenUserForWriting(db::Recordset& row, db::Connection& connection, std::int32_t userID)
{
    OpenToWrite(row, connection, {"SELECT * FROM tUser WHERE UserID = ?", userID});
}

void OpenAllUsers(db::Recordset& rows, db::Connection& connection)
{
    rows.Open("SELECT * FROM tUser", connection, db::CursorType::ForwardOnly,
              db::LockType::ReadOnly);
}

bool LoginNameTaken(db::Connection& connection, const std::string& loginName, std::int32_t ownID)
{
    return AnyRow(connection, {"SELECT UserID FROM tUser WHERE LoginName = ? AND UserID <> ?",
                               loginName, ownID});
}

bool DeleteUser(db::Connection& connection, std::int32_t userID)
{
    if (!AnyRow(connection, {"SELECT UserID FROM tUser WHERE UserID = ?", userID})) return false;
    DeleteEveryRow(connection, {"SELECT UserID FROM tUserSystemInfo WHERE UserID = ?", userID});
    DeleteEveryRow(connection, {"SELECT UserID FROM tUserClassification WHERE UserID = ?", userID});
    DeleteEveryRow(connection, {"SELECT UserID FROM tUser WHERE UserID = ?", userID});
    return true;
}

// ---- roles and rights -------------------------------------------------------

bool ReadRoleOfUser(db::Connection& connection, std::int32_t userID, std::int32_t* roleID)
{
    db::Recordset row;
    OpenToRead(row, connection, {"SELECT UserRightID FROM tUser WHERE UserID = ?", userID});
    if (row.IsEOF()) return false;
    *roleID = NumberOf(row.Fields(0).Value());
    return true;
}

void SetRoleOfUser(db::Connection& connection, std::int32_t userID, std::int32_t roleID)
{
    db::Recordset row;
    OpenToWrite(row, connection,
                {"SELECT UserID, UserRightID FROM tUser WHERE UserID = ?", userID});
    if (row.IsEOF()) return;
    row.Fields("UserRightID").SetValue(Variant::I4(roleID));
    row.Update();
}

void OpenRole(db::Recordset& row, db::Connection& connection, std::int32_t roleID)
{
    OpenToRead(row, connection, {"SELECT * FROM tUserRight WHERE UserRightID = ?", roleID});
}

bool RoleExists(db::Connection& connection, std::int32_t roleID)
{
    return AnyRow(connection, {"SELECT UserRightID FROM tUserRight WHERE UserRightID = ?", roleID});
}

void AddRole(db::Connection& connection, std::int32_t roleID)
{
    db::Recordset row;
    OpenToWrite(row, connection, {"SELECT * FROM tUserRight WHERE UserRightID = ?", roleID});
    row.AddNew();
    row.Fields("UserRightID").SetValue(Variant::I4(roleID));
    row.Update();
}

void SetRoleMayAddProjects(db::Connection& connection, std::int32_t roleID, bool mayAdd)
{
    db::Recordset row;
    OpenToWrite(row, connection, {"SELECT * FROM tUserRight WHERE UserRightID = ?", roleID});
    if (row.IsEOF()) return;
    row.Fields("AddProject").SetValue(Variant::Bool(mayAdd));
    row.Update();
}

void OpenMayAddProjectsOfUser(db::Recordset& row, db::Connection& connection, std::int32_t userID)
{
    OpenToRead(row, connection,
               {"SELECT tUserRight.AddProject FROM tUserRight INNER JOIN tUser ON "
                "tUserRight.UserRightID = tUser.UserRightID WHERE tUser.UserID = ?",
                userID});
}

void OpenRightsOfRole(db::Recordset& rows, db::Connection& connection, std::int32_t roleID)
{
    OpenToRead(rows, connection, {"SELECT * FROM tRight WHERE UserRightID = ?", roleID});
}

void OpenRightsOfRoleForWriting(db::Recordset& rows, db::Connection& connection,
                                std::int32_t roleID)
{
    OpenToWrite(rows, connection, {"SELECT * FROM tRight WHERE UserRightID = ?", roleID});
}

void OpenRightOfUserInProject(db::Recordset& row, db::Connection& connection, std::int32_t userID,
                              std::int32_t projectID)
{
    OpenToRead(row, connection,
               {"SELECT tRight.* FROM tRight INNER JOIN tUser ON tRight.UserRightID = "
                "tUser.UserRightID WHERE tUser.UserID = ? AND tRight.ProjectID = ?",
                userID, projectID});
}

// The statuses first: the database refuses to delete a rights row that still
// has some.
void DeleteRightsOfRole(db::Connection& connection, std::int32_t roleID)
{
    DeleteEveryRow(connection, {"SELECT RightID FROM tAvailableStatus WHERE RightID IN "
                                "(SELECT RightID FROM tRight WHERE UserRightID = ?)",
                                roleID});
    DeleteEveryRow(connection, {"SELECT RightID FROM tRight WHERE UserRightID = ?", roleID});
}

void OpenAvailableStatuses(db::Recordset& rows, db::Connection& connection, std::int32_t rightID)
{
    OpenToRead(rows, connection,
               {"SELECT StatusName FROM tAvailableStatus WHERE RightID = ?", rightID});
}

void AddAvailableStatuses(db::Connection& connection, std::int32_t rightID,
                          const std::vector<std::string>& names)
{
    db::Recordset rows;
    OpenToWrite(rows, connection, {"SELECT * FROM tAvailableStatus WHERE RightID = ?", rightID});
    for (const std::string& name : names) {
        rows.AddNew();
        rows.Fields("StatusName").SetValue(Variant::Text(name));
        rows.Fields("RightID").SetValue(Variant::I4(rightID));
        rows.Update();
    }
}

void OpenProjectsOfUser(db::Recordset& rows, db::Connection& connection, std::int32_t userID)
{
    OpenToRead(rows, connection,
               {"SELECT tProject.* FROM (tUserRight INNER JOIN tUser ON "
                "tUserRight.UserRightID = tUser.UserRightID) INNER JOIN (tProject INNER "
                "JOIN tRight ON tProject.ProjectID = tRight.ProjectID) ON "
                "tUserRight.UserRightID = tRight.UserRightID WHERE tUser.UserID = ?",
                userID});
}

// ---- system information -----------------------------------------------------

void OpenSysInfoOfUser(db::Recordset& row, db::Connection& connection, std::int32_t userID)
{
    OpenToRead(row, connection, {"SELECT * FROM tUserSystemInfo WHERE UserID = ?", userID});
}

std::vector<std::int32_t> SysInfoIDsOfUser(db::Connection& connection, std::int32_t userID)
{
    db::Recordset rows;
    OpenToRead(rows, connection,
               {"SELECT UserSystemInfoID FROM tUserSystemInfo WHERE UserID = ?", userID});
    std::vector<std::int32_t> ids;
    for (; !rows.IsEOF(); rows.MoveNext()) ids.push_back(NumberOf(rows.Fields(0).Value()));
    return ids;
}

void OpenSysInfoForWriting(db::Recordset& row, db::Connection& connection, std::int32_t recordID)
{
    OpenToWrite(row, connection,
                {"SELECT * FROM tUserSystemInfo WHERE UserSystemInfoID = ?", recordID});
}

// ---- classification assignments ----------------------------------------------

void OpenClassificationsOfUser(db::Recordset& rows, db::Connection& connection, std::int32_t userID,
                               std::int32_t projectID)
{
    if (userID == 0) {
        OpenToRead(rows, connection,
                   {"SELECT * FROM tClassification WHERE ProjectID = ?", projectID});
        return;
    }
    if (projectID != 0) {
        OpenToRead(
            rows, connection,
            {"SELECT tClassification.* FROM tUser INNER JOIN ((tProject INNER JOIN tClassification "
             "ON  tClassification.ProjectID  = tProject.ProjectID) INNER JOIN tUserClassification "
             "ON tClassification.ClassificationID = tUserClassification.ClassificationID) ON "
             "tUser.UserID = tUserClassification.UserID WHERE tUser.UserID = ? AND "
             "tProject.ProjectID = ?",
             userID, projectID});
        return;
    }
    OpenToRead(
        rows, connection,
        {"SELECT tClassification.* FROM tUserRight INNER JOIN (tUser INNER JOIN (((tProject INNER "
         "JOIN tClassification ON tProject.ProjectID = tClassification.ProjectID) INNER JOIN "
         "tRight "
         "ON tProject.ProjectID = tRight.ProjectID) INNER JOIN tUserClassification ON "
         "tClassification.ClassificationID = tUserClassification.ClassificationID) ON tUser.UserID "
         "= tUserClassification.UserID) ON (tUserRight.UserRightID = tUser.UserRightID) AND "
         "(tUserRight.UserRightID = tRight.UserRightID) WHERE tUser.UserID = ?",
         userID});
}

void ReplaceAssignments(db::Connection& connection, std::int32_t userID,
                        const std::vector<std::int32_t>& removed,
                        const std::vector<std::int32_t>& added)
{
    db::Recordset rows;
    OpenToWrite(rows, connection, {"SELECT * FROM tUserClassification WHERE UserID = ?", userID});
    for (; !rows.IsEOF(); rows.MoveNext()) {
        const std::int32_t classID = NumberOf(rows.Fields("ClassificationID").Value());
        if (std::find(removed.begin(), removed.end(), classID) != removed.end()) rows.Delete();
    }
    for (std::int32_t classID : added) {
        rows.AddNew();
        rows.Fields("UserID").SetValue(Variant::I4(userID));
        rows.Fields("ClassificationID").SetValue(Variant::I4(classID));
        rows.Update();
    }
}

}  // namespace lindor::stores
