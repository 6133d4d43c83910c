// Test helpers, beside the shared ones, that put bugs straight into the test
// database and read stored values back, so a test sees what the engine wrote
// and nothing else.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <lindor/Variant.h>

#include "db/Recordset.h"
#include "support/ContextTestSupport.h"

namespace lindor::test {

using Columns = ColumnValues;

// The description the last failing call left, checking that the class named
// ("ClassificationSet" for "Lindor.ClassificationSet.1") reported it.
inline std::string ErrorFrom(const std::string& className)
{
    const CallerError error = LastCallerError();
    EXPECT_EQ(error.source, "Lindor." + className + ".1");
    return error.description;
}

// A bug with the required columns filled; `columns` adds or overrides.
inline void InsertBug(std::int32_t bugID, const Columns& columns)
{
    Columns all = {{"BugID", Variant::I4(bugID)},
                   {"SeverityName", Variant::Text("Normal")},
                   {"StatusName", Variant::Text("New")},
                   {"PriorityName", Variant::Text("Normal")},
                   {"ReproductiveName", Variant::Text("Always")},
                   {"Description", Variant::Text("bug " + std::to_string(bugID))},
                   {"BugType", Variant::I4(0)}};
    all.insert(all.end(), columns.begin(), columns.end());
    InsertRow("tBugReport", all);
}

// Sets the first column of every row the query returns.
inline void SetStored(const std::string& sql, const Variant& value)
{
    db::Recordset rows;
    rows.Open(sql, db::ProcessConnectionString(), db::CursorType::Keyset, db::LockType::Optimistic);
    for (; !rows.IsEOF(); rows.MoveNext()) {
        rows.Fields(0).SetValue(value);
        rows.Update();
    }
}

// Makes the database refuse a change, as another program's constraint
// would: `event` is e.g. "INSERT ON tUserClassification WHEN NEW.UserID = 2".
inline void RefuseInDatabase(const std::string& name, const std::string& event)
{
    RefuseChange(name, event, "refused by " + name);
}

// The first column of the first row, or NULL when there is no row.
inline Variant Stored(const std::string& sql)
{
    db::Recordset rows;
    rows.Open(sql, db::ProcessConnectionString(), db::CursorType::Static, db::LockType::ReadOnly);
    return rows.IsEOF() ? Variant::Null() : rows.Fields(0).Value();
}

inline std::string StoredText(const std::string& sql)
{
    const Variant value = Stored(sql);
    return value.vt() == VT_BSTR ? value.text() : "<" + std::to_string(value.vt()) + ">";
}

inline std::int32_t StoredNumber(const std::string& sql)
{
    const Variant value = Stored(sql);
    return value.vt() == VT_I4 ? value.i4() : -1;
}

}  // namespace lindor::test
