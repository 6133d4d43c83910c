#include "admin/rightitems.h"

namespace nimbra {

namespace {

using F = roles::RightFlag;

QList<RightGroup> MakeGroups()
{
    return {
        {QStringLiteral("General"),
         {{QStringLiteral("Read Bug"), F::Read},
          {QStringLiteral("Add Bug"), F::Add},
          {QStringLiteral("Delete Bug"), F::Delete}}},
        {QStringLiteral("Edit Bug"),
         {{QStringLiteral("Change Type (Bug or Feature)"), F::EditType},
          {QStringLiteral("Edit Description"), F::EditDescription},
          {QStringLiteral("Edit Classification"), F::EditClass},
          {QStringLiteral("Edit Priority"), F::EditPriority},
          {QStringLiteral("Edit Severity"), F::EditSeverity},
          {QStringLiteral("Edit Reproductive"), F::EditReproductive},
          {QStringLiteral("Edit Reported in Version"), F::EditReportedInVersion},
          {QStringLiteral("Edit Reported Date"), F::EditReportedDate},
          {QStringLiteral("Edit Resolved in Version"), F::EditFixedInVersion},
          {QStringLiteral("Edit Resolved Date"), F::EditFixedDate},
          {QStringLiteral("Edit Verified Date"), F::EditVerifiedDate},
          {QStringLiteral("Edit Report"), F::EditReport},
          {QStringLiteral("Edit Recreate Step"), F::EditRecreateStep},
          {QStringLiteral("Edit Workaround"), F::EditWorkAround},
          {QStringLiteral("Edit Resolution"), F::EditResolution},
          {QStringLiteral("Edit Attachment"), F::EditAttachment},
          {QStringLiteral("Edit Estimate Time"), F::EditEstimatedTime},
          {QStringLiteral("Edit Date Due"), F::EditDateDue}}},
        {QStringLiteral("Administration"),
         {{QStringLiteral("Assign Classification to User"), F::AssignClassToUser},
          {QStringLiteral("Edit Classification"), F::Add_Edit_Del_BugClass}}},
    };
}

}  // namespace

const QList<RightGroup>& RightItems::groups()
{
    static const QList<RightGroup> list = MakeGroups();
    return list;
}

}  // namespace nimbra
