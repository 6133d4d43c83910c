#include "filters/CBugFilterSet.h"
#include "core/OutParam.h"

#include "core/ClassRegistry.h"
#include "core/ErrorReport.h"
#include "filters/CBugFilter.h"

namespace lindor {
namespace {

const ClassRegistration registration("BugFilterSet", &CreateInstance<CBugFilterSet>);

const Reporter kReport(ExternalClassName("BugFilterSet"));

const char* const kAddBatchFailed = "Add batch failed!";
const char* const kAddBatchSource = "CBugFilterSet::AddBatch";

const char* JoinWord(eLogOperation andOr)
{
    if (andOr == LogAnd) return " AND ";
    if (andOr == LogOr) return " OR ";
    return "";
}

// Appends one condition's part of the set's text. The first condition gets no
// joining word and no closing bracket; an opening bracket on the last one
// would never be closed, so it is left out.
HRESULT AppendCondition(IBugFilter* filter, bool first, bool last, std::string* text)
{
    std::string sql;
    eLogOperation andOr = LogAnd;
    eBracket bracket = eNone;
    if (Failed(filter->GetSQL(&sql)) || Failed(filter->get_AndOr(&andOr)) ||
        Failed(filter->get_Bracket(&bracket)))
        return E_FAIL;
    if (!first) *text += JoinWord(andOr);
    if (bracket == eOpen && !last) *text += "(";
    *text += sql;
    if (bracket == eClose && !first) *text += ")";
    return S_OK;
}

// A batch is one group: its first copy opens the bracket and its last closes
// it; a batch of one needs none.
eBracket BatchBracket(std::int32_t index, std::int32_t count)
{
    if (count == 1) return eNone;
    if (index == 0) return eOpen;
    if (index == count - 1) return eClose;
    return eNone;
}

// A new condition with the field, comparison, value and and/or of the other
// set's condition at `index`, and the bracket given.
HRESULT CopyOfItem(IBugFilterSet* set, std::int32_t index, eBracket bracket,
                   ComPtr<CBugFilter>* copy)
{
    ComPtr<IBugFilter> source;
    if (Failed(set->get_Item(index, source.put())) || !source) return E_FAIL;
    ComPtr<CBugFilter> made = MakeObject<CBugFilter>();
    if (Failed(made->CopyConditionFrom(source.get()))) return E_FAIL;
    made->put_Bracket(bracket);
    *copy = std::move(made);
    return S_OK;
}

}  // namespace

HRESULT CBugFilterSet::get_Name(std::string* out)
{
    return GiveOut(name_, out);
}

HRESULT CBugFilterSet::put_Name(const std::string& value)
{
    name_ = value;
    return S_OK;
}

HRESULT CBugFilterSet::get_Count(std::int32_t* out)
{
    return filters_.GiveCount(out);
}

HRESULT CBugFilterSet::Add(IBugFilter* filter)
{
    // A null condition would make every later GetSQL of the set fail.
    if (filter == nullptr)
        return kReport.Fail("Add Filter failed", kLogGeneral, "CBugFilterSet::Add",
                            "Invalid Pointer");
    filters_.Append(filter);
    return S_OK;
}

HRESULT CBugFilterSet::Remove(std::int32_t index)
{
    if (!filters_.Has(index))
        return kReport.Fail("Remove Filter failed", kLogBounds, "CBugFilterSet::Remove", "");
    filters_.RemoveAt(index);
    return S_OK;
}

HRESULT CBugFilterSet::get_Item(std::int32_t index, IBugFilter** out)
{
    return filters_.GiveItem(index, out, kReport, "CBugFilterSet::Item", "Exceed boundary");
}

HRESULT CBugFilterSet::GetSQL(std::string* out)
{
    if (out == nullptr) return E_FAIL;
    out->clear();
    std::string text;
    for (std::int32_t i = 0; i < filters_.Count(); ++i) {
        const bool last = i + 1 == filters_.Count();
        // The failing condition has logged why; the set adds nothing.
        if (Failed(AppendCondition(filters_.At(i).get(), i == 0, last, &text))) return E_FAIL;
    }
    *out = std::move(text);
    return S_OK;
}

HRESULT CBugFilterSet::AddBatch(IBugFilterSet* other)
{
    if (other == nullptr)
        return kReport.Fail(kAddBatchFailed, kLogGeneral, kAddBatchSource, "Invalid Pointer");
    std::int32_t count = 0;
    if (Failed(other->get_Count(&count)))
        return kReport.Fail(kAddBatchFailed, kLogGeneral, kAddBatchSource, "get_Count failed!");
    // Counted once, so a batch of this set's own conditions copies only those
    // that were there when it started.
    for (std::int32_t i = 0; i < count; ++i) {
        ComPtr<CBugFilter> copy;
        if (Failed(CopyOfItem(other, i, BatchBracket(i, count), &copy)))
            return kReport.Fail(kAddBatchFailed, kLogGeneral, kAddBatchSource, "get_Item failed!");
        if (Failed(Add(copy.get())))
            return kReport.Fail(kAddBatchFailed, kLogGeneral, kAddBatchSource, "Add failed!");
    }
    return S_OK;
}

}  // namespace lindor
