// Small helpers for calling the engine: creating objects, reading
// properties, and turning a failed call into a refusal with the engine's
// own description.
#pragma once

#include <cstdint>
#include <string>

#include <lindor/lindor.h>

#include "clierror.h"

namespace cli {

using lindor::ComPtr;

// The engine's description of the last failure, or `fallback` when it gave none.
std::string EngineMessage(const std::string& fallback);

// Throws a refusal with the engine's description when the call failed.
inline void Check(lindor::HRESULT result, const std::string& fallback)
{
    if (lindor::Failed(result)) Refuse(EngineMessage(fallback));
}

template <class I>
ComPtr<I> CreateEngineObject(const char* className)
{
    ComPtr<I> object;
    Check(lindor::CreateObject(className, object.put()),
          std::string("The engine could not create ") + className);
    return object;
}

template <class I>
std::string TextOf(I* object, lindor::HRESULT (I::*getter)(std::string*))
{
    std::string value;
    Check((object->*getter)(&value), "Reading a value failed");
    return value;
}

template <class I>
std::int32_t NumberOf(I* object, lindor::HRESULT (I::*getter)(std::int32_t*))
{
    std::int32_t value = 0;
    Check((object->*getter)(&value), "Reading a value failed");
    return value;
}

template <class I, class T>
ComPtr<T> ObjectOf(I* object, lindor::HRESULT (I::*getter)(T**))
{
    ComPtr<T> value;
    Check((object->*getter)(value.put()), "Reading a value failed");
    return value;
}

template <class Set, class Item>
ComPtr<Item> ItemOf(Set* set, std::int32_t index,
                    lindor::HRESULT (Set::*getter)(std::int32_t, Item**))
{
    ComPtr<Item> item;
    Check((set->*getter)(index, item.put()), "Reading an item failed");
    return item;
}

// Compares two texts without regard to ASCII letter case, as the database does.
bool SameText(const std::string& a, const std::string& b);

std::string Lowercase(std::string text);

}  // namespace cli
