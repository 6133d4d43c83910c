#include "common/RolePlan.h"

#include <cstdlib>

#include "common/Journal.h"
#include "common/Names.h"

namespace stress {

std::string RolePlan::Text() const
{
    std::string text = addProject ? "1" : "0";
    for (const RightPlan& right : rights)
        text += ";" + std::to_string(right.projectID) + ":" + right.flags + ":" +
                JoinList(right.statuses);
    return text;
}

RolePlan RolePlan::Parse(const std::string& text)
{
    RolePlan role;
    const std::vector<std::string> parts = SplitList(text, ';');
    if (parts.empty()) return role;
    role.addProject = parts[0] == "1";
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const std::vector<std::string> pieces = SplitList(parts[i], ':');
        RightPlan right;
        right.projectID = static_cast<std::int32_t>(std::atol(pieces.at(0).c_str()));
        right.flags = pieces.size() > 1 ? pieces[1] : std::string();
        if (pieces.size() > 2) right.statuses = SplitList(pieces[2]);
        role.rights.push_back(right);
    }
    return role;
}

RolePlan RolePlan::Stored() const
{
    RolePlan stored;
    stored.addProject = addProject;
    for (const RightPlan& right : rights)
        if (!right.AllFalse()) stored.rights.push_back(right);
    return stored;
}

RolePlan FullRole(const std::vector<std::int32_t>& projects, bool addProject,
                  const std::vector<std::string>& statuses)
{
    RolePlan role;
    role.addProject = addProject;
    for (const std::int32_t project : projects)
        role.rights.push_back(RightPlan{project, std::string(kRightColumns.size(), '1'), statuses});
    return role;
}

}  // namespace stress
