#include "projects/RowDeletion.h"

#include "core/ErrorReport.h"
#include "db/Recordset.h"
#include "mapping/ValueConversion.h"

namespace lindor {

long DeleteEveryRow(db::Connection& connection, const std::string& sql)
{
    db::Recordset rows;
    rows.Open(sql, connection, db::CursorType::Keyset, db::LockType::Optimistic);
    long deleted = 0;
    while (!rows.IsEOF()) {
        rows.Delete();
        ++deleted;
        rows.MoveNext();
    }
    rows.Close();
    return deleted;
}

std::vector<std::int32_t> ReadIdentifiers(db::Connection& connection, const std::string& sql)
{
    db::Recordset rows;
    rows.Open(sql, connection, db::CursorType::ForwardOnly, db::LockType::ReadOnly);
    std::vector<std::int32_t> ids;
    for (; !rows.IsEOF(); rows.MoveNext())
        ids.push_back(mapping::ReadWholeNumber(rows.Fields(0).Value()));
    rows.Close();
    return ids;
}

void DeleteDependentRows(db::Connection& connection, const std::string& idQuery,
                         const char* dependentFormat)
{
    for (std::int32_t id : ReadIdentifiers(connection, idQuery))
        DeleteEveryRow(connection, Format(dependentFormat, static_cast<long>(id)));
}

void DeleteBugsReportedIn(db::Connection& connection, std::int32_t versionID, const char* bugFormat)
{
    DeleteDependentRows(connection,
                        Format("SELECT BugID FROM tBugReport WHERE ReportedInVersionID=%ld",
                               static_cast<long>(versionID)),
                        "SELECT BugID FROM tAttachment WHERE BugID=%ld");
    DeleteEveryRow(connection, Format(bugFormat, static_cast<long>(versionID)));
}

}  // namespace lindor
