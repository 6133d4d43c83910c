// The projects' rows (tProject) with their versions' (tVersion). Every
// function works on the caller's connection and throws DatabaseError.
#pragma once

#include <cstdint>
#include <string>

#include "db/Connection.h"
#include "db/Recordset.h"

namespace lindor::stores {

// Opens `rows` read-only on every project, read whole at once.
void OpenProjects(db::Recordset& rows, db::Connection& connection);
// Opens `row` read-only on project `id` (empty when absent).
void OpenProject(db::Recordset& row, db::Connection& connection, std::int32_t id);
// Opens `rows` read-only on the project's versions, read whole at once (a
// version another program removes meanwhile does not disturb the reader).
void OpenVersionsOfProject(db::Recordset& rows, db::Connection& connection, std::int32_t projectID);
// Opens `row` read-only on version `id` (empty when absent).
void OpenVersion(db::Recordset& row, db::Connection& connection, std::int32_t id);

// Whether a project has that number.
bool ProjectExists(db::Connection& connection, std::int32_t projectID);
// The project of version `versionID`, or 0 when no version has that number.
std::int32_t ProjectOfVersion(db::Connection& connection, std::int32_t versionID);
// The name of version `versionID` into `name`; false when there is none.
bool ReadVersionName(db::Connection& connection, std::int32_t versionID, std::string* name);

// Opens `row` updatable and empty, for adding a project.
void OpenNewProjectRow(db::Recordset& row, db::Connection& connection);
// Opens `row` updatable on project `id` (empty when absent).
void OpenProjectForWriting(db::Recordset& row, db::Connection& connection, std::int32_t id);
// Opens `rows` updatable on the project's versions.
void OpenVersionsForWriting(db::Recordset& rows, db::Connection& connection,
                            std::int32_t projectID);

// Deletes the project with everything that hangs on it: its versions with
// the bugs reported in them, the bugs that name it as their project (each
// bug after its attachments), its classifications after their assignments
// to users, and every role's rights in it after their available statuses.
void DeleteProject(db::Connection& connection, std::int32_t projectID);

}  // namespace lindor::stores
