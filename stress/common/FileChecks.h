// Checks of a database file that hold after any sequence of engine
// operations, whoever made them: the file is intact, every identifier
// counter is ahead of its table, and no row refers to a row that is gone.
#pragma once

#include "common/SqliteFile.h"

namespace stress {

class Findings;

void CheckIntact(const SqliteFile& file, Findings& findings);
void CheckCounters(const SqliteFile& file, Findings& findings);
void CheckNoOrphans(const SqliteFile& file, Findings& findings);

}  // namespace stress
