// The date formats the options offer, as the user sees them ("dd,M,yyyy")
// and as they are stored and used for every date text (% codes: %d,%m,%Y).
// Letters turn into codes in this order, each everywhere in the text and
// case-sensitive: yyyy %Y, yy %y, mm %B, m %b, M %m, dd %d, ww %A, w %a.
#pragma once

#include <QList>
#include <QString>

namespace nimbra {

class DateFormatPatterns {
public:
    struct Entry {
        QString pattern;
        QString example;  // shown beside the pattern
    };

    static QString toCodes(const QString& pattern);
    static QString toPattern(const QString& codes);
    // The choices of "&Format", in their order.
    static const QList<Entry>& entries();
};

}  // namespace nimbra
