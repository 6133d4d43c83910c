// create, demo and sync: whole databases.
#pragma once

#include "options.h"

namespace cli {

class DatabaseCommands {
public:
    explicit DatabaseCommands(const Options& options) : options_(options) {}

    // A new, empty database; an existing file is refused and left untouched.
    int Create();
    // A new database with a small team, their projects and bugs.
    int Demo();
    // Brings the names stored in bugs up to date.
    int Sync();

private:
    const Options& options_;
};

// Creates an empty database at `path` through the engine's Admin object. An
// existing file is refused; a failed creation leaves no file behind.
void CreateDatabase(const std::string& path);

}  // namespace cli
