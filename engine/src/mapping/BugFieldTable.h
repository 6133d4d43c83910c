// The columns of a bug by eBugField number: the column name in tBugReport,
// how its value is held, which field of the bug holds it, and which flag of
// the user's rights allows changing it. Sorting, updating and the record
// mapping all read this one table.
#pragma once

#include <cstdint>
#include <string>

#include <lindor/Interfaces.h>

#include "mapping/BugRecord.h"

namespace lindor {

enum class BugValueKind {
    Text,         // a text column
    WholeNumber,  // a 32-bit ID column
    DateTime,     // a date column
    Minutes,      // EstimatedTime: whole minutes kept in a date column
    Byte          // BugType: one unsigned byte kept in a long column
};

using EditRightGetter = HRESULT (IRight::*)(std::int32_t*);

struct BugFieldInfo {
    eBugField field;
    const char* column;
    BugValueKind kind;
    std::string BugRecord::*text;     // set for Text
    std::int32_t BugRecord::*number;  // set for WholeNumber, Minutes and Byte
    Date BugRecord::*date;            // set for DateTime
    EditRightGetter editRight;        // null: the column may always change
};

constexpr std::int32_t kFirstBugField = ColID;
constexpr std::int32_t kLastBugField = ColBugType;

// The entry of a column number, or null outside 0 to 32.
const BugFieldInfo* FindBugField(std::int32_t field);
// The column name of a number; empty outside 0 to 32.
std::string BugColumnName(std::int32_t field);

// The bug's value of a column in the type the column is written with: texts
// as text (an empty text as NULL), IDs and minutes as 32-bit integers, dates
// as floating day counts, the type as one unsigned byte.
Variant BugValueForColumn(const BugRecord& bug, const BugFieldInfo& info);
// A stored value read by the column's rule (a NULL or foreign type gives the
// empty value) and compared with the bug's: true when they are the same.
bool StoredValueEquals(const Variant& stored, const BugRecord& bug, const BugFieldInfo& info);
// Reads a stored value into the bug's field by the column's rule.
void ReadStoredValue(const Variant& stored, BugRecord& bug, const BugFieldInfo& info);

}  // namespace lindor
