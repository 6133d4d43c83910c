// A user's role, system information and projects, each read afresh.
#include <gtest/gtest.h>

#include "core/ClassRegistry.h"
#include "mapping/DBUtil.h"
#include "support/ContextTestSupport.h"
#include "users/CUser.h"
#include "users/CUserSysInfo.h"

namespace lindor {
namespace {

using test::CountRows;
using test::LastCallerError;
using test::LogWatch;
using test::NextID;

std::string ErrorText()
{
    return LastCallerError().description;
}

// The stored user with this ID, read as the engine reads users.
ComPtr<IUser> StoredUser(std::int32_t id)
{
    db::Recordset row;
    row.Open(Format("SELECT * FROM tUser WHERE UserID = %ld", static_cast<long>(id)),
             db::ProcessConnectionString());
    ComPtr<CUser> user = MakeObject<CUser>();
    EXPECT_FALSE(row.IsEOF());
    if (!row.IsEOF()) {
        EXPECT_EQ(CDBUtil::GetUserData(row, user.get()), S_OK);
    }
    return user;
}

std::vector<std::string> Statuses(IRight* right)
{
    ComPtr<IBugStatus> list;
    right->get_AvailableStatus(list.put());
    return test::NamesOf(list.get());
}

TEST(UserClasses, AreCreatedByTheirClassNames)
{
    for (const char* name : {"Lindor.User.1", "Lindor.UserSet", "Lindor.UserSysInfo.1"}) {
        ComPtr<IUnknown> object;
        EXPECT_EQ(ClassRegistry::Create(name, IUnknown::IID, object.put_void()), S_OK) << name;
    }
}

TEST(UserClasses, TheClassificationSetMembersDoNothing)
{
    ComPtr<IUser> user = MakeObject<CUser>();
    ComPtr<IClassificationSet> set;
    EXPECT_EQ(user->get_ClassSet(set.put()), S_OK);
    EXPECT_FALSE(set);
    EXPECT_EQ(user->put_ClassSet(nullptr), S_OK);
}

// ---- role --------------------------------------------------------------------------------

TEST(UserRole, AUserWithoutIdentifierHasNone)
{
    test::NewDatabase();
    ComPtr<IUser> user = MakeObject<CUser>();
    LogWatch watch;
    ComPtr<IUserRight> role;
    EXPECT_EQ(user->get_Right(role.put()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Get user's right failed");
    EXPECT_EQ(LastCallerError().source, "Lindor.User.1");
    EXPECT_TRUE(watch.Has(0, "CUser::get_Right", "UserID is is 0, cannot get it's right"));
}

TEST(UserRole, WithoutARoleIsEmptyAndLoggedOnce)
{
    test::NewDatabase();
    ComPtr<IUser> admin = StoredUser(1);
    LogWatch watch;
    ComPtr<IUserRight> role;
    ASSERT_EQ(admin->get_Right(role.put()), S_OK);
    std::int32_t addProject = 1, count = -1;
    role->get_AddProject(&addProject);
    ComPtr<IRightSet> rights;
    role->get_RightSet(rights.put());
    rights->get_Count(&count);
    EXPECT_EQ(addProject, 0);
    EXPECT_EQ(count, 0);
    ASSERT_EQ(watch.Entries().size(), 1u);
    EXPECT_TRUE(watch.Has(2, "CUser::get_Right", "This user's right is not found in database"));
}

TEST(UserRole, LoadsAddProjectAndEveryRightsRowWithItsOwnStatuses)
{
    test::NewDatabase();
    test::AddRole(4, true);
    test::AddRight(40, 4, 1, {"Read", "EditAttachment"});
    test::AddRight(41, 4, 2, {"Print"});
    test::AddRight(42, 4, 2, {});  // a second row for project 2 is not kept twice
    test::AddAvailableStatus(40, "New");
    test::AddAvailableStatus(40, "Active");
    test::AddAvailableStatus(41, "Resolved");
    test::AddUser(2, "jack", 4);
    ComPtr<IUserRight> role;
    ASSERT_EQ(StoredUser(2)->get_Right(role.put()), S_OK);
    std::int32_t addProject = 0, count = 0;
    role->get_AddProject(&addProject);
    EXPECT_EQ(addProject, 1);
    ComPtr<IRightSet> rights;
    role->get_RightSet(rights.put());
    rights->get_Count(&count);
    EXPECT_EQ(count, 2);
    ComPtr<IRight> first, second;
    rights->GetByProjectID(1, first.put());
    rights->GetByProjectID(2, second.put());
    ASSERT_TRUE(first && second);
    std::int32_t id = 0, editBug = 0, print = 1;
    first->get_ID(&id);
    first->get_EditBug(&editBug);
    first->get_Print(&print);
    EXPECT_EQ(id, 40);
    EXPECT_EQ(editBug, 1);
    EXPECT_EQ(print, 0);
    EXPECT_EQ(Statuses(first.get()), (std::vector<std::string>{"New", "Active"}));
    EXPECT_EQ(Statuses(second.get()), (std::vector<std::string>{"Resolved"}));
}

TEST(UserRole, IsReadAfreshOnEveryRequest)
{
    test::NewDatabase();
    test::AddRole(4, false);
    test::AddUser(2, "jack", 4);
    ComPtr<IUser> user = StoredUser(2);
    ComPtr<IUserRight> before, after;
    ASSERT_EQ(user->get_Right(before.put()), S_OK);
    test::ExecuteSql("UPDATE tUserRight SET AddProject = 1");
    ASSERT_EQ(user->get_Right(after.put()), S_OK);
    std::int32_t then = -1, now = -1;
    before->get_AddProject(&then);
    after->get_AddProject(&now);
    EXPECT_EQ(then, 0);
    EXPECT_EQ(now, 1);
}

// ---- system information -------------------------------------------------------------------

TEST(UserSysInfoAccess, AUserWithoutIdentifierHasNone)
{
    test::NewDatabase();
    ComPtr<IUser> user = MakeObject<CUser>();
    LogWatch watch;
    ComPtr<IUserSysInfo> info;
    EXPECT_EQ(user->get_SysInfo(info.put()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Get user's system infomation failed");
    EXPECT_TRUE(
        watch.Has(0, "CUser::get_SysInfo", "User is is 0, cannot retrieve it's system infomation"));
    EXPECT_EQ(user->put_SysInfo(MakeObject<CUserSysInfo>().get()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Set user's system infomation failed");
    EXPECT_TRUE(
        watch.Has(0, "CUser::put_SysInfo", "User is is 0, cannot set it's system infomation"));
}

TEST(UserSysInfoAccess, IsAddedOnceAndRewrittenAfterwards)
{
    test::NewDatabase();
    ComPtr<IUser> admin = StoredUser(1);
    ComPtr<IUserSysInfo> none;
    ASSERT_EQ(admin->get_SysInfo(none.put()), S_OK);
    EXPECT_FALSE(none);

    ComPtr<IUserSysInfo> info = MakeObject<CUserSysInfo>();
    info->put_OS("Linux");
    info->put_IEVersion("none");
    ASSERT_EQ(admin->put_SysInfo(info.get()), S_OK) << ErrorText();
    std::int32_t id = 0;
    info->get_ID(&id);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(NextID("NextSysInfoID"), 2);

    ComPtr<IUserSysInfo> replacement = MakeObject<CUserSysInfo>();
    replacement->put_OS("BSD");
    ASSERT_EQ(admin->put_SysInfo(replacement.get()), S_OK) << ErrorText();
    EXPECT_EQ(CountRows("SELECT * FROM tUserSystemInfo"), 1);
    EXPECT_EQ(NextID("NextSysInfoID"), 2) << "an existing record needs no identifier";

    ComPtr<IUserSysInfo> stored;
    ASSERT_EQ(admin->get_SysInfo(stored.put()), S_OK);
    ASSERT_TRUE(stored);
    std::string os, ie;
    stored->get_OS(&os);
    stored->get_IEVersion(&ie);
    stored->get_ID(&id);
    EXPECT_EQ(os, "BSD");
    EXPECT_EQ(ie, "") << "the rewrite stores the new object's texts";
    EXPECT_EQ(id, 1);
}

TEST(UserSysInfoAccess, AFailedWriteLeavesNothingBehind)
{
    test::NewDatabase();
    ComPtr<IUser> admin = StoredUser(1);
    ComPtr<IUserSysInfo> info = MakeObject<CUserSysInfo>();
    info->put_CPU(std::string(300, 'c'));  // longer than the column
    LogWatch watch;
    EXPECT_EQ(admin->put_SysInfo(info.get()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Set user's system infomation failed");
    EXPECT_EQ(CountRows("SELECT * FROM tUserSystemInfo"), 0);
    std::int32_t id = -1;
    info->get_ID(&id);
    EXPECT_EQ(id, 0);
    EXPECT_EQ(admin->put_SysInfo(nullptr), E_FAIL);
}

// ---- projects ---------------------------------------------------------------------------

TEST(UserProjects, AUserWithoutIdentifierHasNone)
{
    test::NewDatabase();
    LogWatch watch;
    ComPtr<IProjectSet> projects;
    EXPECT_EQ(MakeObject<CUser>()->get_ProjectSet(projects.put()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Get user's Project failed.");
    EXPECT_TRUE(watch.Has(2, "CUser::get_ProjectSet", "User id is 0."));
}

TEST(UserProjects, ListsTheProjectsOfTheRolesRightsWithoutAContext)
{
    test::NewDatabase();
    test::AddRole(4, false);
    test::AddRight(40, 4, 2, {});
    test::AddUser(2, "jack", 4);
    ComPtr<IProjectSet> projects;
    ASSERT_EQ(StoredUser(2)->get_ProjectSet(projects.put()), S_OK) << ErrorText();
    std::int32_t count = 0, id = 0, versions = 0;
    projects->get_Count(&count);
    ASSERT_EQ(count, 1);
    ComPtr<IProject> project;
    projects->get_Item(0, project.put());
    project->get_ID(&id);
    project->get_VersionCount(&versions);
    EXPECT_EQ(id, 2);
    EXPECT_EQ(versions, 2);
    ComPtr<IExeContext> context;
    EXPECT_EQ(projects->get_ExeContext(context.put()), S_OK);
    EXPECT_FALSE(context);
    ComPtr<IProjectSet> none;
    ASSERT_EQ(StoredUser(1)->get_ProjectSet(none.put()), S_OK);
    none->get_Count(&count);
    EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace lindor
