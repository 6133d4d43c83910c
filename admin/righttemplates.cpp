#include "admin/righttemplates.h"

namespace nimbra {

namespace {

using F = RightFlag;

std::vector<RightFlag> EveryFlag()
{
    const auto& flags = RightFlags::all();
    return std::vector<RightFlag>(flags.begin(), flags.end());
}

QList<RightTemplate> MakeTemplates()
{
    return {
        {QStringLiteral("All"), EveryFlag(),
         {"Active", "New", "Verified", "By Design", "Cannot Reproduce", "Resolved", "In Process",
          "Postponed", "Will Not Fix", "Waiting"}},
        {QStringLiteral("None"), {}, {}},
        {QStringLiteral("ReadOnly"), {F::Read}, {}},
        {QStringLiteral("QA Person"),
         {F::Add, F::Delete, F::Read, F::EditDescription, F::EditType, F::EditClass, F::EditPriority,
          F::EditSeverity, F::EditReproductive, F::EditReportedInVersion, F::EditReportedDate,
          F::EditVerifiedDate, F::EditReport, F::EditRecreateStep, F::EditWorkAround,
          F::EditAttachment, F::EditDateDue, F::Add_Edit_Del_BugClass},
         {"Active", "New", "Verified"}},
        {QStringLiteral("Developer"),
         {F::Read, F::EditFixedDate, F::EditFixedInVersion, F::EditResolution, F::EditEstimatedTime},
         {"By Design", "Cannot Reproduce", "Resolved", "In Process", "Postponed", "Will Not Fix",
          "Waiting"}},
        {QStringLiteral("Manager"),
         {F::Add, F::Delete, F::Read, F::EditType, F::EditDateDue, F::EditEstimatedTime,
          F::Add_Edit_Del_BugClass, F::Add_Edit_Del_BugPriority, F::Add_Edit_Del_BugReproductive,
          F::Add_Edit_Del_BugSeverity, F::Add_Edit_Del_BugStatus, F::AssignClassToUser,
          F::EditProject, F::DeleteProject, F::ReportGen, F::Statistic},
         {"Postponed"}},
    };
}

}  // namespace

const QList<RightTemplate>& RightTemplates::all()
{
    static const QList<RightTemplate> templates = MakeTemplates();
    return templates;
}

const RightTemplate* RightTemplates::find(const QString& name)
{
    for (const RightTemplate& candidate : all()) {
        if (candidate.name == name) return &candidate;
    }
    return nullptr;
}

}  // namespace nimbra
