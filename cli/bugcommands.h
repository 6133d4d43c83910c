// list, show, add, update, delete: the bugs of the active project.
#pragma once

#include "catalog.h"
#include "options.h"
#include "session.h"

namespace cli {

class BugCommands {
public:
    // Opens the database, logs in and enters the project.
    explicit BugCommands(const Options& options);

    int List();
    int Show();
    int Add();
    int Update();
    int Delete();

private:
    void ShowAsText(lindor::IBug* bug);

    const Options& options_;
    Session session_;
    Catalog catalog_;
};

}  // namespace cli
