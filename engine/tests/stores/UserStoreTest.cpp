// The user store's writes and look-ups on a real database: deletes remove
// exactly the dependent rows, and caller texts are matched literally.
#include <gtest/gtest.h>

#include "stores/UserStore.h"
#include "support/ContextTestSupport.h"

namespace lindor {
namespace {

using test::CountRows;

class UserStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::NewDatabase();
        connection_.Open(db::ProcessConnectionString());
    }

    db::Connection connection_;
};

TEST_F(UserStoreTest, DeletingARolesRightsLeavesOtherRolesAlone)
{
    test::AddRole(4, false);
    test::AddRole(5, false);
    test::AddRight(40, 4, 1);
    test::AddRight(41, 4, 2);
    test::AddRight(50, 5, 1);
    test::AddAvailableStatus(40, "New");
    test::AddAvailableStatus(41, "New");
    test::AddAvailableStatus(50, "New");

    stores::DeleteRightsOfRole(connection_, 4);

    EXPECT_EQ(CountRows("SELECT * FROM tRight WHERE UserRightID = 4"), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tAvailableStatus WHERE RightID IN (40, 41)"), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tRight WHERE RightID = 50"), 1);
    EXPECT_EQ(CountRows("SELECT * FROM tAvailableStatus WHERE RightID = 50"), 1);
    EXPECT_EQ(CountRows("SELECT * FROM tUserRight WHERE UserRightID IN (4, 5)"), 2);
}

TEST_F(UserStoreTest, DeletingAUserTakesItsAssignmentsOnly)
{
    test::AddUser(7, "seven");
    test::AddUser(8, "eight");
    test::AddClassification(1, 1);
    test::AssignClassification(7, 1);
    test::AssignClassification(8, 1);

    EXPECT_TRUE(stores::DeleteUser(connection_, 7));
    EXPECT_FALSE(stores::DeleteUser(connection_, 7));

    EXPECT_EQ(CountRows("SELECT * FROM tUser WHERE UserID = 7"), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tUserClassification WHERE UserID = 7"), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tUserClassification WHERE UserID = 8"), 1);
}

TEST_F(UserStoreTest, ReplacingAssignmentsKeepsThoseNotNamed)
{
    test::AddUser(7, "seven");
    test::AddClassification(1, 1);
    test::AddClassification(2, 1);
    test::AddClassification(3, 2);
    test::AssignClassification(7, 1);
    test::AssignClassification(7, 3);

    stores::ReplaceAssignments(connection_, 7, {1, 2}, {2});

    EXPECT_EQ(CountRows("SELECT * FROM tUserClassification WHERE UserID = 7 AND "
                        "ClassificationID IN (2, 3)"),
              2);
    EXPECT_EQ(CountRows("SELECT * FROM tUserClassification WHERE UserID = 7"), 2);
}

TEST_F(UserStoreTest, LoginNamesAreMatchedLiterallyAndWithoutCase)
{
    test::AddUser(7, "O'Hara");
    test::AddUser(8, "plain");

    EXPECT_TRUE(stores::LoginNameTaken(connection_, "o'hara"));
    EXPECT_FALSE(stores::LoginNameTaken(connection_, "O'Hara", 7));
    EXPECT_FALSE(stores::LoginNameTaken(connection_, "' OR ''='"));

    db::Recordset row;
    stores::OpenLogin(row, connection_, "O'Hara");
    ASSERT_FALSE(row.IsEOF());
    EXPECT_EQ(row.Fields("UserID").Value().i4(), 7);
}

}  // namespace
}  // namespace lindor
