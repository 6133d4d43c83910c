#include "db/SchemaInfo.h"

#include <algorithm>
#include <cctype>

#include "db/Dialect.h"

namespace lindor::db {
namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Unquoted(const std::string& name)
{
    if (name.size() >= 2 && (name.front() == '"' || name.front() == '[' || name.front() == '`'))
        return name.substr(1, name.size() - 2);
    return name;
}

// Relationship names from the table's own definition:
// "CONSTRAINT <name> FOREIGN KEY (<column>) REFERENCES <table> (<column>)".
std::vector<ForeignKeyInfo> ParseForeignKeys(const std::string& table, const std::string& sql)
{
    std::vector<ForeignKeyInfo> keys;
    std::vector<std::string> words;
    for (const SqlToken& t : TokenizeSql(sql))
        if (t.kind == SqlToken::Kind::Word || t.kind == SqlToken::Kind::Quoted)
            words.push_back(Unquoted(t.text));
    for (std::size_t i = 0; i + 6 < words.size(); ++i) {
        if (!SameName(words[i], "CONSTRAINT") || !SameName(words[i + 2], "FOREIGN") ||
            !SameName(words[i + 3], "KEY") || !SameName(words[i + 5], "REFERENCES"))
            continue;
        ForeignKeyInfo key;
        key.name = words[i + 1];
        key.table = table;
        key.column = words[i + 4];
        key.relatedTable = words[i + 6];
        key.relatedColumn = i + 7 < words.size() ? words[i + 7] : "";
        keys.push_back(key);
    }
    return keys;
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
    DriverStatement& s = driver_.Prepare(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE");
    s.BindText(1, name);
    const bool found = s.Step();
    s.Reset();
    return found;
}

const TableInfo& SchemaInfo::Table(const std::string& name)
{
    const std::string key = Lower(name);
    auto found = tables_.find(key);
    if (found != tables_.end()) return found->second;
    if (!HasTable(name))
        throw DatabaseError(dberr::kNoSuchTable,
                            "The database engine cannot find the input table or query '" + name +
                                "'.  Make sure it exists and that its name is spelled correctly.");
    return tables_.emplace(key, ReadTable(name)).first->second;
}

TableInfo SchemaInfo::ReadTable(const std::string& name)
{
    TableInfo info;
    DriverStatement& s =
        driver_.Prepare("SELECT name, type, \"notnull\", pk FROM pragma_table_info(?)");
    s.BindText(1, name);
    while (s.Step()) {
        ColumnInfo column;
        column.name = s.ColumnText(0);
        column.type = SchemaTypeFromDeclared(s.ColumnText(1), &column.size);
        column.required = s.ColumnInteger(2) != 0;
        if (s.ColumnInteger(3) == 1) info.primaryKey = column.name;
        info.columns.push_back(column);
    }
    s.Reset();
    DriverStatement& n = driver_.Prepare(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE");
    n.BindText(1, name);
    info.name = n.Step() ? n.ColumnText(0) : name;
    n.Reset();
    return info;
}

const std::vector<ForeignKeyInfo>& SchemaInfo::ForeignKeys()
{
    if (foreignKeysRead_) return foreignKeys_;
    std::vector<std::pair<std::string, std::string>> definitions;
    DriverStatement& s =
        driver_.Prepare("SELECT name, sql FROM sqlite_master WHERE type = 'table' ORDER BY rowid");
    while (s.Step()) definitions.emplace_back(s.ColumnText(0), s.ColumnText(1));
    s.Reset();
    foreignKeys_.clear();
    for (const auto& [table, sql] : definitions)
        for (ForeignKeyInfo& key : ParseForeignKeys(table, sql)) foreignKeys_.push_back(key);
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
