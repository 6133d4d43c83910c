// The stress run: one database file, several worker processes and a list
// reader working on it at once, then a check of the file against what every
// process reported.
#pragma once

#include <cstdint>
#include <string>

namespace stress {

struct StressOptions {
    int workers = 6;
    int operations = 300;  // per worker
    std::string database;  // empty: a new file in a new temporary folder
    std::uint64_t seed = 1;
    int timeLimitSeconds = 240;
    int maxAttachmentKB = 512;
    int pauseMs = 500;
    // Another program holds the write lock this long once the workers have
    // done a third of their work (0: nobody does); longer than the engine
    // waits on a busy file, so some operations fail for contention alone.
    int holdLockMs = 12000;
    bool keep = false;  // keep the folder of the run even when every check passed
};

int RunStress(const StressOptions& options);

}  // namespace stress
