// One open database file per process, shared by all logical connections to
// it. Transactions of different logical connections nest on the one handle:
// a write on one connection while another holds a transaction joins that
// transaction instead of waiting on the file lock the process itself holds.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "db/Driver.h"
#include "db/SchemaInfo.h"

namespace lindor::db {

class SharedDatabase {
public:
    // The shared handle of the file at `path`, opened if no connection of this
    // process has it open. Never creates a file. Throws DatabaseError.
    static std::shared_ptr<SharedDatabase> Open(const std::string& path);

    SharedDatabase(std::unique_ptr<DriverConnection> driver, std::string path);

    DriverConnection& driver() { return *driver_; }
    SchemaInfo& schema() { return schema_; }
    const std::string& path() const { return path_; }

    // Transactions, one level per Begin; `owner` identifies the logical
    // connection. The outermost level is an immediate write transaction.
    void Begin(const void* owner);
    // Ends the owner's innermost level; it must be the innermost of all.
    void Commit(const void* owner);
    // Rolls back the owner's innermost level and every level opened after it.
    void Rollback(const void* owner);
    bool InTransaction() const { return !levels_.empty(); }
    bool Owns(const void* owner) const;

    // Runs a change: inside the open transaction if there is one, else in a
    // transaction of its own that takes the write lock first (so the wait for
    // other programs goes through the busy timeout, never a lock upgrade).
    void Write(const std::function<void()>& change);

private:
    std::unique_ptr<DriverConnection> driver_;
    std::string path_;
    SchemaInfo schema_;
    std::vector<const void*> levels_;
};

}  // namespace lindor::db
