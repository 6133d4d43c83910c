// Projects (with their versions) and versions: rows to objects.
#include "core/ErrorReport.h"
#include "mapping/DBUtil.h"
#include "mapping/MappingFailure.h"
#include "mapping/ValueConversion.h"
#include "projects/CProject.h"

namespace lindor::CDBUtil {
namespace {

using namespace mapping;

// Adds the versions stored for the project, in the order the database
// returns them, through the project's own AddVersion.
void ReadVersionsOf(db::Recordset& projectRow, CProject& project, OpenVersions openVersions)
{
    db::Recordset versions;
    openVersions(versions, projectRow.ActiveConnection(), project.ID());
    for (; !versions.IsEOF(); versions.MoveNext()) {
        ComPtr<IVersion> added;
        project.AddVersion(ReadText(versions.Fields(2).Value()),
                           ReadText(versions.Fields(3).Value()),
                           ReadDate(versions.Fields(4).Value()), added.put());
        if (CVersion* version = ImplOf<CVersion>(added.get()))
            version->SetID(ReadWholeNumber(versions.Fields(0).Value()));
    }
    versions.Close();
}

}  // namespace

HRESULT GetProjectData(db::Recordset& row, IProject* project, OpenVersions openVersions)
{
    CProject* impl = ImplOf<CProject>(project);
    if (impl == nullptr) return MappingFailed("GetProjectData", "Invalid Pointer");
    return MapRow("GetProjectData", [&] {
        impl->SetID(ReadWholeNumber(row.Fields(0).Value()));
        impl->put_Name(ReadText(row.Fields(1).Value()));
        impl->put_Description(ReadText(row.Fields(2).Value()));
        ReadVersionsOf(row, *impl, openVersions);
    });
}

HRESULT GetVersionData(db::Recordset& row, IVersion* version)
{
    CVersion* impl = ImplOf<CVersion>(version);
    if (impl == nullptr) return MappingFailed("GetVersionData", "Invalid Pointer");
    return MapRow("GetVersionData", [&] {
        impl->put_Name(ReadText(row.Fields("VersionName").Value()));
        impl->put_Description(ReadText(row.Fields("VersionDesrp").Value()));
        impl->put_ReleaseDate(ReadDate(row.Fields("ReleaseDate").Value()));
        impl->SetID(ReadWholeNumber(row.Fields("VersionID").Value()));
    });
}

}  // namespace lindor::CDBUtil
