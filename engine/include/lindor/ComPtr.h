// The smart pointer that holds one counted reference to an engine interface.
#pragma once

#include <cstddef>
#include <utility>

#include <lindor/Unknown.h>

namespace lindor {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference to p.
    explicit ComPtr(T* p) : ptr_(p) { AddRefIfSet(); }
    ComPtr(const ComPtr& other) : ptr_(other.ptr_) { AddRefIfSet(); }
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    template <class U>
    ComPtr(const ComPtr<U>& other) : ptr_(other.get())
    {
        AddRefIfSet();
    }
    ~ComPtr() { reset(); }

    ComPtr& operator=(const ComPtr& other)
    {
        ComPtr(other).swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        ComPtr(std::move(other)).swap(*this);
        return *this;
    }
    ComPtr& operator=(std::nullptr_t)
    {
        reset();
        return *this;
    }

    // Adopts a reference the caller already owns (no AddRef).
    static ComPtr Adopt(T* p)
    {
        ComPtr out;
        out.ptr_ = p;
        return out;
    }

    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    T& operator*() const { return *ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }

    void reset()
    {
        if (ptr_ != nullptr) std::exchange(ptr_, nullptr)->Release();
    }
    // Gives up the reference without releasing it, e.g. to hand it out.
    T* detach() { return std::exchange(ptr_, nullptr); }
    void swap(ComPtr& other) noexcept { std::swap(ptr_, other.ptr_); }

    // For out-parameters: releases the held reference and returns the slot.
    T** put()
    {
        reset();
        return &ptr_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }

    // Hands out a new reference through an out-parameter.
    void CopyTo(T** out) const
    {
        *out = ptr_;
        if (ptr_ != nullptr) ptr_->AddRef();
    }

    template <class U>
    HRESULT As(ComPtr<U>* out) const
    {
        if (ptr_ == nullptr) return E_FAIL;
        return ptr_->QueryInterface(U::IID, out->put_void());
    }

private:
    void AddRefIfSet()
    {
        if (ptr_ != nullptr) ptr_->AddRef();
    }

    T* ptr_ = nullptr;
};

template <class T, class U>
bool operator==(const ComPtr<T>& a, const ComPtr<U>& b)
{
    return static_cast<const void*>(a.get()) == static_cast<const void*>(b.get());
}
template <class T>
bool operator==(const ComPtr<T>& a, std::nullptr_t)
{
    return a.get() == nullptr;
}
template <class T>
bool operator!=(const ComPtr<T>& a, std::nullptr_t)
{
    return a.get() != nullptr;
}

}  // namespace lindor
