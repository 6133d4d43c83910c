// Reading one value through an engine getter, with the empty value when the
// getter fails (the list or page then shows nothing rather than stopping).
#pragma once

#include <lindor/lindor.h>

#include <QString>

namespace nimbra {

template <class T>
QString TextOf(T* object, lindor::HRESULT (T::*getter)(std::string*))
{
    std::string value;
    if (object == nullptr || (object->*getter)(&value) != lindor::S_OK) return QString();
    return QString::fromStdString(value);
}

template <class T>
std::int32_t NumberOf(T* object, lindor::HRESULT (T::*getter)(std::int32_t*))
{
    std::int32_t value = 0;
    if (object == nullptr || (object->*getter)(&value) != lindor::S_OK) return 0;
    return value;
}

template <class T>
double DateOf(T* object, lindor::HRESULT (T::*getter)(lindor::Date*))
{
    lindor::Date value = 0.0;
    if (object == nullptr || (object->*getter)(&value) != lindor::S_OK) return 0.0;
    return value;
}

}  // namespace nimbra
