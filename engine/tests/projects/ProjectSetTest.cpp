// Storing, updating and deleting projects through a project set: identifiers,
// rights, what goes with a project or version, and whole rollback.
#include <gtest/gtest.h>

#include "projects/CProject.h"
#include "projects/CProjectSet.h"
#include "support/ContextTestSupport.h"

namespace lindor {
namespace {

using test::CountRows;
using test::LastCallerError;
using test::LogWatch;
using test::NextID;
using test::OpenContext;

using test::ErrorText;

ComPtr<IProject> NewProject(const std::string& name, std::initializer_list<const char*> versions)
{
    ComPtr<IProject> project = MakeObject<CProject>();
    project->put_Name(name);
    for (const char* version : versions) {
        ComPtr<IVersion> added;
        project->AddVersion(version, "", 0.0, added.put());
    }
    return project;
}

ComPtr<IProjectSet> AllProjects(CExeContext& context)
{
    ComPtr<IProjectSet> projects;
    EXPECT_EQ(context.get_ProjectSet(projects.put()), S_OK);
    return projects;
}

ComPtr<IProject> ItemAt(IProjectSet* projects, std::int32_t index)
{
    ComPtr<IProject> project;
    EXPECT_EQ(projects->get_Item(index, project.put()), S_OK);
    return project;
}

std::vector<std::int32_t> VersionIDs(IProject* project)
{
    std::int32_t count = 0;
    project->get_VersionCount(&count);
    std::vector<std::int32_t> ids;
    for (std::int32_t i = 0; i < count; ++i) {
        ComPtr<IVersion> version;
        project->get_Version(i, version.put());
        std::int32_t id = 0;
        version->get_ID(&id);
        ids.push_back(id);
    }
    return ids;
}

std::int32_t IDOf(IProject* project)
{
    std::int32_t id = -1;
    project->get_ID(&id);
    return id;
}

std::int32_t Count(IProjectSet* projects)
{
    std::int32_t count = -1;
    projects->get_Count(&count);
    return count;
}

// Everything that hangs on project 1 of a new database, and the same kinds
// of rows in project 2 that must survive its deletion.
void AddRowsOnBothProjects()
{
    test::AddBug(1, 1);     // reported in version 1 (project 1)
    test::AddBug(2, 2);     // reported in version 2 (project 1)
    test::AddBug(3, 3, 1);  // reported in project 2, fixed in version 1
    test::AddAttachment(1, 1);
    test::AddAttachment(2, 3);
    test::AddClassification(1, 1);
    test::AddClassification(2, 2);
    test::AssignClassification(1, 1);
    test::AssignClassification(1, 2);
    test::AddRole(1, false);
    test::AddRight(10, 1, 1, {"Read"});
    test::AddRight(11, 1, 2, {"Read"});
    test::AddAvailableStatus(10, "New");
    test::AddAvailableStatus(11, "New");
}

struct RowCounts {
    long projects, versions, bugs, attachments, classifications, assignments, rights, statuses;
    bool operator==(const RowCounts& o) const
    {
        return projects == o.projects && versions == o.versions && bugs == o.bugs &&
               attachments == o.attachments && classifications == o.classifications &&
               assignments == o.assignments && rights == o.rights && statuses == o.statuses;
    }
};

RowCounts CountEverything()
{
    return {
        CountRows("SELECT * FROM tProject"),        CountRows("SELECT * FROM tVersion"),
        CountRows("SELECT * FROM tBugReport"),      CountRows("SELECT * FROM tAttachment"),
        CountRows("SELECT * FROM tClassification"), CountRows("SELECT * FROM tUserClassification"),
        CountRows("SELECT * FROM tRight"),          CountRows("SELECT * FROM tAvailableStatus")};
}

// A user "henry" (ID 2) with role 3 whose rights row 30 in project 1 holds
// the given flags; the context is logged in as henry with project 1 active.
ComPtr<CExeContext> HenryInProjectOne(const std::string& path, bool addProject,
                                      std::initializer_list<const char*> flags)
{
    test::AddRole(3, addProject);
    test::AddRight(30, 3, 1, flags);
    test::AddUser(2, "henry", 3);
    ComPtr<CExeContext> context = OpenContext(path, "henry");
    EXPECT_EQ(context->SetActiveProject(1, 0), S_OK);
    return context;
}

// ---- adding --------------------------------------------------------------------------

TEST(ProjectSetAdd, StoresAProjectAndItsVersionsUnderNewIdentifiers)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> admin = OpenContext(path, "Admin");
    ComPtr<IProjectSet> projects = AllProjects(*admin);
    ComPtr<IProject> project = NewProject("Gamma", {"1.0", "1.1", "2.0"});
    ASSERT_EQ(projects->Add(project.get()), S_OK) << ErrorText();
    EXPECT_EQ(IDOf(project.get()), 3);
    EXPECT_EQ(VersionIDs(project.get()), (std::vector<std::int32_t>{5, 6, 7}));
    EXPECT_EQ(Count(projects.get()), 3);
    EXPECT_EQ(ItemAt(projects.get(), 2).get(), project.get()) << "the caller's object is appended";
    EXPECT_EQ(CountRows("SELECT * FROM tProject WHERE ProjectID = 3 AND Name = 'Gamma'"), 1);
    EXPECT_EQ(CountRows("SELECT * FROM tVersion WHERE ProjectID = 3"), 3);
    EXPECT_EQ(CountRows("SELECT * FROM tVersion WHERE VersionID = 6 AND VersionName = '1.1'"), 1);
    EXPECT_TRUE(
        test::ReadValue("SELECT * FROM tProject WHERE ProjectID = 3", "Description").IsNull());
}

TEST(ProjectSetAdd, AFailureRollsTheWholeAddBack)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> admin = OpenContext(path, "Admin");
    ComPtr<IProjectSet> projects = AllProjects(*admin);
    // The third version's name is longer than its column allows.
    ComPtr<IProject> project = NewProject("Gamma", {"1.0", "1.1"});
    ComPtr<IVersion> tooLong;
    project->AddVersion(std::string(300, 'v'), "", 0.0, tooLong.put());
    const RowCounts before = CountEverything();
    LogWatch watch;
    EXPECT_EQ(projects->Add(project.get()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Add Project failed.");
    EXPECT_TRUE(watch.Has(0, "IProjectSet::Add", "Add Project failed."));
    EXPECT_TRUE(watch.Has(2, "IProjectSet::RealAddVersion"));
    EXPECT_TRUE(CountEverything() == before);
    EXPECT_EQ(CountRows("SELECT * FROM tProject WHERE Name = 'Gamma'"), 0);
    EXPECT_EQ(Count(projects.get()), 2);
    EXPECT_EQ(IDOf(project.get()), 0) << "no identifier of a write that never happened";
    EXPECT_EQ(VersionIDs(project.get()), (std::vector<std::int32_t>{0, 0, 0}));
}

TEST(ProjectSetAdd, WithoutAContextWritesNothing)
{
    const std::string path = test::NewDatabase();
    ComPtr<CProjectSet> projects = MakeObject<CProjectSet>();
    LogWatch watch;
    EXPECT_EQ(projects->Add(NewProject("Gamma", {}).get()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Add Project failed.");
    EXPECT_TRUE(watch.Has(0, "IProjectSet::Add", "ExeContext is NULL"));
    EXPECT_EQ(CountRows("SELECT * FROM tProject"), 2);
    EXPECT_EQ(NextID("NextProjectID"), 3);
}

TEST(ProjectSetAdd, NeedsTheRolesAddProjectRight)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> henry = HenryInProjectOne(path, false, {"EditProject"});
    ComPtr<IProjectSet> projects = AllProjects(*henry);
    LogWatch watch;
    EXPECT_EQ(projects->Add(NewProject("Gamma", {}).get()), E_FAIL);
    EXPECT_EQ(ErrorText(), "You have no right to add Project, please contact your manager!");
    EXPECT_TRUE(watch.Entries().empty()) << "this refusal is not logged";
    EXPECT_EQ(CountRows("SELECT * FROM tProject"), 2);
}

TEST(ProjectSetAdd, ARoleWithAddProjectMayAdd)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> henry = HenryInProjectOne(path, true, {});
    ComPtr<IProjectSet> projects = AllProjects(*henry);
    EXPECT_EQ(projects->Add(NewProject("Gamma", {"1"}).get()), S_OK) << ErrorText();
}

// ---- updating ------------------------------------------------------------------------

TEST(ProjectSetUpdate, BeforeAnyItemFails)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> admin = OpenContext(path, "Admin");
    ComPtr<IProjectSet> projects = AllProjects(*admin);
    LogWatch watch;
    EXPECT_EQ(projects->Update(), E_FAIL);
    EXPECT_EQ(ErrorText(), "Update Project failed!\n");
    EXPECT_TRUE(watch.Has(0, "IProjectSet::RealUpdateProject", "Project interface is not valid"));
}

TEST(ProjectSetUpdate, WritesTheCurrentProjectKeepingVersionIdentifiers)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> admin = OpenContext(path, "Admin");
    ComPtr<IProjectSet> projects = AllProjects(*admin);
    ComPtr<IProject> project = ItemAt(projects.get(), 0);
    project->put_Name("Renamed");
    project->put_Description("now described");
    ComPtr<IVersion> first;
    project->get_Version(0, first.put());
    first->put_Name("1.0 final");
    ComPtr<IVersion> added;
    project->AddVersion("3.0", "", 0.0, added.put());
    ASSERT_EQ(projects->Update(), S_OK) << ErrorText();
    EXPECT_EQ(VersionIDs(project.get()), (std::vector<std::int32_t>{1, 2, 5}));
    EXPECT_EQ(NextID("NextVersionID"), 6);
    EXPECT_EQ(CountRows("SELECT * FROM tProject WHERE ProjectID = 1 AND Name = 'Renamed' AND "
                        "Description = 'now described'"),
              1);
    EXPECT_EQ(CountRows("SELECT * FROM tVersion WHERE VersionID = 1 AND VersionName = '1.0 final'"),
              1);
    EXPECT_EQ(CountRows("SELECT * FROM tVersion WHERE VersionID = 5 AND ProjectID = 1"), 1);
}

TEST(ProjectSetUpdate, ARemovedVersionGoesWithTheBugsReportedInIt)
{
    const std::string path = test::NewDatabase();
    AddRowsOnBothProjects();
    test::AddBug(4, 1);  // a second bug reported in version 1
    ComPtr<CExeContext> admin = OpenContext(path, "Admin");
    ComPtr<IProjectSet> projects = AllProjects(*admin);
    ComPtr<IProject> project = ItemAt(projects.get(), 0);
    ASSERT_EQ(project->RemoveVersion("Version 1.0"), S_OK);
    ASSERT_EQ(projects->Update(), S_OK) << ErrorText();
    EXPECT_EQ(CountRows("SELECT * FROM tVersion WHERE VersionID = 1"), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tBugReport WHERE BugID IN (1, 4)"), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tAttachment WHERE BugID = 1"), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tBugReport WHERE BugID = 3"), 1)
        << "a bug fixed in the version stays";
    EXPECT_EQ(CountRows("SELECT * FROM tBugReport WHERE BugID = 2"), 1);
    EXPECT_EQ(CountRows("SELECT * FROM tAttachment WHERE BugID = 3"), 1);
}

TEST(ProjectSetUpdate, AFailureRollsTheWholeUpdateBack)
{
    const std::string path = test::NewDatabase();
    AddRowsOnBothProjects();
    ComPtr<CExeContext> admin = OpenContext(path, "Admin");
    ComPtr<IProjectSet> projects = AllProjects(*admin);
    ComPtr<IProject> project = ItemAt(projects.get(), 0);
    project->put_Name("Renamed");
    project->RemoveVersion("Version 1.0");
    ComPtr<IVersion> added;
    project->AddVersion(std::string(300, 'v'), "", 0.0, added.put());
    const RowCounts before = CountEverything();
    LogWatch watch;
    EXPECT_EQ(projects->Update(), E_FAIL);
    EXPECT_EQ(ErrorText(), "Update Project failed!\n");
    EXPECT_TRUE(watch.Has(0, "CProjectSet::RealUpdateVersion", "RealAddVersion Failded"));
    EXPECT_TRUE(CountEverything() == before);
    EXPECT_EQ(CountRows("SELECT * FROM tProject WHERE Name = 'Renamed'"), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tBugReport WHERE BugID = 1"), 1);
    EXPECT_EQ(VersionIDs(project.get()), (std::vector<std::int32_t>{2, 0}));
}

TEST(ProjectSetUpdate, AProjectDeletedMeanwhileFails)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> admin = OpenContext(path, "Admin");
    ComPtr<IProjectSet> stale = AllProjects(*admin);
    ComPtr<IProject> project = ItemAt(stale.get(), 1);
    ASSERT_EQ(AllProjects(*admin)->DeleteByID(2), S_OK);
    LogWatch watch;
    EXPECT_EQ(stale->Update(), E_FAIL);
    EXPECT_TRUE(watch.Has(0, "IProjectSet::RealUpdateProject",
                          "Project(ID=2) does not exist, Update failed"));
    EXPECT_EQ(CountRows("SELECT * FROM tVersion WHERE ProjectID = 2"), 0);
}

TEST(ProjectSetUpdate, ChecksTheEditRightOfTheProjectChanged)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> henry = HenryInProjectOne(path, false, {"Read"});
    ComPtr<IProjectSet> projects = AllProjects(*henry);
    ItemAt(projects.get(), 0)->put_Name("Renamed");
    EXPECT_EQ(projects->Update(), E_FAIL);
    EXPECT_EQ(ErrorText(), "You have no right to update Project, please contact your manager!");
    // The rights of the project changed count, whichever project is active.
    ASSERT_EQ(henry->SetActiveProject(0, 0), S_OK);
    EXPECT_EQ(projects->Update(), E_FAIL);
    EXPECT_EQ(ErrorText(), "You have no right to update Project, please contact your manager!");
    ItemAt(projects.get(), 1)->put_Name("Renamed");
    EXPECT_EQ(projects->Update(), E_FAIL);
    EXPECT_EQ(ErrorText(), "You have no right to edit Project, please contact your manager!");
    EXPECT_EQ(CountRows("SELECT * FROM tProject WHERE Name = 'Renamed'"), 0);
}

TEST(ProjectSetUpdate, TheEditRightOfTheActiveProjectDoesNotCoverOtherProjects)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> henry = HenryInProjectOne(path, false, {"EditProject"});
    ComPtr<IProjectSet> projects = AllProjects(*henry);
    ItemAt(projects.get(), 1)->put_Name("Renamed");
    EXPECT_EQ(projects->Update(), E_FAIL);
    EXPECT_EQ(ErrorText(), "You have no right to edit Project, please contact your manager!");
    EXPECT_EQ(CountRows("SELECT * FROM tProject WHERE Name = 'Renamed'"), 0);
    ItemAt(projects.get(), 0)->put_Name("Renamed");
    EXPECT_EQ(projects->Update(), S_OK) << ErrorText();
    EXPECT_EQ(CountRows("SELECT * FROM tProject WHERE ProjectID = 1 AND Name = 'Renamed'"), 1);
}

// ---- deleting ------------------------------------------------------------------------

TEST(ProjectSetDelete, TakesEverythingThatHangsOnTheProject)
{
    const std::string path = test::NewDatabase();
    AddRowsOnBothProjects();
    ComPtr<CExeContext> admin = OpenContext(path, "Admin");
    ComPtr<IProjectSet> projects = AllProjects(*admin);
    ASSERT_EQ(projects->DeleteByID(1), S_OK) << ErrorText();
    EXPECT_EQ(Count(projects.get()), 1);
    EXPECT_EQ(IDOf(ItemAt(projects.get(), 0).get()), 2);
    const RowCounts left = CountEverything();
    EXPECT_TRUE(left == (RowCounts{1, 2, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(CountRows("SELECT * FROM tBugReport WHERE BugID = 3"), 1);
    EXPECT_EQ(CountRows("SELECT * FROM tAttachment WHERE BugID = 3"), 1);
    EXPECT_EQ(CountRows("SELECT * FROM tUserClassification WHERE ClassificationID = 2"), 1);
    EXPECT_EQ(CountRows("SELECT * FROM tAvailableStatus WHERE RightID = 11"), 1);
}

TEST(ProjectSetDelete, AFailureMidwayRollsTheWholeDeletionBack)
{
    const std::string path = test::NewDatabase();
    AddRowsOnBothProjects();
    // The project row itself is the last to go: every row before it is
    // deleted by then and must come back.
    test::RefuseDeletesFrom("tProject");
    ComPtr<CExeContext> admin = OpenContext(path, "Admin");
    ComPtr<IProjectSet> projects = AllProjects(*admin);
    const RowCounts before = CountEverything();
    LogWatch watch;
    EXPECT_EQ(projects->DeleteByID(1), E_FAIL);
    EXPECT_EQ(ErrorText(), "Delete Project failed");
    EXPECT_TRUE(watch.Has(2, "CProjectSet::RealDeleteProject", "deleting is refused"));
    EXPECT_TRUE(CountEverything() == before);
    EXPECT_EQ(Count(projects.get()), 2);
    EXPECT_EQ(projects->DeleteByIndex(0), E_FAIL);
    EXPECT_EQ(ErrorText(), "Delelte Project failed");
    EXPECT_TRUE(CountEverything() == before);
    EXPECT_EQ(Count(projects.get()), 2);
}

TEST(ProjectSetDelete, AnIDNotInTheSetTouchesNothing)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> admin = OpenContext(path, "Admin");
    ComPtr<IProjectSet> projects = AllProjects(*admin);
    projects->Remove(1);
    LogWatch watch;
    EXPECT_EQ(projects->DeleteByID(2), E_FAIL);
    EXPECT_EQ(ErrorText(), "Project(ID=2) is not in this set");
    EXPECT_TRUE(watch.Has(0, "CCProjectSet::DeleteByID", "Project(ID=2) is not in this set"));
    EXPECT_EQ(CountRows("SELECT * FROM tProject"), 2);
}

TEST(ProjectSetDelete, ByIndexDeletesTheItemAndChecksBounds)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> admin = OpenContext(path, "Admin");
    ComPtr<IProjectSet> projects = AllProjects(*admin);
    LogWatch watch;
    EXPECT_EQ(projects->DeleteByIndex(2), E_FAIL);
    EXPECT_EQ(ErrorText(), "Some error has occured, please see err.log!");
    EXPECT_TRUE(watch.Has(1, "CProjectSet::DeleteByIndex"));
    ASSERT_EQ(projects->DeleteByIndex(1), S_OK) << ErrorText();
    EXPECT_EQ(CountRows("SELECT * FROM tProject WHERE ProjectID = 2"), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tVersion WHERE ProjectID = 2"), 0);
    EXPECT_EQ(Count(projects.get()), 1);
}

TEST(ProjectSetDelete, NeedsTheDeleteRightOfTheActiveProject)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> henry = HenryInProjectOne(path, true, {"EditProject"});
    ComPtr<IProjectSet> projects = AllProjects(*henry);
    const std::string refusal = "You have no right to delete Project, please contact your manager!";
    EXPECT_EQ(projects->DeleteByID(2), E_FAIL);
    EXPECT_EQ(ErrorText(), refusal);
    EXPECT_EQ(projects->DeleteByIndex(1), E_FAIL);
    EXPECT_EQ(ErrorText(), "Delelte Project failed");
    EXPECT_EQ(CountRows("SELECT * FROM tProject"), 2);
}

TEST(ProjectSetDelete, ASetWithoutAContextHasNoRights)
{
    const std::string path = test::NewDatabase();
    test::AddRole(1, false);
    test::AddRight(10, 1, 1, {});
    test::AddUser(2, "ivy", 1);
    ComPtr<CExeContext> context = OpenContext(path, "ivy");
    ComPtr<IUser> user;
    ASSERT_EQ(context->get_CurUser(user.put()), S_OK);
    ComPtr<IProjectSet> projects;
    ASSERT_EQ(user->get_ProjectSet(projects.put()), S_OK);
    ASSERT_EQ(Count(projects.get()), 1);
    EXPECT_EQ(projects->DeleteByID(1), E_FAIL);
    EXPECT_EQ(ErrorText(), "You have no right to delete Project, please contact your manager!");
    ItemAt(projects.get(), 0);
    EXPECT_EQ(projects->Update(), E_FAIL);
    EXPECT_EQ(ErrorText(), "You have no right to edit Project, please contact your manager!");
    EXPECT_EQ(projects->Add(NewProject("Gamma", {}).get()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Add Project failed.");
    ComPtr<IExeContext> attached;
    EXPECT_EQ(projects->get_ExeContext(attached.put()), S_OK);
    EXPECT_FALSE(attached);
}

// ---- in memory -----------------------------------------------------------------------

TEST(ProjectSetMemory, AppendSkipsNullAndKnownIdentifiers)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> admin = OpenContext(path, "Admin");
    ComPtr<IProjectSet> projects = AllProjects(*admin);
    ComPtr<IProjectSet> other = AllProjects(*admin);
    EXPECT_EQ(projects->Append(ItemAt(other.get(), 0).get()), S_OK);
    EXPECT_EQ(projects->Append(nullptr), S_OK);
    EXPECT_EQ(Count(projects.get()), 2);
    EXPECT_EQ(projects->Append(NewProject("new", {}).get()), S_OK);
    EXPECT_EQ(Count(projects.get()), 3);
    EXPECT_EQ(projects->Refresh(), S_OK);
    EXPECT_EQ(Count(projects.get()), 3);
}

TEST(ProjectSetMemory, IndexesOutsideTheSetFail)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> admin = OpenContext(path, "Admin");
    ComPtr<IProjectSet> projects = AllProjects(*admin);
    LogWatch watch;
    ComPtr<IProject> project;
    EXPECT_EQ(projects->get_Item(2, project.put()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Some error has occured, please see err.log!");
    EXPECT_TRUE(watch.Has(1, "IProjectSet::Item"));
    EXPECT_EQ(projects->Remove(-1), E_FAIL);
    EXPECT_TRUE(watch.Has(1, "IProjectSet::Remove"));
    EXPECT_EQ(projects->Remove(0), S_OK);
    EXPECT_EQ(Count(projects.get()), 1);
    EXPECT_EQ(CountRows("SELECT * FROM tProject"), 2) << "Remove works in memory only";
}

}  // namespace
}  // namespace lindor
