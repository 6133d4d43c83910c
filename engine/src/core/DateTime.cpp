#include "core/DateTime.h"

#include <cmath>

namespace lindor {
namespace {

constexpr long kSecondsPerDay = 86400;
// Days from 1970-01-01 back to 1899-12-30.
constexpr long kEpochOffset = 25569;

// Days since 1970-01-01 of a proleptic Gregorian date.
long DaysFromCivil(long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

void CivilFromDays(long z, int* year, int* month, int* day)
{
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long y = static_cast<long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    *day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    *month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    *year = static_cast<int>(y + (*month <= 2));
}

// Splits a date into its day number and its seconds since midnight.
void SplitDate(Date date, long* days, long* seconds)
{
    const double whole = std::trunc(date);
    long secs = std::lround(std::fabs(date - whole) * kSecondsPerDay);
    long day = static_cast<long>(whole);
    if (secs >= kSecondsPerDay) {  // rounding reached the next midnight
        secs -= kSecondsPerDay;
        day += date < 0 ? -1 : 1;
    }
    *days = day;
    *seconds = secs;
}

Date JoinDate(long days, long seconds)
{
    const double fraction = static_cast<double>(seconds) / kSecondsPerDay;
    return days < 0 ? static_cast<double>(days) - fraction : static_cast<double>(days) + fraction;
}

}  // namespace

long DayNumber(int year, int month, int day)
{
    return DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
           kEpochOffset;
}

bool IsValidCivilDate(int year, int month, int day)
{
    if (month < 1 || month > 12 || day < 1 || day > 31) return false;
    int y = 0, m = 0, d = 0;
    CivilFromDays(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)), &y,
                  &m, &d);
    return y == year && m == month && d == day;
}

Date DateFromCivil(const CivilTime& c)
{
    const long seconds = c.hour * 3600L + c.minute * 60L + c.second;
    return JoinDate(DayNumber(c.year, c.month, c.day), seconds);
}

CivilTime CivilFromDate(Date date)
{
    long days = 0, seconds = 0;
    SplitDate(date, &days, &seconds);
    CivilTime c;
    CivilFromDays(days - kEpochOffset, &c.year, &c.month, &c.day);
    c.hour = static_cast<int>(seconds / 3600);
    c.minute = static_cast<int>(seconds / 60 % 60);
    c.second = static_cast<int>(seconds % 60);
    return c;
}

Date DateFromTimeT(std::time_t t)
{
    std::tm local{};
    localtime_r(&t, &local);
    CivilTime c;
    c.year = local.tm_year + 1900;
    c.month = local.tm_mon + 1;
    c.day = local.tm_mday;
    c.hour = local.tm_hour;
    c.minute = local.tm_min;
    c.second = local.tm_sec;
    return DateFromCivil(c);
}

std::time_t TimeTFromDate(Date date)
{
    const CivilTime c = CivilFromDate(date);
    std::tm local{};
    local.tm_year = c.year - 1900;
    local.tm_mon = c.month - 1;
    local.tm_mday = c.day;
    local.tm_hour = c.hour;
    local.tm_min = c.minute;
    local.tm_sec = c.second;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

Date Now()
{
    return DateFromTimeT(std::time(nullptr));
}

}  // namespace lindor
