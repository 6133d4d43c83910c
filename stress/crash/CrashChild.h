// The processes the crash test starts and kills. Each writes records to its
// standard output: "ready" with the facts of what it is about to do (the
// rows it prepared, the names it will write), then "done" or "failed".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/Journal.h"

namespace stress::crash {

// Creates the database and what every operation needs; prints "setup".
int RunSetup(const std::string& database, std::uint64_t seed, int syncBugCount);

struct ChildArgs {
    std::string database;
    std::string kind;
    std::uint64_t seed = 0;
    std::string tag;  // makes the names of this child's rows unique
    Record setup;     // the facts RunSetup printed
    // Rows earlier children left behind, removed before preparing.
    std::vector<std::int32_t> cleanupBugs, cleanupProjects;
};

int RunChild(const ChildArgs& args);

// Prints one record as a line and flushes it.
void Emit(const Record& record);

// Identifier lists inside records: "1|2|3".
std::string JoinIds(const std::vector<std::int32_t>& ids);
std::vector<std::int32_t> SplitIds(const std::string& text);

}  // namespace stress::crash
