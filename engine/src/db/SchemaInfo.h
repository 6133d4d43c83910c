// What the access layer knows of a database's tables: columns with their schema
// types, the primary key and the named relationships.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "db/Driver.h"
#include "db/SchemaType.h"

namespace lindor::db {

struct ColumnInfo {
    std::string name;
    SchemaType type = SchemaType::Unknown;
    int size = 0;
    bool required = false;
};

struct TableInfo {
    std::string name;
    std::vector<ColumnInfo> columns;
    std::string primaryKey;  // empty when the table has none
    // Index of a column by name (case-insensitive), or -1.
    int ColumnIndex(const std::string& column) const;
};

class SchemaInfo {
public:
    explicit SchemaInfo(DriverConnection& driver) : driver_(driver) {}

    // Throws DatabaseError when the table does not exist.
    const TableInfo& Table(const std::string& name);
    bool HasTable(const std::string& name);
    // Every relationship of the file, in creation order.
    const std::vector<ForeignKeyInfo>& ForeignKeys();
    // Forget what was read (after the schema changed).
    void Invalidate();

private:
    TableInfo ReadTable(const std::string& name);

    DriverConnection& driver_;
    std::map<std::string, TableInfo> tables_;  // keyed by lower-case name
    std::vector<ForeignKeyInfo> foreignKeys_;
    bool foreignKeysRead_ = false;
};

}  // namespace lindor::db
