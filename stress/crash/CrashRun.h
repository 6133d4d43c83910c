// The crash test: children run the engine's multi-row operations on one
// database file and are killed with SIGKILL at random moments inside them;
// after each kill the file is checked.
#pragma once

#include <cstdint>
#include <string>

namespace stress::crash {

struct CrashOptions {
    int kills = 300;
    int timeLimitSeconds = 240;
    int syncBugs = 150;  // bugs whose stored names a synchronisation rewrites
    std::uint64_t seed = 1;
    std::string database;  // empty: a new file in a new temporary folder
    bool keep = false;
};

int RunCrashTest(const CrashOptions& options);

}  // namespace stress::crash
