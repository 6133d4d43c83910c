#include "roletemplates.h"

#include <algorithm>

#include "engine.h"

namespace cli {
namespace {

using lindor::IRight;

struct RightFlagAccess {
    const char* name;
    lindor::HRESULT (IRight::*get)(std::int32_t*);
    lindor::HRESULT (IRight::*put)(std::int32_t);
};

#define RIGHT_FLAG(flag) {#flag, &IRight::get_##flag, &IRight::put_##flag}
const RightFlagAccess kRightFlags[] = {
    RIGHT_FLAG(Add), RIGHT_FLAG(Read), RIGHT_FLAG(Delete), RIGHT_FLAG(EditType),
    RIGHT_FLAG(EditClass), RIGHT_FLAG(EditPriority), RIGHT_FLAG(EditSeverity),
    RIGHT_FLAG(EditReproductive), RIGHT_FLAG(EditReportedInPrj), RIGHT_FLAG(EditReportedInVersion),
    RIGHT_FLAG(EditReportedDate), RIGHT_FLAG(EditFixedDate), RIGHT_FLAG(EditFixedInVersion),
    RIGHT_FLAG(EditVerifiedDate), RIGHT_FLAG(EditDescription), RIGHT_FLAG(EditRecreateStep),
    RIGHT_FLAG(EditWorkAround), RIGHT_FLAG(EditReport), RIGHT_FLAG(EditDateDue),
    RIGHT_FLAG(EditResolution), RIGHT_FLAG(EditAttachment), RIGHT_FLAG(EditEstimatedTime),
    RIGHT_FLAG(ReportGen), RIGHT_FLAG(Print), RIGHT_FLAG(Statistic),
    RIGHT_FLAG(Add_Edit_Del_BugClass), RIGHT_FLAG(Add_Edit_Del_BugSeverity),
    RIGHT_FLAG(Add_Edit_Del_BugReproductive), RIGHT_FLAG(Add_Edit_Del_BugPriority),
    RIGHT_FLAG(Add_Edit_Del_BugStatus), RIGHT_FLAG(AssignClassToUser), RIGHT_FLAG(EditProject),
    RIGHT_FLAG(DeleteProject)};
#undef RIGHT_FLAG

std::vector<std::string> AllFlagNames()
{
    std::vector<std::string> names;
    for (const RightFlagAccess& flag : kRightFlags) names.push_back(flag.name);
    return names;
}

std::vector<RoleTemplate> MakeTemplates()
{
    return {
        {"All", AllFlagNames(),
         {"Active", "New", "Verified", "By Design", "Cannot Reproduce", "Resolved", "In Process",
          "Postponed", "Will Not Fix", "Waiting"}},
        {"None", {}, {}},
        {"ReadOnly", {"Read"}, {}},
        {"QA Person",
         {"Add", "Delete", "Read", "EditDescription", "EditType", "EditClass", "EditPriority",
          "EditSeverity", "EditReproductive", "EditReportedInVersion", "EditReportedDate",
          "EditVerifiedDate", "EditReport", "EditRecreateStep", "EditWorkAround", "EditAttachment",
          "EditDateDue", "Add_Edit_Del_BugClass"},
         {"Active", "New", "Verified"}},
        {"Developer",
         {"Read", "EditFixedDate", "EditFixedInVersion", "EditResolution", "EditEstimatedTime"},
         {"By Design", "Cannot Reproduce", "Resolved", "In Process", "Postponed", "Will Not Fix",
          "Waiting"}},
        {"Manager",
         {"Add", "Delete", "Read", "EditType", "EditDateDue", "EditEstimatedTime",
          "Add_Edit_Del_BugClass", "Add_Edit_Del_BugPriority", "Add_Edit_Del_BugReproductive",
          "Add_Edit_Del_BugSeverity", "Add_Edit_Del_BugStatus", "AssignClassToUser", "EditProject",
          "DeleteProject", "ReportGen", "Statistic"},
         {"Postponed"}},
    };
}

bool Grants(const RoleTemplate& role, const char* flag)
{
    return std::find(role.flags.begin(), role.flags.end(), flag) != role.flags.end();
}

std::vector<std::string> StatusesOf(IRight* right)
{
    const ComPtr<lindor::IBugStatus> list = ObjectOf(right, &IRight::get_AvailableStatus);
    std::vector<std::string> names;
    const std::int32_t count = NumberOf(list.get(), &lindor::IBugStatus::get_Count);
    for (std::int32_t i = 0; i < count; ++i) {
        std::string name;
        Check(list->get_Item(i, &name), "Reading a status failed");
        names.push_back(name);
    }
    return names;
}

bool Matches(const RoleTemplate& role, IRight* right)
{
    for (const RightFlagAccess& flag : kRightFlags)
        if ((NumberOf(right, flag.get) != 0) != Grants(role, flag.name)) return false;
    std::vector<std::string> statuses = StatusesOf(right);
    std::vector<std::string> expected = role.statuses;
    std::sort(statuses.begin(), statuses.end());
    std::sort(expected.begin(), expected.end());
    return statuses == expected;
}

}  // namespace

const std::vector<RoleTemplate>& RoleTemplates()
{
    static const std::vector<RoleTemplate> templates = MakeTemplates();
    return templates;
}

const RoleTemplate& FindRoleTemplate(const std::string& name)
{
    for (const RoleTemplate& role : RoleTemplates())
        if (name == role.name) return role;
    UsageError("There is no role template " + name);
}

void ApplyRoleTemplate(const RoleTemplate& role, IRight* right)
{
    for (const RightFlagAccess& flag : kRightFlags)
        Check((right->*flag.put)(Grants(role, flag.name) ? 1 : 0), "Setting a right failed");
    const ComPtr<lindor::IBugStatus> statuses = ObjectOf(right, &IRight::get_AvailableStatus);
    Check(statuses->Clear(), "Setting the statuses failed");
    for (const std::string& status : role.statuses)
        Check(statuses->Add(status), "Setting the statuses failed");
}

std::string RoleTemplateOf(IRight* right)
{
    for (const RoleTemplate& role : RoleTemplates())
        if (Matches(role, right)) return role.name;
    return std::string();
}

}  // namespace cli
