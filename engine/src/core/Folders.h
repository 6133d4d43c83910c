// The places the engine keeps files: the program's folder (error log) and the
// process's private temporary folder (attachment work files).
#pragma once

#include <string>

namespace lindor {

// The folder for the error log, ending in '/': $NIMBRA_HOME when set, else the
// folder of the running program when it is writable, else the per-user data
// folder ($XDG_DATA_HOME/Nimbra or ~/.local/share/Nimbra). Looked up once per
// process and kept.
const std::string& ProgramDataFolder();

// A folder of mode 0700 made once per process under $TMPDIR (else /tmp),
// ending in '/'; empty when it cannot be made.
const std::string& PrivateTempFolder();

// Creates a folder and its parents (mode 0700 for new ones); true when it exists afterwards.
bool MakeFolders(const std::string& path);

}  // namespace lindor
