// The record-number allocator over the one-row table tNextID.
#pragma once

#include <cstdint>
#include <string>

namespace lindor {

// Hands out the next identifier of the counter column (e.g. "NextBugID") and
// stores it plus one, on a connection of its own made from the process's
// connection string, as one write transaction (joining one this process
// already holds). Returns 0, with a code-9 log entry, when none could be had.
std::int32_t GetNextID(const std::string& column);

}  // namespace lindor
