#include "roletemplates.h"

#include "engine.h"

namespace cli {

const RoleTemplate& FindRoleTemplate(const std::string& name)
{
    const RoleTemplate* found = roles::RoleTemplates::find(name);
    if (found == nullptr) UsageError("There is no role template " + name);
    return *found;
}

void ApplyRoleTemplate(const RoleTemplate& role, lindor::IRight* right)
{
    if (!roles::RoleTemplates::apply(role, right)) Refuse(EngineMessage("Setting a right failed"));
}

std::string RoleTemplateOf(lindor::IRight* right)
{
    const RoleTemplate* found = roles::RoleTemplates::of(right);
    return found != nullptr ? found->name : std::string();
}

}  // namespace cli
