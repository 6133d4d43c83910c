// The administration program's ready-made roles ("All", "None", "ReadOnly",
// "QA Person", "Developer", "Manager"): which of a project's 33 rights each
// grants and which statuses it may set.
#pragma once

#include <string>
#include <vector>

#include <lindor/lindor.h>

namespace cli {

struct RoleTemplate {
    const char* name;
    std::vector<std::string> flags;     // the rights set to 1; every other one is 0
    std::vector<std::string> statuses;  // the available statuses, in order
};

const std::vector<RoleTemplate>& RoleTemplates();
const RoleTemplate& FindRoleTemplate(const std::string& name);

// Gives a project's right exactly the template's rights and statuses.
void ApplyRoleTemplate(const RoleTemplate& role, lindor::IRight* right);

// The name of the template a right matches in rights and statuses, or empty.
std::string RoleTemplateOf(lindor::IRight* right);

}  // namespace cli
