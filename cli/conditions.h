// --where conditions: "FIELD OP VALUE" read into the engine's filter
// conditions, all joined by AND.
#pragma once

#include <string>
#include <vector>

#include "bugfields.h"
#include "catalog.h"
#include "engine.h"

namespace cli {

struct Condition {
    const BugField* field = nullptr;
    lindor::eLogCondition comparison = lindor::Equal;
    std::string value;
};

// Reads one condition; OP is one of = <> < <= > >= like, and a VALUE with
// blanks may stand between single or double quotes. A usage error when the
// text is not of that form.
Condition ParseCondition(const std::string& text);

// The filter set of the conditions, or null when there are none.
ComPtr<lindor::IBugFilterSet> BuildFilter(const std::vector<Condition>& conditions,
                                          Catalog& catalog);

// One condition on a column with a value, for the commands' own look-ups.
ComPtr<lindor::IBugFilter> MakeFilter(const std::string& column, lindor::eLogCondition comparison,
                                      const lindor::Variant& value);

}  // namespace cli
