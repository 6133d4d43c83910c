// The storage of users and what hangs on them: their rows (tUser), roles
// (tUserRight), rights rows (tRight) with the statuses each may set
// (tAvailableStatus), system information (tUserSystemInfo) and classification
// assignments (tUserClassification), plus the joins that start from a user or
// a role. Every function works on the caller's connection (and so inside the
// caller's transaction) and throws DatabaseError.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "db/Recordset.h"

namespace lindor::stores {

// ---- users ------------------------------------------------------------------

// The UserID and Password columns of the user with this login name (matched
// as a literal text; the column ignores letter case), read-only.
void OpenLogin(db::Recordset& row, db::Connection& connection, const std::string& loginName);
// Every column of user `userID`, read-only.
void OpenUser(db::Recordset& row, db::Connection& connection, std::int32_t userID);
// Every column of user `userID`, updatable. ID 0 is never a user's: its cursor
// is empty and takes a new row.
void OpenUserForWriting(db::Recordset& row, db::Connection& connection, std::int32_t userID);
// Every user, read-only.
void OpenAllUsers(db::Recordset& rows, db::Connection& connection);
// Whether a user other than `ownID` (0: any user) has the login name.
bool LoginNameTaken(db::Connection& connection, const std::string& loginName,
                    std::int32_t ownID = 0);
// Deletes the user's system information, classification assignments and row;
// returns false, deleting nothing, when there is no such user.
bool DeleteUser(db::Connection& connection, std::int32_t userID);

// ---- roles and rights -------------------------------------------------------

// The role number user `userID` refers to; false when there is no such user.
bool ReadRoleOfUser(db::Connection& connection, std::int32_t userID, std::int32_t* roleID);
void SetRoleOfUser(db::Connection& connection, std::int32_t userID, std::int32_t roleID);
// Every column of role `roleID`, read-only.
void OpenRole(db::Recordset& row, db::Connection& connection, std::int32_t roleID);
bool RoleExists(db::Connection& connection, std::int32_t roleID);
void AddRole(db::Connection& connection, std::int32_t roleID);
void SetRoleMayAddProjects(db::Connection& connection, std::int32_t roleID, bool mayAdd);
// The AddProject column of the role of user `userID`, read-only; empty when
// the user or the role is missing.
void OpenMayAddProjectsOfUser(db::Recordset& row, db::Connection& connection, std::int32_t userID);

// The rights rows of role `roleID`, read-only.
void OpenRightsOfRole(db::Recordset& rows, db::Connection& connection, std::int32_t roleID);
// The same, updatable, to add rows to.
void OpenRightsOfRoleForWriting(db::Recordset& rows, db::Connection& connection,
                                std::int32_t roleID);
// The rights row the role of user `userID` holds for `projectID`, read-only.
void OpenRightOfUserInProject(db::Recordset& row, db::Connection& connection, std::int32_t userID,
                              std::int32_t projectID);
// Deletes the role's rights rows and the statuses each may set.
void DeleteRightsOfRole(db::Connection& connection, std::int32_t roleID);

// The StatusName column of the statuses rights row `rightID` may set.
void OpenAvailableStatuses(db::Recordset& rows, db::Connection& connection, std::int32_t rightID);
void AddAvailableStatuses(db::Connection& connection, std::int32_t rightID,
                          const std::vector<std::string>& names);

// The projects in which the role of user `userID` has a rights row, read-only.
void OpenProjectsOfUser(db::Recordset& rows, db::Connection& connection, std::int32_t userID);

// ---- system information -----------------------------------------------------

// Every column of the system information of user `userID`, read-only.
void OpenSysInfoOfUser(db::Recordset& row, db::Connection& connection, std::int32_t userID);
// The record numbers of the system information of user `userID`.
std::vector<std::int32_t> SysInfoIDsOfUser(db::Connection& connection, std::int32_t userID);
// Every column of system information record `recordID`, updatable (empty,
// taking a new row, when there is none).
void OpenSysInfoForWriting(db::Recordset& row, db::Connection& connection, std::int32_t recordID);

// ---- classification assignments ----------------------------------------------

// The classification rows assigned to user `userID` in project `projectID`, or
// in every project in which the user's role has a rights row when
// `projectID` is 0, or every classification of the project when `userID` is
// 0; read-only.
void OpenClassificationsOfUser(db::Recordset& rows, db::Connection& connection, std::int32_t userID,
                               std::int32_t projectID);
// Deletes the user's assignments to the given classifications, then assigns
// the user `added`.
void ReplaceAssignments(db::Connection& connection, std::int32_t userID,
                        const std::vector<std::int32_t>& removed,
                        const std::vector<std::int32_t>& added);

}  // namespace lindor::stores
