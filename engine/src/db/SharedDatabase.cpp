#include "db/SharedDatabase.h"

#include <stdlib.h>

#include <climits>
#include <map>

namespace lindor::db {
namespace {

std::map<std::string, std::weak_ptr<SharedDatabase>>& OpenDatabases()
{
    static std::map<std::string, std::weak_ptr<SharedDatabase>> open;
    return open;
}

std::string CanonicalPath(const std::string& path)
{
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) == nullptr) return path;
    return resolved;
}

std::string SavepointName(std::size_t level)
{
    return "lindor_level_" + std::to_string(level);
}

}  // namespace

std::shared_ptr<SharedDatabase> SharedDatabase::Open(const std::string& path)
{
    const std::string key = CanonicalPath(path);
    auto& open = OpenDatabases();
    if (auto existing = open[key].lock()) return existing;
    auto database = std::make_shared<SharedDatabase>(OpenDriverConnection(path), path);
    open[key] = database;
    return database;
}

SharedDatabase::SharedDatabase(std::unique_ptr<DriverConnection> driver, std::string path)
    : driver_(std::move(driver)), path_(std::move(path)), schema_(*driver_)
{
}

void SharedDatabase::Begin(const void* owner)
{
    if (levels_.empty())
        driver_->BeginWrite();
    else
        driver_->Execute("SAVEPOINT " + SavepointName(levels_.size()));
    levels_.push_back(owner);
}

bool SharedDatabase::Owns(const void* owner) const
{
    for (const void* level : levels_)
        if (level == owner) return true;
    return false;
}

void SharedDatabase::Commit(const void* owner)
{
    if (levels_.empty() || !Owns(owner))
        throw DatabaseError(dberr::kGeneric, "No transaction is active.");
    if (levels_.back() != owner)
        throw DatabaseError(dberr::kGeneric,
                            "A transaction must end after the transactions begun inside it.");
    if (levels_.size() == 1)
        driver_->Execute("COMMIT");
    else
        driver_->Execute("RELEASE " + SavepointName(levels_.size() - 1));
    levels_.pop_back();
}

void SharedDatabase::Rollback(const void* owner)
{
    if (!Owns(owner)) throw DatabaseError(dberr::kGeneric, "No transaction is active.");
    while (!levels_.empty()) {
        const void* level = levels_.back();
        if (levels_.size() == 1) {
            try {
                driver_->Execute("ROLLBACK");
            } catch (const DatabaseError&) {
                // The file already dropped the transaction (it does so after
                // some I/O failures); there is nothing left to undo.
            }
        } else {
            const std::string name = SavepointName(levels_.size() - 1);
            driver_->Execute("ROLLBACK TO " + name + "; RELEASE " + name);
        }
        levels_.pop_back();
        if (level == owner) break;
    }
}

void SharedDatabase::Write(const std::function<void()>& change)
{
    if (InTransaction()) {
        change();
        return;
    }
    Begin(this);
    try {
        change();
        Commit(this);
    } catch (...) {
        if (Owns(this)) Rollback(this);
        throw;
    }
}

}  // namespace lindor::db
