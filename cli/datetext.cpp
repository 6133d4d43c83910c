#include "datetext.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace cli {
namespace {

constexpr double kSecondsPerDay = 86400.0;

// Days between 1 March of year 0 and a civil date (proleptic Gregorian).
long DaysFromCivil(int year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yearOfEra = year - era * 400;
    const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra;
}

struct Civil {
    int year, month, day, hour, minute, second;
};

Civil CivilFromDays(long days, long secondOfDay)
{
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const long dayOfEra = days - era * 146097;
    const long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long monthIndex = (5 * dayOfYear + 2) / 153;
    Civil civil{};
    civil.day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    civil.month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    civil.year = static_cast<int>(yearOfEra + era * 400 + (civil.month <= 2 ? 1 : 0));
    civil.hour = static_cast<int>(secondOfDay / 3600);
    civil.minute = static_cast<int>(secondOfDay / 60 % 60);
    civil.second = static_cast<int>(secondOfDay % 60);
    return civil;
}

const long kEpoch = DaysFromCivil(1899, 12, 30);

Civil CivilOf(double date)
{
    const long long seconds = std::llround(date * kSecondsPerDay);
    long long days = seconds / 86400;
    long long secondOfDay = seconds % 86400;
    if (secondOfDay < 0) {
        secondOfDay += 86400;
        --days;
    }
    return CivilFromDays(static_cast<long>(days) + kEpoch, static_cast<long>(secondOfDay));
}

int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

}  // namespace

double DateOf(int year, int month, int day, int hour, int minute, int second)
{
    return static_cast<double>(DaysFromCivil(year, month, day) - kEpoch) +
           (hour * 3600 + minute * 60 + second) / kSecondsPerDay;
}

std::optional<double> ParseDateText(const std::string& text)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, used = 0;
    char separator = ' ';
    const int fields = std::sscanf(text.c_str(), "%4d-%2d-%2d%n%c%2d:%2d%n:%2d%n", &year, &month,
                                   &day, &used, &separator, &hour, &minute, &used, &second, &used);
    const bool shapeOk = (fields == 3 || fields == 6 || fields == 7) &&
                         static_cast<std::size_t>(used) == text.size() &&
                         (fields == 3 || separator == ' ' || separator == 'T');
    if (!shapeOk) return std::nullopt;
    if (year < 1900 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return DateOf(year, month, day, hour, minute, second);
}

std::string IsoDateText(double date)
{
    if (date == 0.0) return std::string();
    const Civil c = CivilOf(date);
    char text[32];
    std::snprintf(text, sizeof(text), "%04d-%02d-%02dT%02d:%02d:%02d", c.year, c.month, c.day,
                  c.hour, c.minute, c.second);
    return text;
}

std::string ShortDateText(double date)
{
    if (date == 0.0) return std::string();
    const Civil c = CivilOf(date);
    char text[32];
    std::snprintf(text, sizeof(text), "%04d-%02d-%02d %02d:%02d", c.year, c.month, c.day, c.hour,
                  c.minute);
    return text;
}

double Now()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return DateOf(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec);
}

}  // namespace cli
