// Project rows with their versions, and version rows, to objects.
#include <gtest/gtest.h>

#include "mapping/DBUtil.h"
#include "projects/CProject.h"
#include "projects/ProjectReading.h"
#include "schema/CreateDB.h"
#include "support/ContextTestSupport.h"

namespace lindor {
namespace {

using test::LogWatch;

ComPtr<CProject> ReadProject(db::Recordset& rows)
{
    ComPtr<CProject> project = MakeObject<CProject>();
    EXPECT_EQ(ReadProjectWithVersions(rows, project.get()), S_OK);
    return project;
}

TEST(ProjectMapping, ReadsAProjectWithItsVersionsInStoredOrder)
{
    test::NewDatabase();
    test::ExecuteSql("UPDATE tProject SET Description = 'the first' WHERE ProjectID = 1");
    test::ExecuteSql(
        "UPDATE tVersion SET VersionDesrp = 'old', ReleaseDate = 38000.25 WHERE VersionID = 2");
    db::Recordset rows;
    rows.Open("SELECT * FROM tProject WHERE ProjectID = 1", db::ProcessConnectionString());
    ComPtr<CProject> project = ReadProject(rows);
    EXPECT_EQ(project->ID(), 1);
    EXPECT_EQ(project->Name(), "Project 1");
    EXPECT_EQ(project->Description(), "the first");
    ASSERT_EQ(project->Versions().size(), 2u);
    const CVersion& second = *project->Versions()[1];
    EXPECT_EQ(second.ID(), 2);
    EXPECT_EQ(second.Name(), "Version 2.0");
    EXPECT_EQ(second.Description(), "old");
    EXPECT_EQ(second.ReleaseDate(), 38000.25);
}

TEST(ProjectMapping, AProjectWithoutVersionsHasNone)
{
    test::NewDatabase();
    test::InsertRow("tProject", {{"ProjectID", Variant::I4(3)}, {"Name", Variant::Text("Empty")}});
    db::Recordset rows;
    rows.Open("SELECT * FROM tProject WHERE ProjectID = 3", db::ProcessConnectionString());
    std::int32_t count = -1;
    ReadProject(rows)->get_VersionCount(&count);
    EXPECT_EQ(count, 0);
}

TEST(ProjectMapping, ReadsTheVersionsFromTheRowsOwnDatabase)
{
    const std::string first = test::NewDatabase("first.mdb");
    const std::string second = test::NewDataSource("second.mdb");
    ASSERT_TRUE(CreateDB(second));
    db::Connection firstConnection(db::BuildConnectionString(first));
    test::ExecuteSql("DELETE FROM tVersion WHERE VersionID = 2");
    db::SetProcessConnectionString(db::BuildConnectionString(second));
    db::Recordset rows;
    rows.Open("SELECT * FROM tProject WHERE ProjectID = 1", firstConnection);
    EXPECT_EQ(ReadProject(rows)->Versions().size(), 1u);
}

TEST(ProjectMapping, ReadsAVersionRow)
{
    test::NewDatabase();
    db::Recordset rows;
    rows.Open("SELECT * FROM tVersion WHERE VersionID = 3", db::ProcessConnectionString());
    ComPtr<CVersion> version = MakeObject<CVersion>();
    ASSERT_EQ(CDBUtil::GetVersionData(rows, version.get()), S_OK);
    EXPECT_EQ(version->ID(), 3);
    EXPECT_EQ(version->Name(), "Version 1.0");
    EXPECT_GT(version->ReleaseDate(), 0.0);
}

TEST(ProjectMapping, AMissingObjectOrColumnFails)
{
    test::NewDatabase();
    db::Recordset rows;
    rows.Open("SELECT VersionID FROM tVersion", db::ProcessConnectionString());
    LogWatch watch;
    ComPtr<CVersion> version = MakeObject<CVersion>();
    EXPECT_EQ(CDBUtil::GetVersionData(rows, version.get()), E_FAIL);
    EXPECT_TRUE(watch.Has(2, "CDBUtil::GetVersionData"));
    EXPECT_EQ(ReadProjectWithVersions(rows, nullptr), E_FAIL);
    EXPECT_TRUE(watch.Has(0, "CDBUtil::GetProjectData", "Invalid Pointer"));
}

}  // namespace
}  // namespace lindor
