// The root of every engine interface: reference counting and interface lookup
// by name.
#pragma once

#include <cstdint>

#include <lindor/Types.h>

namespace lindor {

class IUnknown {
public:
    static constexpr const char* IID = "IUnknown";

    virtual std::uint32_t AddRef() = 0;
    // Drops one reference; the object destroys itself when the last one goes.
    virtual std::uint32_t Release() = 0;
    // Hands out a new reference to the interface named `iid`, or fails with
    // *out set to null.
    virtual HRESULT QueryInterface(const char* iid, void** out) = 0;

protected:
    ~IUnknown() = default;
};

}  // namespace lindor
