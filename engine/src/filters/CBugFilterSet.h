// A named, ordered list of filter conditions that produces the condition text
// for selecting bugs. Lives in memory only.
#pragma once

#include <string>
#include <vector>

#include <lindor/Interfaces.h>

#include "core/ComObject.h"
#include "core/ItemList.h"

namespace lindor {

class CBugFilterSet final : public ComObject<IBugFilterSet> {
public:
    HRESULT get_Name(std::string* out) override;
    HRESULT put_Name(const std::string& value) override;
    HRESULT get_Count(std::int32_t* out) override;
    // Appends the condition itself (a new reference); a null one is refused.
    HRESULT Add(IBugFilter* filter) override;
    HRESULT Remove(std::int32_t index) override;
    HRESULT get_Item(std::int32_t index, IBugFilter** out) override;
    // The conditions joined by AND/OR with their brackets; empty for an empty
    // set. Fails with no text when a condition cannot give its own text.
    HRESULT GetSQL(std::string* out) override;
    // Appends copies of the other set's conditions as one bracketed group.
    // Stops at the first failure; copies appended before it stay.
    HRESULT AddBatch(IBugFilterSet* other) override;

private:
    ~CBugFilterSet() override = default;

    std::string name_;
    ItemList<IBugFilter> filters_;
};

}  // namespace lindor
