#include "bugs/CBugSet.h"

#include "bugs/BugPlacement.h"
#include "bugs/CBug.h"
#include "core/ClassRegistry.h"
#include "core/CurrentRights.h"
#include "core/ErrorInfo.h"
#include "core/ErrorReport.h"
#include "core/Guarded.h"
#include "db/DatabaseError.h"
#include "db/Dialect.h"
#include "db/NextID.h"
#include "mapping/BugFieldTable.h"
#include "mapping/DBUtil.h"
#include "mapping/ValueConversion.h"
#include "stores/BugStore.h"

namespace lindor {
namespace {

const ClassRegistration registration("BugSet", &CreateInstance<CBugSet>);
const Reporter kReport(ExternalClassName("BugSet"));

// The two spellings are both shown to users, each by its own operation.
const char* const kNoProject = "You cannot perform this action when no project is selected!";
const char* const kNoProjectCapital = "You cannot perform this action when no Project is selected!";
const char* const kAddFailed = "Add bug failed!";
const char* const kUpdateFailed = "Update bug failed!";
const char* const kDeleteFailed = "Delete bug failed!";

// Runs a member's body through the engine's exception barrier, reported as
// the bug set reports.
template <class Body>
HRESULT Guarded(const char* callerText, const char* logSource, Body body)
{
    return lindor::Guarded(kReport, Failure{callerText, logSource}, body);
}

std::string BugCondition(std::int32_t id)
{
    return Format("BugID=%ld", static_cast<long>(id));
}

// Hides the rows that do not match the set; false (no message, the set has
// logged) when the set cannot give its text.
bool ShowOnly(db::Recordset& rows, IBugFilterSet* filterSet)
{
    std::string condition;
    if (Failed(filterSet->GetSQL(&condition))) return false;
    rows.SetFilter(condition);
    return true;
}

}  // namespace

CBugSet::~CBugSet()
{
    RunLoggedStep("Destructor of IBugSet", [&] {
        if (cursor_) cursor_->Close();
        return true;
    });
}

BugPlacement CBugSet::Placement() const
{
    return BugPlacement(context_.get(), kReport);
}

void CBugSet::RequireOpen() const
{
    if (!cursor_ || !cursor_->IsOpen())
        throw DatabaseError(dberr::kClosed, "Operation is not allowed when the object is closed.");
}

bool CBugSet::ReplaceCursor(const std::string& condition, const std::string& order,
                            IBugFilterSet* filterSet)
{
    auto connection = std::make_unique<db::Connection>(db::ProcessConnectionString());
    auto cursor = std::make_unique<db::Recordset>();
    stores::OpenBugList(*cursor, *connection, condition, order);
    if (filterSet != nullptr && !ShowOnly(*cursor, filterSet)) return false;
    cursor_ = std::move(cursor);
    connection_ = std::move(connection);
    condition_ = condition;
    return true;
}

ComPtr<IBug> CBugSet::BugAtCurrentRow()
{
    ComPtr<CBug> bug = MakeObject<CBug>();
    if (Failed(CDBUtil::GetBugData(*cursor_, bug.get()))) return nullptr;
    bug->RememberReadValues(bug->record());
    bug->AttachContext(context_.get());
    return ComPtr<IBug>(bug.get());
}

bool CBugSet::FindRow(std::int32_t id)
{
    RequireOpen();
    cursor_->MoveFirst();
    return cursor_->Find(BugCondition(id));
}

HRESULT CBugSet::get_CurItem(IBug** out)
{
    if (out == nullptr) return E_FAIL;
    *out = nullptr;
    const char* const failed = "Get current item failed!";
    return Guarded(failed, "CBugSet::get_CurItem", [&] {
        if (!cursor_ || !cursor_->IsOpen() || cursor_->IsBOF() || cursor_->IsEOF()) return S_OK;
        const ComPtr<IBug> bug = BugAtCurrentRow();
        if (!bug) return kReport.FailQuietly(failed);
        bug.CopyTo(out);
        return S_OK;
    });
}

HRESULT CBugSet::get_ExeContext(IExeContext** out)
{
    if (out == nullptr) return E_FAIL;
    context_.CopyTo(out);
    return S_OK;
}

// ---- adding ---------------------------------------------------------------

bool CBugSet::StoreNewBug(CBug& bug)
{
    const char* const source = "CBugSet::RealAddBug";
    if (!cursor_ || !cursor_->IsOpen()) {
        LogMessage(kLogGeneral, source, "The bug set is not open");
        return false;
    }
    // The number and the row are written in one transaction, so adding a bug
    // waits for the disk once, not twice; the allocator joins it.
    db::Transaction transaction(*connection_);
    const std::int32_t id = GetNextID("NextBugID");
    if (id == 0) {
        LogMessage(kLogDatabase, source, "GetNextID returns 0");
        return false;
    }
    // The number stays spent when the row cannot be written; the bug keeps
    // its old number so it names no row that does not exist.
    const std::int32_t previousID = bug.record().id;
    bug.record().id = id;
    const bool written = RunLoggedStep(source, [&] {
        cursor_->AddNew();
        if (Failed(CDBUtil::SaveBugData(*cursor_, &bug))) {
            LogMessage(kLogDatabase, source, "SaveBugData return FALSE");
            return false;
        }
        cursor_->Update();
        return true;
    });
    if (written) {
        // The object now names a row it was never read from.
        bug.ForgetReadValues();
        transaction.Commit();
        return true;
    }
    cursor_->CancelUpdate();
    bug.record().id = previousID;
    transaction.Commit();
    return false;
}

HRESULT CBugSet::Add(IBug* bug, IBug** out)
{
    const char* const source = "CBugSet::Add";
    if (out == nullptr) return E_FAIL;
    *out = nullptr;
    const ComPtr<IRight> right = Placement().ActiveRight();
    if (!right) return kReport.Fail(kNoProject, kLogGeneral, source);
    if (!HasFlag(right.get(), &IRight::get_Add))
        return kReport.FailRight("Add bug", source, "No right to add bug");
    CBug* target = ImplOf<CBug>(bug);
    if (target == nullptr)
        return kReport.Fail(kAddFailed, kLogGeneral, "CBugSet::RealAddBug",
                            "The bug is not a bug of this engine");
    const HRESULT placed = Guarded(kAddFailed, "CBugSet::RealAddBug", [&] {
        return Placement().CheckBug(target->record(), &IRight::get_Add, "Add bug", source);
    });
    if (Failed(placed)) return placed;
    const Failure storing{kAddFailed, "CBugSet::RealAddBug", kLogGeneral, kLogGeneral,
                          LogForm::Description};
    const HRESULT stored = lindor::Guarded(kReport, storing, [&] {
        return StoreNewBug(*target) ? S_OK : kReport.FailQuietly(kAddFailed);
    });
    if (Failed(stored)) return stored;
    target->AttachContext(context_.get());
    *out = bug;
    bug->AddRef();
    return S_OK;
}

// ---- removing -------------------------------------------------------------

bool CBugSet::DeleteBugAndAttachments(std::int32_t id)
{
    const char* const source = "CBugSet::RealDeleteBug";
    return RunLoggedStep(source, [&] {
        RequireOpen();
        db::Transaction transaction(*connection_);
        if (!stores::DeleteBugWithAttachments(*connection_, id)) {
            LogMessage(kLogDatabase, source,
                       Format("Bug(ID=%ld) does not exist", static_cast<long>(id)));
            return false;  // the transaction rolls back
        }
        transaction.Commit();
        return true;
    });
}

HRESULT CBugSet::RemoveBug(std::int32_t id)
{
    const HRESULT allowed = Guarded(kDeleteFailed, "CBugSet::RealDeleteBug",
                                    [&] { return Placement().CheckMayDelete(id); });
    if (Failed(allowed)) return allowed;
    if (!DeleteBugAndAttachments(id)) return kReport.FailQuietly(kDeleteFailed);
    return Refresh();
}

HRESULT CBugSet::Remove()
{
    const char* const source = "CBugSet::Remove";
    const ComPtr<IRight> right = Placement().ActiveRight();
    if (!right) return kReport.Fail(kNoProject, kLogGeneral, source);
    if (!HasFlag(right.get(), &IRight::get_Delete))
        return kReport.FailRight("delete bug", source, "No right to perform this action");
    std::int32_t id = 0;
    const HRESULT read = Guarded(kDeleteFailed, source, [&] {
        RequireOpen();
        id = mapping::ReadWholeNumber(cursor_->Fields("BugID").Value());
        return S_OK;
    });
    if (Failed(read)) return read;
    const HRESULT removed = RemoveBug(id);
    if (Failed(removed)) return removed;
    // The refreshed set stands on its first row; the row after it becomes
    // current (nothing to move to when the set is now empty).
    return Guarded("Move Next Failed", "CBugSet::Next", [&] {
        if (!cursor_->IsEOF()) cursor_->MoveNext();
        return S_OK;
    });
}

HRESULT CBugSet::RemoveByID(std::int32_t id)
{
    const ComPtr<IRight> right = Placement().ActiveRight();
    if (!right) return kReport.Fail(kNoProjectCapital, kLogGeneral, "CBugSet::RemoveByID");
    if (!HasFlag(right.get(), &IRight::get_Delete))
        return kReport.FailRight("delete bug", "CBugSet::Remove",
                                 "No right to perform this action");
    if (id == 0)
        return kReport.Fail(kDeleteFailed, kLogGeneral, "CBugSet::Remove",
                            "Bug id is 0, cannot remove");
    return RemoveBug(id);
}

// ---- moving ---------------------------------------------------------------

HRESULT CBugSet::First()
{
    return Guarded("Move First Failed", "CBugSet::First", [&] {
        RequireOpen();
        if (!(cursor_->IsBOF() && cursor_->IsEOF())) cursor_->MoveFirst();
        return S_OK;
    });
}

HRESULT CBugSet::Next()
{
    return Guarded("Move Next Failed", "CBugSet::Next", [&] {
        RequireOpen();
        cursor_->MoveNext();
        return S_OK;
    });
}

HRESULT CBugSet::IsEnd(std::int32_t* out)
{
    if (out == nullptr) return E_FAIL;
    *out = 0;
    RunLoggedStep("CBugSet::IsEnd", [&] {
        if (cursor_ && cursor_->IsOpen()) *out = cursor_->IsBOF() || cursor_->IsEOF() ? 1 : 0;
        return true;
    });
    return S_OK;
}

HRESULT CBugSet::GetBugByID(std::int32_t id, IBug** out)
{
    const char* const source = "CBugSet::GetBugByID";
    const char* const failed = "Get Bug Failed!";
    if (out == nullptr) return E_FAIL;
    *out = nullptr;
    return Guarded(failed, source, [&] {
        if (!FindRow(id)) {
            cursor_->MoveFirst();
            return kReport.Fail(failed, kLogGeneral, source,
                                Format("Get Bug(ID=%ld) Failed!", static_cast<long>(id)));
        }
        const ComPtr<IBug> bug = BugAtCurrentRow();
        if (!bug) return kReport.FailQuietly(failed);
        bug.CopyTo(out);
        return S_OK;
    });
}

HRESULT CBugSet::get_Count(std::int32_t* out)
{
    if (out == nullptr) return E_FAIL;
    const Failure counting{"Get count of bugs failed!", "CBugSet::get_Count", kLogDatabase,
                           kLogGeneral, LogForm::Description};
    return lindor::Guarded(kReport, counting, [&] {
        RequireOpen();
        *out = static_cast<std::int32_t>(cursor_->RecordCount());
        return S_OK;
    });
}

HRESULT CBugSet::get_Position(std::int32_t* out)
{
    if (out == nullptr) return E_FAIL;
    return Guarded("Get position failed!", "CBugSet::get_Position", [&] {
        RequireOpen();
        *out = static_cast<std::int32_t>(cursor_->AbsolutePosition() - 1);
        return S_OK;
    });
}

HRESULT CBugSet::put_Position(std::int32_t value)
{
    // Any row can be reached from anywhere, also from after the last row; an
    // empty set has nowhere to go and stays as it is.
    return Guarded("Set position failed!", "CBugSet::put_Position", [&] {
        RequireOpen();
        if (cursor_->RecordCount() == 0) return S_OK;
        cursor_->SetAbsolutePosition(static_cast<long>(value) + 1);
        return S_OK;
    });
}

// ---- the query ------------------------------------------------------------

HRESULT CBugSet::Open(IBugFilterSet* filterSet)
{
    const char* const failed = "Open bug set failed!";
    return Guarded(failed, "CBugSet::Open", [&] {
        std::string condition;
        std::int32_t count = 0;
        if (filterSet != nullptr && Succeeded(filterSet->get_Count(&count)) && count > 0) {
            // The condition that could not give its text has logged why.
            if (Failed(filterSet->GetSQL(&condition))) return kReport.FailQuietly(failed);
        }
        if (!scope_.empty() && !condition.empty()) {
            // Conditions that could reach past their brackets could reach
            // past the scope too.
            if (!db::IsOneCondition(condition))
                return kReport.Fail(failed, kLogGeneral, "CBugSet::Open",
                                    "The filter is not one closed condition: " + condition);
            condition = "(" + condition + ") AND " + scope_;
        } else if (!scope_.empty()) {
            condition = scope_;
        }
        ReplaceCursor(condition, "BugID", nullptr);
        return S_OK;
    });
}

HRESULT CBugSet::Close()
{
    return Guarded("Close bug set failed!", "CBugSet::Close", [&] {
        RequireOpen();
        cursor_.reset();
        connection_.reset();
        return S_OK;
    });
}

HRESULT CBugSet::Sort(eBugField field, eOrder order)
{
    return Guarded("Set sort order failed!", "Sort", [&] {
        RequireOpen();
        const std::string byColumn = BugColumnName(field) + (order != eAsc ? " DESC" : " ASC");
        return ReplaceCursor(condition_, byColumn, filterSet_.get()) ? S_OK : E_FAIL;
    });
}

HRESULT CBugSet::Refresh()
{
    const Failure refreshing{"Refresh failed!", "CBugSet::Refresh", kLogDatabase, kLogGeneral,
                             LogForm::Braced};
    return lindor::Guarded(kReport, refreshing, [&] {
        RequireOpen();
        cursor_->Requery();
        if (filterSet_ && !ShowOnly(*cursor_, filterSet_.get())) return E_FAIL;
        return S_OK;
    });
}

HRESULT CBugSet::get_FilterSet(IBugFilterSet** out)
{
    if (out == nullptr) return E_FAIL;
    filterSet_.CopyTo(out);
    return S_OK;
}

HRESULT CBugSet::put_FilterSet(IBugFilterSet* value)
{
    return Guarded("Set filter failed!", "CBugSet::put_FilterSet", [&] {
        RequireOpen();
        if (value == nullptr) {
            cursor_->SetFilter("");
            filterSet_ = nullptr;
            return S_OK;
        }
        if (!ShowOnly(*cursor_, value)) return E_FAIL;
        filterSet_ = ComPtr<IBugFilterSet>(value);
        return S_OK;
    });
}

// ---- updating -------------------------------------------------------------

bool CBugSet::ChangedSinceRead(const CBug& bug, IRight* right)
{
    const BugRecord* read = bug.readValues();
    if (read == nullptr) return false;
    const int columns = cursor_->FieldCount();
    for (std::int32_t number = ColSeverity; number <= kLastBugField && number < columns; ++number) {
        const BugFieldInfo& info = *FindBugField(number);
        if (info.editRight != nullptr && !HasFlag(right, info.editRight)) continue;
        const Variant stored = cursor_->Fields(info.column).Value();
        if (!StoredValueEquals(stored, bug.record(), info) &&
            !StoredValueEquals(stored, *read, info))
            return true;
    }
    return false;
}

HRESULT CBugSet::WriteChangedColumns(const CBug& bug, IRight* right)
{
    return Guarded("Update bug data failed!", "CBugSet::UpdateColumn", [&] {
        const int columns = cursor_->FieldCount();
        for (std::int32_t number = ColSeverity; number <= kLastBugField && number < columns;
             ++number) {
            const BugFieldInfo& info = *FindBugField(number);
            // A column the user may not change is left as it is, silently.
            if (info.editRight != nullptr && !HasFlag(right, info.editRight)) continue;
            db::Field field = cursor_->Fields(info.column);
            if (StoredValueEquals(field.Value(), bug.record(), info)) continue;
            field.SetValue(BugValueForColumn(bug.record(), info));
        }
        return S_OK;
    });
}

HRESULT CBugSet::Update(IBug* bug)
{
    const char* const source = "CBugSet::Update";
    CBug* target = ImplOf<CBug>(bug);
    if (target == nullptr)
        return kReport.Fail(kUpdateFailed, kLogGeneral, source,
                            "The updating bug is not a bug of this engine");
    const std::int32_t id = target->record().id;
    if (id == 0)
        return kReport.Fail(kUpdateFailed, kLogGeneral, source, "The updating bug's id is 0");
    return Guarded(kUpdateFailed, source, [&] {
        if (!FindRow(id)) {
            cursor_->MoveFirst();
            return kReport.Fail(kUpdateFailed, kLogGeneral, source,
                                "Cannot find the bug in database");
        }
        // Without an active project no column may change: the whole update
        // is refused rather than reported as done.
        const ComPtr<IRight> right = Placement().ActiveRight();
        if (!right) return kReport.Fail(kNoProjectCapital, kLogGeneral, "CBugSet::CanUpdate");
        const HRESULT placed =
            Placement().CheckBug(target->record(), nullptr, "update bug", source);
        if (Failed(placed)) return placed;
        // Another program changed what this update would overwrite: refused
        // as the database refuses a row changed since its cursor read it.
        if (ChangedSinceRead(*target, right.get())) throw RowChangedSinceRead();
        // Changes that were not all written leave nothing pending.
        const db::PendingEdit edit(*cursor_);
        const HRESULT written = WriteChangedColumns(*target, right.get());
        if (Failed(written)) return written;
        cursor_->Update();
        // The row as it is now is what the bug was last written as.
        const ComPtr<CBug> stored = MakeObject<CBug>();
        if (Succeeded(CDBUtil::GetBugData(*cursor_, stored.get())))
            target->RememberReadValues(stored->record());
        return S_OK;
    });
}

}  // namespace lindor
