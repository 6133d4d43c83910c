// Making and reading the engine's filter objects: a named BugFilterSet, one
// BugFilter condition, and a deep copy of a set. Each failure leaves the
// engine's description for EngineError::text().
#pragma once

#include <lindor/lindor.h>

#include <QString>

namespace nimbra {

class FilterSets {
public:
    struct Condition {
        QString field;
        lindor::eLogCondition condition = lindor::Equal;
        lindor::Variant value;
        lindor::eLogOperation andOr = lindor::LogAnd;
    };

    // Null when the engine refuses.
    static lindor::ComPtr<lindor::IBugFilterSet> make(const QString& name);
    static lindor::ComPtr<lindor::IBugFilter> makeCondition(const Condition& condition);
    // A condition with only its And/Or set: no field yet, and no value.
    static lindor::ComPtr<lindor::IBugFilter> makeJoined(lindor::eLogOperation andOr);
    // A new set with the same name and new conditions with the same values.
    static lindor::ComPtr<lindor::IBugFilterSet> copy(lindor::IBugFilterSet* set);

    // Writes every part of `condition` into `filter` (the field first, as the
    // value's type is checked against it).
    static bool store(lindor::IBugFilter* filter, const Condition& condition);
    static bool read(lindor::IBugFilter* filter, Condition* condition);
    // The condition at `index`, null when there is none.
    static lindor::ComPtr<lindor::IBugFilter> item(lindor::IBugFilterSet* set, int index);
    static int count(lindor::IBugFilterSet* set);
    static QString name(lindor::IBugFilterSet* set);
};

}  // namespace nimbra
