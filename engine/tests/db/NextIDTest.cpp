#include <gtest/gtest.h>

#include "db/DbTestSupport.h"
#include "db/NextID.h"

namespace lindor {
namespace {

std::int32_t Stored(const std::string& column)
{
    db::Recordset rs;
    rs.Open("SELECT " + column + " FROM tNextID", db::ProcessConnectionString(),
            db::CursorType::Static, db::LockType::ReadOnly);
    return rs.Fields(0).Value().i4();
}

TEST(GetNextID, HandsOutTheCounterAndStoresTheNextOne)
{
    test::NewDatabase();
    EXPECT_EQ(GetNextID("NextBugID"), 1);
    EXPECT_EQ(GetNextID("NextBugID"), 2);
    EXPECT_EQ(Stored("NextBugID"), 3);
    EXPECT_EQ(GetNextID("NextProjectID"), 3);
    EXPECT_EQ(GetNextID("NextVersionID"), 5);
}

TEST(GetNextID, AnUnknownColumnGivesZeroAndOneLogEntry)
{
    test::NewDatabase();
    test::LogWatch log;
    EXPECT_EQ(GetNextID("NextNothingID"), 0);
    ASSERT_EQ(log.Entries().size(), 1u);
    EXPECT_EQ(log.Entries()[0].code, 9);
    EXPECT_EQ(log.Entries()[0].source, "GetNextID");
    EXPECT_NE(log.Entries()[0].description.find("\t(Source="), std::string::npos);
}

TEST(GetNextID, FailsCleanlyWithoutADatabaseOrACounterRow)
{
    db::SetProcessConnectionString("");
    EXPECT_EQ(GetNextID("NextBugID"), 0);
    const std::string path = test::NewDatabase();
    db::Connection connection(db::BuildConnectionString(path));
    db::Recordset counters;
    counters.Open("SELECT * FROM tNextID", connection);
    counters.Delete();
    test::LogWatch log;
    EXPECT_EQ(GetNextID("NextBugID"), 0);
    EXPECT_TRUE(log.Has(9, "GetNextID"));
}

TEST(GetNextID, WorksWhileAnotherConnectionHoldsATransaction)
{
    const std::string path = test::NewDatabase();
    db::Connection connection(db::BuildConnectionString(path));
    db::Transaction transaction(connection);
    db::testing::AddBug(connection, {100});
    EXPECT_EQ(GetNextID("NextBugID"), 1);
    EXPECT_EQ(GetNextID("NextBugID"), 2);
    transaction.Commit();
    EXPECT_EQ(Stored("NextBugID"), 3);
}

}  // namespace
}  // namespace lindor
