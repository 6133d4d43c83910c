// The engine's dates (days since 30 December 1899, local time, 0 = not set)
// as text and back.
#pragma once

#include <optional>
#include <string>

namespace cli {

// "YYYY-MM-DD", "YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS" ("T" may stand for
// the blank); nothing for any other text or an impossible date.
std::optional<double> ParseDateText(const std::string& text);

// "YYYY-MM-DDTHH:MM:SS" (ISO 8601, local time); empty for 0.
std::string IsoDateText(double date);

// "YYYY-MM-DD HH:MM", as a table shows it; empty for 0.
std::string ShortDateText(double date);

// The current local time as an engine date, to the second.
double Now();

// The engine date of a calendar day and time.
double DateOf(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

}  // namespace cli
