// The boundary between the access layer and the database below it: open a
// database, prepare and step statements, read typed columns, read the
// catalog, write new tables, and the database's errors turned into
// DatabaseError. Two drivers implement it: db/sqlite/ for a database file,
// db/postgres/ for a database on a server; nothing above db/ knows which.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <lindor/Variant.h>

#include "db/DatabaseError.h"
#include "db/SchemaType.h"

namespace lindor::db {

// Storage class of a value as the driver returns it.
enum class StoredType { Null, Integer, Real, Text, Blob };

// A prepared statement. Statements are reset as soon as a call is done with
// them, so none holds the file's read lock between engine calls.
class DriverStatement {
public:
    virtual ~DriverStatement() = default;

    virtual void BindNull(int index) = 0;  // 1-based parameter index
    virtual void BindInteger(int index, std::int64_t value) = 0;
    virtual void BindReal(int index, double value) = 0;
    virtual void BindText(int index, const std::string& value) = 0;
    virtual void BindBlob(int index, const std::vector<std::uint8_t>& value) = 0;

    // Advances to the next row; false when there is none. Throws DatabaseError.
    virtual bool Step() = 0;
    // Ends the current use: releases locks and bindings.
    virtual void Reset() = 0;

    virtual int ColumnCount() const = 0;
    virtual std::string ColumnName(int column) const = 0;
    // The table and column a result column comes from (empty for expressions).
    virtual std::string OriginTable(int column) const = 0;
    virtual std::string OriginColumn(int column) const = 0;
    virtual std::string DeclaredType(int column) const = 0;

    virtual StoredType ColumnType(int column) const = 0;
    virtual std::int64_t ColumnInteger(int column) const = 0;
    virtual double ColumnReal(int column) const = 0;
    virtual std::string ColumnText(int column) const = 0;
    virtual std::vector<std::uint8_t> ColumnBlob(int column) const = 0;
};

// Resets a statement when the scope ends, whether it ends normally or by an
// exception, so no statement keeps the file's read lock.
class StatementUse {
public:
    explicit StatementUse(DriverStatement& statement) : statement_(statement) {}
    ~StatementUse() { statement_.Reset(); }
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;
    DriverStatement* operator->() { return &statement_; }
    DriverStatement& operator*() { return statement_; }

private:
    DriverStatement& statement_;
};

// One column of a table as the catalog stores it.
struct CatalogColumn {
    std::string name;
    std::string declaredType;  // as DeclaredTypeFor writes it ("LONG", "TEXT(255)", ...)
    bool required = false;
    bool primaryKey = false;
};

// A named relationship between two tables.
struct ForeignKeyInfo {
    std::string name;  // the relationship's name, empty when it has none
    std::string table;
    std::string column;
    std::string relatedTable;
    std::string relatedColumn;
};

// A table to create: its columns, its keys and its one-column indexes.
struct NewColumn {
    std::string name;
    SchemaType type = SchemaType::Unknown;
    int size = 0;
    bool required = false;
};
struct NewKey {
    std::string name;
    std::string column;
    std::string relatedTable;   // foreign keys only
    std::string relatedColumn;  // foreign keys only
};
struct NewTable {
    std::string name;
    std::vector<NewColumn> columns;
    bool hasPrimaryKey = false;
    NewKey primaryKey;
    std::vector<NewKey> foreignKeys;
    std::vector<NewKey> indexes;
};

// One open database, shared by every logical connection of the process.
class DriverConnection {
public:
    virtual ~DriverConnection() = default;

    // A statement kept prepared for reuse; the connection owns it.
    virtual DriverStatement& Prepare(const std::string& sql) = 0;
    // Runs statements without results (transaction control, pragmas, DDL).
    virtual void Execute(const std::string& sql) = 0;
    virtual std::int64_t LastInsertRowid() const = 0;
    virtual int Changes() const = 0;
    virtual bool IsReadOnly() const = 0;

    // Reads `length` bytes from `offset` of a long binary cell without
    // keeping anything open afterwards.
    virtual std::vector<std::uint8_t> ReadBlob(const std::string& table, const std::string& column,
                                               std::int64_t rowid, std::int64_t offset,
                                               std::int64_t length) = 0;

    // Opens the outermost transaction with the write lock taken first, so
    // that writers queue for it instead of failing on a lock upgrade.
    virtual void BeginWrite() = 0;

    // The catalog. The stored spelling of a table's name, empty when there
    // is no such table (names are matched without regard to case).
    virtual std::string StoredTableName(const std::string& name) = 0;
    // A table's columns in their order; the table must exist.
    virtual std::vector<CatalogColumn> TableColumns(const std::string& table) = 0;
    // Every relationship of the database, in creation order.
    virtual std::vector<ForeignKeyInfo> ForeignKeys() = 0;
    // The statements that create a table with its keys and indexes, and
    // those that add its relationships once every table exists (a driver
    // that declares them with the table gives none of the latter).
    virtual std::vector<std::string> CreateTableStatements(const NewTable& table) const = 0;
    virtual std::vector<std::string> CreateRelationshipStatements(const NewTable& table) const = 0;
};

// Whether a data source names a database on a server
// ("postgresql://user@host:port/dbname", libpq's connection URI) rather
// than a file.
bool IsServerDataSource(const std::string& dataSource);

// Opens an existing database; never creates a file. Throws DatabaseError.
std::unique_ptr<DriverConnection> OpenDriverConnection(const std::string& dataSource);

// Creates a new, empty database: a file, which must not exist yet, or on a
// server, a database (or schema) that must hold no tables yet.
void CreateDatabaseFile(const std::string& dataSource);

// Counters of waits on a locked file (for the stress figures).
std::uint64_t BusyWaitCount();

// Milliseconds a call waits on a file another program has locked.
constexpr int kBusyTimeoutMs = 10000;

}  // namespace lindor::db
