// Writing projects with their versions, and deleting them with everything
// that hangs on them. Each operation runs in one transaction on a connection
// of its own and is rolled back whole on any failure; failures are logged
// under the operation's name and reported to the caller by the project set.
#pragma once

#include <cstdint>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "projects/CProject.h"

namespace lindor::projectwrites {

// Stores a new project and its versions under new identifiers. On failure
// the project and its versions keep the identifiers they had.
bool RealAddProject(CProject& project);
// Rewrites the project row and brings its stored versions in line with its
// array (a removed version goes with the bugs reported in it).
bool RealUpdateProject(CProject* project);
// Deletes the project, its versions with their bugs, the bugs that name it as
// their project (each bug with its attachments), its classifications (and
// their user assignments) and every role's rights in it (and their available
// statuses).
bool RealDeleteProject(std::int32_t projectID);

// The parts, for the operations above.
bool RealAddVersions(db::Connection& connection, CProject& project);
bool RealAddVersion(db::Recordset& cursor, CVersion& version, std::int32_t projectID);
bool RealUpdateVersion(db::Connection& connection, CProject& project);

}  // namespace lindor::projectwrites
