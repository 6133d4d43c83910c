// The names a new database holds and the stress programs choose from.
#pragma once

#include <array>

namespace stress {

constexpr std::array<const char*, 10> kStatuses = {
    "Active", "By Design", "Cannot Reproduce", "Resolved", "In Process",
    "New",    "Postponed", "Verified",         "Waiting",  "Will Not Fix"};
constexpr std::array<const char*, 3> kPriorities = {"High", "Low", "Normal"};
constexpr std::array<const char*, 5> kSeverities = {"Crash", "Critical", "Moderate", "Normal",
                                                    "Trivial"};
constexpr std::array<const char*, 4> kReproducibility = {"Always", "Never", "Scarcely",
                                                         "Sometimes"};

// The two projects of a new database and their versions.
constexpr std::array<int, 2> kFirstProjects = {1, 2};
inline std::array<int, 2> VersionsOfFirstProject(int project)
{
    return project == 1 ? std::array<int, 2>{1, 2} : std::array<int, 2>{3, 4};
}

// The yes/no columns of tRight that a right's 33 flags are stored in, in the
// order a role's flag text lists them ("AssignProjectToUser" and "AddProject"
// belong to no flag). The checkers read files without the engine's code, so
// they keep their own copy of these names.
constexpr std::array<const char*, 33> kRightColumns = {"Add",
                                                       "Delete",
                                                       "Read",
                                                       "EditType",
                                                       "EditClass",
                                                       "EditPriority",
                                                       "EditSeverity",
                                                       "EditReproductive",
                                                       "EditReportedInProject",
                                                       "EditReportedInVersion",
                                                       "EditReportedDate",
                                                       "EditFixedDate",
                                                       "EditFixedInVersion",
                                                       "EditVerifiedDate",
                                                       "EditEstimatedTime",
                                                       "EditDateDue",
                                                       "EditDescription",
                                                       "EditRecreatestep",
                                                       "EditWorkAround",
                                                       "EditReport",
                                                       "EditResolution",
                                                       "EditAttachment",
                                                       "ReportGen",
                                                       "Print",
                                                       "ViewStatistic",
                                                       "Add_Edit_Del_BugClass",
                                                       "Add_Edit_Del_BugStatus",
                                                       "Add_Edit_Del_BugSeverity",
                                                       "Add_Edit_Del_BugPriority",
                                                       "Add_Edit_Del_BugReproductive",
                                                       "AssignClassToUser",
                                                       "EditProject",
                                                       "DeleteProject"};

}  // namespace stress
