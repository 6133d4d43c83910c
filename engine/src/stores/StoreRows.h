// What every store does with the rows of a bound query: read a number or a
// name from the first row, read the numbers of every row, delete every row.
// All run on the caller's connection (and so inside its transaction) and
// throw DatabaseError on a failure of the database.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Query.h"
#include "db/Recordset.h"

namespace lindor::stores {

// A whole-number column's value; 0 for a null.
inline std::int32_t NumberOf(const Variant& value)
{
    return value.vt() == VT_I4 ? value.i4() : 0;
}

// Opens `rows` on the query, read whole at once, read-only.
void OpenToRead(db::Recordset& rows, db::Connection& connection, const db::Query& query);
// Opens `rows` updatable on the single-table query.
void OpenToWrite(db::Recordset& rows, db::Connection& connection, const db::Query& query,
                 db::CursorType cursor = db::CursorType::Keyset);

// Whether the query gives any row.
bool AnyRow(db::Connection& connection, const db::Query& query);

// The whole number of the first column of the first row; 0 when there is no row.
std::int32_t FirstNumber(db::Connection& connection, const db::Query& query);

// The text of the first column of the first row into `text`; false (text
// untouched) when there is no row.
bool FirstText(db::Connection& connection, const db::Query& query, std::string* text);

// The whole numbers of the first column of every row.
std::vector<std::int32_t> ReadIdentifiers(db::Connection& connection, const db::Query& query);

// Deletes every row of the single-table SELECT; returns how many.
long DeleteEveryRow(db::Connection& connection, const db::Query& query);

// Sets the only column of every row of the single-table SELECT to `text`.
void RewriteEveryRow(db::Connection& connection, const db::Query& query, const std::string& text);

}  // namespace lindor::stores
