// The boundary between the access layer and the database library below it:
// open a file, prepare and step statements, read typed columns, and the
// library's error codes turned into DatabaseError. Only db/sqlite/ knows the
// library; a server driver would implement the same two classes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <lindor/Variant.h>

#include "db/DatabaseError.h"

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

// One open database file, shared by every logical connection of the process.
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
};

// Opens an existing database file; never creates one. Throws DatabaseError.
std::unique_ptr<DriverConnection> OpenDriverConnection(const std::string& path);

// Creates a new, empty database file; fails when the path exists.
void CreateDatabaseFile(const std::string& path);

// Counters of waits on a locked file (for the stress figures).
std::uint64_t BusyWaitCount();

// Milliseconds a call waits on a file another program has locked.
constexpr int kBusyTimeoutMs = 10000;

}  // namespace lindor::db
