// Helpers of the bug and attachment tests: rows written straight into a test
// database, values read straight out of it, and the caller's error text.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "bugs/CBug.h"
#include "core/ErrorInfo.h"
#include "core/ErrorReport.h"
#include "db/Recordset.h"
#include "filters/CBugFilter.h"
#include "filters/CBugFilterSet.h"
#include "support/TestDatabase.h"

namespace lindor::test {

// A bug row to store: number, version and type, with chained setters for
// the rest (`StoredBug(3).Status("Active")`).
struct StoredBug {
    explicit StoredBug(std::int32_t bugID, std::int32_t versionID = 1, std::int32_t bugType = eBug)
        : id(bugID), version(versionID), type(bugType)
    {
    }
    StoredBug& Status(std::string text) { return status = std::move(text), *this; }
    StoredBug& Priority(std::string text) { return priority = std::move(text), *this; }
    StoredBug& Description(std::string text) { return description = std::move(text), *this; }
    StoredBug& Reported(Date date) { return reported = date, *this; }

    std::int32_t id;
    std::int32_t version;
    std::int32_t type;
    std::string status = "New";
    std::string priority = "Normal";
    std::string description = "something broke";
    Date reported = 0.0;
};

// Writes a bug row as another program would, without the engine's bug classes.
inline void StoreBug(const StoredBug& bug)
{
    db::Recordset rows;
    rows.Open("SELECT * FROM tBugReport WHERE BugID = 0", db::ProcessConnectionString());
    rows.AddNew();
    rows.Fields("BugID").SetValue(Variant::I4(bug.id));
    rows.Fields("SeverityName").SetValue(Variant::Text("Normal"));
    rows.Fields("StatusName").SetValue(Variant::Text(bug.status));
    rows.Fields("PriorityName").SetValue(Variant::Text(bug.priority));
    rows.Fields("ReproductiveName").SetValue(Variant::Text("Always"));
    rows.Fields("Description").SetValue(Variant::Text(bug.description));
    rows.Fields("ReportedInVersionID").SetValue(Variant::I4(bug.version));
    rows.Fields("BugType").SetValue(Variant::I4(bug.type));
    if (bug.reported != 0.0) rows.Fields("ReportedDate").SetValue(Variant::Date(bug.reported));
    rows.Update();
}

// Bugs first..last in version 1, written in one transaction.
inline void StoreBugs(std::int32_t first, std::int32_t last)
{
    db::Connection connection(db::ProcessConnectionString());
    db::Transaction transaction(connection);
    for (std::int32_t id = first; id <= last; ++id) StoreBug(StoredBug(id));
    transaction.Commit();
}

// An attachment row whose contents are a few plain bytes (not an archive).
inline void StoreAttachmentRow(std::int32_t attachmentID, std::int32_t bugID,
                               const std::string& name = "note.txt")
{
    db::Recordset rows;
    rows.Open("SELECT * FROM tAttachment WHERE AttachmentID = 0", db::ProcessConnectionString());
    rows.AddNew();
    rows.Fields("AttachmentID").SetValue(Variant::I4(attachmentID));
    rows.Fields("BugID").SetValue(Variant::I4(bugID));
    rows.Fields("FileName").SetValue(Variant::Text(name));
    rows.Fields("FileSize").SetValue(Variant::I4(3));
    rows.Fields("FileDate").SetValue(Variant::Date(38416.5));
    rows.Fields("FileData").AppendChunk({'a', 'b', 'c'});
    rows.Update();
}

inline long CountRows(const std::string& query)
{
    db::Recordset rows;
    rows.Open(query, db::ProcessConnectionString(), db::CursorType::Static, db::LockType::ReadOnly);
    return rows.RecordCount();
}

// The first column of the first row of `query`.
inline Variant StoredValue(const std::string& query)
{
    db::Recordset rows;
    rows.Open(query, db::ProcessConnectionString(), db::CursorType::Static, db::LockType::ReadOnly);
    return rows.IsEOF() ? Variant() : rows.Fields(0).Value();
}

inline std::string CallerText()
{
    std::string text;
    GetThreadErrorInfo(&text, nullptr);
    return text;
}

// A bug of project 1 with the texts a new row needs.
inline ComPtr<CBug> NewBug(const std::string& description = "crash on start")
{
    ComPtr<CBug> bug = MakeObject<CBug>();
    // A bug belongs to a project, as the client's editor makes it.
    bug->put_ReportedInProjectID(1);
    bug->put_Description(description);
    bug->put_Status("New");
    bug->put_Priority("High");
    bug->put_Severity("Crash");
    bug->put_Reproductive("Always");
    return bug;
}

// One filter condition; the value must suit the column.
inline ComPtr<IBugFilter> Condition(const std::string& field, eLogCondition comparison,
                                    const Variant& value, eLogOperation andOr = LogAnd)
{
    ComPtr<CBugFilter> filter = MakeObject<CBugFilter>();
    filter->put_Field(field);
    filter->put_Condition(comparison);
    filter->put_AndOr(andOr);
    if (Failed(filter->put_Value(value))) ADD_FAILURE() << "value refused for " << field;
    return ComPtr<IBugFilter>(filter);
}

inline ComPtr<IBugFilterSet> FilterOf(std::initializer_list<ComPtr<IBugFilter>> conditions)
{
    ComPtr<CBugFilterSet> set = MakeObject<CBugFilterSet>();
    for (const ComPtr<IBugFilter>& condition : conditions) set->Add(condition.get());
    return ComPtr<IBugFilterSet>(set);
}

}  // namespace lindor::test
