// The schema builder: a catalog of tables, columns and keys for a new
// database file. Changes are checked against the catalog as they are made and
// written to the database by WriteSchema, in one transaction.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace lindor {

// A refusal of the schema builder: where it arose and why.
struct AdoXError {
    std::string Source;
    std::string Description;
};

// Any other failure inside a builder operation, reported as a plain text
// ("Error occured in AddColumn", ...).
class AdoxFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct AdoxColumn {
    std::string name;
    int type = 0;
    int size = 0;
    bool required = false;
};

struct AdoxKey {
    std::string name;
    std::string column;
    std::string relatedTable;   // foreign keys only
    std::string relatedColumn;  // foreign keys only
};

struct AdoxTable {
    std::string name;
    std::vector<AdoxColumn> columns;
    std::unique_ptr<AdoxKey> primaryKey;
    std::vector<AdoxKey> foreignKeys;
    std::vector<AdoxKey> indexes;  // plain indexes on one column
    bool HasColumn(const std::string& column) const;
};

class Adox {
public:
    // The provider text of the catalog: "Provider='Microsoft.JET.OLEDB.4.0';Data source = <path>".
    static std::string ProviderText(const std::string& path);

    // Creates the empty database file; refuses a path that exists.
    void CreateDatabase(const std::string& path);
    AdoxTable& CreateTable(const std::string& name);
    AdoxTable& GetTable(const std::string& name);
    const AdoxColumn& AddColumn(AdoxTable& table, const std::string& name, int type, int size,
                                bool required);
    const AdoxKey& AddPrimaryKey(AdoxTable& table, const std::string& keyName,
                                 const std::string& column);
    const AdoxKey& AddForeignKey(AdoxTable& table, const std::string& keyName,
                                 const std::string& column, const std::string& relatedTable,
                                 const std::string& relatedColumn);
    // An index on one column, so that rows are found by it without a scan.
    const AdoxKey& AddIndex(AdoxTable& table, const std::string& indexName,
                            const std::string& column);
    // Creates every table of the catalog in the file, with its indexes.
    void WriteSchema();

private:
    AdoxTable* FindTable(const std::string& name);

    std::string path_;
    std::vector<std::unique_ptr<AdoxTable>> tables_;
};

}  // namespace lindor
