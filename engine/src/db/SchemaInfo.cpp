#include "db/SchemaInfo.h"

#include <algorithm>
#include <cctype>

#include "db/Dialect.h"
#include "db/DriverErrors.h"

namespace lindor::db {
namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

int TableInfo::ColumnIndex(const std::string& column) const
{
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (SameName(columns[i].name, column)) return static_cast<int>(i);
    return -1;
}

bool SchemaInfo::HasTable(const std::string& name)
{
    if (tables_.count(Lower(name)) != 0) return true;
    return !driver_.StoredTableName(name).empty();
}

const TableInfo& SchemaInfo::Table(const std::string& name)
{
    const std::string key = Lower(name);
    auto found = tables_.find(key);
    if (found != tables_.end()) return found->second;
    const std::string stored = driver_.StoredTableName(name);
    if (stored.empty()) throw NoSuchTableError(name);
    return tables_.emplace(key, ReadTable(stored)).first->second;
}

TableInfo SchemaInfo::ReadTable(const std::string& storedName)
{
    TableInfo info;
    info.name = storedName;
    for (const CatalogColumn& c : driver_.TableColumns(storedName)) {
        ColumnInfo column;
        column.name = c.name;
        column.type = SchemaTypeFromDeclared(c.declaredType, &column.size);
        column.required = c.required;
        if (c.primaryKey) info.primaryKey = column.name;
        info.columns.push_back(column);
    }
    return info;
}

const std::vector<ForeignKeyInfo>& SchemaInfo::ForeignKeys()
{
    if (foreignKeysRead_) return foreignKeys_;
    foreignKeys_ = driver_.ForeignKeys();
    foreignKeysRead_ = true;
    return foreignKeys_;
}

void SchemaInfo::Invalidate()
{
    tables_.clear();
    foreignKeys_.clear();
    foreignKeysRead_ = false;
}

}  // namespace lindor::db
