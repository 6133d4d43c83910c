// The texts the client shows for a bug's values: dates, durations and the
// status icon that stands for a status text.
#pragma once

#include <QString>

namespace nimbra {

class BugTexts {
public:
    // Empty for 0.0. With an empty format, the locale's short date format;
    // otherwise the % codes of `format` (%Y %y %B %b %m %d %A %a %H %I %M %S
    // %p %j %%, "%#d" without leading zero) filled from the date.
    static QString dateText(double engineDate, const QString& format);
    // Whole minutes as "%dd %dh %dm": 1500 gives "1d 1h 0m".
    static QString durationText(int minutes);
    // 0 to 9 for the ten known statuses, 0 for any other text.
    static int statusIconIndex(const QString& status);
    static constexpr int kStatusIconCount = 10;
};

}  // namespace nimbra
