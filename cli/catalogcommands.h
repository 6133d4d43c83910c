// projects and users: what a database holds besides bugs.
#pragma once

#include "options.h"
#include "session.h"

namespace cli {

class CatalogCommands {
public:
    // Opens the database and logs in.
    explicit CatalogCommands(const Options& options);

    // The user's projects (every project for the administrator) with their versions.
    int Projects();
    // Every user with login, name and role: the role template his rights
    // match, "Custom" when they match none, "None" without rights.
    int Users();

private:
    std::string RoleName(lindor::IUser* user);

    const Options& options_;
    Session session_;
};

}  // namespace cli
