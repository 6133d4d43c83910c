// Project sets as an outside program uses them: only the public header. A
// change is checked against the rights in the project changed; new projects
// are all kept; a deleted project takes every bug that names it.
#include <lindor/lindor.h>

#include "support/ApiTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace lindor;
using namespace lindor::apitest;

class ProjectRights : public lindor::apitest::TeamDatabaseTest {
protected:
    ComPtr<lindor::IProjectSet> Projects(lindor::IExeContext* context)
    {
        ComPtr<lindor::IProjectSet> projects;
        EXPECT_EQ(context->get_ProjectSet(projects.put()), S_OK) << ErrorText();
        return projects;
    }

    void Rename(lindor::IProjectSet* projects, std::int32_t index, const std::string& name)
    {
        ComPtr<lindor::IProject> project;
        ASSERT_EQ(projects->get_Item(index, project.put()), S_OK);
        project->put_Name(name);
    }

    std::string Names() const { return Sql("SELECT Name FROM tProject ORDER BY ProjectID;"); }
};

TEST_F(ProjectRights, TheRightsOfTheProjectChangedDecide)
{
    AddMember(2, "dave", {{1, {"Read", "EditProject", "DeleteProject"}}});
    ComPtr<lindor::IExeContext> dave = LogIn("dave", 1);
    ComPtr<lindor::IProjectSet> projects = Projects(dave.get());
    Rename(projects.get(), 1, "Taken over");
    EXPECT_EQ(projects->Update(), E_FAIL);
    EXPECT_EQ(ErrorText(), "You have no right to edit Project, please contact your manager!");
    EXPECT_EQ(projects->DeleteByID(2), E_FAIL);
    EXPECT_EQ(ErrorText(), "You have no right to delete Project, please contact your manager!");
    EXPECT_EQ(projects->DeleteByIndex(1), E_FAIL);
    EXPECT_EQ(Names(), "Project 1\nProject 2");

    Rename(projects.get(), 0, "Dave's");
    EXPECT_EQ(projects->Update(), S_OK) << ErrorText();
    EXPECT_EQ(Names(), "Dave's\nProject 2");
}

TEST_F(ProjectRights, TheAdministratorKeepsEveryRight)
{
    ComPtr<lindor::IExeContext> admin = LogIn("Admin", 1);
    ComPtr<lindor::IProjectSet> projects = Projects(admin.get());
    Rename(projects.get(), 1, "Renamed");
    ASSERT_EQ(projects->Update(), S_OK) << ErrorText();
    ASSERT_EQ(projects->DeleteByID(1), S_OK) << ErrorText();
    EXPECT_EQ(Names(), "Renamed");
}

TEST_F(ProjectRights, AppendKeepsEveryNewProject)
{
    ComPtr<lindor::IExeContext> admin = LogIn("Admin");
    ComPtr<lindor::IProjectSet> projects = Projects(admin.get());
    ComPtr<lindor::IProject> first = Make<lindor::IProject>("Lindor.Project.1");
    ComPtr<lindor::IProject> second = Make<lindor::IProject>("Lindor.Project.1");
    ASSERT_EQ(projects->Append(first.get()), S_OK);
    ASSERT_EQ(projects->Append(second.get()), S_OK);
    ComPtr<lindor::IProject> stored;
    ASSERT_EQ(projects->get_Item(0, stored.put()), S_OK);
    ASSERT_EQ(projects->Append(stored.get()), S_OK);  // a stored one only once
    std::int32_t count = 0;
    projects->get_Count(&count);
    EXPECT_EQ(count, 4);
}

TEST_F(ProjectRights, DeletingAProjectTakesEveryBugThatNamesIt)
{
    ComPtr<lindor::IExeContext> admin = LogIn("Admin");
    ComPtr<lindor::IProjectSet> projects = Projects(admin.get());
    ComPtr<lindor::IProject> empty = Make<lindor::IProject>("Lindor.Project.1");
    empty->put_Name("No versions");
    ASSERT_EQ(projects->Add(empty.get()), S_OK) << ErrorText();
    std::int32_t id = 0;
    empty->get_ID(&id);
    const std::string project = std::to_string(id);
    Sql("INSERT INTO tBugReport (BugID, SeverityName, StatusName, PriorityName, ReproductiveName, "
        "Description, ReportedInPrjID, ReportedInVersionID, BugType) VALUES "
        "(1, 'Normal', 'New', 'Low', 'Always', 'of it', " +
        project +
        ", 0, 0),"
        "(2, 'Normal', 'New', 'Low', 'Always', 'of project 1', 1, 0, 0),"
        "(3, 'Normal', 'New', 'Low', 'Always', 'in project 2', 2, 3, 0);"
        "INSERT INTO tAttachment (AttachmentID, BugID, FileName, FileData) VALUES "
        "(1, 1, 'a.txt', X'00'), (2, 2, 'b.txt', X'00');");

    ASSERT_EQ(projects->DeleteByID(id), S_OK) << ErrorText();
    EXPECT_EQ(Sql("SELECT BugID FROM tBugReport ORDER BY BugID;"), "2\n3");
    EXPECT_EQ(Sql("SELECT AttachmentID FROM tAttachment;"), "2");

    // With versions too, the bugs naming the project go, whatever version.
    ASSERT_EQ(projects->DeleteByID(1), S_OK) << ErrorText();
    EXPECT_EQ(Sql("SELECT BugID FROM tBugReport;"), "3");
    EXPECT_EQ(Count("tAttachment"), 0);
}

}  // namespace
