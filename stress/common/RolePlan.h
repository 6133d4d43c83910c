// A role as the stress programs write it and check it: AddProject and, per
// project, 33 flags ('0'/'1' in the order of kRightColumns) and the statuses
// the right may set. Its text form goes into journals:
//   "<addProject>;<project>:<flags>:<status>|<status>;..."
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace stress {

struct RightPlan {
    std::int32_t projectID = 0;
    std::string flags;  // 33 characters
    std::vector<std::string> statuses;

    bool AllFalse() const { return flags.find('1') == std::string::npos; }
};

struct RolePlan {
    bool addProject = false;
    std::vector<RightPlan> rights;

    std::string Text() const;
    static RolePlan Parse(const std::string& text);
    // The rights a stored role holds: a right with every flag off gets no row.
    RolePlan Stored() const;
};

// Every flag set, in each of the projects, with the statuses given.
RolePlan FullRole(const std::vector<std::int32_t>& projects, bool addProject,
                  const std::vector<std::string>& statuses);

}  // namespace stress
