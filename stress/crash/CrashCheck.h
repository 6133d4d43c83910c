// Judges, after a kill, what one interrupted operation left in the file.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "common/Journal.h"
#include "common/SqliteFile.h"

namespace stress::crash {

enum class Outcome { Whole, Absent, Partial };

struct Verdict {
    Outcome outcome = Outcome::Partial;
    std::string detail;  // what was found, for a partial outcome
};

// The names the synchronised bugs store, by bug, before a synchronisation.
using StoredNames = std::map<std::int64_t, std::string>;
StoredNames ReadStoredNames(const SqliteFile& file, const Record& setup);

// `ready` holds the facts the child printed before it started the operation.
Verdict Judge(const std::string& kind, const Record& ready, const Record& setup,
              const StoredNames& namesBefore, const SqliteFile& file);

const char* OutcomeName(Outcome outcome);

}  // namespace stress::crash
