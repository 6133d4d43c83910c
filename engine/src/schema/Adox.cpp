#include "schema/Adox.h"

#include "core/ErrorReport.h"
#include "db/Connection.h"
#include "db/Dialect.h"
#include "db/SchemaType.h"

namespace lindor {
namespace {

constexpr int kBadType = static_cast<int>(0x80040E3Du);
constexpr int kDuplicateColumn = static_cast<int>(0x80040E3Eu);

bool Supported(int type)
{
    switch (static_cast<db::SchemaType>(type)) {
        case db::SchemaType::Long:
        case db::SchemaType::Date:
        case db::SchemaType::YesNo:
        case db::SchemaType::Text:
        case db::SchemaType::Memo:
        case db::SchemaType::LongBinary:
            return true;
        default:
            return false;
    }
}

// The provider's verdict on a new column, as a result code.
int ColumnCheck(const AdoxTable& table, const std::string& name, int type)
{
    if (!Supported(type)) return kBadType;
    if (table.HasColumn(name)) return kDuplicateColumn;
    return 0;
}

db::NewKey ToNewKey(const AdoxKey& key)
{
    return {key.name, key.column, key.relatedTable, key.relatedColumn};
}

db::NewTable ToNewTable(const AdoxTable& table)
{
    db::NewTable result;
    result.name = table.name;
    for (const AdoxColumn& c : table.columns)
        result.columns.push_back({c.name, static_cast<db::SchemaType>(c.type), c.size, c.required});
    result.hasPrimaryKey = table.primaryKey != nullptr;
    if (result.hasPrimaryKey) result.primaryKey = ToNewKey(*table.primaryKey);
    for (const AdoxKey& key : table.foreignKeys) result.foreignKeys.push_back(ToNewKey(key));
    for (const AdoxKey& index : table.indexes) result.indexes.push_back(ToNewKey(index));
    return result;
}

}  // namespace

bool AdoxTable::HasColumn(const std::string& column) const
{
    for (const AdoxColumn& c : columns)
        if (db::SameName(c.name, column)) return true;
    return false;
}

std::string Adox::ProviderText(const std::string& path)
{
    return "Provider='Microsoft.JET.OLEDB.4.0';Data source = " + path;
}

void Adox::CreateDatabase(const std::string& path)
{
    try {
        db::CreateDatabaseFile(db::DataSourceOf(ProviderText(path)));
    } catch (const DatabaseError& error) {
        throw AdoXError{error.source(), error.description()};
    }
    path_ = path;
    tables_.clear();
}

AdoxTable* Adox::FindTable(const std::string& name)
{
    for (auto& table : tables_)
        if (db::SameName(table->name, name)) return table.get();
    return nullptr;
}

AdoxTable& Adox::CreateTable(const std::string& name)
{
    if (path_.empty() || name.empty() || FindTable(name) != nullptr)
        throw AdoxFailure("Error occured in Create Table");
    tables_.push_back(std::make_unique<AdoxTable>());
    tables_.back()->name = name;
    return *tables_.back();
}

AdoxTable& Adox::GetTable(const std::string& name)
{
    AdoxTable* table = FindTable(name);
    if (table == nullptr) throw AdoxFailure("Error occured in Create Table");
    return *table;
}

const AdoxColumn& Adox::AddColumn(AdoxTable& table, const std::string& name, int type, int size,
                                  bool required)
{
    if (name.empty()) throw AdoxFailure("Error occured in AddColumn");
    const int verdict = ColumnCheck(table, name, type);
    if (verdict == kBadType)
        throw AdoXError{"Adox::AddColumn", Format("Type %d is not supported", type)};
    if (verdict == kDuplicateColumn)
        throw AdoXError{"Adox::AddColumn", Format("Column %s is duplicated", name.c_str())};
    table.columns.push_back({name, type, size, required});
    return table.columns.back();
}

const AdoxKey& Adox::AddPrimaryKey(AdoxTable& table, const std::string& keyName,
                                   const std::string& column)
{
    if (table.primaryKey != nullptr)
        throw AdoXError{"Adox::AddPrimaryKey", "There is already a primary key in this table"};
    if (!table.HasColumn(column)) throw AdoxFailure("Error occured in AddPrimaryKey");
    table.primaryKey = std::make_unique<AdoxKey>(AdoxKey{keyName, column, "", ""});
    return *table.primaryKey;
}

const AdoxKey& Adox::AddForeignKey(AdoxTable& table, const std::string& keyName,
                                   const std::string& column, const std::string& relatedTable,
                                   const std::string& relatedColumn)
{
    const AdoxTable* related = FindTable(relatedTable);
    if (related == nullptr)
        throw AdoXError{"Add Foreign key",
                        Format("%s table is not exist in the database", relatedTable.c_str())};
    if (!related->HasColumn(relatedColumn))
        throw AdoXError{"Add Foreign key", Format("%s is not exist in %s table",
                                                  relatedColumn.c_str(), relatedTable.c_str())};
    if (!table.HasColumn(column))
        throw AdoXError{"Add Foreign key",
                        Format("%s is not exist in %s table", column.c_str(), table.name.c_str())};
    table.foreignKeys.push_back({keyName, column, relatedTable, relatedColumn});
    return table.foreignKeys.back();
}

const AdoxKey& Adox::AddIndex(AdoxTable& table, const std::string& indexName,
                              const std::string& column)
{
    if (indexName.empty() || !table.HasColumn(column))
        throw AdoxFailure("Error occured in AddIndex");
    table.indexes.push_back({indexName, column, "", ""});
    return table.indexes.back();
}

void Adox::WriteSchema()
{
    try {
        db::Connection connection(db::BuildConnectionString(path_));
        db::Transaction transaction(connection);
        db::DriverConnection& driver = connection.database().driver();
        for (const auto& table : tables_)
            for (const std::string& statement : driver.CreateTableStatements(ToNewTable(*table)))
                driver.Execute(statement);
        for (const auto& table : tables_)
            for (const std::string& statement :
                 driver.CreateRelationshipStatements(ToNewTable(*table)))
                driver.Execute(statement);
        transaction.Commit();
        connection.database().schema().Invalidate();
    } catch (const DatabaseError& error) {
        throw AdoXError{error.source(), error.description()};
    }
}

}  // namespace lindor
