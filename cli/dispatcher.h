// Runs the command the command line chose.
#pragma once

#include "options.h"

namespace cli {

// Runs the command and gives its exit code; a failure is printed on
// standard error.
int RunCommand(const Options& options);

}  // namespace cli
