// Creation of a new, filled database file.
#pragma once

#include <string>
#include <vector>

namespace lindor {

// The version string a database file carries in tSystem.
extern const char* const kDatabaseVersion;

// Creates the database file at `fileName` with its 17 tables, keys and default
// rows. False on any failure (logged with code 2); a file already at the path
// is refused and left as it was.
bool CreateDB(const std::string& fileName);

// The tables of a new database, in creation order.
std::vector<std::string> DatabaseTableNames();

}  // namespace lindor
