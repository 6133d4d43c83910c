// Users and rights as an outside program, and a hostile member of the team,
// meets them: only the public header. A member changes only himself; login
// names stay unique; rights count as they are stored now.
#include <lindor/lindor.h>

#include "support/ApiTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace lindor;
using namespace lindor::apitest;

// Erin and Fred are members with rights in project 1; the administrator's
// password is "root".
class UserRights : public lindor::apitest::TeamDatabaseTest {
protected:
    void SetUp() override
    {
        TeamDatabaseTest::SetUp();
        AddMember(2, "erin", {{1, {"Read", "Add", "Add_Edit_Del_BugClass"}}}, true);
        AddMember(3, "fred", {{1, {"Read"}}});
        ComPtr<lindor::IExeContext> admin = LogIn("Admin");
        ASSERT_EQ(admin->ChangePsw("", "root"), S_OK) << ErrorText();
    }

    // The user with that ID in the set (made its current user), or null.
    static ComPtr<lindor::IUser> UserWithID(lindor::IUserSet* users, std::int32_t id)
    {
        std::int32_t count = 0;
        users->get_Count(&count);
        for (std::int32_t i = 0; i < count; ++i) {
            ComPtr<lindor::IUser> user;
            std::int32_t userID = 0;
            if (users->get_Item(i, user.put()) == S_OK && user->get_ID(&userID) == S_OK &&
                userID == id)
                return user;
        }
        return nullptr;
    }

    static ComPtr<lindor::IUserSet> AllUsers(lindor::IExeContext* context)
    {
        ComPtr<lindor::IUserSet> users;
        EXPECT_EQ(context->get_AllUser(users.put()), S_OK) << ErrorText();
        return users;
    }

    static std::string PasswordOf(lindor::IUser* user)
    {
        std::string password = "<unread>";
        user->get_Password(&password);
        return password;
    }

    ComPtr<lindor::IUserRight> StoredRole(lindor::IExeContext* context) const
    {
        ComPtr<lindor::IUserRight> role;
        EXPECT_EQ(context->get_CurRight(role.put()), S_OK);
        return role;
    }
};

TEST_F(UserRights, AMemberReadsNoOtherPasswordAndChangesOnlyHimself)
{
    ComPtr<lindor::IExeContext> erin = LogIn("erin");
    ComPtr<lindor::IUserSet> users = AllUsers(erin.get());
    EXPECT_EQ(PasswordOf(UserWithID(users.get(), 1).get()), "");
    ASSERT_EQ(erin->ChangePsw("", "mine"), S_OK) << ErrorText();
    users = AllUsers(erin.get());
    EXPECT_EQ(PasswordOf(UserWithID(users.get(), 2).get()), "mine");

    ComPtr<lindor::IUser> admin = UserWithID(users.get(), 1);
    admin->put_Password("stolen");
    EXPECT_EQ(users->Update(), E_FAIL);
    EXPECT_EQ(ErrorText(), "You have no right to update user, please contact your manager!");
    ComPtr<lindor::IUserSysInfo> info = Make<lindor::IUserSysInfo>("Lindor.UserSysInfo.1");
    info->put_OS("planted");
    EXPECT_EQ(admin->put_SysInfo(info.get()), E_FAIL);
    EXPECT_EQ(users->RemoveByID(3), E_FAIL);
    EXPECT_EQ(ErrorText(), "You have no right to delete user, please contact your manager!");
    ComPtr<lindor::IUser> newcomer = Make<lindor::IUser>("Lindor.User.1");
    newcomer->put_LoginName("mallory");
    newcomer->put_UserName("Mallory");
    EXPECT_EQ(users->Add(newcomer.get()), E_FAIL);
    EXPECT_EQ(ErrorText(), "You have no right to add user, please contact your manager!");
    EXPECT_EQ(Sql("SELECT LoginName FROM tUser ORDER BY UserID;"), "Admin\nerin\nfred");
    EXPECT_EQ(Count("tUserSystemInfo"), 0);
    LogIn("Admin", 0, "root");  // the password stays the administrator's

    ComPtr<lindor::IUser> herself = UserWithID(users.get(), 2);
    herself->put_Phone("555");
    ASSERT_EQ(users->Update(), S_OK) << ErrorText();
    ASSERT_EQ(herself->put_SysInfo(info.get()), S_OK) << ErrorText();
    EXPECT_EQ(Sql("SELECT Phone FROM tUser WHERE UserID = 2;"), "555");
}

TEST_F(UserRights, TheAdministratorSeesAndChangesEveryone)
{
    ComPtr<lindor::IExeContext> admin = LogIn("Admin", 0, "root");
    ComPtr<lindor::IUserSet> users = AllUsers(admin.get());
    EXPECT_EQ(PasswordOf(UserWithID(users.get(), 1).get()), "root");
    UserWithID(users.get(), 3)->put_Phone("777");
    ASSERT_EQ(users->Update(), S_OK) << ErrorText();
    ASSERT_EQ(users->RemoveByID(2), S_OK) << ErrorText();
    EXPECT_EQ(Sql("SELECT LoginName || ':' || coalesce(Phone, '') FROM tUser ORDER BY UserID;"),
              "Admin:\nfred:777");
}

TEST_F(UserRights, ALoginNameIsNeverTakenTwice)
{
    ComPtr<lindor::IExeContext> admin = LogIn("Admin", 0, "root");
    ComPtr<lindor::IUserSet> users = AllUsers(admin.get());
    ComPtr<lindor::IUser> erin = UserWithID(users.get(), 2);
    for (const std::string taken : {"fred", "FRED", "admin"}) {
        erin->put_LoginName(taken);
        EXPECT_EQ(users->Update(), E_FAIL) << taken;
        EXPECT_EQ(ErrorText(), "Login Name(" + taken + ") is already exist!");
    }
    EXPECT_EQ(Sql("SELECT LoginName FROM tUser WHERE UserID = 2;"), "erin");
    erin->put_LoginName("Erin");
    EXPECT_EQ(users->Update(), S_OK) << "her own name in other letters is hers" << ErrorText();
    EXPECT_EQ(Sql("SELECT LoginName FROM tUser WHERE UserID = 2;"), "Erin");
}

TEST_F(UserRights, WithdrawnRightsStopWorkingAtOnce)
{
    ComPtr<lindor::IExeContext> erin = LogIn("erin", 1);
    Sql("UPDATE tRight SET \"Add\" = 0, Add_Edit_Del_BugClass = 0 WHERE RightID = 21;"
        "UPDATE tUserRight SET AddProject = 0 WHERE UserRightID = 2;");

    ComPtr<lindor::IBugSet> bugs;
    ASSERT_EQ(erin->OpenBugSet(lindor::eBug, nullptr, bugs.put()), S_OK) << ErrorText();
    ComPtr<lindor::IBug> bug = Make<lindor::IBug>("Lindor.Bug.1");
    bug->put_Description("late");
    bug->put_Status("New");
    bug->put_Priority("Low");
    bug->put_Severity("Normal");
    bug->put_Reproductive("Always");
    bug->put_ReportedInProjectID(1);
    ASSERT_EQ(bug->put_ReportedInVersionID(1), S_OK);
    ComPtr<lindor::IBug> added;
    EXPECT_EQ(bugs->Add(bug.get(), added.put()), E_FAIL);
    EXPECT_EQ(ErrorText(), "You have no right to Add bug, please contact your manager!");

    ComPtr<lindor::IProjectSet> projects;
    ASSERT_EQ(erin->get_ProjectSet(projects.put()), S_OK);
    ComPtr<lindor::IProject> project = Make<lindor::IProject>("Lindor.Project.1");
    project->put_Name("late project");
    EXPECT_EQ(projects->Add(project.get()), E_FAIL);
    EXPECT_EQ(ErrorText(), "You have no right to add Project, please contact your manager!");

    ComPtr<lindor::IProject> active;
    ASSERT_EQ(erin->get_ActiveProject(active.put()), S_OK);
    ComPtr<lindor::IClassificationSet> classes;
    ASSERT_EQ(active->get_ClassificationSet(classes.put()), S_OK);
    classes->put_ExeContext(erin.get());
    ComPtr<lindor::IClassification> classification =
        Make<lindor::IClassification>("Lindor.Classification");
    classification->put_Name("late class");
    EXPECT_EQ(classes->Add(classification.get()), E_FAIL);
    EXPECT_EQ(Count("tBugReport") + Count("tClassification") + Count("tProject"), 2);

    // The role handed out at login keeps its values until the next login.
    ComPtr<lindor::IRightSet> rights;
    ASSERT_EQ(StoredRole(erin.get())->get_RightSet(rights.put()), S_OK);
    ComPtr<lindor::IRight> right;
    ASSERT_EQ(rights->GetByProjectID(1, right.put()), S_OK);
    std::int32_t add = 0;
    right->get_Add(&add);
    EXPECT_EQ(add, 1);
}

TEST_F(UserRights, ThePasswordLimitCountsBytes)
{
    ComPtr<lindor::IExeContext> erin = LogIn("erin");
    const std::string accented = "\xC3\xA9";  // one character, two bytes
    EXPECT_EQ(erin->ChangePsw("", std::string(62, 'p') + accented), E_FAIL);
    EXPECT_EQ(ErrorText(), "Password is too long (at most 63 bytes).");
    ASSERT_EQ(erin->ChangePsw("", std::string(61, 'p') + accented), S_OK) << ErrorText();
    LogIn("erin", 0, std::string(61, 'p') + accented);
}

}  // namespace
