// Reads one property of an engine object for display: an empty text or 0
// when the object is missing or its getter fails, so that a list or a sheet
// shows what it can.
#pragma once

#include <lindor/lindor.h>

#include <QString>

#include <string>

namespace nimbra {

class EngineValues {
public:
    template <class T>
    static QString text(T* object, lindor::HRESULT (T::*getter)(std::string*))
    {
        std::string value;
        if (object == nullptr || (object->*getter)(&value) != lindor::S_OK) return QString();
        return QString::fromStdString(value);
    }

    template <class T>
    static int number(T* object, lindor::HRESULT (T::*getter)(std::int32_t*))
    {
        std::int32_t value = 0;
        if (object == nullptr || (object->*getter)(&value) != lindor::S_OK) return 0;
        return value;
    }

    template <class T>
    static double date(T* object, lindor::HRESULT (T::*getter)(double*))
    {
        double value = 0.0;
        if (object == nullptr || (object->*getter)(&value) != lindor::S_OK) return 0.0;
        return value;
    }
};

}  // namespace nimbra
