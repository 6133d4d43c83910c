#include "filters/BugColumns.h"

#include <strings.h>

#include <cstring>

namespace lindor {
namespace {

struct BugColumn {
    const char* name;
    VarType type;
};

const BugColumn kBugColumns[] = {
    {"BugID", VT_I4},
    {"ClassID", VT_I4},
    {"ReportedByID", VT_I4},
    {"FixedByID", VT_I4},
    {"VerifiedByID", VT_I4},
    {"LastModifiedByID", VT_I4},
    {"ReportedInVersionID", VT_I4},
    {"FixedInVersionID", VT_I4},
    {"BugType", VT_UI1},
    {"ReproductiveName", VT_BSTR},
    {"StatusName", VT_BSTR},
    {"PriorityName", VT_BSTR},
    {"SeverityName", VT_BSTR},
    {"Description", VT_BSTR},
    {"RecreateStep", VT_BSTR},
    {"Workaround", VT_BSTR},
    {"Report", VT_BSTR},
    {"Resolution", VT_BSTR},
    {"Classification", VT_BSTR},
    {"ReportedBy", VT_BSTR},
    {"FixedBy", VT_BSTR},
    {"VerifiedBy", VT_BSTR},
    {"LastModifiedBy", VT_BSTR},
    {"ReportedInVersion", VT_BSTR},
    {"FixedInVersion", VT_BSTR},
    // A filter compares the estimate as a date, although a bug holds it as minutes.
    {"EstimatedTime", VT_DATE},
    {"ActualTime", VT_DATE},
    {"DateDue", VT_DATE},
    {"ReportedDate", VT_DATE},
    {"FixedDate", VT_DATE},
    {"VerifiedDate", VT_DATE},
    {"LastModifiedDate", VT_DATE},
};

bool SameNameIgnoringCase(const char* name, const std::string& column)
{
    return std::strlen(name) == column.size() &&
           strncasecmp(name, column.data(), column.size()) == 0;
}

}  // namespace

VarType BugColumnValueType(const std::string& column)
{
    for (const BugColumn& entry : kBugColumns) {
        if (SameNameIgnoringCase(entry.name, column)) return entry.type;
    }
    return VT_NULL;
}

}  // namespace lindor
