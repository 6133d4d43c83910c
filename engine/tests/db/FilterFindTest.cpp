#include <gtest/gtest.h>

#include "db/DbTestSupport.h"

namespace lindor::db {
namespace {

using testing::AddBug;
using testing::BugIDs;

class FilterFindTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        connection.Open(BuildConnectionString(test::NewDatabase()));
        const double day = DateFromCivil({2005, 3, 5, 0, 0, 0});
        AddBug(connection, {1, "New", "crash on start", day + 0.65, "High"});   // 5 Mar 15:36
        AddBug(connection, {2, "Active", "slow list", day - 1 + 0.99, "Low"});  // 4 Mar late
        AddBug(connection, {3, "New", "wrong total", day + 1, "Low"});          // 6 Mar 00:00
        AddBug(connection, {4, "Waiting", "Crash in print", day, "High"});      // 5 Mar 00:00
        AddBug(connection, {5, "Resolved", "it's fixed", 0, "Normal"});
        rs.Open("SELECT * FROM tBugReport ORDER BY BugID", connection);
    }

    std::vector<int> Filtered(const std::string& criterion)
    {
        rs.SetFilter(criterion);
        return BugIDs(rs);
    }

    Connection connection;
    Recordset rs;
};

TEST_F(FilterFindTest, FiltersWithAndOrAndBrackets)
{
    EXPECT_EQ(Filtered("StatusName = 'New' OR PriorityName = 'High'"), std::vector<int>({1, 3, 4}));
    EXPECT_EQ(Filtered("PriorityName = 'Low' AND (StatusName = 'New' OR StatusName = 'Active')"),
              std::vector<int>({2, 3}));
    EXPECT_EQ(Filtered("(PriorityName = 'Low' AND StatusName = 'New') OR BugID = 5"),
              std::vector<int>({3, 5}));
    EXPECT_EQ(Filtered("StatusName NOT 'New'"), std::vector<int>({2, 4, 5}));
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_EQ(Filtered(""), std::vector<int>({1, 2, 3, 4, 5})) << "an empty filter shows all rows";
}

TEST_F(FilterFindTest, LikeTakesPercentAndUnderscoreWithoutRegardToCase)
{
    EXPECT_EQ(Filtered("Description LIKE 'crash%'"), std::vector<int>({1, 4}));
    EXPECT_EQ(Filtered("Description LIKE '%o_ %'"), std::vector<int>({1, 2}));
    EXPECT_EQ(Filtered("Description LIKE 'it''s%'"), std::vector<int>({5}));
}

TEST_F(FilterFindTest, DateConditionsCompareWholeDays)
{
    EXPECT_EQ(Filtered("ReportedDate = 3/5/2005"), std::vector<int>({1, 4}));
    EXPECT_EQ(Filtered("ReportedDate < 3/5/2005"), std::vector<int>({2})) << "NULL matches nothing";
    EXPECT_EQ(Filtered("ReportedDate <= 3/5/2005"), std::vector<int>({1, 2, 4}));
    EXPECT_EQ(Filtered("ReportedDate > 3/5/2005"), std::vector<int>({3}));
    EXPECT_EQ(Filtered("ReportedDate >= 3/5/2005 AND PriorityName = 'Low'"), std::vector<int>({3}));
    EXPECT_EQ(Filtered("ReportedDate <> 3/5/2005 AND BugID < 5"), std::vector<int>({2, 3}));
}

TEST_F(FilterFindTest, AFilterShowsOnlyTheCursorsOwnRows)
{
    AddBug(connection, {6, "New"});
    EXPECT_EQ(Filtered("StatusName = 'New'"), std::vector<int>({1, 3}))
        << "bug 6 came after the open";
    rs.Requery();
    EXPECT_EQ(Filtered("StatusName = 'New'"), std::vector<int>({1, 3, 6}));
}

TEST_F(FilterFindTest, ABadCriterionIsADatabaseError)
{
    EXPECT_THROW(rs.SetFilter("(StatusName = 'New'"), DatabaseError);
    EXPECT_THROW(rs.SetFilter("NoColumn = 1"), DatabaseError);
}

TEST_F(FilterFindTest, FindSearchesFromTheCurrentRowOn)
{
    rs.MoveFirst();
    ASSERT_TRUE(rs.Find("PriorityName = 'Low'"));
    EXPECT_EQ(rs.Fields("BugID").Value().i4(), 2);
    ASSERT_TRUE(rs.Find("PriorityName = 'Low'")) << "the current row itself matches";
    EXPECT_EQ(rs.Fields("BugID").Value().i4(), 2);
    rs.MoveNext();
    ASSERT_TRUE(rs.Find("PriorityName = 'Low'"));
    EXPECT_EQ(rs.Fields("BugID").Value().i4(), 3);
    rs.MoveNext();
    EXPECT_FALSE(rs.Find("PriorityName = 'Low'"));
    EXPECT_TRUE(rs.IsEOF());
    rs.MoveFirst();
    EXPECT_TRUE(rs.Find("BugID=5"));
    EXPECT_EQ(rs.AbsolutePosition(), 5);
    rs.MoveFirst();
    EXPECT_TRUE(rs.Find("ReportedDate = 3/6/2005"));
    EXPECT_EQ(rs.Fields("BugID").Value().i4(), 3);
}

TEST_F(FilterFindTest, FindWorksInsideAFilter)
{
    rs.SetFilter("PriorityName = 'High'");
    EXPECT_TRUE(rs.Find("BugID=4"));
    EXPECT_EQ(rs.AbsolutePosition(), 2);
    rs.MoveFirst();
    EXPECT_FALSE(rs.Find("BugID=3")) << "bug 3 is hidden by the filter";
}

}  // namespace
}  // namespace lindor::db
