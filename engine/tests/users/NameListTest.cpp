#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ClassRegistry.h"
#include "users/CBugPriority.h"
#include "users/CBugReproductive.h"
#include "users/CBugSeverity.h"
#include "users/CBugStatus.h"

namespace lindor {
namespace {

template <class T>
class NameListTest : public ::testing::Test {
protected:
    void SetUp() override { list = MakeObject<T>(); }

    void AddAll(const std::vector<std::string>& names)
    {
        for (const std::string& name : names) ASSERT_EQ(list->Add(name), S_OK) << name;
    }

    std::vector<std::string> Names()
    {
        std::int32_t count = 0;
        EXPECT_EQ(list->get_Count(&count), S_OK);
        std::vector<std::string> names;
        for (std::int32_t i = 0; i < count; ++i) {
            std::string name;
            EXPECT_EQ(list->get_Item(i, &name), S_OK);
            names.push_back(name);
        }
        return names;
    }

    ComPtr<T> list;
};

using NameLists = ::testing::Types<CBugStatus, CBugSeverity, CBugPriority, CBugReproductive>;
TYPED_TEST_SUITE(NameListTest, NameLists);

TYPED_TEST(NameListTest, KeepsNamesInTheOrderAdded)
{
    EXPECT_TRUE(this->Names().empty());
    this->AddAll({"New", "Active", "Closed"});
    EXPECT_EQ(this->Names(), (std::vector<std::string>{"New", "Active", "Closed"}));
}

TYPED_TEST(NameListTest, AnEqualNameIsNotAddedTwice)
{
    this->AddAll({"New", "Active", "New"});
    EXPECT_EQ(this->Names(), (std::vector<std::string>{"New", "Active"}));
}

TYPED_TEST(NameListTest, NamesAreComparedExactly)
{
    this->AddAll({"New", "new", "New ", "NEW"});
    EXPECT_EQ(this->Names(), (std::vector<std::string>{"New", "new", "New ", "NEW"}));
    ASSERT_EQ(this->list->Remove("new"), S_OK);
    EXPECT_EQ(this->Names(), (std::vector<std::string>{"New", "New ", "NEW"}));
}

TYPED_TEST(NameListTest, AnIndexOutsideTheListSucceedsWithNoName)
{
    this->AddAll({"High"});
    for (std::int32_t index : {1, -1, 1000}) {
        std::string name = "stale";
        EXPECT_EQ(this->list->get_Item(index, &name), S_OK) << index;
        EXPECT_EQ(name, "") << index;
    }
}

TYPED_TEST(NameListTest, RemoveClosesTheGapAndAnAbsentNameIsNoError)
{
    this->AddAll({"Low", "Medium", "High"});
    EXPECT_EQ(this->list->Remove("Medium"), S_OK);
    EXPECT_EQ(this->list->Remove("Urgent"), S_OK);
    EXPECT_EQ(this->Names(), (std::vector<std::string>{"Low", "High"}));
    ASSERT_EQ(this->list->Add("Medium"), S_OK);
    EXPECT_EQ(this->Names(), (std::vector<std::string>{"Low", "High", "Medium"}));
}

TYPED_TEST(NameListTest, TheEmptyNameIsANameLikeAnyOther)
{
    this->AddAll({"", "A", ""});
    EXPECT_EQ(this->Names(), (std::vector<std::string>{"", "A"}));
}

TYPED_TEST(NameListTest, NullOutPointersFailWithoutCrashing)
{
    EXPECT_EQ(this->list->get_Item(0, nullptr), E_FAIL);
    EXPECT_EQ(this->list->get_Count(nullptr), E_FAIL);
}

TEST(BugStatusList, ClearEmptiesTheList)
{
    ComPtr<CBugStatus> list = MakeObject<CBugStatus>();
    list->Add("New");
    list->Add("Closed");
    ASSERT_EQ(list->Clear(), S_OK);
    std::int32_t count = -1;
    list->get_Count(&count);
    EXPECT_EQ(count, 0);
    list->Add("Closed");
    std::string first;
    list->get_Item(0, &first);
    EXPECT_EQ(first, "Closed");
}

TEST(NameListClasses, AreCreatedByTheirClassNames)
{
    const std::pair<const char*, const char*> classes[] = {
        {"Lindor.BugStatus.1", "IBugStatus"},
        {"Lindor.BugSeverity.1", "IBugSeverity"},
        {"Lindor.BugPriority.1", "IBugPriority"},
        {"Lindor.BugReproductive.1", "IBugReproductive"}};
    for (const auto& c : classes) {
        ComPtr<IUnknown> object;
        EXPECT_EQ(ClassRegistry::Create(c.first, c.second, object.put_void()), S_OK) << c.first;
        EXPECT_TRUE(object) << c.first;
    }
}

}  // namespace
}  // namespace lindor
