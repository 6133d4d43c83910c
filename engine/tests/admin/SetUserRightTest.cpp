#include <gtest/gtest.h>

#include "admin/CAdmin.h"
#include "core/ErrorInfo.h"
#include "core/ErrorReport.h"
#include "support/StoredRows.h"
#include "support/TestDatabase.h"
#include "users/CRight.h"
#include "users/CUserRight.h"

namespace lindor {
namespace {

using test::CountRows;
using test::ErrorFrom;
using test::InsertRow;
using test::LogWatch;
using test::StoredNumber;

ComPtr<CRight> AddRight(CUserRight* role, std::int32_t projectID,
                        std::initializer_list<RightFlag> flags,
                        std::initializer_list<const char*> statuses = {})
{
    ComPtr<CRight> right = MakeObject<CRight>();
    right->put_ProjectID(projectID);
    for (RightFlag flag : flags) right->SetFlag(flag, true);
    for (const char* status : statuses) right->AvailableStatusList()->Add(status);
    role->Rights()->Append(right.get());
    return right;
}

std::int32_t RoleOf(std::int32_t userID)
{
    return StoredNumber("SELECT UserRightID FROM tUser WHERE UserID = " + std::to_string(userID));
}

bool StoredFlag(const std::string& column, std::int32_t roleID, std::int32_t projectID)
{
    const Variant value = test::Stored(
        "SELECT " + column + " FROM tRight WHERE UserRightID = " + std::to_string(roleID) +
        " AND ProjectID = " + std::to_string(projectID));
    EXPECT_EQ(value.vt(), VT_BOOL) << column;
    return value.boolVal();
}

class SetUserRightTest : public ::testing::Test {
protected:
    void SetUp() override { test::NewDatabase(); }

    ComPtr<CAdmin> admin = MakeObject<CAdmin>();
    ComPtr<CUserRight> role = MakeObject<CUserRight>();
};

TEST_F(SetUserRightTest, TheAdministratorOfAFreshDatabaseGetsRoleOne)
{
    role->put_AddProject(1);
    ComPtr<CRight> first = AddRight(role.get(), 1, {RightFlag::Read, RightFlag::EditReportedInPrj});
    ComPtr<CRight> second = AddRight(role.get(), 2, {RightFlag::DeleteProject});
    ASSERT_EQ(admin->SetUserRight(1, role.get()), S_OK);
    EXPECT_EQ(RoleOf(1), 1);
    EXPECT_EQ(StoredNumber("SELECT NextUserRightID FROM tNextID"), 2);
    EXPECT_EQ(test::Stored("SELECT AddProject FROM tUserRight WHERE UserRightID = 1").boolVal(),
              true);
    EXPECT_EQ(first->ID(), 1);
    EXPECT_EQ(second->ID(), 2);
    EXPECT_EQ(StoredNumber("SELECT RightID FROM tRight WHERE ProjectID = 2"), 2);
    EXPECT_TRUE(StoredFlag("Read", 1, 1));
    EXPECT_TRUE(StoredFlag("EditReportedInProject", 1, 1));
    EXPECT_FALSE(StoredFlag("Add", 1, 1));
    EXPECT_TRUE(StoredFlag("DeleteProject", 1, 2));
    EXPECT_FALSE(StoredFlag("Read", 1, 2));
}

TEST_F(SetUserRightTest, UsersSharingARoleBothGetTheNewRights)
{
    AddRight(role.get(), 1, {RightFlag::Read});
    ASSERT_EQ(admin->SetUserRight(1, role.get()), S_OK);
    test::AddUser(2, "bob", 1);
    ComPtr<CUserRight> changed = MakeObject<CUserRight>();
    AddRight(changed.get(), 2, {RightFlag::Add});
    ASSERT_EQ(admin->SetUserRight(2, changed.get()), S_OK);
    EXPECT_EQ(RoleOf(1), 1);
    EXPECT_EQ(RoleOf(2), 1);
    EXPECT_EQ(StoredNumber("SELECT NextUserRightID FROM tNextID"), 2) << "no new role number";
    EXPECT_EQ(CountRows("SELECT * FROM tRight"), 1) << "the old rows of the shared role are gone";
    EXPECT_TRUE(StoredFlag("Add", 1, 2));
    EXPECT_EQ(CountRows("SELECT * FROM tUserRight"), 1);
}

TEST_F(SetUserRightTest, AProjectWithNoRightGetsNoRow)
{
    AddRight(role.get(), 1, {RightFlag::Read});
    AddRight(role.get(), 2, {});
    ASSERT_EQ(admin->SetUserRight(1, role.get()), S_OK);
    EXPECT_EQ(CountRows("SELECT * FROM tRight WHERE ProjectID = 1"), 1);
    EXPECT_EQ(CountRows("SELECT * FROM tRight WHERE ProjectID = 2"), 0);
    EXPECT_EQ(StoredNumber("SELECT NextRightID FROM tNextID"), 2) << "no identifier spent on it";
}

TEST_F(SetUserRightTest, AvailableStatusesAreReplacedOnASecondCall)
{
    ComPtr<CRight> right = AddRight(role.get(), 1, {RightFlag::Read}, {"New", "Active"});
    ASSERT_EQ(admin->SetUserRight(1, role.get()), S_OK);
    EXPECT_EQ(CountRows("SELECT * FROM tAvailableStatus WHERE RightID = 1"), 2);
    EXPECT_EQ(test::StoredText("SELECT StatusName FROM tAvailableStatus WHERE RightID = 1"), "New");
    right->AvailableStatusList()->Remove("New");
    right->AvailableStatusList()->Add("Resolved");
    ASSERT_EQ(admin->SetUserRight(1, role.get()), S_OK);
    EXPECT_EQ(right->ID(), 2);
    EXPECT_EQ(CountRows("SELECT * FROM tAvailableStatus"), 2);
    EXPECT_EQ(CountRows("SELECT * FROM tAvailableStatus WHERE RightID = 2"), 2);
    EXPECT_EQ(CountRows("SELECT * FROM tAvailableStatus WHERE StatusName = 'New'"), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tRight"), 1);
}

TEST_F(SetUserRightTest, AnUnknownUserFailsAndWritesNothing)
{
    AddRight(role.get(), 1, {RightFlag::Read});
    LogWatch watch;
    EXPECT_EQ(admin->SetUserRight(99, role.get()), E_FAIL);
    EXPECT_EQ(ErrorFrom("Admin"), "User(ID=99) does not exist");
    EXPECT_TRUE(watch.Has(kLogGeneral, "CAdmin::SetUserRight", "User(ID=99) does not exist"));
    EXPECT_EQ(watch.Entries().size(), 1u);
    EXPECT_EQ(CountRows("SELECT * FROM tUserRight"), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tRight"), 0);
    EXPECT_EQ(StoredNumber("SELECT NextUserRightID FROM tNextID"), 1);
}

// A role whose write fails half-way leaves the stored role exactly as it was.
TEST_F(SetUserRightTest, AFailureHalfWayLeavesTheOldRole)
{
    AddRight(role.get(), 1, {RightFlag::Read}, {"New"});
    ASSERT_EQ(admin->SetUserRight(1, role.get()), S_OK);
    ComPtr<CUserRight> broken = MakeObject<CUserRight>();
    broken->put_AddProject(1);
    AddRight(broken.get(), 2, {RightFlag::Add});
    AddRight(broken.get(), 1, {RightFlag::Read}, {"No such status"});
    LogWatch watch;
    EXPECT_EQ(admin->SetUserRight(1, broken.get()), E_FAIL);
    EXPECT_EQ(ErrorFrom("Admin"), "Set right to user failed!");
    EXPECT_TRUE(watch.Has(kLogDatabase, "CAdmin::SetUserRight", "tStatus"));
    EXPECT_EQ(test::Stored("SELECT AddProject FROM tUserRight WHERE UserRightID = 1").boolVal(),
              false);
    EXPECT_EQ(CountRows("SELECT * FROM tRight"), 1);
    EXPECT_EQ(StoredNumber("SELECT RightID FROM tRight"), 1);
    EXPECT_EQ(test::StoredText("SELECT StatusName FROM tAvailableStatus WHERE RightID = 1"), "New");
}

TEST_F(SetUserRightTest, AUserWhoseRoleRecordIsMissingGetsARoleOfHisOwn)
{
    AddRight(role.get(), 1, {RightFlag::Read});
    ASSERT_EQ(admin->SetUserRight(1, role.get()), S_OK);
    test::AddUser(2, "carol", 7);
    ASSERT_EQ(admin->SetUserRight(2, role.get()), S_OK);
    EXPECT_EQ(RoleOf(2), 2);
    EXPECT_EQ(RoleOf(1), 1);
    EXPECT_EQ(CountRows("SELECT * FROM tRight WHERE UserRightID = 1"), 1) << "role 1 untouched";
    EXPECT_EQ(CountRows("SELECT * FROM tRight WHERE UserRightID = 2"), 1);
}

TEST_F(SetUserRightTest, AnIdentifierThatCannotBeAllocatedFailsTheWholeRole)
{
    db::Recordset counter;
    counter.Open("SELECT * FROM tNextID", db::ProcessConnectionString());
    counter.Delete();
    counter.Close();
    AddRight(role.get(), 1, {RightFlag::Read});
    LogWatch watch;
    EXPECT_EQ(admin->SetUserRight(1, role.get()), E_FAIL);
    EXPECT_EQ(ErrorFrom("Admin"), "Set right to user failed!");
    EXPECT_TRUE(watch.Has(kLogNextID, "GetNextID"));
    EXPECT_TRUE(watch.Has(kLogGeneral, "CAdmin::SetUserRight", "GetNextID returns 0"));
    EXPECT_EQ(RoleOf(1), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tUserRight"), 0);
}

TEST_F(SetUserRightTest, ANullRoleIsRefused)
{
    LogWatch watch;
    EXPECT_EQ(admin->SetUserRight(1, nullptr), E_FAIL);
    EXPECT_EQ(ErrorFrom("Admin"), "Set right to user failed!");
    EXPECT_TRUE(watch.Has(kLogGeneral, "CAdmin::SetUserRight", "Invalid Pointer"));
}

TEST(AdminObject, NewSQLDBDoesNothingAndSucceeds)
{
    ComPtr<CAdmin> admin = MakeObject<CAdmin>();
    EXPECT_EQ(admin->NewSQLDB("server", "database"), S_OK);
    EXPECT_EQ(admin->NewSQLDB("", ""), S_OK);
}

}  // namespace
}  // namespace lindor
