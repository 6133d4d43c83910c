// The project, version and user lists the context hands out, and the
// password change; every list is read afresh, so a second context sees a
// change at once.
#include <gtest/gtest.h>

#include "support/ContextTestSupport.h"

namespace lindor {
namespace {

using test::CountRows;
using test::LastCallerError;
using test::LogWatch;
using test::OpenContext;

using test::ErrorText;

std::vector<std::int32_t> ProjectIDs(IProjectSet* projects)
{
    std::int32_t count = 0;
    projects->get_Count(&count);
    std::vector<std::int32_t> ids;
    for (std::int32_t i = 0; i < count; ++i) {
        ComPtr<IProject> project;
        projects->get_Item(i, project.put());
        std::int32_t id = 0;
        project->get_ID(&id);
        ids.push_back(id);
    }
    return ids;
}

ComPtr<IExeContext> AttachedContext(IProjectSet* projects)
{
    ComPtr<IExeContext> context;
    EXPECT_EQ(projects->get_ExeContext(context.put()), S_OK);
    return context;
}

// Role 1 with rights in project 2, then project 1 (the rights set keeps that
// order), for user "erin" (ID 2).
void AddErinWithRightsInBothProjects()
{
    test::AddRole(1, false);
    test::AddRight(10, 1, 2, {"Read"});
    test::AddRight(11, 1, 1, {"Read"});
    test::AddUser(2, "erin", 1);
}

// ---- project lists -------------------------------------------------------------------

TEST(CurUserProjectSet, BeforeALoginIsEmpty)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> context = OpenContext(path);
    ComPtr<IProjectSet> projects;
    ASSERT_EQ(context->get_CurUserProjectSet(projects.put()), S_OK);
    ASSERT_TRUE(projects);
    EXPECT_TRUE(ProjectIDs(projects.get()).empty());
}

TEST(CurUserProjectSet, ListsTheRolesProjectsInRightsOrderWithTheContext)
{
    const std::string path = test::NewDatabase();
    AddErinWithRightsInBothProjects();
    ComPtr<CExeContext> context = OpenContext(path, "erin");
    ComPtr<IProjectSet> projects;
    ASSERT_EQ(context->get_CurUserProjectSet(projects.put()), S_OK);
    EXPECT_EQ(ProjectIDs(projects.get()), (std::vector<std::int32_t>{2, 1}));
    EXPECT_EQ(AttachedContext(projects.get()).get(), static_cast<IExeContext*>(context.get()));
    ComPtr<IProject> first;
    projects->get_Item(0, first.put());
    std::int32_t versions = 0;
    first->get_VersionCount(&versions);
    EXPECT_EQ(versions, 2);
}

TEST(CurUserProjectSet, PassesOverARightsRowWhoseProjectIsGone)
{
    const std::string path = test::NewDatabase();
    AddErinWithRightsInBothProjects();
    ComPtr<CExeContext> erin = OpenContext(path, "erin");
    // The administrator deletes project 2 after erin's rights were read.
    ComPtr<CExeContext> admin = OpenContext(path, "Admin");
    ComPtr<IProjectSet> all;
    ASSERT_EQ(admin->get_ProjectSet(all.put()), S_OK);
    ASSERT_EQ(all->DeleteByID(2), S_OK) << ErrorText();
    ComPtr<IProjectSet> projects;
    ASSERT_EQ(erin->get_CurUserProjectSet(projects.put()), S_OK) << ErrorText();
    EXPECT_EQ(ProjectIDs(projects.get()), (std::vector<std::int32_t>{1}));
}

TEST(ProjectSet, ListsEveryProjectWithVersionsAndTheContext)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> context = OpenContext(path);
    ComPtr<IProjectSet> projects;
    ASSERT_EQ(context->get_ProjectSet(projects.put()), S_OK);
    EXPECT_EQ(ProjectIDs(projects.get()), (std::vector<std::int32_t>{1, 2}));
    EXPECT_TRUE(AttachedContext(projects.get()));
    ComPtr<IProject> second;
    projects->get_Item(1, second.put());
    ComPtr<IVersion> version;
    ASSERT_EQ(second->get_Version(0, version.put()), S_OK);
    std::int32_t id = 0;
    version->get_ID(&id);
    EXPECT_EQ(id, 3);
}

TEST(ProjectSet, ADatabaseFailureIsReported)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> context = OpenContext(path);
    context->Close();
    LogWatch watch;
    ComPtr<IProjectSet> projects;
    EXPECT_EQ(context->get_ProjectSet(projects.put()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Get current user's Project failded");
    EXPECT_TRUE(watch.Has(2, "CExeContext::get_ProjectSet", "\t(Source="));
}

TEST(ProjectSet, ASecondContextSeesAnAddedProjectAtOnce)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> first = OpenContext(path, "Admin");
    ComPtr<CExeContext> second = OpenContext(path);
    ComPtr<IProjectSet> before;
    ASSERT_EQ(second->get_ProjectSet(before.put()), S_OK);
    ComPtr<IProjectSet> projects;
    first->get_ProjectSet(projects.put());
    ComPtr<IProject> project;
    ASSERT_EQ(ClassRegistry::Create("Lindor.Project.1", IProject::IID, project.put_void()), S_OK);
    project->put_Name("Gamma");
    ASSERT_EQ(projects->Add(project.get()), S_OK) << ErrorText();
    ComPtr<IProjectSet> after;
    ASSERT_EQ(second->get_ProjectSet(after.put()), S_OK);
    EXPECT_EQ(ProjectIDs(before.get()).size(), 2u);
    EXPECT_EQ(ProjectIDs(after.get()), (std::vector<std::int32_t>{1, 2, 3}));
}

// ---- active project and version ------------------------------------------------------

TEST(ActiveProject, NothingActiveHandsOutNothing)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> context = OpenContext(path);
    ComPtr<IProject> project;
    ComPtr<IVersion> version;
    EXPECT_EQ(context->get_ActiveProject(project.put()), S_OK);
    EXPECT_EQ(context->get_ActiveVersion(version.put()), S_OK);
    EXPECT_FALSE(project);
    EXPECT_FALSE(version);
}

TEST(ActiveProject, HandsOutTheActiveProjectAndVersion)
{
    const std::string path = test::NewDatabase();
    AddErinWithRightsInBothProjects();
    ComPtr<CExeContext> context = OpenContext(path, "erin");
    ASSERT_EQ(context->SetActiveProject(2, 4), S_OK);
    ComPtr<IProject> project;
    ASSERT_EQ(context->get_ActiveProject(project.put()), S_OK);
    std::string name;
    project->get_Name(&name);
    EXPECT_EQ(name, "Project 2");
    ComPtr<IVersion> version;
    ASSERT_EQ(context->get_ActiveVersion(version.put()), S_OK);
    std::int32_t id = 0;
    version->get_ID(&id);
    version->get_Name(&name);
    EXPECT_EQ(id, 4);
    EXPECT_EQ(name, "Version 2.0");
}

TEST(ActiveProject, AProjectDeletedMeanwhileIsReported)
{
    const std::string path = test::NewDatabase();
    AddErinWithRightsInBothProjects();
    ComPtr<CExeContext> context = OpenContext(path, "erin");
    ASSERT_EQ(context->SetActiveProject(2, 4), S_OK);
    ComPtr<CExeContext> admin = OpenContext(path, "Admin");
    ComPtr<IProjectSet> all;
    admin->get_ProjectSet(all.put());
    ASSERT_EQ(all->DeleteByID(2), S_OK);
    LogWatch watch;
    ComPtr<IProject> project;
    EXPECT_EQ(context->get_ActiveProject(project.put()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Get current user's Project failded");
    EXPECT_TRUE(watch.Has(2, "CExeContext::get_ActiveProject", "Current Project does not exist"));
    ComPtr<IVersion> version;
    EXPECT_EQ(context->get_ActiveVersion(version.put()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Get current version failded");
    EXPECT_TRUE(watch.Has(2, "CExeContext::get_ActiveVersion", "Current version does not exist"));
}

// ---- users ---------------------------------------------------------------------------

TEST(AllUser, ListsEveryUserWithoutAContext)
{
    const std::string path = test::NewDatabase();
    test::AddUser(2, "frank");
    ComPtr<CExeContext> context = OpenContext(path);
    ComPtr<IUserSet> users;
    ASSERT_EQ(context->get_AllUser(users.put()), S_OK);
    std::int32_t count = 0;
    users->get_Count(&count);
    EXPECT_EQ(count, 2);
    ComPtr<IUser> second;
    users->get_Item(1, second.put());
    std::string login;
    second->get_LoginName(&login);
    EXPECT_EQ(login, "frank");
    ComPtr<IExeContext> attached;
    EXPECT_EQ(users->get_ExeContext(attached.put()), E_FAIL);
    EXPECT_EQ(ErrorText(), "RoleSet has no execute context object");
}

TEST(AllUser, ASecondContextSeesAnAddedUserAtOnce)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> first = OpenContext(path, "Admin");
    ComPtr<CExeContext> second = OpenContext(path);
    ComPtr<IUserSet> users;
    first->get_AllUser(users.put());
    ComPtr<IUser> user;
    ASSERT_EQ(ClassRegistry::Create("Lindor.User.1", IUser::IID, user.put_void()), S_OK);
    user->put_LoginName("grace");
    user->put_UserName("Grace");
    ASSERT_EQ(users->Add(user.get()), S_OK) << ErrorText();
    ComPtr<IUserSet> seen;
    ASSERT_EQ(second->get_AllUser(seen.put()), S_OK);
    std::int32_t count = 0;
    seen->get_Count(&count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(second->Login("grace", ""), S_OK);
}

// ---- password change -----------------------------------------------------------------

TEST(ChangePsw, ChangesTheLoggedInUsersStoredPassword)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> context = OpenContext(path, "Admin");
    ASSERT_EQ(context->ChangePsw("", "n3w pass"), S_OK) << ErrorText();
    ComPtr<CExeContext> other = OpenContext(path);
    EXPECT_EQ(other->Login("Admin", ""), E_FAIL);
    EXPECT_EQ(other->Login("Admin", "n3w pass"), S_OK) << "a second context sees it at once";
}

TEST(ChangePsw, AWrongOldPasswordChangesNothing)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> context = OpenContext(path, "Admin");
    LogWatch watch;
    EXPECT_EQ(context->ChangePsw("guess", "n3w"), E_FAIL);
    EXPECT_EQ(ErrorText(), "original password doesn't match");
    EXPECT_TRUE(watch.Has(0, "CExeContext::ChangePsw", "original password doesn't match"));
    EXPECT_TRUE(test::ReadValue("SELECT * FROM tUser WHERE UserID = 1", "Password").IsNull());
}

TEST(ChangePsw, APasswordLongerThan63BytesIsRefusedAndNothingWritten)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> context = OpenContext(path, "Admin");
    EXPECT_EQ(context->ChangePsw("", std::string(64, 'p')), E_FAIL);
    EXPECT_EQ(ErrorText(), "Password is too long (at most 63 bytes).");
    EXPECT_TRUE(test::ReadValue("SELECT * FROM tUser WHERE UserID = 1", "Password").IsNull());
    EXPECT_EQ(context->ChangePsw("", std::string(63, 'p')), S_OK);
    EXPECT_EQ(OpenContext(path)->Login("Admin", std::string(63, 'p')), S_OK);
}

TEST(ChangePsw, WithoutALoginChangesNothingAndSucceeds)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> context = OpenContext(path);
    EXPECT_EQ(context->ChangePsw("", "x"), S_OK);
    EXPECT_EQ(CountRows("SELECT * FROM tUser WHERE Password IS NULL"), 1);
}

}  // namespace
}  // namespace lindor
