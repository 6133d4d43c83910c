#include <gtest/gtest.h>

#include "core/ErrorInfo.h"
#include "core/ErrorReport.h"
#include "mapping/DBUtil.h"
#include "projects/CProject.h"
#include "projects/ProjectReading.h"
#include "support/StoredRows.h"
#include "support/TestDatabase.h"

namespace lindor {
namespace {

using test::ErrorFrom;
using test::InsertRow;
using test::LogWatch;

// Project 1 as the project reader loads it, with the classifications
// 1 "Core" and 2 "Docs"; project 2 has 3 "Engine".
class ProjectClassificationSetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::NewDatabase();
        for (const auto& [id, projectID, name] :
             {std::tuple{1, 1, "Core"}, std::tuple{2, 1, "Docs"}, std::tuple{3, 2, "Engine"}})
            InsertRow("tClassification", {{"ClassificationID", Variant::I4(id)},
                                          {"ProjectID", Variant::I4(projectID)},
                                          {"ClassName", Variant::Text(name)}});
        db::Recordset row;
        row.Open("SELECT * FROM tProject WHERE ProjectID = 1", db::ProcessConnectionString());
        ASSERT_EQ(ReadProjectWithVersions(row, project.get()), S_OK);
    }

    ComPtr<CProject> project = MakeObject<CProject>();
};

TEST_F(ProjectClassificationSetTest, HoldsTheProjectsClassificationsAndItsProject)
{
    ComPtr<IClassificationSet> set;
    ASSERT_EQ(project->get_ClassificationSet(set.put()), S_OK);
    std::int32_t count = 0, projectID = 0;
    set->get_Count(&count);
    set->get_ProjectID(&projectID);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(projectID, 1);
    ComPtr<IClassification> second;
    set->get_Item(1, second.put());
    std::string name;
    std::int32_t id = 0, itsProject = 0;
    second->get_Name(&name);
    second->get_ID(&id);
    second->get_ProjectID(&itsProject);
    EXPECT_EQ(name, "Docs");
    EXPECT_EQ(id, 2);
    EXPECT_EQ(itsProject, 1);
}

TEST_F(ProjectClassificationSetTest, TheSetIsBuiltOnceAndKept)
{
    ComPtr<IClassificationSet> first, second;
    ASSERT_EQ(project->get_ClassificationSet(first.put()), S_OK);
    InsertRow("tClassification", {{"ClassificationID", Variant::I4(4)},
                                  {"ProjectID", Variant::I4(1)},
                                  {"ClassName", Variant::Text("Later")}});
    ASSERT_EQ(project->get_ClassificationSet(second.put()), S_OK);
    EXPECT_EQ(first.get(), second.get());
    std::int32_t count = 0;
    second->get_Count(&count);
    EXPECT_EQ(count, 2);
}

TEST_F(ProjectClassificationSetTest, TheSetCarriesNoContextSoItCannotBeChangedYet)
{
    ComPtr<IClassificationSet> set;
    ASSERT_EQ(project->get_ClassificationSet(set.put()), S_OK);
    LogWatch watch;
    EXPECT_EQ(set->RemoveByID(1), E_FAIL);
    EXPECT_TRUE(watch.Has(kLogGeneral, "CClassificationSet::GetRight", "ExeContext is NULL"));
    EXPECT_EQ(test::CountRows("SELECT * FROM tClassification"), 3);
}

TEST_F(ProjectClassificationSetTest, AProjectNotYetStoredHasNone)
{
    ComPtr<CProject> unsaved = MakeObject<CProject>();
    LogWatch watch;
    ComPtr<IClassificationSet> set;
    EXPECT_EQ(unsaved->get_ClassificationSet(set.put()), E_FAIL);
    EXPECT_FALSE(set);
    EXPECT_EQ(ErrorFrom("Project"), "ProjectID is 0, cannot perform this action");
    EXPECT_TRUE(watch.Has(kLogGeneral, "IProject::ClassificationSet",
                          "ProjectID is 0, cannot perform this action"));
}

TEST_F(ProjectClassificationSetTest, ADatabaseFailureIsReportedAndNothingIsKept)
{
    const std::string database = db::ProcessConnectionString();
    db::SetProcessConnectionString("");
    LogWatch watch;
    ComPtr<IClassificationSet> set;
    EXPECT_EQ(project->get_ClassificationSet(set.put()), E_FAIL);
    EXPECT_EQ(ErrorFrom("Project"), "Get ClassificationSet failded!");
    EXPECT_TRUE(watch.Has(kLogGeneral, "IProject::ClassificationSet", "\t(Source="));
    db::SetProcessConnectionString(database);
    EXPECT_EQ(project->get_ClassificationSet(set.put()), S_OK) << "a later request reads again";
}

}  // namespace
}  // namespace lindor
