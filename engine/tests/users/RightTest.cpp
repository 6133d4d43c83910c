#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/ClassRegistry.h"
#include "support/TestDatabase.h"
#include "users/CRight.h"

namespace lindor {
namespace {

using test::LastCallerError;
using test::LogWatch;
using test::ResetCallerError;

std::int32_t Get(IRight* right, const RightFlagInfo& flag)
{
    std::int32_t value = -1;
    EXPECT_EQ((right->*flag.get)(&value), S_OK) << flag.property;
    return value;
}

std::int32_t IsAllFalse(IRight* right)
{
    std::int32_t value = -1;
    EXPECT_EQ(right->get_IsAllFalse(&value), S_OK);
    return value;
}

std::int32_t EditBug(IRight* right)
{
    std::int32_t value = -1;
    EXPECT_EQ(right->get_EditBug(&value), S_OK);
    return value;
}

// ---- the flag table ---------------------------------------------------------

TEST(RightFlagTable, ListsTheColumnsInTheOrderARowIsReadAndWritten)
{
    const std::vector<std::string> columns = {"Add",
                                              "Delete",
                                              "Read",
                                              "EditType",
                                              "EditClass",
                                              "EditPriority",
                                              "EditSeverity",
                                              "EditReproductive",
                                              "EditReportedInProject",
                                              "EditReportedInVersion",
                                              "EditReportedDate",
                                              "EditFixedDate",
                                              "EditFixedInVersion",
                                              "EditVerifiedDate",
                                              "EditEstimatedTime",
                                              "EditDateDue",
                                              "EditDescription",
                                              "EditRecreateStep",
                                              "EditWorkAround",
                                              "EditReport",
                                              "EditResolution",
                                              "EditAttachment",
                                              "ReportGen",
                                              "Print",
                                              "ViewStatistic",
                                              "Add_Edit_Del_BugClass",
                                              "Add_Edit_Del_BugReproductive",
                                              "Add_Edit_Del_BugSeverity",
                                              "Add_Edit_Del_BugPriority",
                                              "Add_Edit_Del_BugStatus",
                                              "AssignClassToUser",
                                              "EditProject",
                                              "DeleteProject"};
    std::vector<std::string> inTable;
    for (const RightFlagInfo& flag : kRightFlags) inTable.push_back(flag.column);
    EXPECT_EQ(inTable, columns);
}

TEST(RightFlagTable, PropertyNamesDifferFromColumnsOnlyWhereTheRowNamesThemSo)
{
    std::set<std::string> properties;
    for (const RightFlagInfo& flag : kRightFlags) {
        properties.insert(flag.property);
        const std::string column = flag.column;
        if (column == "EditReportedInProject")
            EXPECT_STREQ(flag.property, "EditReportedInPrj");
        else if (column == "ViewStatistic")
            EXPECT_STREQ(flag.property, "Statistic");
        else
            EXPECT_EQ(flag.property, column);
    }
    EXPECT_EQ(properties.size(), kRightFlagCount);
}

// ---- flags ------------------------------------------------------------------

TEST(RightFlags, ANewRightHasNoFlagNoIdAndNoProject)
{
    ComPtr<CRight> right = MakeObject<CRight>();
    for (const RightFlagInfo& flag : kRightFlags) EXPECT_EQ(Get(right.get(), flag), 0);
    std::int32_t id = -1, project = -1;
    right->get_ID(&id);
    right->get_ProjectID(&project);
    EXPECT_EQ(id, 0);
    EXPECT_EQ(project, 0);
    EXPECT_EQ(IsAllFalse(right.get()), 1);
    EXPECT_EQ(EditBug(right.get()), 0);
}

TEST(RightFlags, EachPropertySetsItsOwnFlagAndNoOther)
{
    for (const RightFlagInfo& flag : kRightFlags) {
        ComPtr<CRight> right = MakeObject<CRight>();
        ASSERT_EQ((right.get()->*flag.put)(1), S_OK) << flag.property;
        for (const RightFlagInfo& other : kRightFlags) {
            const std::int32_t expected = other.flag == flag.flag ? 1 : 0;
            EXPECT_EQ(right->Flag(other.flag), expected) << "put " << flag.property;
            EXPECT_EQ(Get(right.get(), other), expected) << "put " << flag.property;
        }
    }
}

TEST(RightFlags, AnyNonZeroValueIsStoredAsOne)
{
    ComPtr<CRight> right = MakeObject<CRight>();
    for (std::int32_t value : {1, 7, -1, 256}) {
        right->put_Print(value);
        std::int32_t stored = -5;
        right->get_Print(&stored);
        EXPECT_EQ(stored, 1) << value;
    }
    right->put_Print(0);
    EXPECT_EQ(right->Flag(RightFlag::Print), 0);
}

TEST(RightFlags, SetFlagAndSetAllFlagsShowThroughTheInterface)
{
    ComPtr<CRight> right = MakeObject<CRight>();
    right->SetFlag(RightFlag::EditRecreateStep, true);
    std::int32_t value = 0;
    right->get_EditRecreateStep(&value);
    EXPECT_EQ(value, 1);

    right->SetAllFlags(true);
    for (const RightFlagInfo& flag : kRightFlags) EXPECT_EQ(Get(right.get(), flag), 1);
    right->SetAllFlags(false);
    EXPECT_EQ(IsAllFalse(right.get()), 1);
}

// ---- derived values ---------------------------------------------------------

TEST(RightDerived, IsAllFalseTurnsZeroWithAnyOneFlag)
{
    for (const RightFlagInfo& flag : kRightFlags) {
        ComPtr<CRight> right = MakeObject<CRight>();
        right->SetFlag(flag.flag, true);
        EXPECT_EQ(IsAllFalse(right.get()), 0) << flag.property;
    }
}

TEST(RightDerived, EditBugCountsExactlyTheBugFieldFlags)
{
    const std::set<std::string> bugFields = {"EditType",
                                             "EditClass",
                                             "EditPriority",
                                             "EditSeverity",
                                             "EditReproductive",
                                             "EditReportedInPrj",
                                             "EditReportedInVersion",
                                             "EditReportedDate",
                                             "EditFixedDate",
                                             "EditFixedInVersion",
                                             "EditVerifiedDate",
                                             "EditDescription",
                                             "EditRecreateStep",
                                             "EditWorkAround",
                                             "EditReport",
                                             "EditDateDue",
                                             "EditResolution",
                                             "EditAttachment",
                                             "EditEstimatedTime"};
    for (const RightFlagInfo& flag : kRightFlags) {
        ComPtr<CRight> right = MakeObject<CRight>();
        right->SetFlag(flag.flag, true);
        EXPECT_EQ(EditBug(right.get()), bugFields.count(flag.property) ? 1 : 0) << flag.property;
    }
}

TEST(RightDerived, AttachmentsCountAsEditingButPrintingDoesNot)
{
    ComPtr<CRight> right = MakeObject<CRight>();
    right->put_EditAttachment(1);
    EXPECT_EQ(IsAllFalse(right.get()), 0);
    EXPECT_EQ(EditBug(right.get()), 1);

    ComPtr<CRight> printer = MakeObject<CRight>();
    printer->put_Print(1);
    EXPECT_EQ(IsAllFalse(printer.get()), 0);
    EXPECT_EQ(EditBug(printer.get()), 0);
}

// ---- available statuses -----------------------------------------------------

TEST(RightAvailableStatus, IsMadeEmptyOnceAndKept)
{
    ComPtr<CRight> right = MakeObject<CRight>();
    ComPtr<IBugStatus> first, second;
    ASSERT_EQ(right->get_AvailableStatus(first.put()), S_OK);
    ASSERT_TRUE(first);
    std::int32_t count = -1;
    first->get_Count(&count);
    EXPECT_EQ(count, 0);
    first->Add("Resolved");
    ASSERT_EQ(right->get_AvailableStatus(second.put()), S_OK);
    EXPECT_EQ(first.get(), second.get());
    EXPECT_EQ(right->AvailableStatusList().get(), static_cast<CBugStatus*>(first.get()));
}

// ---- copy -------------------------------------------------------------------

TEST(RightCopy, TakesProjectAndFlagsDropsTheIdAndKeepsOwnStatuses)
{
    ComPtr<CRight> source = MakeObject<CRight>();
    source->SetID(12);
    source->put_ProjectID(4);
    source->put_Read(1);
    source->put_EditAttachment(1);
    source->put_DeleteProject(1);
    ComPtr<IBugStatus> sourceStatuses;
    source->get_AvailableStatus(sourceStatuses.put());
    sourceStatuses->Add("Verified");

    ComPtr<CRight> target = MakeObject<CRight>();
    target->SetID(9);
    target->put_Print(1);
    ComPtr<IBugStatus> targetStatuses;
    target->get_AvailableStatus(targetStatuses.put());
    targetStatuses->Add("New");

    ASSERT_EQ(target->Copy(source.get()), S_OK);
    std::int32_t id = -1, project = -1;
    target->get_ID(&id);
    target->get_ProjectID(&project);
    EXPECT_EQ(id, 0);
    EXPECT_EQ(project, 4);
    for (const RightFlagInfo& flag : kRightFlags)
        EXPECT_EQ(target->Flag(flag.flag), source->Flag(flag.flag)) << flag.property;

    ComPtr<IBugStatus> after;
    target->get_AvailableStatus(after.put());
    EXPECT_EQ(after.get(), targetStatuses.get());
    std::int32_t count = 0;
    after->get_Count(&count);
    std::string name;
    after->get_Item(0, &name);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(name, "New");
}

TEST(RightCopy, OfItselfOnlyDropsTheId)
{
    ComPtr<CRight> right = MakeObject<CRight>();
    right->SetID(3);
    right->put_ProjectID(2);
    right->put_EditType(1);
    ASSERT_EQ(right->Copy(right.get()), S_OK);
    std::int32_t id = -1, project = -1;
    right->get_ID(&id);
    right->get_ProjectID(&project);
    EXPECT_EQ(id, 0);
    EXPECT_EQ(project, 2);
    EXPECT_EQ(right->Flag(RightFlag::EditType), 1);
}

TEST(RightCopy, ANullSourceFailsAndChangesNothing)
{
    ComPtr<CRight> right = MakeObject<CRight>();
    right->SetID(3);
    right->put_Add(1);
    LogWatch log;
    ResetCallerError();
    EXPECT_EQ(right->Copy(nullptr), E_FAIL);
    EXPECT_EQ(LastCallerError().description, "Copy right failed");
    EXPECT_EQ(LastCallerError().source, "Lindor.Right.1");
    const auto entries = log.Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].source, "CRight::Copy");
    EXPECT_EQ(right->ID(), 3);
    EXPECT_EQ(right->Flag(RightFlag::Add), 1);
}

TEST(RightInterface, NullOutPointersFailAndTheClassIsCreatedByName)
{
    ComPtr<IRight> right;
    ASSERT_EQ(ClassRegistry::Create("Lindor.Right.1", "IRight", right.put_void()), S_OK);
    EXPECT_EQ(right->get_Read(nullptr), E_FAIL);
    EXPECT_EQ(right->get_ID(nullptr), E_FAIL);
    EXPECT_EQ(right->get_ProjectID(nullptr), E_FAIL);
    EXPECT_EQ(right->get_AvailableStatus(nullptr), E_FAIL);
    EXPECT_EQ(right->get_IsAllFalse(nullptr), E_FAIL);
    EXPECT_EQ(right->get_EditBug(nullptr), E_FAIL);
}

}  // namespace
}  // namespace lindor
