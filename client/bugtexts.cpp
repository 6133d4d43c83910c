#include "client/bugtexts.h"

#include <QDateTime>
#include <QLocale>
#include <QStringList>

#include "widgets/enginedate.h"

namespace nimbra {

namespace {

QString Padded(int value, int width, bool pad)
{
    return pad ? QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'))
               : QString::number(value);
}

// One % code; an unknown code is copied as it stands.
QString Code(QChar code, bool pad, const QDateTime& when)
{
    const QLocale locale;
    const QDate date = when.date();
    const QTime time = when.time();
    switch (code.toLatin1()) {
        case 'Y':
            return QString::number(date.year());
        case 'y':
            return Padded(date.year() % 100, 2, pad);
        case 'B':
            return locale.monthName(date.month(), QLocale::LongFormat);
        case 'b':
            return locale.monthName(date.month(), QLocale::ShortFormat);
        case 'm':
            return Padded(date.month(), 2, pad);
        case 'd':
            return Padded(date.day(), 2, pad);
        case 'A':
            return locale.dayName(date.dayOfWeek(), QLocale::LongFormat);
        case 'a':
            return locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
        case 'H':
            return Padded(time.hour(), 2, pad);
        case 'I':
            return Padded(time.hour() % 12 == 0 ? 12 : time.hour() % 12, 2, pad);
        case 'M':
            return Padded(time.minute(), 2, pad);
        case 'S':
            return Padded(time.second(), 2, pad);
        case 'p':
            return time.hour() < 12 ? locale.amText() : locale.pmText();
        case 'j':
            return Padded(date.dayOfYear(), 3, pad);
        case '%':
            return QStringLiteral("%");
        default:
            return QStringLiteral("%") + code;
    }
}

}  // namespace

QString BugTexts::dateText(double engineDate, const QString& format)
{
    const QDateTime when = EngineDate::toDateTime(engineDate);
    if (!when.isValid()) return QString();
    if (format.isEmpty()) return QLocale().toString(when.date(), QLocale::ShortFormat);
    QString text;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != QLatin1Char('%') || i + 1 >= format.size()) {
            text += format[i];
            continue;
        }
        bool pad = true;
        if (format[i + 1] == QLatin1Char('#') && i + 2 < format.size()) {
            pad = false;
            ++i;
        }
        text += Code(format[i + 1], pad, when);
        ++i;
    }
    return text;
}

QString BugTexts::durationText(int minutes)
{
    return QStringLiteral("%1d %2h %3m")
        .arg(minutes / 1440)
        .arg((minutes % 1440) / 60)
        .arg(minutes % 60);
}

int BugTexts::statusIconIndex(const QString& status)
{
    static const QStringList kStatuses = {
        QStringLiteral("Active"),           QStringLiteral("By Design"),
        QStringLiteral("Cannot Reproduce"), QStringLiteral("Resolved"),
        QStringLiteral("In Process"),       QStringLiteral("New"),
        QStringLiteral("Postponed"),        QStringLiteral("Verified"),
        QStringLiteral("Will Not Fix"),     QStringLiteral("Waiting")};
    const qsizetype index = kStatuses.indexOf(status);
    return index < 0 ? 0 : static_cast<int>(index);
}

}  // namespace nimbra
