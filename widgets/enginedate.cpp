#include "widgets/enginedate.h"

#include <algorithm>
#include <cmath>

namespace nimbra {

namespace {

const QDate kEpoch(1899, 12, 30);
constexpr double kMillisecondsPerDay = 86400000.0;

}  // namespace

// Before the epoch the whole days count backwards while the fraction still
// counts forward from midnight (-1.25 is 29 December 1899, 06:00).
QDateTime EngineDate::toDateTime(double value)
{
    if (value == 0.0 || !std::isfinite(value)) return QDateTime();
    const double days = std::trunc(value);
    const double fraction = std::fabs(value - days);
    const auto millis = std::min(static_cast<int>(std::lround(fraction * kMillisecondsPerDay)),
                                 static_cast<int>(kMillisecondsPerDay) - 1);
    const QDate date = kEpoch.addDays(static_cast<qint64>(days));
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(millis));
}

double EngineDate::fromDateTime(const QDateTime& dateTime)
{
    if (!dateTime.isValid()) return 0.0;
    const QDateTime local = dateTime.toLocalTime();
    const double days = static_cast<double>(kEpoch.daysTo(local.date()));
    const double fraction = local.time().msecsSinceStartOfDay() / kMillisecondsPerDay;
    return days >= 0 ? days + fraction : days - fraction;
}

double EngineDate::now()
{
    return fromDateTime(QDateTime::currentDateTime());
}

}  // namespace nimbra
