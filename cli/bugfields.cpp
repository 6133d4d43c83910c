#include "bugfields.h"

#include "engine.h"

namespace cli {
namespace {

using bugrules::EditableField;
using lindor::IBug;

RightFlag Guard(EditableField field)
{
    return bugrules::EditRightOf(field);
}

BugField Field(const char* name, FieldKind kind, lindor::eBugField sort, const char* filter,
               RightFlag right, bool settable)
{
    BugField field{};
    field.name = name;
    field.kind = kind;
    field.sortColumn = sort;
    field.filterColumn = filter;
    field.editRight = right;
    field.settable = settable;
    return field;
}

BugField TextField(const char* name, FieldKind kind, lindor::eBugField sort, const char* filter,
                   RightFlag right, TextGetter get, TextSetter set)
{
    BugField field = Field(name, kind, sort, filter, right, true);
    field.getText = get;
    field.setText = set;
    return field;
}

BugField ListedField(const char* name, NameList list, lindor::eBugField sort, const char* filter,
                     RightFlag right, TextGetter get, TextSetter set)
{
    BugField field = TextField(name, FieldKind::Listed, sort, filter, right, get, set);
    field.list = list;
    return field;
}

BugField LookupField(const char* name, FieldKind kind, lindor::eBugField sort, const char* filter,
                     RightFlag right, bool settable, TextGetter getName, NumberGetter getID,
                     NumberSetter setID)
{
    BugField field = Field(name, kind, sort, filter, right, settable);
    field.getText = getName;
    field.getNumber = getID;
    field.setNumber = setID;
    return field;
}

BugField UserField(const char* name, lindor::eBugField sort, const char* filter,
                   const char* idColumn, TextGetter getName, NumberGetter getID, NumberSetter setID)
{
    BugField field =
        LookupField(name, FieldKind::User, sort, filter, nullptr, false, getName, getID, setID);
    field.filterIdColumn = idColumn;
    return field;
}

BugField DateField(const char* name, lindor::eBugField sort, RightFlag right, bool settable,
                   DateGetter get, DateSetter set)
{
    BugField field = Field(name, FieldKind::Date, sort, name, right, settable);
    field.getDate = get;
    field.setDate = set;
    return field;
}

std::vector<BugField> MakeFields()
{
    using lindor::eBugField;
    BugField id = Field("ID", FieldKind::Id, lindor::ColID, "BugID", nullptr, false);
    id.getNumber = &IBug::get_ID;
    BugField type = Field("BugType", FieldKind::Type, lindor::ColBugType, "BugType",
                          Guard(EditableField::Type), true);
    BugField estimate = Field("EstimatedTime", FieldKind::Minutes, lindor::ColEstimatedTime,
                              nullptr, Guard(EditableField::EstimatedTime), true);
    estimate.getNumber = &IBug::get_EstimatedTime;
    estimate.setNumber = &IBug::put_EstimatedTime;
    BugField project = LookupField(
        "ReportedInProject", FieldKind::Project, lindor::ColReportedInPrj, nullptr, nullptr, false,
        &IBug::get_ReportedInProject, &IBug::get_ReportedInProjectID, nullptr);
    return {
        id,
        type,
        TextField("Description", FieldKind::Text, lindor::ColDescription, "Description",
                  Guard(EditableField::Description), &IBug::get_Description,
                  &IBug::put_Description),
        ListedField("Status", NameList::Status, lindor::ColStatus, "StatusName", nullptr,
                    &IBug::get_Status, &IBug::put_Status),
        ListedField("Priority", NameList::Priority, lindor::ColPriority, "PriorityName",
                    Guard(EditableField::Priority), &IBug::get_Priority, &IBug::put_Priority),
        ListedField("Severity", NameList::Severity, lindor::ColSeverity, "SeverityName",
                    Guard(EditableField::Severity), &IBug::get_Severity, &IBug::put_Severity),
        ListedField("Reproductive", NameList::Reproductive, lindor::ColReproductive,
                    "ReproductiveName", Guard(EditableField::Reproductive), &IBug::get_Reproductive,
                    &IBug::put_Reproductive),
        LookupField("Classification", FieldKind::Classification, lindor::ColClassification,
                    "Classification", Guard(EditableField::Classification), true,
                    &IBug::get_Classification, &IBug::get_ClassificationID,
                    &IBug::put_ClassificationID),
        project,
        LookupField("ReportedInVersion", FieldKind::Version, lindor::ColReportedInVer,
                    "ReportedInVersion", Guard(EditableField::ReportedInVersion), true,
                    &IBug::get_ReportedInVersion, &IBug::get_ReportedInVersionID,
                    &IBug::put_ReportedInVersionID),
        UserField("ReportedBy", lindor::ColReportedBy, "ReportedBy", "ReportedByID",
                  &IBug::get_ReportedBy, &IBug::get_ReportedByID, &IBug::put_ReportedByID),
        DateField("ReportedDate", lindor::ColReportedDate, Guard(EditableField::ReportedDate), true,
                  &IBug::get_ReportedDate, &IBug::put_ReportedDate),
        LookupField("FixedInVersion", FieldKind::Version, lindor::ColFixedInVer, "FixedInVersion",
                    Guard(EditableField::FixedInVersion), true, &IBug::get_FixedInVersion,
                    &IBug::get_FixedInVersionID, &IBug::put_FixedInVersionID),
        UserField("FixedBy", lindor::ColFixedBy, "FixedBy", "FixedByID", &IBug::get_FixedBy,
                  &IBug::get_FixedByID, &IBug::put_FixedByID),
        DateField("FixedDate", lindor::ColFixedDate, Guard(EditableField::FixedDate), true,
                  &IBug::get_FixedDate, &IBug::put_FixedDate),
        UserField("VerifiedBy", lindor::ColVerifiedBy, "VerifiedBy", "VerifiedByID",
                  &IBug::get_VerifiedBy, &IBug::get_VerifiedByID, &IBug::put_VerifiedByID),
        DateField("VerifiedDate", lindor::ColVerifiedDate, Guard(EditableField::VerifiedDate), true,
                  &IBug::get_VerifiedDate, &IBug::put_VerifiedDate),
        UserField("LastModifiedBy", lindor::ColLastModifiedBy, "LastModifiedBy", "LastModifiedByID",
                  &IBug::get_LastModifiedBy, &IBug::get_LastModifiedByID,
                  &IBug::put_LastModifiedByID),
        DateField("LastModifiedDate", lindor::ColLastModifiedDate, nullptr, false,
                  &IBug::get_LastModifiedDate, &IBug::put_LastModifiedDate),
        DateField("DateDue", lindor::ColDateDue, Guard(EditableField::DateDue), true,
                  &IBug::get_DateDue, &IBug::put_DateDue),
        estimate,
        TextField("Report", FieldKind::RichText, lindor::ColReport, "Report",
                  Guard(EditableField::Report), &IBug::get_Report, &IBug::put_Report),
        TextField("RecreateStep", FieldKind::RichText, lindor::ColRecreateStep, "RecreateStep",
                  Guard(EditableField::RecreateStep), &IBug::get_RecreateStep,
                  &IBug::put_RecreateStep),
        TextField("Workaround", FieldKind::RichText, lindor::ColWorkaround, "Workaround",
                  Guard(EditableField::Workaround), &IBug::get_Workaround, &IBug::put_Workaround),
        TextField("Resolution", FieldKind::RichText, lindor::ColResolution, "Resolution",
                  Guard(EditableField::Resolution), &IBug::get_Resolution, &IBug::put_Resolution),
    };
}

}  // namespace

const std::vector<BugField>& BugFields()
{
    static const std::vector<BugField> fields = MakeFields();
    return fields;
}

const BugField& FindBugField(const std::string& name)
{
    for (const BugField& field : BugFields())
        if (SameText(field.name, name)) return field;
    std::vector<std::string> names;
    for (const BugField& field : BugFields()) names.push_back(field.name);
    UsageError("There is no field " + name + "; the fields: " + JoinTexts(names));
}

}  // namespace cli
