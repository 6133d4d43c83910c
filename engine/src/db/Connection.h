// A logical connection to a database file, opened from a connection string
// ("...;Data Source=<path>;..."), with transactions.
#pragma once

#include <memory>
#include <string>

#include "db/SharedDatabase.h"

namespace lindor::db {

// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<path>;Persist Security Info=False"
std::string BuildConnectionString(const std::string& path);
// The path named by "Data Source" (key matched without regard to case).
std::string DataSourceOf(const std::string& connectionString);

// The one connection string of the process: set by whoever opens a database,
// used by every step that opens a connection of its own.
void SetProcessConnectionString(const std::string& connectionString);
const std::string& ProcessConnectionString();
// A context that opens a database claims the process's connection string and
// gives it back when it closes or goes: the string is then the one of the
// latest claim still held (unchanged when none is). So a second, short-lived
// context on another file does not leave the first one's steps on that file.
void ClaimProcessConnectionString(const void* owner, const std::string& connectionString);
void ReleaseProcessConnectionString(const void* owner);

class Connection {
public:
    Connection() = default;
    // Opens at once; throws DatabaseError.
    explicit Connection(const std::string& connectionString) { Open(connectionString); }
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void Open(const std::string& connectionString);
    // Rolls back a transaction still open on this connection, then closes.
    void Close();
    bool IsOpen() const { return database_ != nullptr; }

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const;

    // Throws DatabaseError when the connection is closed.
    SharedDatabase& database() const;
    std::shared_ptr<SharedDatabase> shared() const { return database_; }

private:
    std::shared_ptr<SharedDatabase> database_;
    int transactions_ = 0;
};

// Rolls back on destruction unless Commit() ran.
class Transaction {
public:
    explicit Transaction(Connection& connection) : connection_(connection)
    {
        connection_.BeginTrans();
    }
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void Commit();

private:
    Connection& connection_;
    bool done_ = false;
};

}  // namespace lindor::db
