// Plain property accessors: a getter hands the value out through its
// out-parameter (E_FAIL for a null slot); a setter stores the value.
#pragma once

#include <lindor/Types.h>

namespace lindor {

template <class T, class V>
HRESULT GiveOut(const V& value, T* out)
{
    if (out == nullptr) return E_FAIL;
    *out = value;
    return S_OK;
}

template <class T>
HRESULT TakeIn(const T& value, T* field)
{
    *field = value;
    return S_OK;
}

}  // namespace lindor
