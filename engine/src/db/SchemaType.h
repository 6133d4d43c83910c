// The six column types of the schema, with the type codes the access layer
// reports for them, and how each is declared in the database file.
#pragma once

#include <string>

namespace lindor::db {

enum class SchemaType : int {
    Unknown = 0,
    Long = 3,
    Date = 7,
    YesNo = 11,
    Text = 202,
    Memo = 203,
    LongBinary = 205
};

// The declared column type that stores a schema type ("LONG", "TEXT(255)", ...).
// The declared names are chosen so the file's own type affinity keeps text
// as text and numbers as numbers.
std::string DeclaredTypeFor(SchemaType type, int size);
// The schema type behind a declared column type; Unknown for foreign ones.
SchemaType SchemaTypeFromDeclared(const std::string& declared, int* size = nullptr);

}  // namespace lindor::db
