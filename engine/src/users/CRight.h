// One row of rights of a role for one project: 33 yes/no flags and the
// statuses the role may set there. Lives in memory; the record mapping reads
// and writes it through the flag table below.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include <lindor/Interfaces.h>

#include "core/ComObject.h"
#include "users/CBugStatus.h"

namespace lindor {

// The flags in the order in which a stored rights row is read and written.
enum class RightFlag : std::size_t {
    Add,
    Delete,
    Read,
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
    EditEstimatedTime,
    EditDateDue,
    EditDescription,
    EditRecreateStep,
    EditWorkAround,
    EditReport,
    EditResolution,
    EditAttachment,
    ReportGen,
    Print,
    Statistic,
    Add_Edit_Del_BugClass,
    Add_Edit_Del_BugReproductive,
    Add_Edit_Del_BugSeverity,
    Add_Edit_Del_BugPriority,
    Add_Edit_Del_BugStatus,
    AssignClassToUser,
    EditProject,
    DeleteProject,
};

constexpr std::size_t kRightFlagCount = 33;

struct RightFlagInfo {
    RightFlag flag;
    const char* column;    // in tRight, matched without regard to case
    const char* property;  // on IRight
    bool editsBug;         // allows changing a field of a bug (counts for EditBug)
    HRESULT (IRight::*get)(std::int32_t*);
    HRESULT (IRight::*put)(std::int32_t);
};

// Every flag once, indexed by RightFlag.
inline constexpr std::array<RightFlagInfo, kRightFlagCount> kRightFlags = {{
    RightFlagInfo{RightFlag::Add, "Add", "Add", false, &IRight::get_Add, &IRight::put_Add},
    RightFlagInfo{RightFlag::Delete, "Delete", "Delete", false, &IRight::get_Delete,
                  &IRight::put_Delete},
    RightFlagInfo{RightFlag::Read, "Read", "Read", false, &IRight::get_Read, &IRight::put_Read},
    RightFlagInfo{RightFlag::EditType, "EditType", "EditType", true, &IRight::get_EditType,
                  &IRight::put_EditType},
    RightFlagInfo{RightFlag::EditClass, "EditClass", "EditClass", true, &IRight::get_EditClass,
                  &IRight::put_EditClass},
    RightFlagInfo{RightFlag::EditPriority, "EditPriority", "EditPriority", true,
                  &IRight::get_EditPriority, &IRight::put_EditPriority},
    RightFlagInfo{RightFlag::EditSeverity, "EditSeverity", "EditSeverity", true,
                  &IRight::get_EditSeverity, &IRight::put_EditSeverity},
    RightFlagInfo{RightFlag::EditReproductive, "EditReproductive", "EditReproductive", true,
                  &IRight::get_EditReproductive, &IRight::put_EditReproductive},
    RightFlagInfo{RightFlag::EditReportedInPrj, "EditReportedInProject", "EditReportedInPrj", true,
                  &IRight::get_EditReportedInPrj, &IRight::put_EditReportedInPrj},
    RightFlagInfo{RightFlag::EditReportedInVersion, "EditReportedInVersion",
                  "EditReportedInVersion", true, &IRight::get_EditReportedInVersion,
                  &IRight::put_EditReportedInVersion},
    RightFlagInfo{RightFlag::EditReportedDate, "EditReportedDate", "EditReportedDate", true,
                  &IRight::get_EditReportedDate, &IRight::put_EditReportedDate},
    RightFlagInfo{RightFlag::EditFixedDate, "EditFixedDate", "EditFixedDate", true,
                  &IRight::get_EditFixedDate, &IRight::put_EditFixedDate},
    RightFlagInfo{RightFlag::EditFixedInVersion, "EditFixedInVersion", "EditFixedInVersion", true,
                  &IRight::get_EditFixedInVersion, &IRight::put_EditFixedInVersion},
    RightFlagInfo{RightFlag::EditVerifiedDate, "EditVerifiedDate", "EditVerifiedDate", true,
                  &IRight::get_EditVerifiedDate, &IRight::put_EditVerifiedDate},
    RightFlagInfo{RightFlag::EditEstimatedTime, "EditEstimatedTime", "EditEstimatedTime", true,
                  &IRight::get_EditEstimatedTime, &IRight::put_EditEstimatedTime},
    RightFlagInfo{RightFlag::EditDateDue, "EditDateDue", "EditDateDue", true,
                  &IRight::get_EditDateDue, &IRight::put_EditDateDue},
    RightFlagInfo{RightFlag::EditDescription, "EditDescription", "EditDescription", true,
                  &IRight::get_EditDescription, &IRight::put_EditDescription},
    RightFlagInfo{RightFlag::EditRecreateStep, "EditRecreateStep", "EditRecreateStep", true,
                  &IRight::get_EditRecreateStep, &IRight::put_EditRecreateStep},
    RightFlagInfo{RightFlag::EditWorkAround, "EditWorkAround", "EditWorkAround", true,
                  &IRight::get_EditWorkAround, &IRight::put_EditWorkAround},
    RightFlagInfo{RightFlag::EditReport, "EditReport", "EditReport", true, &IRight::get_EditReport,
                  &IRight::put_EditReport},
    RightFlagInfo{RightFlag::EditResolution, "EditResolution", "EditResolution", true,
                  &IRight::get_EditResolution, &IRight::put_EditResolution},
    RightFlagInfo{RightFlag::EditAttachment, "EditAttachment", "EditAttachment", true,
                  &IRight::get_EditAttachment, &IRight::put_EditAttachment},
    RightFlagInfo{RightFlag::ReportGen, "ReportGen", "ReportGen", false, &IRight::get_ReportGen,
                  &IRight::put_ReportGen},
    RightFlagInfo{RightFlag::Print, "Print", "Print", false, &IRight::get_Print,
                  &IRight::put_Print},
    RightFlagInfo{RightFlag::Statistic, "ViewStatistic", "Statistic", false, &IRight::get_Statistic,
                  &IRight::put_Statistic},
    RightFlagInfo{RightFlag::Add_Edit_Del_BugClass, "Add_Edit_Del_BugClass",
                  "Add_Edit_Del_BugClass", false, &IRight::get_Add_Edit_Del_BugClass,
                  &IRight::put_Add_Edit_Del_BugClass},
    RightFlagInfo{RightFlag::Add_Edit_Del_BugReproductive, "Add_Edit_Del_BugReproductive",
                  "Add_Edit_Del_BugReproductive", false, &IRight::get_Add_Edit_Del_BugReproductive,
                  &IRight::put_Add_Edit_Del_BugReproductive},
    RightFlagInfo{RightFlag::Add_Edit_Del_BugSeverity, "Add_Edit_Del_BugSeverity",
                  "Add_Edit_Del_BugSeverity", false, &IRight::get_Add_Edit_Del_BugSeverity,
                  &IRight::put_Add_Edit_Del_BugSeverity},
    RightFlagInfo{RightFlag::Add_Edit_Del_BugPriority, "Add_Edit_Del_BugPriority",
                  "Add_Edit_Del_BugPriority", false, &IRight::get_Add_Edit_Del_BugPriority,
                  &IRight::put_Add_Edit_Del_BugPriority},
    RightFlagInfo{RightFlag::Add_Edit_Del_BugStatus, "Add_Edit_Del_BugStatus",
                  "Add_Edit_Del_BugStatus", false, &IRight::get_Add_Edit_Del_BugStatus,
                  &IRight::put_Add_Edit_Del_BugStatus},
    RightFlagInfo{RightFlag::AssignClassToUser, "AssignClassToUser", "AssignClassToUser", false,
                  &IRight::get_AssignClassToUser, &IRight::put_AssignClassToUser},
    RightFlagInfo{RightFlag::EditProject, "EditProject", "EditProject", false,
                  &IRight::get_EditProject, &IRight::put_EditProject},
    RightFlagInfo{RightFlag::DeleteProject, "DeleteProject", "DeleteProject", false,
                  &IRight::get_DeleteProject, &IRight::put_DeleteProject},
}};

class CRight final : public ComObject<IRight> {
public:
    HRESULT get_Read(std::int32_t* out) override { return GetFlag(RightFlag::Read, out); }
    HRESULT put_Read(std::int32_t value) override { return PutFlag(RightFlag::Read, value); }
    HRESULT get_Add(std::int32_t* out) override { return GetFlag(RightFlag::Add, out); }
    HRESULT put_Add(std::int32_t value) override { return PutFlag(RightFlag::Add, value); }
    HRESULT get_Delete(std::int32_t* out) override { return GetFlag(RightFlag::Delete, out); }
    HRESULT put_Delete(std::int32_t value) override { return PutFlag(RightFlag::Delete, value); }
    HRESULT get_EditClass(std::int32_t* out) override { return GetFlag(RightFlag::EditClass, out); }
    HRESULT put_EditClass(std::int32_t value) override
    {
        return PutFlag(RightFlag::EditClass, value);
    }
    HRESULT get_EditPriority(std::int32_t* out) override
    {
        return GetFlag(RightFlag::EditPriority, out);
    }
    HRESULT put_EditPriority(std::int32_t value) override
    {
        return PutFlag(RightFlag::EditPriority, value);
    }
    HRESULT get_EditSeverity(std::int32_t* out) override
    {
        return GetFlag(RightFlag::EditSeverity, out);
    }
    HRESULT put_EditSeverity(std::int32_t value) override
    {
        return PutFlag(RightFlag::EditSeverity, value);
    }
    HRESULT get_EditReportedInVersion(std::int32_t* out) override
    {
        return GetFlag(RightFlag::EditReportedInVersion, out);
    }
    HRESULT put_EditReportedInVersion(std::int32_t value) override
    {
        return PutFlag(RightFlag::EditReportedInVersion, value);
    }
    HRESULT get_EditReportedDate(std::int32_t* out) override
    {
        return GetFlag(RightFlag::EditReportedDate, out);
    }
    HRESULT put_EditReportedDate(std::int32_t value) override
    {
        return PutFlag(RightFlag::EditReportedDate, value);
    }
    HRESULT get_EditFixedInVersion(std::int32_t* out) override
    {
        return GetFlag(RightFlag::EditFixedInVersion, out);
    }
    HRESULT put_EditFixedInVersion(std::int32_t value) override
    {
        return PutFlag(RightFlag::EditFixedInVersion, value);
    }
    HRESULT get_EditFixedDate(std::int32_t* out) override
    {
        return GetFlag(RightFlag::EditFixedDate, out);
    }
    HRESULT put_EditFixedDate(std::int32_t value) override
    {
        return PutFlag(RightFlag::EditFixedDate, value);
    }
    HRESULT get_EditVerifiedDate(std::int32_t* out) override
    {
        return GetFlag(RightFlag::EditVerifiedDate, out);
    }
    HRESULT put_EditVerifiedDate(std::int32_t value) override
    {
        return PutFlag(RightFlag::EditVerifiedDate, value);
    }
    HRESULT get_EditDescription(std::int32_t* out) override
    {
        return GetFlag(RightFlag::EditDescription, out);
    }
    HRESULT put_EditDescription(std::int32_t value) override
    {
        return PutFlag(RightFlag::EditDescription, value);
    }
    HRESULT get_EditRecreateStep(std::int32_t* out) override
    {
        return GetFlag(RightFlag::EditRecreateStep, out);
    }
    HRESULT put_EditRecreateStep(std::int32_t value) override
    {
        return PutFlag(RightFlag::EditRecreateStep, value);
    }
    HRESULT get_EditWorkAround(std::int32_t* out) override
    {
        return GetFlag(RightFlag::EditWorkAround, out);
    }
    HRESULT put_EditWorkAround(std::int32_t value) override
    {
        return PutFlag(RightFlag::EditWorkAround, value);
    }
    HRESULT get_EditReport(std::int32_t* out) override
    {
        return GetFlag(RightFlag::EditReport, out);
    }
    HRESULT put_EditReport(std::int32_t value) override
    {
        return PutFlag(RightFlag::EditReport, value);
    }
    HRESULT get_EditResolution(std::int32_t* out) override
    {
        return GetFlag(RightFlag::EditResolution, out);
    }
    HRESULT put_EditResolution(std::int32_t value) override
    {
        return PutFlag(RightFlag::EditResolution, value);
    }
    HRESULT get_EditAttachment(std::int32_t* out) override
    {
        return GetFlag(RightFlag::EditAttachment, out);
    }
    HRESULT put_EditAttachment(std::int32_t value) override
    {
        return PutFlag(RightFlag::EditAttachment, value);
    }
    HRESULT get_ReportGen(std::int32_t* out) override { return GetFlag(RightFlag::ReportGen, out); }
    HRESULT put_ReportGen(std::int32_t value) override
    {
        return PutFlag(RightFlag::ReportGen, value);
    }
    HRESULT get_Print(std::int32_t* out) override { return GetFlag(RightFlag::Print, out); }
    HRESULT put_Print(std::int32_t value) override { return PutFlag(RightFlag::Print, value); }
    HRESULT get_Statistic(std::int32_t* out) override { return GetFlag(RightFlag::Statistic, out); }
    HRESULT put_Statistic(std::int32_t value) override
    {
        return PutFlag(RightFlag::Statistic, value);
    }
    HRESULT get_Add_Edit_Del_BugClass(std::int32_t* out) override
    {
        return GetFlag(RightFlag::Add_Edit_Del_BugClass, out);
    }
    HRESULT put_Add_Edit_Del_BugClass(std::int32_t value) override
    {
        return PutFlag(RightFlag::Add_Edit_Del_BugClass, value);
    }
    HRESULT get_Add_Edit_Del_BugStatus(std::int32_t* out) override
    {
        return GetFlag(RightFlag::Add_Edit_Del_BugStatus, out);
    }
    HRESULT put_Add_Edit_Del_BugStatus(std::int32_t value) override
    {
        return PutFlag(RightFlag::Add_Edit_Del_BugStatus, value);
    }
    HRESULT get_Add_Edit_Del_BugReproductive(std::int32_t* out) override
    {
        return GetFlag(RightFlag::Add_Edit_Del_BugReproductive, out);
    }
    HRESULT put_Add_Edit_Del_BugReproductive(std::int32_t value) override
    {
        return PutFlag(RightFlag::Add_Edit_Del_BugReproductive, value);
    }
    HRESULT get_Add_Edit_Del_BugSeverity(std::int32_t* out) override
    {
        return GetFlag(RightFlag::Add_Edit_Del_BugSeverity, out);
    }
    HRESULT put_Add_Edit_Del_BugSeverity(std::int32_t value) override
    {
        return PutFlag(RightFlag::Add_Edit_Del_BugSeverity, value);
    }
    HRESULT get_AssignClassToUser(std::int32_t* out) override
    {
        return GetFlag(RightFlag::AssignClassToUser, out);
    }
    HRESULT put_AssignClassToUser(std::int32_t value) override
    {
        return PutFlag(RightFlag::AssignClassToUser, value);
    }
    HRESULT get_EditReproductive(std::int32_t* out) override
    {
        return GetFlag(RightFlag::EditReproductive, out);
    }
    HRESULT put_EditReproductive(std::int32_t value) override
    {
        return PutFlag(RightFlag::EditReproductive, value);
    }
    HRESULT get_EditDateDue(std::int32_t* out) override
    {
        return GetFlag(RightFlag::EditDateDue, out);
    }
    HRESULT put_EditDateDue(std::int32_t value) override
    {
        return PutFlag(RightFlag::EditDateDue, value);
    }
    HRESULT get_EditEstimatedTime(std::int32_t* out) override
    {
        return GetFlag(RightFlag::EditEstimatedTime, out);
    }
    HRESULT put_EditEstimatedTime(std::int32_t value) override
    {
        return PutFlag(RightFlag::EditEstimatedTime, value);
    }
    HRESULT get_Add_Edit_Del_BugPriority(std::int32_t* out) override
    {
        return GetFlag(RightFlag::Add_Edit_Del_BugPriority, out);
    }
    HRESULT put_Add_Edit_Del_BugPriority(std::int32_t value) override
    {
        return PutFlag(RightFlag::Add_Edit_Del_BugPriority, value);
    }
    HRESULT get_EditProject(std::int32_t* out) override
    {
        return GetFlag(RightFlag::EditProject, out);
    }
    HRESULT put_EditProject(std::int32_t value) override
    {
        return PutFlag(RightFlag::EditProject, value);
    }
    HRESULT get_DeleteProject(std::int32_t* out) override
    {
        return GetFlag(RightFlag::DeleteProject, out);
    }
    HRESULT put_DeleteProject(std::int32_t value) override
    {
        return PutFlag(RightFlag::DeleteProject, value);
    }
    HRESULT get_EditType(std::int32_t* out) override { return GetFlag(RightFlag::EditType, out); }
    HRESULT put_EditType(std::int32_t value) override
    {
        return PutFlag(RightFlag::EditType, value);
    }
    HRESULT get_EditReportedInPrj(std::int32_t* out) override
    {
        return GetFlag(RightFlag::EditReportedInPrj, out);
    }
    HRESULT put_EditReportedInPrj(std::int32_t value) override
    {
        return PutFlag(RightFlag::EditReportedInPrj, value);
    }
    HRESULT get_ID(std::int32_t* out) override;
    HRESULT get_ProjectID(std::int32_t* out) override;
    HRESULT put_ProjectID(std::int32_t value) override;
    // The list is made empty on the first request and kept.
    HRESULT get_AvailableStatus(IBugStatus** out) override;
    // Takes the source's ProjectID and all flags; the ID becomes 0 and the
    // available statuses stay as they are.
    HRESULT Copy(IRight* source) override;
    HRESULT get_IsAllFalse(std::int32_t* out) override;
    HRESULT get_EditBug(std::int32_t* out) override;

    std::int32_t ID() const { return id_; }
    void SetID(std::int32_t id) { id_ = id; }
    std::int32_t Flag(RightFlag flag) const;
    void SetFlag(RightFlag flag, bool on);
    void SetAllFlags(bool on);
    ComPtr<CBugStatus> AvailableStatusList();

private:
    ~CRight() override = default;

    HRESULT GetFlag(RightFlag flag, std::int32_t* out) const;
    HRESULT PutFlag(RightFlag flag, std::int32_t value);
    bool AnyFlag(bool editsBugOnly) const;

    std::int32_t id_ = 0;
    std::int32_t projectID_ = 0;
    std::array<std::uint8_t, kRightFlagCount> flags_{};
    ComPtr<CBugStatus> availableStatus_;
};

}  // namespace lindor
