// Deleting the rows a query selects, through an updatable cursor on the
// caller's connection (and so inside the caller's transaction).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "db/Connection.h"

namespace lindor {

// Deletes every row of the single-table SELECT `sql`; returns how many.
// Throws DatabaseError.
long DeleteEveryRow(db::Connection& connection, const std::string& sql);

// The whole numbers of the first column of every row of `sql`.
std::vector<std::int32_t> ReadIdentifiers(db::Connection& connection, const std::string& sql);

// For every identifier that `idQuery` selects, deletes every row of the
// query that `dependentFormat` (one %ld) builds from it. Throws DatabaseError.
void DeleteDependentRows(db::Connection& connection, const std::string& idQuery,
                         const char* dependentFormat);

// Deletes the bugs reported in a version, each after its attachments (the
// database refuses to delete a bug that still has some). `bugFormat` is the
// deleting query with one %ld for the version. Throws DatabaseError.
void DeleteBugsReportedIn(db::Connection& connection, std::int32_t versionID,
                          const char* bugFormat);

}  // namespace lindor
