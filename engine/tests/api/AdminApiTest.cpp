// An outside program's view of administration, classifications and name
// synchronisation: only the public header, the engine loaded at run time.
#include <lindor/lindor.h>

#include "support/ApiTestSupport.h"

#include <gtest/gtest.h>

#include "EngineClasses.h"

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using lindor::apitest::ErrorText;

using lindor::ComPtr;
using lindor::E_FAIL;
using lindor::S_OK;

using lindor::test::kEngineClasses;

// Stops the test (GoogleTest reports the exception) instead of using a
// missing object.
template <class I>
ComPtr<I> Require(ComPtr<I> object, const std::string& what)
{
    if (!object) throw std::runtime_error(what + " is missing: " + ErrorText());
    return object;
}

template <class I>
ComPtr<I> Make(const char* className)
{
    ComPtr<I> object;
    lindor::CreateObject<I>(className, object.put());
    return Require(object, className);
}

std::string FreshFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path folder =
        std::filesystem::path(tmp != nullptr ? tmp : "/tmp") / "lindor-api" /
        (std::string(test->test_suite_name()) + "." + test->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string() + "/";
}

// A right for one project with the flags given (the putters of IRight).
using Flag = lindor::HRESULT (lindor::IRight::*)(std::int32_t);

ComPtr<lindor::IRight> RightIn(std::int32_t projectID, std::initializer_list<Flag> flags,
                               std::initializer_list<const char*> statuses = {})
{
    ComPtr<lindor::IRight> right = Make<lindor::IRight>("Lindor.Right.1");
    right->put_ProjectID(projectID);
    for (Flag flag : flags) (right.get()->*flag)(1);
    ComPtr<lindor::IBugStatus> available;
    right->get_AvailableStatus(available.put());
    for (const char* status : statuses) available->Add(status);
    return right;
}

ComPtr<lindor::IUserRight> RoleOf(std::initializer_list<ComPtr<lindor::IRight>> rights,
                                  std::int32_t addProject = 0)
{
    ComPtr<lindor::IUserRight> role = Make<lindor::IUserRight>("Lindor.UserRight");
    role->put_AddProject(addProject);
    ComPtr<lindor::IRightSet> set;
    role->get_RightSet(set.put());
    for (const auto& right : rights) set->Append(right.get());
    return role;
}

std::int32_t Int(lindor::HRESULT (lindor::IRight::*get)(std::int32_t*), lindor::IRight* right)
{
    std::int32_t value = -1;
    (right->*get)(&value);
    return value;
}

template <class I>
std::string Text(lindor::HRESULT (I::*get)(std::string*), I* object)
{
    std::string value;
    EXPECT_EQ((object->*get)(&value), S_OK);
    return value;
}

// A new database made by the administration object, opened by a context with
// the administrator logged in.
class AdminApi : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("LINDOR_LIBRARY", LINDOR_LIBRARY_PATH, 0);
        path = lindor::apitest::NewTeamDataSource(FreshFolder());
        ComPtr<lindor::IAdmin> creator = Make<lindor::IAdmin>("Lindor.Admin.1");
        ASSERT_EQ(creator->NewMDB(path), S_OK);
        context = Make<lindor::IExeContext>("Lindor.ExeContext.1");
        ASSERT_EQ(context->OpenAccessDB(path), S_OK);
        LogInAsAdministrator();
    }

    void LogInAsAdministrator()
    {
        ASSERT_EQ(context->Login("Admin", ""), S_OK);
        ASSERT_EQ(context->get_Admin(admin.put()), S_OK);
        ASSERT_TRUE(admin);
    }

    ComPtr<lindor::IUser> User(std::int32_t index)
    {
        ComPtr<lindor::IUserSet> users;
        EXPECT_EQ(admin->get_UserSet(users.put()), S_OK);
        ComPtr<lindor::IUser> user;
        Require(users, "the user set")->get_Item(index, user.put());
        return Require(user, "user " + std::to_string(index));
    }

    // The first stored right of a user's role.
    ComPtr<lindor::IRight> FirstRightOf(lindor::IUser* user, std::int32_t* count = nullptr)
    {
        ComPtr<lindor::IUserRight> role;
        EXPECT_EQ(user->get_Right(role.put()), S_OK);
        ComPtr<lindor::IRightSet> rights;
        Require(role, "the role")->get_RightSet(rights.put());
        std::int32_t n = 0;
        rights->get_Count(&n);
        if (count != nullptr) *count = n;
        ComPtr<lindor::IRight> right;
        if (n > 0) rights->get_Item(0, right.put());
        return right;
    }

    // Project 1 of the context's project list (the set carries the context).
    ComPtr<lindor::IProject> ProjectOne(ComPtr<lindor::IProjectSet>* set)
    {
        EXPECT_EQ(context->get_ProjectSet(set->put()), S_OK);
        ComPtr<lindor::IProject> project;
        Require(*set, "the project set")->get_Item(0, project.put());
        Require(project, "project 1");
        std::int32_t id = 0;
        project->get_ID(&id);
        EXPECT_EQ(id, 1);
        return project;
    }

    // Gives the administrator every right in project 1 and makes it active.
    void WorkInProjectOne()
    {
        using lindor::IRight;
        ASSERT_EQ(
            admin->SetUserRight(1, RoleOf({RightIn(1, {&IRight::put_Read}, {"New"})}, 1).get()),
            S_OK);
        LogInAsAdministrator();  // the administrator's rows then carry every flag
        ASSERT_EQ(context->SetActiveProject(1, 0), S_OK);
        ASSERT_EQ(context->OpenBugSet(lindor::eBug, nullptr, bugs.put()), S_OK);
    }

    // Stores a bug of project 1 and returns its ID.
    std::int32_t AddBug(std::int32_t classID, std::int32_t userID = 1)
    {
        ComPtr<lindor::IBug> bug = Make<lindor::IBug>("Lindor.Bug.1");
        bug->put_Description("something broke");
        bug->put_Status("New");
        bug->put_Priority("Normal");
        bug->put_Severity("Normal");
        bug->put_Reproductive("Always");
        bug->put_ReportedInProjectID(1);
        bug->put_ReportedInProject("Project 1");
        EXPECT_EQ(bug->put_ReportedInVersionID(1), S_OK);
        EXPECT_EQ(bug->put_FixedInVersionID(2), S_OK);
        EXPECT_EQ(bug->put_ReportedByID(userID), S_OK);
        EXPECT_EQ(bug->put_FixedByID(userID), S_OK);
        EXPECT_EQ(bug->put_VerifiedByID(userID), S_OK);
        EXPECT_EQ(bug->put_LastModifiedByID(userID), S_OK);
        if (classID != 0) {
            EXPECT_EQ(bug->put_ClassificationID(classID), S_OK);
        }
        ComPtr<lindor::IBug> stored;
        EXPECT_EQ(Require(bugs, "the bug set")->Add(bug.get(), stored.put()), S_OK) << ErrorText();
        std::int32_t id = 0;
        Require(stored, "the stored bug");
        stored->get_ID(&id);
        return id;
    }

    // The bug as stored now.
    ComPtr<lindor::IBug> Bug(std::int32_t id)
    {
        EXPECT_EQ(Require(bugs, "the bug set")->Refresh(), S_OK);
        ComPtr<lindor::IBug> bug;
        EXPECT_EQ(bugs->GetBugByID(id, bug.put()), S_OK);
        return Require(bug, "bug " + std::to_string(id));
    }

    std::string path;
    ComPtr<lindor::IExeContext> context;
    ComPtr<lindor::IAdmin> admin;
    ComPtr<lindor::IBugSet> bugs;
};

TEST_F(AdminApi, EveryClassIsCreatedByBothNames)
{
    for (const std::string& name : kEngineClasses) {
        const std::string iid = "I" + name;
        for (const std::string& external : {"Lindor." + name + ".1", "Lindor." + name}) {
            ComPtr<lindor::IUnknown> object;
            EXPECT_EQ(lindor::CreateObject(external.c_str(), iid.c_str(), object.put_void()), S_OK)
                << external << ": " << ErrorText();
        }
    }
}

TEST_F(AdminApi, TheAdministratorOfAFreshDatabaseGetsTheRoleGiven)
{
    using lindor::IRight;
    std::int32_t count = -1;
    EXPECT_FALSE(FirstRightOf(User(0).get(), &count));
    EXPECT_EQ(count, 0) << "a fresh database gives the administrator no role";
    ComPtr<IRight> right = RightIn(2, {&IRight::put_Read, &IRight::put_EditProject});
    ASSERT_EQ(admin->SetUserRight(1, RoleOf({right, RightIn(1, {})}, 1).get()), S_OK);
    EXPECT_EQ(Int(&IRight::get_ID, right.get()), 1) << "the first rights row of the database";
    ComPtr<lindor::IUserRight> stored;
    ASSERT_EQ(User(0)->get_Right(stored.put()), S_OK);
    std::int32_t addProject = 0;
    stored->get_AddProject(&addProject);
    EXPECT_EQ(addProject, 1);
    ComPtr<IRight> first = FirstRightOf(User(0).get(), &count);
    EXPECT_EQ(count, 1) << "a project without any right gets no row";
    EXPECT_EQ(Int(&IRight::get_ProjectID, first.get()), 2);
    EXPECT_EQ(Int(&IRight::get_EditProject, first.get()), 1);
    EXPECT_EQ(Int(&IRight::get_Add, first.get()), 0);
}

TEST_F(AdminApi, TwoUsersSharingARoleBothGetNewRights)
{
    using lindor::IRight;
    ASSERT_EQ(admin->SetUserRight(1, RoleOf({RightIn(1, {&IRight::put_Read})}).get()), S_OK);
    // A user stored from a copy of the administrator's record keeps his role.
    ComPtr<lindor::IUserSet> users;
    ASSERT_EQ(admin->get_UserSet(users.put()), S_OK);
    ComPtr<lindor::IUser> deputy;
    users->get_Item(0, deputy.put());
    deputy->put_LoginName("deputy");
    deputy->put_UserName("Deputy");
    ASSERT_EQ(users->Add(deputy.get()), S_OK) << ErrorText();
    std::int32_t deputyID = 0;
    deputy->get_ID(&deputyID);
    ASSERT_EQ(deputyID, 2);

    ASSERT_EQ(admin->SetUserRight(2, RoleOf({RightIn(2, {&IRight::put_Add})}).get()), S_OK);
    for (std::int32_t index : {0, 1}) {
        std::int32_t count = 0;
        ComPtr<IRight> right = FirstRightOf(User(index).get(), &count);
        EXPECT_EQ(count, 1) << "user " << index;
        EXPECT_EQ(Int(&IRight::get_ProjectID, right.get()), 2) << "user " << index;
        EXPECT_EQ(Int(&IRight::get_Add, right.get()), 1) << "user " << index;
    }
}

TEST_F(AdminApi, AvailableStatusesAreReplacedOnASecondCall)
{
    using lindor::IRight;
    ComPtr<IRight> right = RightIn(1, {&IRight::put_Read}, {"New", "Active"});
    ASSERT_EQ(admin->SetUserRight(1, RoleOf({right}).get()), S_OK);
    ComPtr<lindor::IBugStatus> statuses;
    right->get_AvailableStatus(statuses.put());
    statuses->Clear();
    statuses->Add("Resolved");
    ASSERT_EQ(admin->SetUserRight(1, RoleOf({right}).get()), S_OK);
    ComPtr<lindor::IBugStatus> stored;
    FirstRightOf(User(0).get())->get_AvailableStatus(stored.put());
    std::int32_t count = 0;
    stored->get_Count(&count);
    ASSERT_EQ(count, 1);
    std::string name;
    stored->get_Item(0, &name);
    EXPECT_EQ(name, "Resolved");
}

TEST_F(AdminApi, ClassificationsAreAddedAndRemovedWithTheirBugs)
{
    WorkInProjectOne();
    ComPtr<lindor::IProjectSet> projects;
    ComPtr<lindor::IClassificationSet> classes;
    ASSERT_EQ(ProjectOne(&projects)->get_ClassificationSet(classes.put()), S_OK);
    ASSERT_EQ(classes->put_ExeContext(context.get()), S_OK);
    for (const char* name : {"Core", "Docs"}) {
        ComPtr<lindor::IClassification> c = Make<lindor::IClassification>("Lindor.Classification");
        c->put_Name(name);
        ASSERT_EQ(classes->Add(c.get()), S_OK) << ErrorText();
    }
    ComPtr<lindor::IClassification> first;
    classes->get_Item(0, first.put());
    std::int32_t id = 0;
    first->get_ID(&id);
    EXPECT_EQ(id, 1) << "the first classification of the database";

    const std::int32_t coreBugs[] = {AddBug(1), AddBug(1)};
    const std::int32_t docsBug = AddBug(2);
    const std::int32_t docs[] = {2};
    ASSERT_EQ(context->AssignUserClassification(1, docs, 1, 1), S_OK) << ErrorText();

    ASSERT_EQ(classes->RemoveByID(1), S_OK) << ErrorText();
    for (std::int32_t bugID : coreBugs) {
        ComPtr<lindor::IBug> bug = Bug(bugID);
        std::int32_t classID = -1;
        bug->get_ClassificationID(&classID);
        EXPECT_EQ(classID, 0);
        EXPECT_EQ(Text(&lindor::IBug::get_Classification, bug.get()), "");
    }
    EXPECT_EQ(classes->RemoveByID(2), E_FAIL) << "the administrator still has it";
    EXPECT_EQ(ErrorText(), "Remove Classification failed!");
    ComPtr<lindor::IBug> kept = Bug(docsBug);
    std::int32_t classID = -1;
    kept->get_ClassificationID(&classID);
    EXPECT_EQ(classID, 2);
    EXPECT_EQ(Text(&lindor::IBug::get_Classification, kept.get()), "Docs");
    std::int32_t count = 0;
    classes->get_Count(&count);
    EXPECT_EQ(count, 1);
}

TEST_F(AdminApi, SynchronizeBringsRenamedUsersAndVersionsIntoTheBugs)
{
    WorkInProjectOne();
    ComPtr<lindor::IUserSet> users;
    ASSERT_EQ(context->get_AllUser(users.put()), S_OK);
    ComPtr<lindor::IUser> bob = Make<lindor::IUser>("Lindor.User.1");
    bob->put_LoginName("bob");
    bob->put_UserName("Bob");
    ASSERT_EQ(users->Add(bob.get()), S_OK) << ErrorText();
    std::int32_t bobID = 0;
    bob->get_ID(&bobID);
    const std::int32_t bugID = AddBug(0, bobID);

    ComPtr<lindor::IUser> stored;
    users->get_Item(1, stored.put());
    stored->put_UserName("Robert");
    ASSERT_EQ(users->Update(), S_OK) << ErrorText();
    ComPtr<lindor::IProjectSet> projects;
    ComPtr<lindor::IProject> project = ProjectOne(&projects);
    for (std::int32_t index : {0, 1}) {
        ComPtr<lindor::IVersion> version;
        project->get_Version(index, version.put());
        version->put_Name(index == 0 ? "1.0 final" : "2.0 final");
    }
    ASSERT_EQ(projects->Update(), S_OK) << ErrorText();

    ASSERT_EQ(context->Synchronize(), S_OK) << ErrorText();
    ComPtr<lindor::IBug> bug = Bug(bugID);
    EXPECT_EQ(Text(&lindor::IBug::get_ReportedBy, bug.get()), "Robert");
    EXPECT_EQ(Text(&lindor::IBug::get_FixedBy, bug.get()), "Robert");
    EXPECT_EQ(Text(&lindor::IBug::get_VerifiedBy, bug.get()), "Robert");
    EXPECT_EQ(Text(&lindor::IBug::get_LastModifiedBy, bug.get()), "Bob");
    EXPECT_EQ(Text(&lindor::IBug::get_ReportedInVersion, bug.get()), "1.0 final");
    EXPECT_EQ(Text(&lindor::IBug::get_FixedInVersion, bug.get()), "2.0 final");
}

TEST_F(AdminApi, AProjectNamedWithAnApostropheSynchronises)
{
    WorkInProjectOne();
    const std::int32_t bugID = AddBug(0);
    ComPtr<lindor::IProjectSet> projects;
    ProjectOne(&projects)->put_Name("O'Brien's tools");
    ASSERT_EQ(projects->Update(), S_OK) << ErrorText();
    ASSERT_EQ(context->Synchronize(), S_OK) << ErrorText();
    EXPECT_EQ(Text(&lindor::IBug::get_ReportedInProject, Bug(bugID).get()), "O'Brien's tools");
}

TEST_F(AdminApi, OnlyTheAdministratorGetsTheAdministrationObject)
{
    ComPtr<lindor::IUserSet> users;
    ASSERT_EQ(admin->get_UserSet(users.put()), S_OK);
    ComPtr<lindor::IUser> bob = Make<lindor::IUser>("Lindor.User.1");
    bob->put_LoginName("bob");
    bob->put_UserName("Bob");
    ASSERT_EQ(users->Add(bob.get()), S_OK) << ErrorText();
    ASSERT_EQ(context->Login("bob", ""), S_OK);
    ComPtr<lindor::IAdmin> none;
    EXPECT_EQ(context->get_Admin(none.put()), S_OK);
    EXPECT_FALSE(none);
}

}  // namespace
