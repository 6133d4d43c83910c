#include "stores/ProjectStore.h"

#include "stores/BugStore.h"
#include "stores/StoreRows.h"

namespace lindor::stores {
namespace {

void DeleteVersionsWithTheirBugs(db::Connection& connection, std::int32_t projectID)
{
    const db::Query versions{"SELECT VersionID FROM tVersion WHERE ProjectID = ?", projectID};
    for (const std::int32_t versionID : ReadIdentifiers(connection, versions))
        DeleteBugsReportedIn(connection, versionID);
    DeleteEveryRow(connection, versions);
}

// The users' assignments of a classification go before it.
void DeleteClassificationsWithAssignments(db::Connection& connection, std::int32_t projectID)
{
    const db::Query classes{"SELECT ClassificationID FROM tClassification WHERE ProjectID = ?",
                            projectID};
    for (const std::int32_t classID : ReadIdentifiers(connection, classes))
        DeleteEveryRow(connection, {"SELECT ClassificationID FROM tUserClassification WHERE "
                                    "ClassificationID = ?",
                                    classID});
    DeleteEveryRow(connection, classes);
}

// The available statuses of a right go before it.
void DeleteRightsWithAvailableStatuses(db::Connection& connection, std::int32_t projectID)
{
    const db::Query rights{"SELECT RightID FROM tRight WHERE ProjectID = ?", projectID};
    for (const std::int32_t rightID : ReadIdentifiers(connection, rights))
        DeleteEveryRow(connection,
                       {"SELECT RightID FROM tAvailableStatus WHERE RightID = ?", rightID});
    DeleteEveryRow(connection, rights);
}

}  // namespace

void OpenProjects(db::Recordset& rows, db::Connection& connection)
{
    OpenToRead(rows, connection, "SELECT * FROM tProject");
}

void OpenProject(db::Recordset& row, db::Connection& connection, std::int32_t id)
{
    OpenToRead(row, connection, {"SELECT * FROM tProject WHERE ProjectID = ?", id});
}

void OpenVersionsOfProject(db::Recordset& rows, db::Connection& connection, std::int32_t projectID)
{
    OpenToRead(rows, connection, {"SELECT * FROM tVersion WHERE ProjectID = ?", projectID});
}

void OpenVersion(db::Recordset& row, db::Connection& connection, std::int32_t id)
{
    OpenToRead(row, connection, {"SELECT * FROM tVersion WHERE VersionID = ?", id});
}

bool ProjectExists(db::Connection& connection, std::int32_t projectID)
{
    return !ReadIdentifiers(connection,
                            {"SELECT ProjectID FROM tProject WHERE ProjectID = ?", projectID})
                .empty();
}

std::int32_t ProjectOfVersion(db::Connection& connection, std::int32_t versionID)
{
    return FirstNumber(connection,
                       {"SELECT ProjectID FROM tVersion WHERE VersionID = ?", versionID});
}

bool ReadVersionName(db::Connection& connection, std::int32_t versionID, std::string* name)
{
    return FirstText(connection,
                     {"SELECT VersionName FROM tVersion WHERE VersionID = ?", versionID}, name);
}

void OpenNewProjectRow(db::Recordset& row, db::Connection& connection)
{
    OpenToWrite(row, connection, "SELECT * FROM tProject WHERE ProjectID = 0");
}

void OpenProjectForWriting(db::Recordset& row, db::Connection& connection, std::int32_t id)
{
    OpenToWrite(row, connection, {"SELECT * FROM tProject WHERE ProjectID = ?", id},
                db::CursorType::Static);
}

void OpenVersionsForWriting(db::Recordset& rows, db::Connection& connection, std::int32_t projectID)
{
    OpenToWrite(rows, connection, {"SELECT * FROM tVersion WHERE ProjectID = ?", projectID},
                db::CursorType::Static);
}

void DeleteProject(db::Connection& connection, std::int32_t projectID)
{
    DeleteVersionsWithTheirBugs(connection, projectID);
    DeleteBugsOfProject(connection, projectID);
    DeleteClassificationsWithAssignments(connection, projectID);
    DeleteRightsWithAvailableStatuses(connection, projectID);
    DeleteEveryRow(connection, {"SELECT ProjectID FROM tProject WHERE ProjectID = ?", projectID});
}

}  // namespace lindor::stores
