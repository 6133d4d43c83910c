// The figures of a run, from the journals: operations per second, latencies,
// busy waits, failures grouped by message, and what the open bug list cost
// the writers. What they show wrong goes into the findings.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "common/Findings.h"
#include "common/Journal.h"

namespace stress {

struct RunJournals {
    std::vector<std::vector<Record>> workers;
    std::vector<Record> reader;
    std::vector<Record> holder;  // empty when no program held the lock
};

void ReportFigures(const RunJournals& journals, Findings& findings, std::FILE* out);

// Why a failure came from other programs' work alone (the file stayed locked
// past the timeout, a row changed since it was read, a row was deleted after
// its cursor read the keys), as its texts show; empty when it did not.
std::string ContentionCause(const Record& failure);

}  // namespace stress
