#include <gtest/gtest.h>

#include "core/ClassRegistry.h"
#include "users/CRight.h"
#include "users/CUserRight.h"

namespace lindor {
namespace {

std::int32_t AddProjectOf(IUserRight* role)
{
    std::int32_t value = -1;
    EXPECT_EQ(role->get_AddProject(&value), S_OK);
    return value;
}

TEST(UserRight, AddProjectStartsAtZeroAndStoresOneForAnyNonZeroValue)
{
    ComPtr<CUserRight> role = MakeObject<CUserRight>();
    EXPECT_EQ(AddProjectOf(role.get()), 0);
    role->put_AddProject(-1);
    EXPECT_EQ(AddProjectOf(role.get()), 1);
    role->put_AddProject(0);
    EXPECT_EQ(AddProjectOf(role.get()), 0);
}

TEST(UserRight, TheRightSetIsMadeEmptyOnceAndKept)
{
    ComPtr<CUserRight> role = MakeObject<CUserRight>();
    ComPtr<IRightSet> first, second;
    ASSERT_EQ(role->get_RightSet(first.put()), S_OK);
    ASSERT_TRUE(first);
    std::int32_t count = -1;
    first->get_Count(&count);
    EXPECT_EQ(count, 0);
    first->Append(MakeObject<CRight>().get());
    ASSERT_EQ(role->get_RightSet(second.put()), S_OK);
    EXPECT_EQ(first.get(), second.get());
    second->get_Count(&count);
    EXPECT_EQ(count, 1);
}

TEST(UserRight, CopyChangesNothingAndSucceeds)
{
    ComPtr<CUserRight> source = MakeObject<CUserRight>();
    source->put_AddProject(1);
    ComPtr<CUserRight> target = MakeObject<CUserRight>();
    target->SetID(4);
    EXPECT_EQ(target->Copy(source.get()), S_OK);
    EXPECT_EQ(target->Copy(nullptr), S_OK);
    EXPECT_EQ(AddProjectOf(target.get()), 0);
    EXPECT_EQ(target->ID(), 4);
}

TEST(UserRight, NullOutPointersFailAndTheClassIsCreatedByName)
{
    ComPtr<IUserRight> role;
    ASSERT_EQ(ClassRegistry::Create("Lindor.UserRight.1", "IUserRight", role.put_void()), S_OK);
    EXPECT_EQ(role->get_AddProject(nullptr), E_FAIL);
    EXPECT_EQ(role->get_RightSet(nullptr), E_FAIL);
}

}  // namespace
}  // namespace lindor
