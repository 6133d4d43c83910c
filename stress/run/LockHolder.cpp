#include "run/LockHolder.h"

#include <sqlite3.h>

#include <cstdio>

#include "common/Clock.h"
#include "common/Journal.h"
#include "db/Driver.h"
#include "run/Operations.h"

namespace stress {

namespace {

// On a server the write lock is the one every writer of the engine takes
// first; the holder takes it through the engine's own driver.
int HoldServerLock(const LockHolderConfig& config)
{
    Record hold(op::kHold);
    hold.SetNumber("t0", MonotonicNs());
    bool held = false;
    try {
        const auto server = lindor::db::OpenDriverConnection(config.database);
        server->BeginWrite();
        held = true;
        SleepMs(config.holdMs);
        server->Execute("ROLLBACK");
    } catch (const lindor::DatabaseError& error) {
        std::fprintf(stderr, "lock holder: %s\n", error.description().c_str());
    }
    hold.SetNumber("t1", MonotonicNs());
    hold.Set("verdict", held ? op::kDone : op::kFailed);
    JournalWriter(config.journal).Append(hold);
    return held ? 0 : 1;
}

}  // namespace

int RunLockHolder(const LockHolderConfig& config)
{
    SleepMs(config.afterMs);
    if (lindor::db::IsServerDataSource(config.database)) return HoldServerLock(config);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(config.database.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        std::fprintf(stderr, "lock holder: %s\n", sqlite3_errmsg(db));
        sqlite3_close(db);
        return 1;
    }
    sqlite3_busy_timeout(db, 60000);
    const int begun = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    Record hold(op::kHold);
    hold.SetNumber("t0", MonotonicNs());
    if (begun == SQLITE_OK) {
        SleepMs(config.holdMs);
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    hold.SetNumber("t1", MonotonicNs());
    hold.Set("verdict", begun == SQLITE_OK ? op::kDone : op::kFailed);
    sqlite3_close(db);
    JournalWriter(config.journal).Append(hold);
    return begun == SQLITE_OK ? 0 : 1;
}

}  // namespace stress
