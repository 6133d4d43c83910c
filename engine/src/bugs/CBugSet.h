// A cursor over bugs chosen by a filter set and ordered by one column, with
// the current user's rights (as stored now) checked on every write. The
// cursor keeps the rows' keys and reads rows on demand, on a connection of its
// own; no read lock stays on the database between calls. A set opened by the
// context stays within the versions its user may see.
#pragma once

#include <memory>
#include <string>

#include <lindor/Interfaces.h>

#include "bugs/BugPlacement.h"
#include "core/ComObject.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "mapping/BugFieldTable.h"

namespace lindor {

class CBug;

class CBugSet final : public ComObject<IBugSet> {
public:
    // The bug at the current row, or null (success) when there is none.
    HRESULT get_CurItem(IBug** out) override;
    HRESULT get_ExeContext(IExeContext** out) override;
    // Stores the bug as a new row under a new number (needs the Add right)
    // and hands the same bug back.
    HRESULT Add(IBug* bug, IBug** out) override;
    // Delete the current bug, or the bug with that number, with its
    // attachments, in one transaction (needs the Delete right).
    HRESULT Remove() override;
    HRESULT RemoveByID(std::int32_t id) override;
    HRESULT First() override;
    HRESULT Next() override;
    HRESULT IsEnd(std::int32_t* out) override;
    HRESULT Refresh() override;
    // Writes the bug's changed columns that the user may change.
    HRESULT Update(IBug* bug) override;
    HRESULT get_FilterSet(IBugFilterSet** out) override;
    // Shows only the rows that match the set, without reading the database
    // again; null shows all rows again.
    HRESULT put_FilterSet(IBugFilterSet* value) override;
    HRESULT GetBugByID(std::int32_t id, IBug** out) override;
    HRESULT get_Count(std::int32_t* out) override;
    // Re-runs the query with one ORDER BY on the column, replacing the last one.
    HRESULT Sort(eBugField field, eOrder order) override;
    HRESULT Open(IBugFilterSet* filterSet) override;
    HRESULT Close() override;
    HRESULT get_Position(std::int32_t* out) override;
    HRESULT put_Position(std::int32_t value) override;

    void AttachContext(IExeContext* context) { context_ = ComPtr<IExeContext>(context); }
    // Keeps every later Open within `condition` (the versions the context's
    // user may see), joined by AND to the caller's conditions.
    void KeepScope(const std::string& condition) { scope_ = "(" + condition + ")"; }
    // The query text the cursor was last opened on.
    std::string QueryText() const { return cursor_ ? cursor_->Source() : std::string(); }

private:
    ~CBugSet() override;

    // The checks of where bugs may go, for the user of the set's context.
    BugPlacement Placement() const;
    // Throws the access layer's "closed" failure when no cursor is open.
    void RequireOpen() const;
    // Opens a cursor on the bugs of `condition` in `order` over a new
    // connection, shows only the rows of `filterSet` (if any), and only then
    // puts it in place of the old one, so a failure leaves the set as it
    // was. False (nothing reported) when the filter set cannot give its text.
    bool ReplaceCursor(const std::string& condition, const std::string& order,
                       IBugFilterSet* filterSet);
    // A new bug filled from the current row, with the context; null when
    // the row cannot be read (logged).
    ComPtr<IBug> BugAtCurrentRow();
    // Moves to the first row, then to the row of bug `id`; false when absent.
    bool FindRow(std::int32_t id);
    bool StoreNewBug(CBug& bug);
    bool DeleteBugAndAttachments(std::int32_t id);
    HRESULT RemoveBug(std::int32_t id);
    // True when a column the update would write holds another value than the
    // bug was read with.
    bool ChangedSinceRead(const CBug& bug, IRight* right);
    HRESULT WriteChangedColumns(const CBug& bug, IRight* right);

    ComPtr<IExeContext> context_;
    ComPtr<IBugFilterSet> filterSet_;
    std::string scope_;
    // The condition the cursor was last opened with, kept when it is sorted.
    std::string condition_;
    // Declared after its connection, the cursor is destroyed before it.
    std::unique_ptr<db::Connection> connection_;
    std::unique_ptr<db::Recordset> cursor_;
};

}  // namespace lindor
