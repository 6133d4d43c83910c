// The name lists (statuses, severities, priorities, reproducibility): ordered
// names without duplicates, compared exactly (case-sensitive, byte by byte).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <lindor/Types.h>

#include "core/ComObject.h"

namespace lindor {

class NameList {
public:
    std::int32_t Count() const;
    // The name at a zero-based index, or the empty text outside the list.
    std::string Item(std::int32_t index) const;
    // Appends the name unless an equal one is present.
    void Add(const std::string& name);
    // Removes the equal name; an absent one is no error.
    void Remove(const std::string& name);
    void Clear();
    bool Contains(const std::string& name) const;

private:
    std::vector<std::string> names_;
};

// The interface members the four list classes share, over one NameList.
template <class Iface>
class NameListObject : public ComObject<Iface> {
public:
    // An index outside the list succeeds and hands out the empty text.
    HRESULT get_Item(std::int32_t index, std::string* out) override
    {
        if (out == nullptr) return E_FAIL;
        *out = names_.Item(index);
        return S_OK;
    }
    HRESULT get_Count(std::int32_t* out) override
    {
        if (out == nullptr) return E_FAIL;
        *out = names_.Count();
        return S_OK;
    }
    HRESULT Add(const std::string& name) override
    {
        names_.Add(name);
        return S_OK;
    }
    HRESULT Remove(const std::string& name) override
    {
        names_.Remove(name);
        return S_OK;
    }

protected:
    NameList& names() { return names_; }

private:
    NameList names_;
};

}  // namespace lindor
