#include "bugeditor.h"

#include "bugrules/newreport.h"
#include "bugrules/statusrules.h"
#include "datetext.h"

namespace cli {
namespace {

using bugrules::NewReport;
using lindor::IBug;

const char* const kWriteFailed = "Writing a field of the bug failed";

// The rights message the engine gives, for the refusals the command line
// makes itself before the engine would silently leave a field unchanged.
[[noreturn]] void RefuseRight(const std::string& action)
{
    Refuse("You have no right to " + action + ", please contact your manager!");
}

bool HasRight(lindor::IRight* right, RightFlag flag)
{
    std::int32_t value = 0;
    return lindor::Succeeded((right->*flag)(&value)) && value != 0;
}

// Whether a mode lets a field be given at all.
bool MayGive(const BugField& field, EditMode mode)
{
    if (field.settable) return true;
    return mode == EditMode::Import && field.kind == FieldKind::User &&
           std::string(field.name) != "LastModifiedBy";
}

const Assignment* StatusAssignment(const std::vector<Assignment>& assignments)
{
    const Assignment* found = nullptr;
    for (const Assignment& assignment : assignments)
        if (assignment.field->kind == FieldKind::Listed &&
            assignment.field->list == NameList::Status)
            found = &assignment;
    return found;
}

}  // namespace

std::vector<Assignment> ParseAssignments(const std::vector<std::string>& texts)
{
    std::vector<Assignment> assignments;
    for (const std::string& text : texts) {
        const std::size_t equals = text.find('=');
        if (equals == std::string::npos || equals == 0)
            UsageError("--set " + text + ": FIELD=VALUE is needed");
        assignments.push_back({&FindBugField(text.substr(0, equals)), text.substr(equals + 1)});
    }
    return assignments;
}

BugEditor::BugEditor(const Session& session, Catalog& catalog)
    : session_(session), catalog_(catalog), writer_(catalog), now_(Now())
{
}

std::string BugEditor::DefaultName(NameList list, std::size_t index)
{
    const std::vector<std::string>& names = catalog_.Names(list);
    return index < names.size() ? names[index] : std::string();
}

ComPtr<IBug> BugEditor::NewReport()
{
    const ComPtr<IBug> bug = CreateEngineObject<IBug>("Lindor.Bug.1");
    const std::int32_t user = session_.userID();
    Check(bug->put_Status(bugrules::kNewStatus), kWriteFailed);
    Check(bug->put_ReportedByID(user), kWriteFailed);
    Check(bug->put_ReportedDate(now_), kWriteFailed);
    Check(bug->put_DateDue(now_), kWriteFailed);
    Check(bug->put_EstimatedTime(NewReport::kEstimateMinutes), kWriteFailed);
    Check(bug->put_ReportedInVersionID(session_.versionID()), kWriteFailed);
    Check(bug->put_ReportedInProjectID(session_.projectID()), kWriteFailed);
    Check(bug->put_ReportedInProject(session_.projectName()), kWriteFailed);
    Check(bug->put_Priority(DefaultName(NameList::Priority, NewReport::kPriorityIndex)),
          kWriteFailed);
    Check(bug->put_Reproductive(DefaultName(NameList::Reproductive, NewReport::kReproductiveIndex)),
          kWriteFailed);
    Check(bug->put_Severity(DefaultName(NameList::Severity, NewReport::kSeverityIndex)),
          kWriteFailed);
    const std::vector<NamedItem>& classifications = catalog_.Classifications();
    if (NewReport::kClassificationIndex < classifications.size())
        Check(bug->put_ClassificationID(classifications[NewReport::kClassificationIndex].id),
              kWriteFailed);
    return bug;
}

void BugEditor::CheckStatus(const std::string& status)
{
    for (const std::string& available : catalog_.AvailableStatuses())
        if (available == status) return;
    RefuseRight("set the status " + status);
}

void BugEditor::CheckAllowed(IBug* bug, const std::vector<Assignment>& assignments, EditMode mode)
{
    const ComPtr<lindor::IRight> right = session_.ProjectRight();
    for (const Assignment& assignment : assignments) {
        const BugField& field = *assignment.field;
        if (!MayGive(field, mode))
            UsageError(std::string(field.name) + " is kept by the tracker and cannot be given");
        if (mode == EditMode::Edit && field.editRight != nullptr &&
            !HasRight(right.get(), field.editRight))
            RefuseRight(std::string("edit ") + field.name);
    }
    if (const Assignment* status = StatusAssignment(assignments)) {
        const std::string name = catalog_.ListName(NameList::Status, status->value);
        const bool unchanged = mode == EditMode::Edit && TextOf(bug, &IBug::get_Status) == name;
        const bool newReport = mode != EditMode::Edit && name == bugrules::kNewStatus;
        if (!unchanged && !newReport) CheckStatus(name);
    }
}

// Who resolved and verified follows a change of status, as in the client's
// editor: the user and now stand for what this change did.
void BugEditor::ApplyStatusRules(IBug* bug, const std::string& before, const std::string& after)
{
    using bugrules::PersonChange;
    const bugrules::StatusEffect effect = bugrules::EffectOfStatus(before, after);
    const std::int32_t user = session_.userID();
    if (effect.resolver == PersonChange::Stamp) {
        Check(bug->put_FixedByID(user), kWriteFailed);
        Check(bug->put_FixedDate(now_), kWriteFailed);
        if (session_.versionID() != 0)
            Check(bug->put_FixedInVersionID(session_.versionID()), kWriteFailed);
    } else if (effect.resolver == PersonChange::Clear) {
        Check(bug->put_FixedByID(0), kWriteFailed);
        Check(bug->put_FixedDate(0.0), kWriteFailed);
        Check(bug->put_FixedInVersionID(0), kWriteFailed);
    }
    if (effect.verifier == PersonChange::Stamp) {
        Check(bug->put_VerifiedByID(user), kWriteFailed);
        Check(bug->put_VerifiedDate(now_), kWriteFailed);
    } else if (effect.verifier == PersonChange::Clear) {
        Check(bug->put_VerifiedByID(0), kWriteFailed);
        Check(bug->put_VerifiedDate(0.0), kWriteFailed);
    }
}

void BugEditor::CheckComplete(IBug* bug)
{
    if (TextOf(bug, &IBug::get_Description).empty()) UsageError(bugrules::kEnterDescription);
    if (NumberOf(bug, &IBug::get_ReportedInVersionID) == 0)
        UsageError(std::string(bugrules::kSelectReportedVersion) +
                   " (--version or --set ReportedInVersion=NAME)");
}

void BugEditor::Apply(IBug* bug, const std::vector<Assignment>& assignments, EditMode mode)
{
    CheckAllowed(bug, assignments, mode);
    const std::string before = TextOf(bug, &IBug::get_Status);
    if (const Assignment* status = StatusAssignment(assignments)) {
        const std::string after = catalog_.ListName(NameList::Status, status->value);
        if (after != before) ApplyStatusRules(bug, before, after);
    }
    // Values given explicitly win over what the status rules filled in.
    for (const Assignment& assignment : assignments)
        writer_.Write(bug, *assignment.field, assignment.value);
    Check(bug->put_LastModifiedByID(session_.userID()), kWriteFailed);
    Check(bug->put_LastModifiedDate(now_), kWriteFailed);
    if (mode != EditMode::Edit) CheckComplete(bug);
}

}  // namespace cli
