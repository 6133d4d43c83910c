// The driver of a database file.
#pragma once

#include <memory>
#include <string>

#include "db/Driver.h"

namespace lindor::db {

std::unique_ptr<DriverConnection> OpenSqliteConnection(const std::string& path);
void CreateSqliteFile(const std::string& path);

}  // namespace lindor::db
