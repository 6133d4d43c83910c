// The administration program's ready-made roles ("All", "None", "ReadOnly",
// "QA Person", "Developer", "Manager"), from the roles library, with the
// command line's way of failing.
#pragma once

#include <string>

#include <lindor/lindor.h>

#include "roles/roletemplates.h"

namespace cli {

using RoleTemplate = roles::RoleTemplate;

// A usage error for a name no template has.
const RoleTemplate& FindRoleTemplate(const std::string& name);

// Gives a project's right exactly the template's rights and statuses.
void ApplyRoleTemplate(const RoleTemplate& role, lindor::IRight* right);

// The name of the template a right matches in rights and statuses, or empty.
std::string RoleTemplateOf(lindor::IRight* right);

}  // namespace cli
