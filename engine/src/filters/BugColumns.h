// The value type that a filter condition on a bug column must carry.
#pragma once

#include <string>

#include <lindor/Variant.h>

namespace lindor {

// The value type of a tBugReport column for filtering, looked up without regard
// to letter case: VT_I4 for the ID columns, VT_UI1 for "BugType", VT_BSTR for
// the texts and VT_DATE for the dates ("EstimatedTime" included). Every other
// name, the empty one included, gives VT_NULL: such a column takes no value
// (a filter accepts only a null or empty value for it).
VarType BugColumnValueType(const std::string& column);

}  // namespace lindor
