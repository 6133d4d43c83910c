// The bug record kind of the record mapping: tBugReport row <-> Bug.
#include <algorithm>
#include <array>

#include "bugs/CBug.h"
#include "core/ErrorReport.h"
#include "core/Guarded.h"
#include "db/Dialect.h"
#include "mapping/BugFieldTable.h"
#include "mapping/DBUtil.h"
#include "mapping/ValueConversion.h"

namespace lindor::CDBUtil {
namespace {

using ColumnOrder = std::array<eBugField, kLastBugField + 1>;

// The columns in the order they are read.
// clang-format off
const ColumnOrder kReadOrder{{
    ColID, ColDescription, ColReport, ColRecreateStep, ColWorkaround, ColResolution, ColStatus,
    ColPriority, ColClassID, ColClassification, ColSeverity, ColReproductive, ColReportedByID,
    ColReportedBy, ColReportedDate, ColReportedInPrjID, ColReportedInPrj, ColReportedInVerID,
    ColReportedInVer, ColFixedByID, ColFixedBy, ColFixedDate, ColFixedInVerID, ColFixedInVer,
    ColVerifiedByID, ColVerifiedBy, ColVerifiedDate, ColLastModifiedByID, ColLastModifiedBy,
    ColLastModifiedDate, ColEstimatedTime, ColDateDue, ColBugType}};
// clang-format on

// The order they are written: the same, but the verifier's name goes before his ID.
ColumnOrder MakeWriteOrder()
{
    ColumnOrder order = kReadOrder;
    const auto verifierID = std::find(order.begin(), order.end(), ColVerifiedByID);
    std::iter_swap(verifierID, verifierID + 1);
    return order;
}
const ColumnOrder kWriteOrder = MakeWriteOrder();

// An empty text leaves its column as it is, except the reproducibility,
// which is always written (as a zero-length text when empty).
void WriteColumn(db::Recordset& row, const BugRecord& bug, const BugFieldInfo& info)
{
    db::Field field = row.Fields(info.column);
    switch (info.kind) {
        case BugValueKind::Text:
            if (info.field == ColReproductive)
                mapping::WriteText(field, bug.*info.text);
            else
                mapping::WriteTextUnlessEmpty(field, bug.*info.text);
            return;
        case BugValueKind::DateTime:
            mapping::WriteDate(field, bug.*info.date);
            return;
        case BugValueKind::Byte:
            mapping::WriteSmallNumber(field, static_cast<std::uint8_t>(bug.*info.number & 0xFF));
            return;
        default:
            mapping::WriteWholeNumber(field, bug.*info.number);
            return;
    }
}

// The position of a column in the cursor. Bug cursors show their columns in
// the same places call after call, so the place found last time is tried
// first; looking every column up by name was most of the cost of reading a row.
int ColumnPosition(db::Recordset& row, const BugFieldInfo& info)
{
    thread_local std::array<int, kLastBugField + 1> lastSeen = [] {
        std::array<int, kLastBugField + 1> none{};
        none.fill(-1);
        return none;
    }();
    int& seen = lastSeen[static_cast<std::size_t>(info.field)];
    if (seen < 0 || seen >= row.FieldCount() || !db::SameName(row.Fields(seen).Name(), info.column))
        seen = row.ColumnIndex(info.column);  // throws for a column the cursor lacks
    return seen;
}

HRESULT FailMapping(const char* source, const std::string& text)
{
    LogMessage(kLogDatabase, source, text);
    return E_FAIL;
}

}  // namespace

HRESULT GetBugData(db::Recordset& row, IBug* bug)
{
    const char* const source = "CDBUtil::GetBugData";
    CBug* target = ImplOf<CBug>(bug);
    if (target == nullptr) return FailMapping(source, "No bug object to fill");
    const bool read = RunLoggedStep(source, [&] {
        for (eBugField field : kReadOrder) {
            const BugFieldInfo& info = *FindBugField(field);
            ReadStoredValue(row.Fields(ColumnPosition(row, info)).Value(), target->record(), info);
        }
        return true;
    });
    return read ? S_OK : E_FAIL;
}

HRESULT SaveBugData(db::Recordset& row, IBug* bug)
{
    const char* const source = "CDBUtil::SaveBugData";
    const CBug* origin = ImplOf<CBug>(bug);
    if (origin == nullptr) return FailMapping(source, "No bug object to save");
    const bool written = RunLoggedStep(source, [&] {
        for (eBugField field : kWriteOrder)
            WriteColumn(row, origin->record(), *FindBugField(field));
        return true;
    });
    return written ? S_OK : E_FAIL;
}

}  // namespace lindor::CDBUtil
