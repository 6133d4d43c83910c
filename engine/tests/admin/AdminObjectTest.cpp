#include <gtest/gtest.h>

#include "admin/CAdmin.h"
#include "context/CExeContext.h"
#include "core/ErrorInfo.h"
#include "core/ErrorReport.h"
#include "support/StoredRows.h"
#include "support/TestDatabase.h"

namespace lindor {
namespace {

using test::ErrorFrom;
using test::InsertRow;
using test::LogWatch;

class AdminObjectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = test::NewDatabase();
        test::AddUser(2, "bob");
    }

    std::string path;
    ComPtr<CAdmin> admin = MakeObject<CAdmin>();
};

TEST_F(AdminObjectTest, TheUserSetHoldsEveryUserAndNoContext)
{
    ComPtr<IUserSet> users;
    ASSERT_EQ(admin->get_UserSet(users.put()), S_OK);
    std::int32_t count = 0;
    users->get_Count(&count);
    ASSERT_EQ(count, 2);
    for (std::int32_t i = 0; i < count; ++i) {
        ComPtr<IUser> user;
        users->get_Item(i, user.put());
        std::int32_t id = 0;
        std::string login;
        user->get_ID(&id);
        user->get_LoginName(&login);
        EXPECT_EQ(id, i + 1);
        EXPECT_EQ(login, i == 0 ? "Admin" : "bob");
    }
    ComPtr<IExeContext> context;
    EXPECT_EQ(users->get_ExeContext(context.put()), E_FAIL);
    EXPECT_EQ(ErrorFrom("UserSet"), "RoleSet has no execute context object");
}

TEST_F(AdminObjectTest, TheProjectSetHoldsEveryProjectWithItsVersionsAndMayNotChangeThem)
{
    ComPtr<IProjectSet> projects;
    ASSERT_EQ(admin->get_ProjectSet(projects.put()), S_OK);
    std::int32_t count = 0;
    projects->get_Count(&count);
    ASSERT_EQ(count, 2);
    for (std::int32_t i = 0; i < count; ++i) {
        ComPtr<IProject> project;
        projects->get_Item(i, project.put());
        std::int32_t versions = 0;
        project->get_VersionCount(&versions);
        EXPECT_EQ(versions, 2) << "project " << i + 1;
    }
    ComPtr<IExeContext> context;
    EXPECT_EQ(projects->get_ExeContext(context.put()), S_OK);
    EXPECT_FALSE(context);
    ComPtr<IProject> first;
    projects->get_Item(0, first.put());
    first->put_Name("renamed");
    EXPECT_EQ(projects->Update(), E_FAIL);
    EXPECT_EQ(test::StoredText("SELECT Name FROM tProject WHERE ProjectID = 1"), "Project 1");
}

TEST_F(AdminObjectTest, WithoutADatabaseNeitherListCanBeRead)
{
    db::SetProcessConnectionString("");
    LogWatch watch;
    ComPtr<IUserSet> users;
    EXPECT_EQ(admin->get_UserSet(users.put()), E_FAIL);
    EXPECT_FALSE(users);
    EXPECT_EQ(ErrorFrom("Admin"), "Get User failed");
    ComPtr<IProjectSet> projects;
    EXPECT_EQ(admin->get_ProjectSet(projects.put()), E_FAIL);
    EXPECT_FALSE(projects);
    EXPECT_EQ(ErrorFrom("Admin"), "Get Project failed");
    EXPECT_TRUE(watch.Has(kLogDatabase, "CAdmin::get_UserSet"));
    EXPECT_TRUE(watch.Has(kLogDatabase, "CAdmin::get_ProjectSet"));
}

TEST_F(AdminObjectTest, TheContextHandsTheObjectOnlyToTheAdministrator)
{
    ComPtr<CExeContext> context = test::OpenContext(path, "ADMIN");
    ComPtr<IAdmin> handedOut;
    ASSERT_EQ(context->get_Admin(handedOut.put()), S_OK);
    EXPECT_TRUE(handedOut);
    ASSERT_EQ(context->Login("bob", ""), S_OK);
    LogWatch watch;
    EXPECT_EQ(context->get_Admin(handedOut.put()), S_OK);
    EXPECT_FALSE(handedOut);
    EXPECT_TRUE(watch.Has(kLogGeneral, "CExeContext::get_Admin", "You are not an admin"));
}

}  // namespace
}  // namespace lindor
