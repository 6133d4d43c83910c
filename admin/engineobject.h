// Small conveniences for calling the engine: creating an object by class
// name and reading a text property as a QString.
#pragma once

#include <lindor/lindor.h>

#include <QString>
#include <QStringList>

#include <string>

namespace nimbra {

// A new engine object, or null when it cannot be created (the engine's
// error information then says why).
template <class I>
lindor::ComPtr<I> CreateEngineObject(const char* className)
{
    lindor::ComPtr<I> object;
    if (lindor::CreateObject<I>(className, object.put()) != lindor::S_OK) object.reset();
    return object;
}

// A text property; empty when the getter fails.
template <class O>
QString EngineText(O* object, lindor::HRESULT (O::*getter)(std::string*))
{
    std::string value;
    if ((object->*getter)(&value) != lindor::S_OK) return QString();
    return QString::fromStdString(value);
}

// A 32-bit property; 0 when the getter fails.
template <class O>
int EngineNumber(O* object, lindor::HRESULT (O::*getter)(std::int32_t*))
{
    std::int32_t value = 0;
    if ((object->*getter)(&value) != lindor::S_OK) return 0;
    return value;
}

}  // namespace nimbra

namespace nimbra {

// The names of a status list, in its order.
inline QStringList EngineNames(lindor::IBugStatus* list)
{
    QStringList names;
    const int count = list != nullptr ? EngineNumber(list, &lindor::IBugStatus::get_Count) : 0;
    for (int i = 0; i < count; ++i) {
        std::string name;
        list->get_Item(i, &name);
        names << QString::fromStdString(name);
    }
    return names;
}

// An item of an engine set together with the set that handed it out; the
// item is the set's current one, which Update() writes back.
template <class Set, class Item>
struct FoundItem {
    lindor::ComPtr<Set> set;
    lindor::ComPtr<Item> item;
    explicit operator bool() const { return static_cast<bool>(item); }
};

// Walks `set` with Item until the item whose ID is `id` and gives it out in
// `found` (left empty when no item has that ID). False when the set is
// missing or cannot be read; the engine's error information says why.
template <class Set, class Item>
bool FindByID(lindor::ComPtr<Set> set, int id, FoundItem<Set, Item>* found)
{
    *found = FoundItem<Set, Item>{};
    if (!set) return false;
    const int count = EngineNumber(set.get(), &Set::get_Count);
    for (int i = 0; i < count; ++i) {
        lindor::ComPtr<Item> item;
        if (set->get_Item(i, item.put()) != lindor::S_OK || !item) return false;
        if (EngineNumber(item.get(), &Item::get_ID) != id) continue;
        found->set = set;
        found->item = item;
        return true;
    }
    return true;
}

}  // namespace nimbra
