#include "db/DriverErrors.h"

#include "db/Driver.h"

namespace lindor::db {

const char* const kDriverSource = "Lindor database";

DatabaseError NotNullError(const std::string& what)
{
    return DatabaseError(dberr::kIntegrity,
                         "The field '" + what +
                             "' cannot contain a Null value because the Required property for "
                             "this field is set to True.  Enter a value in this field.",
                         kDriverSource);
}

DatabaseError DuplicateValueError(const std::string& what)
{
    return DatabaseError(dberr::kIntegrity,
                         "The changes you requested to the table were not successful because "
                         "they would create duplicate values in the index, primary key, or "
                         "relationship (" +
                             what + ").",
                         kDriverSource);
}

DatabaseError TooLongError()
{
    return DatabaseError(dberr::kTooLong,
                         "The field is too small to accept the amount of data you attempted to "
                         "add.  Try inserting or pasting less data.",
                         kDriverSource);
}

DatabaseError RelationshipError()
{
    return DatabaseError(dberr::kIntegrity,
                         "The record cannot be added, changed or deleted because a relationship "
                         "between tables forbids it.",
                         kDriverSource);
}

DatabaseError BusyError()
{
    return DatabaseError(dberr::kBusy,
                         "The database file is locked by another program: it stayed busy for "
                         "more than " +
                             std::to_string(kBusyTimeoutMs / 1000) + " seconds.",
                         kDriverSource);
}

DatabaseError NoSuchTableError(const std::string& table)
{
    return DatabaseError(dberr::kNoSuchTable,
                         "The database engine cannot find the input table or query '" + table +
                             "'.  Make sure it exists and that its name is spelled correctly.",
                         kDriverSource);
}

DatabaseError NoSuchColumnError(const std::string& column)
{
    return DatabaseError(
        static_cast<HRESULT>(0x80040E10u),
        "No value given for one or more required parameters (unknown name '" + column + "').",
        kDriverSource);
}

DatabaseError SyntaxError(const std::string& message)
{
    return DatabaseError(dberr::kSyntax, "Syntax error in query expression (" + message + ").",
                         kDriverSource);
}

DatabaseError TypeMismatchError()
{
    return DatabaseError(dberr::kTypeMismatch, "Data type mismatch in criteria expression.",
                         kDriverSource);
}

DatabaseError ReadOnlyError()
{
    return DatabaseError(dberr::kGeneric, "Cannot update. Database or object is read-only.",
                         kDriverSource);
}

}  // namespace lindor::db
