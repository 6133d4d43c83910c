// The reference-counting core: the one base every engine class derives from,
// and the one place where engine objects are allocated and destroyed.
#pragma once

#include <cstdint>
#include <cstring>
#include <utility>

#include <lindor/ComPtr.h>
#include <lindor/Unknown.h>

namespace lindor {

// Implements IUnknown for a class that exposes the one interface `Iface`.
// Objects live on the heap, start with no reference and destroy themselves
// when the last reference is released.
template <class Iface>
class ComObject : public Iface {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    std::uint32_t AddRef() override { return ++references_; }

    std::uint32_t Release() override
    {
        const std::uint32_t left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT QueryInterface(const char* iid, void** out) override
    {
        if (out == nullptr) return E_FAIL;
        *out = nullptr;
        if (iid == nullptr) return E_FAIL;
        if (std::strcmp(iid, Iface::IID) != 0 && std::strcmp(iid, IUnknown::IID) != 0)
            return E_FAIL;
        *out = static_cast<Iface*>(this);
        AddRef();
        return S_OK;
    }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;

private:
    std::uint32_t references_ = 0;
};

// Allocates an engine object and returns the first counted reference to it.
template <class T, class... Args>
ComPtr<T> MakeObject(Args&&... args)
{
    return ComPtr<T>(new T(std::forward<Args>(args)...));
}

// The implementation behind an interface pointer, or null when the object was
// not made by this engine (or is of another class).
template <class Impl, class Iface>
Impl* ImplOf(Iface* object)
{
    return dynamic_cast<Impl*>(object);
}

// Hands out a new reference through an interface out-parameter.
template <class Iface, class T>
void HandOut(const ComPtr<T>& object, Iface** out)
{
    *out = object.get();
    if (*out != nullptr) (*out)->AddRef();
}

}  // namespace lindor
