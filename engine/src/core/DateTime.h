// The engine's date value: days since 30 December 1899, local time, with the
// time of day as the fraction. Days before that date are negative, and their
// fraction still counts forward from midnight (-1.25 is 29 Dec 1899, 06:00).
#pragma once

#include <ctime>

#include <lindor/Types.h>

namespace lindor {

struct CivilTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

Date DateFromCivil(const CivilTime& civil);
// Rounded to the nearest second.
CivilTime CivilFromDate(Date date);

Date DateFromTimeT(std::time_t t);
std::time_t TimeTFromDate(Date date);
Date Now();

// The day number (whole days since 30 December 1899) of a calendar date.
long DayNumber(int year, int month, int day);
// True when (year, month, day) names a real calendar date.
bool IsValidCivilDate(int year, int month, int day);

}  // namespace lindor
