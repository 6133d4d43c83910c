// The classifications' rows (tClassification): the kinds of bugs a project
// knows. Every function works on the caller's connection and throws
// DatabaseError.
#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "db/Connection.h"
#include "db/Recordset.h"

namespace lindor::stores {

// Opens `rows` read-only on the whole rows of the project's classifications.
void OpenClassificationsOfProject(db::Recordset& rows, db::Connection& connection,
                                  std::int32_t projectID);
// The numbers of the project's classifications.
std::set<std::int32_t> ClassificationIDsOfProject(db::Connection& connection,
                                                  std::int32_t projectID);
// Opens `rows` read-only on the number and name of every classification.
void OpenClassificationNames(db::Recordset& rows, db::Connection& connection);
// The name of classification `id` into `name`; false when there is none.
bool ReadClassificationName(db::Connection& connection, std::int32_t id, std::string* name);
// The project of classification `id`, or 0 when none has that number.
std::int32_t ProjectOfClassification(db::Connection& connection, std::int32_t id);

// Opens `rows` updatable on the classifications, for adding a row.
void OpenClassificationsForAdding(db::Recordset& rows, db::Connection& connection);
// Opens `row` updatable on the number and name of classification `id`
// (empty when absent).
void OpenClassificationForWriting(db::Recordset& row, db::Connection& connection, std::int32_t id);
// Deletes classification `id`; its bugs keep no classification at all.
void DeleteClassification(db::Connection& connection, std::int32_t id);

}  // namespace lindor::stores
