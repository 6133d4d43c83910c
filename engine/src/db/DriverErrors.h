// The database failures both drivers report, with the same codes and words
// whichever database lies below, so that callers and the error log cannot
// tell the drivers apart.
#pragma once

#include <string>

#include "db/DatabaseError.h"

namespace lindor::db {

// The source every driver failure names.
extern const char* const kDriverSource;

// `what` names the column or key as "table.column".
DatabaseError NotNullError(const std::string& what);
DatabaseError DuplicateValueError(const std::string& what);
DatabaseError TooLongError();
DatabaseError RelationshipError();
DatabaseError BusyError();
DatabaseError NoSuchTableError(const std::string& table);
DatabaseError NoSuchColumnError(const std::string& column);
DatabaseError SyntaxError(const std::string& message);
DatabaseError TypeMismatchError();
DatabaseError ReadOnlyError();

}  // namespace lindor::db
