// One stress worker: a team member's program with its own context, logged in
// as its own user, doing a fixed number of random operations on its own bugs,
// projects, classifications and users, and journaling each one.
#pragma once

#include <cstdint>
#include <string>

namespace stress {

struct WorkerConfig {
    std::string database;
    int index = 0;
    int operations = 0;
    std::uint64_t seed = 0;
    std::int32_t project = 1;     // the active project
    std::int64_t deadlineNs = 0;  // no new operation after this moment
    int maxAttachmentKB = 512;
    std::string journal;
    std::string scratch;  // where attachment files are made
    std::string errorLog;
};

// Returns the process exit code (0 even when operations failed: the checker
// judges those; non-zero only when the worker could not start).
int RunWorker(const WorkerConfig& config);

}  // namespace stress
