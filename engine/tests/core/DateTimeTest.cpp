#include <gtest/gtest.h>

#include "core/DateTime.h"

namespace lindor {
namespace {

TEST(DateTime, KnownDayNumbers)
{
    EXPECT_EQ(DateFromCivil({1899, 12, 30, 0, 0, 0}), 0.0);
    EXPECT_EQ(DateFromCivil({1900, 1, 1, 0, 0, 0}), 2.0);
    EXPECT_EQ(DateFromCivil({2005, 3, 5, 0, 0, 0}), 38416.0);
    EXPECT_DOUBLE_EQ(DateFromCivil({2005, 3, 5, 18, 0, 0}), 38416.75);
    EXPECT_DOUBLE_EQ(DateFromCivil({1899, 12, 29, 6, 0, 0}), -1.25);
}

TEST(DateTime, RoundTripsThroughCalendarAndTime)
{
    const CivilTime samples[] = {{2026, 12, 8, 23, 59, 59},
                                 {2000, 2, 29, 12, 0, 1},
                                 {1899, 12, 30, 0, 0, 0},
                                 {1850, 6, 15, 8, 30, 0},
                                 {2099, 1, 1, 0, 0, 1}};
    for (const CivilTime& c : samples) {
        const CivilTime back = CivilFromDate(DateFromCivil(c));
        EXPECT_EQ(back.year, c.year);
        EXPECT_EQ(back.month, c.month);
        EXPECT_EQ(back.day, c.day);
        EXPECT_EQ(back.hour, c.hour);
        EXPECT_EQ(back.minute, c.minute);
        EXPECT_EQ(back.second, c.second);
    }
}

TEST(DateTime, RoundsToTheSecondWithoutLosingADay)
{
    const CivilTime c = CivilFromDate(38416.0 - 1e-9);  // a hair before midnight
    EXPECT_EQ(c.day, 5);
    EXPECT_EQ(c.hour, 0);
}

TEST(DateTime, TimeTConversionIsLocalTime)
{
    const std::time_t t = 1700000000;  // any moment
    const Date d = DateFromTimeT(t);
    EXPECT_EQ(TimeTFromDate(d), t);
    std::tm local{};
    localtime_r(&t, &local);
    const CivilTime c = CivilFromDate(d);
    EXPECT_EQ(c.hour, local.tm_hour);
    EXPECT_EQ(c.day, local.tm_mday);
}

TEST(DateTime, NowIsToday)
{
    const Date now = Now();
    EXPECT_GT(now, DateFromCivil({2020, 1, 1, 0, 0, 0}));
    EXPECT_NEAR(now, DateFromTimeT(std::time(nullptr)), 2.0 / 86400);
}

TEST(DateTime, ValidatesCalendarDates)
{
    EXPECT_TRUE(IsValidCivilDate(2024, 2, 29));
    EXPECT_FALSE(IsValidCivilDate(2023, 2, 29));
    EXPECT_FALSE(IsValidCivilDate(2023, 13, 1));
    EXPECT_FALSE(IsValidCivilDate(2023, 4, 31));
    EXPECT_FALSE(IsValidCivilDate(2023, 0, 10));
}

}  // namespace
}  // namespace lindor
