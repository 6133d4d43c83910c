#include "core/ClassRegistry.h"

#include <map>

#include "core/ErrorReport.h"
#include "core/Export.h"

namespace lindor {
namespace {

constexpr const char* kPrefix = "Lindor.";
constexpr const char* kVersionSuffix = ".1";

std::map<std::string, ClassFactory>& Factories()
{
    static std::map<std::string, ClassFactory> factories;
    return factories;
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// "Lindor.X.1" or "Lindor.X" -> "X"; anything else -> empty.
std::string ClassNameOf(const std::string& externalName)
{
    const std::string prefix = kPrefix;
    if (externalName.compare(0, prefix.size(), prefix) != 0) return std::string();
    std::string name = externalName.substr(prefix.size());
    if (EndsWith(name, kVersionSuffix)) name.resize(name.size() - 2);
    return name;
}

HRESULT CreationFailure(const std::string& text)
{
    return Reporter("Lindor").Fail(text, kLogGeneral, "CreateObject", text);
}

}  // namespace

std::string ExternalClassName(const std::string& className)
{
    return kPrefix + className + kVersionSuffix;
}

void ClassRegistry::Register(const std::string& className, ClassFactory factory)
{
    Factories()[className] = factory;
}

HRESULT ClassRegistry::Create(const char* externalName, const char* iid, void** out)
{
    if (out == nullptr) return CreationFailure("CreateObject needs a place for the result");
    *out = nullptr;
    const std::string name = externalName != nullptr ? externalName : "";
    const auto found = Factories().find(ClassNameOf(name));
    if (found == Factories().end()) return CreationFailure("Class " + name + " is not registered");
    ComPtr<IUnknown> object = found->second();
    const std::string interfaceName = iid != nullptr ? iid : "";
    if (object->QueryInterface(interfaceName.c_str(), out) != S_OK)
        return CreationFailure("Class " + name + " has no interface " + interfaceName);
    return S_OK;
}

std::vector<std::string> ClassRegistry::ClassNames()
{
    std::vector<std::string> names;
    for (const auto& entry : Factories()) names.push_back(entry.first);
    return names;
}

}  // namespace lindor

extern "C" LINDOR_EXPORT lindor::HRESULT LindorCreateObject(const char* className, const char* iid,
                                                            void** out)
{
    return lindor::ClassRegistry::Create(className, iid, out);
}
