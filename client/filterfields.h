// What a filter condition may say: the fields offered (the name shown, the
// column name stored in the condition, the kind of value and where a list's
// choices come from), the comparisons offered for each kind, and the texts of
// comparisons and of And/Or.
#pragma once

#include <lindor/lindor.h>

#include <QString>
#include <QStringList>

#include <vector>

namespace nimbra {

class FilterFields {
public:
    enum class Kind { List, Text, Date };
    enum class Choices {
        None,
        Severities,
        Statuses,
        Priorities,
        Reproductives,
        Users,
        Versions,
        Classifications
    };

    struct Field {
        QString shown;
        QString stored;
        Kind kind;
        Choices choices;
    };

    // In the order the dialog offers them.
    static const std::vector<Field>& all();
    static QStringList shownNames();
    // Null when no field has that name; the stored name is matched without
    // regard to case, as the engine matches column names.
    static const Field* byShown(const QString& shown);
    static const Field* byStored(const QString& stored);

    static QStringList conditionsFor(Kind kind);
    // "Equal" for Equal and so on; empty for a value outside 1 to 8.
    static QString conditionText(lindor::eLogCondition condition);
    // Equal for a text that names no comparison.
    static lindor::eLogCondition conditionOf(const QString& text);

    static QStringList andOrTexts();
    // "And" for LogAnd, "Or" for anything else.
    static QString andOrText(lindor::eLogOperation operation);
    // LogAnd for "And", LogOr for any other text (the empty one included).
    static lindor::eLogOperation andOrOf(const QString& text);
};

}  // namespace nimbra
