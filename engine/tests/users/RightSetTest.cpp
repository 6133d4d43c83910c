#include <gtest/gtest.h>

#include "core/ClassRegistry.h"
#include "support/TestDatabase.h"
#include "users/CRight.h"
#include "users/CRightSet.h"

namespace lindor {
namespace {

using test::LastCallerError;
using test::LogWatch;
using test::ResetCallerError;

ComPtr<CRight> RightFor(std::int32_t projectID)
{
    ComPtr<CRight> right = MakeObject<CRight>();
    right->put_ProjectID(projectID);
    return right;
}

std::int32_t CountOf(IRightSet* set)
{
    std::int32_t count = -1;
    EXPECT_EQ(set->get_Count(&count), S_OK);
    return count;
}

TEST(RightSet, AppendKeepsTheRightItselfInOrder)
{
    ComPtr<CRightSet> set = MakeObject<CRightSet>();
    ComPtr<CRight> first = RightFor(1), second = RightFor(2);
    ASSERT_EQ(set->Append(first.get()), S_OK);
    ASSERT_EQ(set->Append(second.get()), S_OK);
    ASSERT_EQ(CountOf(set.get()), 2);
    ComPtr<IRight> item;
    ASSERT_EQ(set->get_Item(1, item.put()), S_OK);
    EXPECT_EQ(item.get(), static_cast<IRight*>(second.get()));
}

TEST(RightSet, ASecondRightForTheSameProjectIsIgnored)
{
    ComPtr<CRightSet> set = MakeObject<CRightSet>();
    ComPtr<CRight> kept = RightFor(5);
    ComPtr<CRight> ignored = RightFor(5);
    ignored->put_Print(1);
    ASSERT_EQ(set->Append(kept.get()), S_OK);
    EXPECT_EQ(set->Append(ignored.get()), S_OK);
    EXPECT_EQ(set->Append(kept.get()), S_OK);
    EXPECT_EQ(CountOf(set.get()), 1);
    ComPtr<IRight> found;
    ASSERT_EQ(set->GetByProjectID(5, found.put()), S_OK);
    EXPECT_EQ(found.get(), static_cast<IRight*>(kept.get()));
}

TEST(RightSet, GetByProjectIdOfAProjectWithoutARightHandsOutNull)
{
    ComPtr<CRightSet> set = MakeObject<CRightSet>();
    set->Append(RightFor(1).get());
    IRight* found = reinterpret_cast<IRight*>(0x1);
    LogWatch log;
    EXPECT_EQ(set->GetByProjectID(2, &found), S_OK);
    EXPECT_EQ(found, nullptr);
    EXPECT_TRUE(log.Entries().empty());
}

TEST(RightSet, ItemOutsideTheSetIsTheBoundsFailure)
{
    ComPtr<CRightSet> set = MakeObject<CRightSet>();
    set->Append(RightFor(1).get());
    for (std::int32_t index : {1, -1}) {
        LogWatch log;
        ResetCallerError();
        IRight* out = reinterpret_cast<IRight*>(0x1);
        EXPECT_EQ(set->get_Item(index, &out), E_FAIL) << index;
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(LastCallerError().description, "Some error has occured, please see err.log!");
        EXPECT_EQ(LastCallerError().source, "Lindor.RightSet.1");
        const auto entries = log.Entries();
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].code, 1);
        EXPECT_EQ(entries[0].source, "IClassificationSet::Item");
        EXPECT_EQ(entries[0].description, "Exceed Array's bound");
    }
}

TEST(RightSet, RemoveAllReleasesEveryRight)
{
    ComPtr<CRightSet> set = MakeObject<CRightSet>();
    ComPtr<CRight> right = RightFor(3);
    set->Append(right.get());
    ASSERT_EQ(set->RemoveAll(), S_OK);
    EXPECT_EQ(CountOf(set.get()), 0);
    ComPtr<IRight> found;
    set->GetByProjectID(3, found.put());
    EXPECT_FALSE(found);
    EXPECT_EQ(right->AddRef(), 2u) << "only this test still holds the right";
    right->Release();
}

TEST(RightSet, ANullRightIsRefused)
{
    ComPtr<CRightSet> set = MakeObject<CRightSet>();
    LogWatch log;
    ResetCallerError();
    EXPECT_EQ(set->Append(nullptr), E_FAIL);
    EXPECT_EQ(LastCallerError().description, "Append right failed");
    const auto entries = log.Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].source, "CRightSet::Append");
    EXPECT_EQ(CountOf(set.get()), 0);
}

TEST(RightSet, NullOutPointersFailAndTheClassIsCreatedByName)
{
    ComPtr<IRightSet> set;
    ASSERT_EQ(ClassRegistry::Create("Lindor.RightSet.1", "IRightSet", set.put_void()), S_OK);
    EXPECT_EQ(set->get_Count(nullptr), E_FAIL);
    EXPECT_EQ(set->get_Item(0, nullptr), E_FAIL);
    EXPECT_EQ(set->GetByProjectID(0, nullptr), E_FAIL);
}

}  // namespace
}  // namespace lindor
