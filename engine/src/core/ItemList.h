// The items of a set object, in order: the bounds check, count and hand-out
// that every item set shares.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include <lindor/ComPtr.h>
#include <lindor/Types.h>

#include "core/ErrorReport.h"

namespace lindor {

template <class Iface>
class ItemList {
public:
    using Item = ComPtr<Iface>;

    std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }
    bool Has(std::int32_t index) const
    {
        return index >= 0 && static_cast<std::size_t>(index) < items_.size();
    }
    // The item at an index Has() accepts.
    const Item& At(std::int32_t index) const { return items_[static_cast<std::size_t>(index)]; }

    void Append(Iface* item) { items_.emplace_back(item); }
    void RemoveAt(std::int32_t index) { items_.erase(items_.begin() + index); }
    void Clear() { items_.clear(); }

    // Copies the count out; E_FAIL for a null slot.
    HRESULT GiveCount(std::int32_t* out) const
    {
        if (out == nullptr) return E_FAIL;
        *out = Count();
        return S_OK;
    }
    // Hands out the item at `index` with a reference of its own, or reports
    // an index outside the list under `source`.
    HRESULT GiveItem(std::int32_t index, Iface** out, const Reporter& report,
                     const std::string& source, const std::string& detail = "") const
    {
        if (out == nullptr) return E_FAIL;
        *out = nullptr;
        if (!Has(index)) return report.FailBounds(source, detail);
        At(index).CopyTo(out);
        return S_OK;
    }

    typename std::vector<Item>::const_iterator begin() const { return items_.begin(); }
    typename std::vector<Item>::const_iterator end() const { return items_.end(); }
    // The index of the first item that matches, or -1.
    template <class Predicate>
    std::int32_t IndexWhere(Predicate matches) const
    {
        const auto found = std::find_if(items_.begin(), items_.end(), matches);
        return found == items_.end() ? -1 : static_cast<std::int32_t>(found - items_.begin());
    }
    template <class Predicate>
    void RemoveIf(Predicate matches)
    {
        items_.erase(std::remove_if(items_.begin(), items_.end(), matches), items_.end());
    }

private:
    std::vector<Item> items_;
};

}  // namespace lindor
