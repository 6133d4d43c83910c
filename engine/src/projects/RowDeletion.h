// Deleting the rows a query selects, through an updatable cursor on the
// caller's connection (and so inside the caller's transaction). Left for the
// users' writes until they move into their store (stores/StoreRows.h).
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

}  // namespace lindor
