// The 33 yes/no rights a role holds in one project, by name, read and
// written through the engine's IRight. Plain C++ on the engine's public
// header, shared by nimbra-admin and nimbra-cli.
#pragma once

#include <lindor/lindor.h>

#include <array>
#include <string>

namespace roles {

// In the order the rights are stored.
enum class RightFlag {
    Add,
    Read,
    Delete,
    EditType,
    EditClass,
    EditPriority,
    EditSeverity,
    EditReproductive,
    EditReportedInPrj,
    EditReportedInVersion,
    EditReportedDate,
    EditFixedDate,
    EditFixedInVersion,
    EditVerifiedDate,
    EditDescription,
    EditRecreateStep,
    EditWorkAround,
    EditReport,
    EditDateDue,
    EditResolution,
    EditAttachment,
    EditEstimatedTime,
    ReportGen,
    Print,
    Statistic,
    Add_Edit_Del_BugClass,
    Add_Edit_Del_BugSeverity,
    Add_Edit_Del_BugReproductive,
    Add_Edit_Del_BugPriority,
    Add_Edit_Del_BugStatus,
    AssignClassToUser,
    EditProject,
    DeleteProject,
};

class RightFlags {
public:
    static constexpr int kCount = 33;
    static const std::array<RightFlag, kCount>& all();

    // The property's name on IRight ("EditFixedInVersion").
    static const char* name(RightFlag flag);
    // False when the engine refuses the read; `value` is then false.
    static bool get(lindor::IRight* right, RightFlag flag, bool* value);
    static bool get(lindor::IRight* right, RightFlag flag);
    static bool set(lindor::IRight* right, RightFlag flag, bool value);
};

}  // namespace roles
