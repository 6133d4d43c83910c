#include "client/dateformatpatterns.h"

#include <array>
#include <utility>

namespace nimbra {

namespace {

// In the order they are replaced: a longer letter group before the shorter
// one it contains.
constexpr std::array<std::pair<const char*, const char*>, 8> kLetters = {{{"yyyy", "%Y"},
                                                                          {"yy", "%y"},
                                                                          {"mm", "%B"},
                                                                          {"m", "%b"},
                                                                          {"M", "%m"},
                                                                          {"dd", "%d"},
                                                                          {"ww", "%A"},
                                                                          {"w", "%a"}}};

}  // namespace

QString DateFormatPatterns::toCodes(const QString& pattern)
{
    QString text = pattern;
    for (const auto& [letters, code] : kLetters)
        text.replace(QLatin1String(letters), QLatin1String(code), Qt::CaseSensitive);
    return text;
}

QString DateFormatPatterns::toPattern(const QString& codes)
{
    QString text = codes;
    for (const auto& [letters, code] : kLetters)
        text.replace(QLatin1String(code), QLatin1String(letters), Qt::CaseSensitive);
    return text;
}

const QList<DateFormatPatterns::Entry>& DateFormatPatterns::entries()
{
    static const QList<Entry> list = {
        {QStringLiteral("dd,m,yyyy"), QStringLiteral("21,Jan,2004")},
        {QStringLiteral("dd,M,yyyy"), QStringLiteral("21,1,2004")},
        {QStringLiteral("dd,mm,yyyy"), QStringLiteral("21,January,2004")},
        {QStringLiteral("dd,m,yyyy"), QStringLiteral("21,Jan,2004")},
        {QStringLiteral("m,dd,yyyy"), QStringLiteral("Jan,21,2004")},
        {QStringLiteral("m,dd"), QStringLiteral("Jan,21")},
        {QStringLiteral("M,dd"), QStringLiteral("1,21")},
        {QStringLiteral("ww - dd,M,yyyy"), QStringLiteral("Monday - 21,1,2004")},
        {QStringLiteral("w - dd,M,yyyy"), QStringLiteral("Mon - 21,1,2004")},
    };
    return list;
}

}  // namespace nimbra
