#include <gtest/gtest.h>

#include "db/DbTestSupport.h"

namespace lindor::db {
namespace {

using testing::AddBug;
using testing::BugIDs;

class BoundParameterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = test::NewDatabase();
        connection.Open(BuildConnectionString(path));
    }

    std::string path;
    Connection connection;
};

TEST_F(BoundParameterTest, TextValuesMatchAsWrittenWhateverTheyHold)
{
    AddBug(connection, {1, "New", "it's broken"});
    AddBug(connection, {2, "New", "' OR 1=1 --"});
    AddBug(connection, {3, "New", "plain"});
    for (CursorType cursor : {CursorType::Keyset, CursorType::Static}) {
        Recordset rs;
        rs.Open({"SELECT * FROM tBugReport WHERE Description = ?", std::string("' OR 1=1 --")},
                connection, cursor);
        EXPECT_EQ(BugIDs(rs), std::vector<int>({2})) << "a quote in a value is no SQL";
        rs.Open({"SELECT * FROM tBugReport WHERE Description = ?", "it's broken"}, connection,
                cursor);
        EXPECT_EQ(BugIDs(rs), std::vector<int>({1}));
    }
}

// Past the first page of keys the cursor counts the rows with a statement of
// its own, and a requery runs the query again: both need the values.
TEST_F(BoundParameterTest, EveryStatementOfAKeyedCursorSeesTheValues)
{
    Transaction adding(connection);
    for (int id = 1; id <= 600; ++id) AddBug(connection, {id, id % 2 == 0 ? "Active" : "New"});
    adding.Commit();
    Recordset rs;
    rs.Open({"SELECT * FROM tBugReport WHERE StatusName = ? AND BugID > ? ORDER BY BugID", "Active",
             100},
            connection);
    EXPECT_EQ(rs.RecordCount(), 250);
    rs.SetAbsolutePosition(250);
    EXPECT_EQ(rs.Fields("BugID").Value().i4(), 600);
    AddBug(connection, {601, "New"});
    AddBug(connection, {602, "Active"});
    rs.Requery();
    EXPECT_EQ(rs.RecordCount(), 251);
    rs.Fields("Description").SetValue(Variant::Text("first open one above 100"));
    rs.Update();
    rs.Open({"SELECT * FROM tBugReport WHERE Description = ?", "first open one above 100"},
            connection);
    EXPECT_EQ(BugIDs(rs), std::vector<int>({102}));
}

TEST_F(BoundParameterTest, AJoinTakesValuesToo)
{
    AddBug(connection, {1, "New"});
    AddBug(connection, {2, "Resolved"});
    Recordset rs;
    rs.Open({"SELECT tBugReport.BugID, tStatus.StatusName FROM tBugReport INNER JOIN tStatus ON "
             "tBugReport.StatusName = tStatus.StatusName WHERE tBugReport.BugID = ?",
             2},
            connection, CursorType::Static, LockType::ReadOnly);
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields("StatusName").Value().text(), "Resolved");
    rs.Requery();
    EXPECT_EQ(rs.RecordCount(), 1);
}

TEST_F(BoundParameterTest, ATableTakesNoValues)
{
    Recordset rs;
    EXPECT_THROW(rs.Open({"tBugReport", 1}, connection, CursorType::Keyset, LockType::Optimistic,
                         CommandKind::Table),
                 DatabaseError);
    EXPECT_FALSE(rs.IsOpen());
}

}  // namespace
}  // namespace lindor::db
