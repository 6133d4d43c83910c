// The engine's date value: days since 30 December 1899 in local time, the
// fraction being the time of day; 0.0 means "not set".
#pragma once

#include <QDateTime>

namespace nimbra {

class EngineDate {
public:
    // An invalid QDateTime for 0.0.
    static QDateTime toDateTime(double value);
    // 0.0 for an invalid QDateTime.
    static double fromDateTime(const QDateTime& dateTime);
    static double now();
};

}  // namespace nimbra
