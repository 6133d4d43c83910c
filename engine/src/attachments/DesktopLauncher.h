// Asking the desktop to open a file with the application it associates with
// the file's type.
#pragma once

#include <string>

namespace lindor {

// Starts `xdg-open <path>` in `workingFolder` without a shell and without
// waiting for it: a short-lived helper process starts it and is reaped at
// once, so neither stays behind as a zombie. True when the helper reported
// that the program was started; the opening itself is not followed.
bool OpenWithDesktop(const std::string& path, const std::string& workingFolder);

}  // namespace lindor
