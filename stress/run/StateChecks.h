// Compares a database file with the state the journals imply.
#pragma once

#include "common/Findings.h"
#include "common/SqliteFile.h"
#include "run/ExpectedState.h"

namespace stress {

// The checks whose findings count lost, left-behind and duplicated rows.
extern const char* const kDoneInFile;
extern const char* const kFailedLeftNothing;
extern const char* const kNoUnreported;
extern const char* const kHandedOutTwice;

// Objects the run prepared before the workers started are known by these
// identifiers: the administrator and the two sample projects with their
// four versions.
void CheckStateAgainstJournals(const ExpectedState& expected, const SqliteFile& file,
                               Findings& findings);
// No identifier was handed out to two operations.
void CheckIdentifiersUnique(const ExpectedState& expected, Findings& findings);

}  // namespace stress
