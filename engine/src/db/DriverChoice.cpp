// Which driver serves a data source: a server's connection URI goes to the
// server driver, anything else names a database file.
#include <strings.h>

#include "db/Driver.h"
#include "db/postgres/PostgresDriver.h"
#include "db/sqlite/SqliteDriver.h"

namespace lindor::db {

bool IsServerDataSource(const std::string& dataSource)
{
    for (const char* scheme : {"postgresql://", "postgres://"})
        if (strncasecmp(dataSource.c_str(), scheme, std::char_traits<char>::length(scheme)) == 0)
            return true;
    return false;
}

std::unique_ptr<DriverConnection> OpenDriverConnection(const std::string& dataSource)
{
    if (IsServerDataSource(dataSource)) return OpenPostgresConnection(dataSource);
    return OpenSqliteConnection(dataSource);
}

void CreateDatabaseFile(const std::string& dataSource)
{
    if (IsServerDataSource(dataSource))
        PreparePostgresDatabase(dataSource);
    else
        CreateSqliteFile(dataSource);
}

}  // namespace lindor::db
