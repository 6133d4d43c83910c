#include "roles/roletemplates.h"

#include <algorithm>

namespace roles {

namespace {

using F = RightFlag;

std::vector<RightFlag> EveryFlag()
{
    const auto& flags = RightFlags::all();
    return std::vector<RightFlag>(flags.begin(), flags.end());
}

std::vector<RoleTemplate> MakeTemplates()
{
    return {
        {"All",
         EveryFlag(),
         {"Active", "New", "Verified", "By Design", "Cannot Reproduce", "Resolved", "In Process",
          "Postponed", "Will Not Fix", "Waiting"}},
        {"None", {}, {}},
        {"ReadOnly", {F::Read}, {}},
        {"QA Person",
         {F::Add, F::Delete, F::Read, F::EditDescription, F::EditType, F::EditClass,
          F::EditPriority, F::EditSeverity, F::EditReproductive, F::EditReportedInVersion,
          F::EditReportedDate, F::EditVerifiedDate, F::EditReport, F::EditRecreateStep,
          F::EditWorkAround, F::EditAttachment, F::EditDateDue, F::Add_Edit_Del_BugClass},
         {"Active", "New", "Verified"}},
        {"Developer",
         {F::Read, F::EditFixedDate, F::EditFixedInVersion, F::EditResolution,
          F::EditEstimatedTime},
         {"By Design", "Cannot Reproduce", "Resolved", "In Process", "Postponed", "Will Not Fix",
          "Waiting"}},
        {"Manager",
         {F::Add, F::Delete, F::Read, F::EditType, F::EditDateDue, F::EditEstimatedTime,
          F::Add_Edit_Del_BugClass, F::Add_Edit_Del_BugPriority, F::Add_Edit_Del_BugReproductive,
          F::Add_Edit_Del_BugSeverity, F::Add_Edit_Del_BugStatus, F::AssignClassToUser,
          F::EditProject, F::DeleteProject, F::ReportGen, F::Statistic},
         {"Postponed"}},
    };
}

lindor::ComPtr<lindor::IBugStatus> StatusesOf(lindor::IRight* right)
{
    lindor::ComPtr<lindor::IBugStatus> list;
    if (right->get_AvailableStatus(list.put()) != lindor::S_OK) list.reset();
    return list;
}

bool ReadNames(lindor::IBugStatus* list, std::vector<std::string>* names)
{
    std::int32_t count = 0;
    if (list->get_Count(&count) != lindor::S_OK) return false;
    for (std::int32_t i = 0; i < count; ++i) {
        std::string name;
        if (list->get_Item(i, &name) != lindor::S_OK) return false;
        names->push_back(name);
    }
    return true;
}

bool Matches(const RoleTemplate& candidate, lindor::IRight* right,
             const std::vector<std::string>& sortedStatuses)
{
    for (RightFlag flag : RightFlags::all()) {
        bool value = false;
        if (!RightFlags::get(right, flag, &value) || value != candidate.grants(flag)) return false;
    }
    std::vector<std::string> expected = candidate.statuses;
    std::sort(expected.begin(), expected.end());
    return sortedStatuses == expected;
}

}  // namespace

bool RoleTemplate::grants(RightFlag flag) const
{
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

const std::vector<RoleTemplate>& RoleTemplates::all()
{
    static const std::vector<RoleTemplate> templates = MakeTemplates();
    return templates;
}

const RoleTemplate* RoleTemplates::find(const std::string& name)
{
    for (const RoleTemplate& candidate : all()) {
        if (candidate.name == name) return &candidate;
    }
    return nullptr;
}

bool RoleTemplates::apply(const RoleTemplate& chosen, lindor::IRight* right)
{
    for (RightFlag flag : RightFlags::all()) {
        if (!RightFlags::set(right, flag, chosen.grants(flag))) return false;
    }
    const auto statuses = StatusesOf(right);
    if (!statuses || statuses->Clear() != lindor::S_OK) return false;
    for (const std::string& status : chosen.statuses) {
        if (statuses->Add(status) != lindor::S_OK) return false;
    }
    return true;
}

const RoleTemplate* RoleTemplates::of(lindor::IRight* right)
{
    const auto list = StatusesOf(right);
    std::vector<std::string> statuses;
    if (!list || !ReadNames(list.get(), &statuses)) return nullptr;
    std::sort(statuses.begin(), statuses.end());
    for (const RoleTemplate& candidate : all()) {
        if (Matches(candidate, right, statuses)) return &candidate;
    }
    return nullptr;
}

}  // namespace roles
