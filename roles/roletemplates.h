// The ready-made roles an administrator gives a user in a project: which
// rights a template sets (every other right is cleared) and which statuses
// it lets the user set. Shared by nimbra-admin and nimbra-cli.
#pragma once

#include <lindor/lindor.h>

#include <string>
#include <vector>

#include "roles/rightflags.h"

namespace roles {

struct RoleTemplate {
    std::string name;
    std::vector<RightFlag> flags;
    std::vector<std::string> statuses;  // in the template's order

    bool grants(RightFlag flag) const;
};

class RoleTemplates {
public:
    // "All", "None", "ReadOnly", "QA Person", "Developer", "Manager".
    static const std::vector<RoleTemplate>& all();
    // The template of that name, or null.
    static const RoleTemplate* find(const std::string& name);

    // Gives a project's right exactly the template's rights and statuses.
    // False when the engine refuses a change; the right is then partly set.
    static bool apply(const RoleTemplate& chosen, lindor::IRight* right);
    // The template whose rights and statuses (in any order) the right has;
    // null for a right no template describes or one the engine cannot read.
    static const RoleTemplate* of(lindor::IRight* right);
};

}  // namespace roles
