#include "projects/ProjectWrites.h"

#include <algorithm>
#include <vector>

#include "core/ErrorReport.h"
#include "core/Guarded.h"
#include "db/NextID.h"
#include "mapping/ValueConversion.h"
#include "stores/BugStore.h"
#include "stores/ProjectStore.h"

namespace lindor::projectwrites {
namespace {

using mapping::ReadWholeNumber;

// The identifiers of a project and its versions before a write, so that a
// rolled-back write does not leave the objects with numbers that were never
// stored (and that the rolled-back counter will hand out again).
class IdentifierSnapshot {
public:
    explicit IdentifierSnapshot(CProject& project) : project_(project), projectID_(project.ID())
    {
        for (const ComPtr<CVersion>& version : project.Versions())
            versions_.emplace_back(version, version->ID());
    }
    void Restore()
    {
        project_.SetID(projectID_);
        for (auto& [version, id] : versions_) version->SetID(id);
    }

private:
    CProject& project_;
    std::int32_t projectID_;
    std::vector<std::pair<ComPtr<CVersion>, std::int32_t>> versions_;
};

void WriteProjectRow(db::Recordset& row, const CProject& project)
{
    if (project.ID() != 0 && ReadWholeNumber(row.Fields(0).Value()) != project.ID())
        mapping::WriteWholeNumber(row.Fields(0), project.ID());
    mapping::WriteTextOrNull(row.Fields(1), project.Name());
    mapping::WriteTextOrNull(row.Fields(2), project.Description());
    row.Update();
}

void WriteVersionRow(db::Recordset& row, const CVersion& version, std::int32_t projectID)
{
    if (version.ID() != 0) mapping::WriteWholeNumber(row.Fields("VersionID"), version.ID());
    mapping::WriteWholeNumber(row.Fields("ProjectID"), projectID);
    mapping::WriteTextOrNull(row.Fields("VersionName"), version.Name());
    mapping::WriteTextOrNull(row.Fields("VersionDesrp"), version.Description());
    mapping::WriteDate(row.Fields("ReleaseDate"), version.ReleaseDate());
    row.Update();
}

bool ArrayHasVersion(const CProject& project, std::int32_t versionID)
{
    const auto& versions = project.Versions();
    return std::any_of(versions.begin(), versions.end(),
                       [versionID](const ComPtr<CVersion>& v) { return v->ID() == versionID; });
}

// Deletes the stored versions the project's array no longer has, each with
// the bugs reported in it.
void DeleteRemovedVersions(db::Connection& connection, db::Recordset& stored,
                           const CProject& project)
{
    for (; !stored.IsEOF(); stored.MoveNext()) {
        const std::int32_t versionID = ReadWholeNumber(stored.Fields(0).Value());
        if (ArrayHasVersion(project, versionID)) continue;
        stores::DeleteBugsReportedIn(connection, versionID);
        stored.Delete();
    }
}

// Writes each version of the array into its stored row, or adds it under a
// new identifier when it has none there.
bool WriteArrayVersions(db::Recordset& stored, CProject& project)
{
    for (const ComPtr<CVersion>& version : project.Versions()) {
        stored.SetFilter(Format("versionID = %d", version->ID()));
        if (stored.IsEOF() || version->ID() == 0) {
            if (!RealAddVersion(stored, *version, project.ID())) {
                stored.SetFilter("");
                LogMessage(kLogGeneral, "CProjectSet::RealUpdateVersion", "RealAddVersion Failded");
                return false;
            }
        } else {
            WriteVersionRow(stored, *version, project.ID());
        }
        stored.SetFilter("");
    }
    return true;
}

bool AddProjectRows(db::Connection& connection, CProject& project)
{
    const std::int32_t id = GetNextID("NextProjectID");
    if (id == 0) {
        LogMessage(kLogGeneral, "IProjectSet::RealAddProject", "GetNextID return 0, Add Failed");
        return false;
    }
    project.SetID(id);
    db::Recordset row;
    stores::OpenNewProjectRow(row, connection);
    row.AddNew();
    WriteProjectRow(row, project);
    row.Close();
    if (RealAddVersions(connection, project)) return true;
    LogMessage(kLogGeneral, "IProjectSet::RealAddProject", "Add Project failed");
    return false;
}

// Writes the project row; false (logged) when it is not stored.
bool UpdateProjectRow(db::Connection& connection, const CProject& project)
{
    db::Recordset row;
    stores::OpenProjectForWriting(row, connection, project.ID());
    if (row.IsEOF()) {
        LogMessage(kLogGeneral, "IProjectSet::RealUpdateProject",
                   Format("Project(ID=%d) does not exist, Update failed", project.ID()));
        return false;
    }
    WriteProjectRow(row, project);
    row.Close();
    return true;
}

}  // namespace

bool RealAddProject(CProject& project)
{
    IdentifierSnapshot before(project);
    const bool added = RunLoggedStep("ProjectSet::ReadAddProject", [&] {
        db::Connection connection(db::ProcessConnectionString());
        db::Transaction transaction(connection);
        if (!AddProjectRows(connection, project)) return false;
        transaction.Commit();
        return true;
    });
    if (!added) before.Restore();
    return added;
}

bool RealAddVersions(db::Connection& connection, CProject& project)
{
    return RunLoggedStep("IProjectSet::RealAddVersions", [&] {
        db::Recordset cursor;
        stores::OpenVersionsForWriting(cursor, connection, project.ID());
        for (; !cursor.IsEOF(); cursor.MoveNext()) cursor.Delete();
        for (const ComPtr<CVersion>& version : project.Versions()) {
            if (RealAddVersion(cursor, *version, project.ID())) continue;
            LogMessage(kLogGeneral, "CProjectSet::RealAddVersions", "RealAddVersion return FALSE");
            return false;
        }
        return true;
    });
}

bool RealAddVersion(db::Recordset& cursor, CVersion& version, std::int32_t projectID)
{
    const std::int32_t id = GetNextID("NextVersionID");
    if (id == 0) {
        LogMessage(kLogGeneral, "IProjectSet::RealAddVersion", "GetNextID return 0, Add Failed");
        return false;
    }
    version.SetID(id);
    const bool added = RunLoggedStep("IProjectSet::RealAddVersion", [&] {
        cursor.AddNew();
        WriteVersionRow(cursor, version, projectID);
        return true;
    });
    if (!added) cursor.CancelUpdate();
    return added;
}

bool RealUpdateProject(CProject* project)
{
    const char* const source = "IProjectSet::RealUpdateProject";
    if (project == nullptr) {
        LogMessage(kLogGeneral, source, "Project interface is not valid");
        return false;
    }
    if (project->ID() == 0) {
        LogMessage(kLogGeneral, source, "Cannot update the Project(id is 0)");
        return false;
    }
    IdentifierSnapshot before(*project);
    const bool updated = RunLoggedStep(source, [&] {
        db::Connection connection(db::ProcessConnectionString());
        db::Transaction transaction(connection);
        if (!UpdateProjectRow(connection, *project) || !RealUpdateVersion(connection, *project))
            return false;
        transaction.Commit();
        return true;
    });
    if (!updated) before.Restore();
    return updated;
}

bool RealUpdateVersion(db::Connection& connection, CProject& project)
{
    db::Recordset stored;
    stores::OpenVersionsForWriting(stored, connection, project.ID());
    DeleteRemovedVersions(connection, stored, project);
    const bool written = WriteArrayVersions(stored, project);
    stored.Close();
    return written;
}

bool RealDeleteProject(std::int32_t projectID)
{
    return RunLoggedStep("CProjectSet::RealDeleteProject", [&] {
        db::Connection connection(db::ProcessConnectionString());
        db::Transaction transaction(connection);
        stores::DeleteProject(connection, projectID);
        transaction.Commit();
        return true;
    });
}

}  // namespace lindor::projectwrites
