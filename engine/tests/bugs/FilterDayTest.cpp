// The day a date condition names, as the bug list's date filters (such as
// the bugs reported today) depend on it.
#include <gtest/gtest.h>

#include "bugs/BugTestSupport.h"
#include "core/DateTime.h"

namespace lindor {
namespace {

std::string TextOf(const Variant& date)
{
    std::string text;
    EXPECT_EQ(test::Condition("ReportedDate", Equal, date)->GetSQL(&text), S_OK);
    return text;
}

TEST(DateConditionDay, IsTheDayTheValueFallsOnAtAnyTimeOfIt)
{
    const Date march5 = DateFromCivil({2005, 3, 5, 0, 0, 0});
    EXPECT_EQ(TextOf(Variant::Date(march5)), "ReportedDate = 3/5/2005");
    EXPECT_EQ(TextOf(Variant::Date(march5 + 0.5)), "ReportedDate = 3/5/2005");
    // 23:59:59.9 is still the 5th, although it rounds to the 6th at midnight.
    EXPECT_EQ(TextOf(Variant::Date(march5 + 1.0 - 0.1 / 86400)), "ReportedDate = 3/5/2005");
}

TEST(DateConditionDay, DaysBefore1900CountTheirTimeForwardToo)
{
    // -1.25 is 29 December 1899 at 06:00.
    EXPECT_EQ(TextOf(Variant::Date(-1.25)), "ReportedDate = 12/29/1899");
    EXPECT_EQ(TextOf(Variant::Date(-1.0 - 0.1 / 86400)), "ReportedDate = 12/29/1899");
}

}  // namespace
}  // namespace lindor
