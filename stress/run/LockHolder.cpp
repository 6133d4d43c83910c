#include "run/LockHolder.h"

#include <sqlite3.h>

#include <cstdio>

#include "common/Clock.h"
#include "common/Journal.h"
#include "run/Operations.h"

namespace stress {

int RunLockHolder(const LockHolderConfig& config)
{
    SleepMs(config.afterMs);
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
