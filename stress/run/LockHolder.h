// Another program that takes the database's write lock and keeps it longer
// than the engine waits for a busy file (as a program stuck inside a
// transaction on a slow share would), so that the run sees failures caused
// only by contention. It uses the plain SQLite API and changes nothing.
#pragma once

#include <string>

namespace stress {

struct LockHolderConfig {
    std::string database;
    int afterMs = 1000;  // from its start until it takes the lock
    int holdMs = 12000;
    std::string journal;
};

int RunLockHolder(const LockHolderConfig& config);

}  // namespace stress
