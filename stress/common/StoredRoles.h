// Roles as a database file holds them, read with the plain SQLite API, and
// compared with the role a program wrote.
#pragma once

#include <cstdint>
#include <map>

#include "common/RolePlan.h"
#include "common/SqliteFile.h"

namespace stress {

class Findings;

// Every role by its number: AddProject, and each rights row with its flags
// and available statuses. A role with two rows for one project is reported.
std::map<std::int64_t, RolePlan> StoredRoles(const SqliteFile& file, Findings& findings);

// Equal apart from the order of rights and statuses.
bool SameRole(RolePlan a, RolePlan b);

}  // namespace stress
