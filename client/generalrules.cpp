#include "client/generalrules.h"

#include "bugrules/fieldrights.h"
#include "bugrules/statusrules.h"

namespace nimbra {

namespace {

using bugrules::EditableField;

// The right behind each control; the status has none.
const QMap<GeneralControl, EditableField> kFieldOf = {
    {GeneralControl::Type, EditableField::Type},
    {GeneralControl::Description, EditableField::Description},
    {GeneralControl::Severity, EditableField::Severity},
    {GeneralControl::Priority, EditableField::Priority},
    {GeneralControl::Reproductive, EditableField::Reproductive},
    {GeneralControl::Classification, EditableField::Classification},
    {GeneralControl::DateDue, EditableField::DateDue},
    {GeneralControl::EstimateTime, EditableField::EstimatedTime},
    {GeneralControl::ReportedDate, EditableField::ReportedDate},
    {GeneralControl::ReportedInVersion, EditableField::ReportedInVersion},
    {GeneralControl::ResolvedDate, EditableField::FixedDate},
    {GeneralControl::ResolvedInVersion, EditableField::FixedInVersion},
    {GeneralControl::VerifiedDate, EditableField::VerifiedDate},
};

void Close(StatusOutcome* outcome, std::initializer_list<GeneralControl> controls)
{
    for (GeneralControl control : controls) outcome->gates.insert(control, Gate::Closed);
}

}  // namespace

GeneralRules::GeneralRules(bool newReport, lindor::IRight* right)
    : newReport_(newReport), right_(right)
{
}

StatusOutcome GeneralRules::outcomeOf(const QString& status, bool loading) const
{
    StatusOutcome outcome;
    const Fill ownOrStored = loading ? Fill::FromBug : Fill::Stamp;
    switch (bugrules::KindOfStatus(status.toStdString())) {
        case bugrules::StatusKind::New:
            outcome.gates.insert(GeneralControl::ReportedDate, Gate::ByRight);
            outcome.gates.insert(GeneralControl::ReportedInVersion, Gate::ByRight);
            // A stored report keeps showing who reported it.
            outcome.reported = newReport_ ? Fill::Stamp : Fill::Keep;
            break;
        case bugrules::StatusKind::Resolved:
            outcome.gates.insert(GeneralControl::ResolvedInVersion, Gate::ByRight);
            outcome.gates.insert(GeneralControl::ResolvedDate, Gate::ByRight);
            Close(&outcome, {GeneralControl::ReportedInVersion, GeneralControl::ReportedDate,
                             GeneralControl::VerifiedDate});
            outcome.reported = Fill::FromBug;
            outcome.resolved = ownOrStored;
            outcome.verified = Fill::FromBug;
            outcome.resolvedGroup = Visibility::Shown;
            break;
        case bugrules::StatusKind::Verified:
            outcome.gates.insert(GeneralControl::VerifiedDate, Gate::ByRight);
            Close(&outcome, {GeneralControl::ReportedDate, GeneralControl::ReportedInVersion,
                             GeneralControl::ResolvedDate, GeneralControl::ResolvedInVersion});
            outcome.reported = Fill::FromBug;
            outcome.resolved = Fill::FromBug;
            outcome.verified = ownOrStored;
            outcome.resolvedGroup = Visibility::ShownWhenDated;
            outcome.verifiedGroup = Visibility::Shown;
            break;
        case bugrules::StatusKind::Other:
            Close(&outcome, {GeneralControl::ReportedDate, GeneralControl::ReportedInVersion,
                             GeneralControl::ResolvedDate, GeneralControl::ResolvedInVersion,
                             GeneralControl::VerifiedDate});
            outcome.reported = Fill::FromBug;
            outcome.resolved = Fill::Clear;
            outcome.verified = Fill::Clear;
            break;
    }
    return outcome;
}

bool GeneralRules::enabled(GeneralControl control, Gate gate) const
{
    if (control == GeneralControl::Status) return !newReport_;
    if (gate == Gate::Closed) return false;
    if (newReport_ && gate == Gate::Open) return true;
    const auto field = kFieldOf.constFind(control);
    return field != kFieldOf.cend() && bugrules::MayEdit(right_.get(), *field);
}

}  // namespace nimbra
