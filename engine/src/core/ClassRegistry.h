// Creation of engine objects by external class name.
#pragma once

#include <string>
#include <vector>

#include <lindor/ComPtr.h>
#include <lindor/Unknown.h>

#include "core/ComObject.h"

namespace lindor {

using ClassFactory = ComPtr<IUnknown> (*)();

// "Lindor.<ClassName>.1", the name reported as the source of error information.
std::string ExternalClassName(const std::string& className);

class ClassRegistry {
public:
    static void Register(const std::string& className, ClassFactory factory);
    // Accepts "Lindor.X.1" and the version-independent "Lindor.X".
    static HRESULT Create(const char* externalName, const char* iid, void** out);
    // The class names (without prefix and version) of every registered class.
    static std::vector<std::string> ClassNames();
};

template <class T>
ComPtr<IUnknown> CreateInstance()
{
    ComPtr<T> object = MakeObject<T>();
    return ComPtr<IUnknown>(object.get());
}

// A static object of this type registers one class while the library loads.
struct ClassRegistration {
    ClassRegistration(const char* className, ClassFactory factory)
    {
        ClassRegistry::Register(className, factory);
    }
};

}  // namespace lindor
