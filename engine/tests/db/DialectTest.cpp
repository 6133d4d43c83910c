#include <gtest/gtest.h>

#include "core/DateTime.h"
#include "db/DatabaseError.h"
#include "db/Dialect.h"
#include "db/SchemaType.h"

namespace lindor::db {
namespace {

std::string Day(int y, int m, int d)
{
    return std::to_string(DayNumber(y, m, d));
}

TEST(Dialect, DateComparisonsBecomeWholeDayRanges)
{
    const std::string day = Day(2005, 3, 5), next = Day(2005, 3, 6);
    EXPECT_EQ(TranslateSql("DateDue < 3/5/2005"), "DateDue < " + day);
    EXPECT_EQ(TranslateSql("DateDue <= 3/5/2005"), "DateDue < " + next);
    EXPECT_EQ(TranslateSql("DateDue > 3/5/2005"), "DateDue >= " + next);
    EXPECT_EQ(TranslateSql("DateDue >= 3/5/2005"), "DateDue >= " + day);
    EXPECT_EQ(TranslateSql("DateDue = 3/5/2005"),
              "(DateDue >= " + day + " AND DateDue < " + next + ")");
    EXPECT_EQ(TranslateSql("DateDue <> 3/5/2005"),
              "(DateDue < " + day + " OR DateDue >= " + next + ")");
    EXPECT_EQ(TranslateSql("DateDue NOT 3/5/2005"),
              "(DateDue < " + day + " OR DateDue >= " + next + ")");
}

TEST(Dialect, DatesInsideGroupsAndWithHashMarks)
{
    const std::string day = Day(2026, 12, 8), next = Day(2026, 12, 9);
    EXPECT_EQ(TranslateSql("BugType = 0 AND (ReportedDate = 12/8/2026 OR FixedDate = #12/8/2026#)"),
              "BugType = 0 AND ((ReportedDate >= " + day + " AND ReportedDate < " + next +
                  ") OR (FixedDate >= " + day + " AND FixedDate < " + next + "))");
    EXPECT_EQ(TranslateSql("tBugReport.DateDue<3/5/2005"),
              "tBugReport.DateDue < " + Day(2005, 3, 5));
}

TEST(Dialect, TextThatLooksLikeADateStaysText)
{
    EXPECT_EQ(TranslateSql("Description = '3/5/2005'"), "Description = '3/5/2005'");
    EXPECT_EQ(TranslateSql("Description LIKE 'it''s 1/2/2003'"),
              "Description LIKE 'it''s 1/2/2003'");
    EXPECT_EQ(TranslateSql("BugID = 12"), "BugID = 12");
}

TEST(Dialect, ImpossibleDatesAreRefused)
{
    EXPECT_THROW(TranslateSql("DateDue < 13/5/2005"), DatabaseError);
    EXPECT_THROW(TranslateSql("DateDue < 2/30/2005"), DatabaseError);
}

TEST(Dialect, InfixNotComparesForInequality)
{
    EXPECT_EQ(TranslateSql("StatusName NOT 'New'"), "StatusName <> 'New'");
    EXPECT_EQ(TranslateSql("BugID NOT 5"), "BugID <> 5");
    EXPECT_EQ(TranslateSql("NOT (BugID = 5)"), "NOT (BugID = 5)");
    EXPECT_EQ(TranslateSql("Description NOT LIKE 'a%'"), "Description NOT LIKE 'a%'");
}

TEST(Dialect, UnterminatedTextIsASyntaxError)
{
    try {
        TranslateSql("StatusName = 'New");
        FAIL();
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.code(), dberr::kSyntax);
    }
}

TEST(Dialect, OneConditionKeepsItsBracketsAndNothingElse)
{
    EXPECT_TRUE(IsOneCondition("StatusName = 'New'"));
    EXPECT_TRUE(IsOneCondition("A = 1 AND (B = 2 OR (C = 3))"));
    EXPECT_TRUE(IsOneCondition("Description = 'a) OR (b' AND BugID = -1"))
        << "brackets inside a text do not count";
    EXPECT_TRUE(IsOneCondition("DateDue < 3/5/2005 AND BugID = - -1"));
    EXPECT_FALSE(IsOneCondition("A = 1) OR (B = 2"));
    EXPECT_FALSE(IsOneCondition("(A = 1"));
    EXPECT_FALSE(IsOneCondition("A = 1 --"));
    EXPECT_FALSE(IsOneCondition("A = 1 /* (*/"));
    EXPECT_FALSE(IsOneCondition("A = 1; DELETE FROM tBugReport"));
    EXPECT_FALSE(IsOneCondition("A = 'open"));
}

TEST(Dialect, QuotingDoublesQuotes)
{
    EXPECT_EQ(QuoteText("O'Hara"), "'O''Hara'");
    EXPECT_EQ(QuoteText("x' OR '1'='1"), "'x'' OR ''1''=''1'");
    EXPECT_EQ(QuoteName("IE version"), "\"IE version\"");
}

TEST(Dialect, RecognisesPlainSingleTableSelects)
{
    SingleTableQuery q =
        ParseSingleTableQuery("SELECT * FROM tBugReport WHERE BugID = 1 ORDER BY BugID");
    EXPECT_EQ(q.table, "tBugReport");
    EXPECT_EQ(q.selectList, std::vector<std::string>({"*"}));
    EXPECT_EQ(q.fromRest, "tBugReport WHERE BugID = 1 ORDER BY BugID");

    q = ParseSingleTableQuery("SELECT UserID,Password FROM tUser WHERE LoginName = 'a'");
    EXPECT_EQ(q.selectList, std::vector<std::string>({"UserID", "Password"}));

    q = ParseSingleTableQuery("SELECT tProject.* FROM tProject");
    EXPECT_EQ(q.selectList, std::vector<std::string>({"*"}));

    EXPECT_TRUE(ParseSingleTableQuery("SELECT tProject.* FROM (tUserRight INNER JOIN tUser ON a=b)")
                    .table.empty());
    EXPECT_TRUE(ParseSingleTableQuery("SELECT count(*) FROM tUser").table.empty());
    EXPECT_TRUE(ParseSingleTableQuery("SELECT DISTINCT Name FROM tProject").table.empty());
    EXPECT_TRUE(ParseSingleTableQuery("SELECT a FROM t1, t2").table.empty());
}

TEST(Dialect, SchemaTypesRoundTripThroughDeclaredTypes)
{
    for (SchemaType t : {SchemaType::Long, SchemaType::Memo, SchemaType::LongBinary,
                         SchemaType::Date, SchemaType::YesNo}) {
        EXPECT_EQ(SchemaTypeFromDeclared(DeclaredTypeFor(t, 0)), t);
    }
    int size = 0;
    EXPECT_EQ(SchemaTypeFromDeclared(DeclaredTypeFor(SchemaType::Text, 255), &size),
              SchemaType::Text);
    EXPECT_EQ(size, 255);
    EXPECT_EQ(SchemaTypeFromDeclared("BLOB"), SchemaType::Unknown);
}

}  // namespace
}  // namespace lindor::db
