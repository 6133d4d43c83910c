#include "common/StoredRoles.h"

#include <algorithm>
#include <string>
#include <vector>

#include "common/Findings.h"
#include "common/Names.h"

namespace stress {
namespace {

std::string RightsQuery()
{
    std::string sql = "SELECT UserRightID, ProjectID, RightID";
    for (const char* column : kRightColumns) sql += std::string(", \"") + column + "\"";
    return sql + " FROM tRight ORDER BY UserRightID, ProjectID";
}

void SortForComparison(RolePlan& role)
{
    std::sort(role.rights.begin(), role.rights.end(),
              [](const RightPlan& x, const RightPlan& y) { return x.projectID < y.projectID; });
    for (RightPlan& right : role.rights) std::sort(right.statuses.begin(), right.statuses.end());
}

}  // namespace

std::map<std::int64_t, RolePlan> StoredRoles(const SqliteFile& file, Findings& findings)
{
    std::map<std::int64_t, std::vector<std::string>> statuses;
    file.ForEach("SELECT RightID, StatusName FROM tAvailableStatus",
                 [&](const SqliteFile::Row& row) { statuses[row.Int(0)].push_back(row.Text(1)); });
    std::map<std::int64_t, RolePlan> roles;
    file.ForEach("SELECT UserRightID, AddProject FROM tUserRight", [&](const SqliteFile::Row& row) {
        roles[row.Int(0)].addProject = row.Int(1) != 0;
    });
    file.ForEach(RightsQuery(), [&](const SqliteFile::Row& row) {
        RightPlan right;
        right.projectID = static_cast<std::int32_t>(row.Int(1));
        for (std::size_t i = 0; i < kRightColumns.size(); ++i)
            right.flags += row.Int(static_cast<int>(i) + 3) != 0 ? '1' : '0';
        right.statuses = statuses[row.Int(2)];
        RolePlan& role = roles[row.Int(0)];
        for (const RightPlan& other : role.rights)
            if (other.projectID == right.projectID)
                findings.Add("a role holds one rights row per project",
                             "role " + std::to_string(row.Int(0)) + " has two rows for project " +
                                 std::to_string(right.projectID));
        role.rights.push_back(right);
    });
    return roles;
}

bool SameRole(RolePlan a, RolePlan b)
{
    SortForComparison(a);
    SortForComparison(b);
    if (a.addProject != b.addProject || a.rights.size() != b.rights.size()) return false;
    for (std::size_t i = 0; i < a.rights.size(); ++i)
        if (a.rights[i].projectID != b.rights[i].projectID ||
            a.rights[i].flags != b.rights[i].flags || a.rights[i].statuses != b.rights[i].statuses)
            return false;
    return true;
}

}  // namespace stress
