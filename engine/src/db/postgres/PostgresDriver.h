// The driver of a database on a PostgreSQL server.
#pragma once

#include <memory>
#include <string>

#include "db/Driver.h"

namespace lindor::db {

// Opens the database the URI names; the URI must hold no password (the
// server's password comes from ~/.pgpass or PGPASSWORD).
std::unique_ptr<DriverConnection> OpenPostgresConnection(const std::string& uri);
// Makes the database ready to receive the tables: the case-insensitive text
// type is installed, and the schema holds no tables yet.
void PreparePostgresDatabase(const std::string& uri);

// A statement of the engine rewritten for the server: "?" placeholders
// numbered, quoted and bracketed names folded to lower case (the server folds
// unquoted names itself), and every ORDER BY item sorting nulls as the file
// does (first when ascending).
std::string ToServerSql(const std::string& sql);

}  // namespace lindor::db
