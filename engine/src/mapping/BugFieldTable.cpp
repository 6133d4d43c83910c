#include "mapping/BugFieldTable.h"

#include "mapping/ValueConversion.h"

namespace lindor {
namespace {

using Kind = BugValueKind;

constexpr BugFieldInfo Text(eBugField field, const char* column, std::string BugRecord::*member,
                            EditRightGetter right = nullptr)
{
    return {field, column, Kind::Text, member, nullptr, nullptr, right};
}

constexpr BugFieldInfo Number(eBugField field, const char* column, std::int32_t BugRecord::*member,
                              EditRightGetter right = nullptr, Kind kind = Kind::WholeNumber)
{
    return {field, column, kind, nullptr, member, nullptr, right};
}

constexpr BugFieldInfo DateField(eBugField field, const char* column, Date BugRecord::*member,
                                 EditRightGetter right = nullptr)
{
    return {field, column, Kind::DateTime, nullptr, nullptr, member, right};
}

// Indexed by eBugField.
const BugFieldInfo kBugFields[] = {
    Number(ColID, "BugID", &BugRecord::id),
    Text(ColSeverity, "SeverityName", &BugRecord::severity, &IRight::get_EditSeverity),
    Text(ColStatus, "StatusName", &BugRecord::status),
    Text(ColPriority, "PriorityName", &BugRecord::priority, &IRight::get_EditPriority),
    Text(ColReproductive, "ReproductiveName", &BugRecord::reproductive,
         &IRight::get_EditReproductive),
    Text(ColDescription, "Description", &BugRecord::description, &IRight::get_EditDescription),
    Text(ColReport, "Report", &BugRecord::report, &IRight::get_EditReport),
    Text(ColRecreateStep, "RecreateStep", &BugRecord::recreateStep, &IRight::get_EditRecreateStep),
    Text(ColWorkaround, "WorkAround", &BugRecord::workaround, &IRight::get_EditWorkAround),
    Text(ColResolution, "Resolution", &BugRecord::resolution, &IRight::get_EditResolution),
    Text(ColReportedBy, "ReportedBy", &BugRecord::reportedBy),
    Text(ColReportedInVer, "ReportedInVersion", &BugRecord::reportedInVersion),
    DateField(ColReportedDate, "ReportedDate", &BugRecord::reportedDate),
    Text(ColFixedBy, "FixedBy", &BugRecord::fixedBy),
    Text(ColFixedInVer, "FixedInVersion", &BugRecord::fixedInVersion),
    DateField(ColFixedDate, "FixedDate", &BugRecord::fixedDate),
    Text(ColVerifiedBy, "VerifiedBy", &BugRecord::verifiedBy),
    DateField(ColVerifiedDate, "VerifiedDate", &BugRecord::verifiedDate),
    Text(ColLastModifiedBy, "LastModifiedBy", &BugRecord::lastModifiedBy),
    DateField(ColLastModifiedDate, "LastModifiedDate", &BugRecord::lastModifiedDate),
    Number(ColEstimatedTime, "EstimatedTime", &BugRecord::estimatedTime, nullptr, Kind::Minutes),
    DateField(ColDateDue, "DateDue", &BugRecord::dateDue, &IRight::get_EditDateDue),
    Text(ColClassification, "Classification", &BugRecord::classification, &IRight::get_EditClass),
    Number(ColFixedByID, "FixedByID", &BugRecord::fixedByID),
    Number(ColFixedInVerID, "FixedInVersionID", &BugRecord::fixedInVersionID),
    Number(ColVerifiedByID, "VerifiedByID", &BugRecord::verifiedByID),
    Number(ColReportedByID, "ReportedByID", &BugRecord::reportedByID),
    Number(ColReportedInVerID, "ReportedInVersionID", &BugRecord::reportedInVersionID),
    Number(ColLastModifiedByID, "LastModifiedByID", &BugRecord::lastModifiedByID),
    Number(ColReportedInPrjID, "ReportedInPrjID", &BugRecord::reportedInProjectID),
    Text(ColReportedInPrj, "ReportedInPrj", &BugRecord::reportedInProject),
    Number(ColClassID, "ClassID", &BugRecord::classificationID, &IRight::get_EditClass),
    Number(ColBugType, "BugType", &BugRecord::bugType, nullptr, Kind::Byte),
};

static_assert(sizeof(kBugFields) / sizeof(kBugFields[0]) == kLastBugField + 1,
              "one entry per eBugField number");

// EstimatedTime lives in a date column: a date read from it counts as its
// whole number of days, which is the number of minutes once written.
std::int32_t ReadMinutes(const Variant& stored)
{
    if (stored.vt() == VT_DATE) return static_cast<std::int32_t>(stored.date());
    return mapping::ReadWholeNumber(stored);
}

std::int32_t ReadNumber(const Variant& stored, Kind kind)
{
    switch (kind) {
        case Kind::Minutes:
            return ReadMinutes(stored);
        case Kind::Byte:
            return mapping::ReadSmallNumber(stored);
        default:
            return mapping::ReadWholeNumber(stored);
    }
}

}  // namespace

const BugFieldInfo* FindBugField(std::int32_t field)
{
    if (field < kFirstBugField || field > kLastBugField) return nullptr;
    return &kBugFields[field];
}

std::string BugColumnName(std::int32_t field)
{
    const BugFieldInfo* info = FindBugField(field);
    return info != nullptr ? info->column : std::string();
}

Variant BugValueForColumn(const BugRecord& bug, const BugFieldInfo& info)
{
    switch (info.kind) {
        case Kind::Text: {
            const std::string& text = bug.*info.text;
            return text.empty() ? Variant::Null() : Variant::Text(text);
        }
        case Kind::DateTime:
            return Variant::R8(bug.*info.date);
        case Kind::Byte:
            return Variant::UI1(static_cast<std::uint8_t>(bug.*info.number & 0xFF));
        default:
            return Variant::I4(bug.*info.number);
    }
}

bool StoredValueEquals(const Variant& stored, const BugRecord& bug, const BugFieldInfo& info)
{
    switch (info.kind) {
        case Kind::Text:
            return mapping::ReadText(stored) == bug.*info.text;
        case Kind::DateTime:
            return mapping::ReadDate(stored) == bug.*info.date;
        case Kind::Byte:
            return ReadNumber(stored, info.kind) == (bug.*info.number & 0xFF);
        default:
            return ReadNumber(stored, info.kind) == bug.*info.number;
    }
}

void ReadStoredValue(const Variant& stored, BugRecord& bug, const BugFieldInfo& info)
{
    switch (info.kind) {
        case Kind::Text:
            bug.*info.text = mapping::ReadText(stored);
            return;
        case Kind::DateTime:
            bug.*info.date = mapping::ReadDate(stored);
            return;
        default:
            bug.*info.number = ReadNumber(stored, info.kind);
            return;
    }
}

}  // namespace lindor
