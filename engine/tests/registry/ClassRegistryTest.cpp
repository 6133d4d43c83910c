#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "api/EngineClasses.h"
#include "core/ClassRegistry.h"

namespace lindor {
namespace {

using test::kEngineClasses;

bool IsRegistered(const std::string& name)
{
    const std::vector<std::string> names = ClassRegistry::ClassNames();
    return std::find(names.begin(), names.end(), name) != names.end();
}

TEST(ClassRegistry, EveryRegisteredClassIsCreatableByBothNamesWithItsOwnInterface)
{
    for (const std::string& name : ClassRegistry::ClassNames()) {
        const std::string iid = "I" + name;
        for (const std::string& external : {"Lindor." + name + ".1", "Lindor." + name}) {
            ComPtr<IUnknown> object;
            EXPECT_EQ(ClassRegistry::Create(external.c_str(), iid.c_str(), object.put_void()), S_OK)
                << external;
            EXPECT_TRUE(object) << external;
        }
    }
}

TEST(ClassRegistry, TheRegistryHoldsExactlyTheEngineClasses)
{
    std::vector<std::string> missing;
    for (const std::string& name : kEngineClasses)
        if (!IsRegistered(name)) missing.push_back(name);
    std::string list;
    for (const std::string& name : missing) list += " " + name;
    EXPECT_TRUE(missing.empty()) << "not registered:" << list;
    EXPECT_EQ(ClassRegistry::ClassNames().size(), 24u);
    for (const std::string& name : ClassRegistry::ClassNames())
        EXPECT_NE(std::find(kEngineClasses.begin(), kEngineClasses.end(), name),
                  kEngineClasses.end())
            << name << " is not an engine class";
}

TEST(ClassRegistry, NamesWithAnotherPrefixOrVersionAreUnknown)
{
    for (const char* external :
         {"Lindor.Classification.2", "Other.Classification.1", "Classification"}) {
        ComPtr<IUnknown> object;
        EXPECT_EQ(ClassRegistry::Create(external, "IUnknown", object.put_void()), E_FAIL)
            << external;
    }
}

}  // namespace
}  // namespace lindor
