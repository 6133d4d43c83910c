// The storage of the fixed name lists (tStatus, tSeverity, tPriority,
// tReproductive) and of the database's own description (tSystem). Every
// function works on the caller's connection and throws DatabaseError.
#pragma once

#include "db/Recordset.h"

namespace lindor::stores {

// Each list's names in the first column, read-only.
void OpenStatusNames(db::Recordset& rows, db::Connection& connection);
void OpenSeverityNames(db::Recordset& rows, db::Connection& connection);
void OpenPriorityNames(db::Recordset& rows, db::Connection& connection);
void OpenReproductiveNames(db::Recordset& rows, db::Connection& connection);

// The system row, its version text in the first column, read-only.
void OpenSystemRow(db::Recordset& row, db::Connection& connection);

}  // namespace lindor::stores
