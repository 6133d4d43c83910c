// The figures of a run, from the journals: operations per second, latencies,
// busy waits, failures grouped by message, and what the open bug list cost
// the writers. What they show wrong goes into the findings.
#pragma once

#include <cstdio>
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

// True when a failure's texts show it came only from another program's
// work: the file stayed locked past the timeout, or the row changed since
// it was read.
bool CausedByContention(const Record& failure);

}  // namespace stress
