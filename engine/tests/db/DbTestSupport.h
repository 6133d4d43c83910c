// Helpers of the access-layer tests: a fresh database and bug rows.
#pragma once

#include <string>

#include "core/DateTime.h"
#include "db/Recordset.h"
#include "support/TestDatabase.h"

namespace lindor::db::testing {

struct BugRow {
    int id;
    std::string status = "New";
    std::string description = "something broke";
    double reported = 0;
    std::string priority = "Normal";
};

inline void AddBug(Connection& connection, const BugRow& bug)
{
    Recordset rs;
    rs.Open("SELECT * FROM tBugReport WHERE BugID = 0", connection);
    rs.AddNew();
    rs.Fields("BugID").SetValue(Variant::I4(bug.id));
    rs.Fields("SeverityName").SetValue(Variant::Text("Normal"));
    rs.Fields("StatusName").SetValue(Variant::Text(bug.status));
    rs.Fields("PriorityName").SetValue(Variant::Text(bug.priority));
    rs.Fields("ReproductiveName").SetValue(Variant::Text("Always"));
    rs.Fields("Description").SetValue(Variant::Text(bug.description));
    if (bug.reported != 0) rs.Fields("ReportedDate").SetValue(Variant::Date(bug.reported));
    rs.Fields("BugType").SetValue(Variant::I4(0));
    rs.Update();
}

inline std::vector<int> BugIDs(Recordset& rs)
{
    std::vector<int> ids;
    if (rs.IsEOF()) return ids;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) ids.push_back(rs.Fields("BugID").Value().i4());
    return ids;
}

inline long Count(Connection& connection, const std::string& sql)
{
    Recordset rs;
    rs.Open(sql, connection, CursorType::Static, LockType::ReadOnly);
    return rs.RecordCount();
}

}  // namespace lindor::db::testing
