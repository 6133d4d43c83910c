// The context's database opening, login, active project, rights and name
// lists, on fresh databases.
#include <gtest/gtest.h>

#include <fstream>

#include "support/ContextTestSupport.h"
#include "users/CRight.h"

namespace lindor {
namespace {

using test::CountRows;
using test::EventRecorder;
using test::LastCallerError;
using test::LogWatch;
using test::OpenContext;

using test::ErrorText;

std::int32_t Number(HRESULT (CExeContext::*get)(std::int32_t*), CExeContext& context)
{
    std::int32_t value = -1;
    EXPECT_EQ((context.*get)(&value), S_OK);
    return value;
}

std::int32_t ActiveProject(CExeContext& c)
{
    return Number(&CExeContext::get_ActiveProjectID, c);
}
std::int32_t ActiveVersion(CExeContext& c)
{
    return Number(&CExeContext::get_ActiveVersionID, c);
}
std::int32_t CurUserID(CExeContext& c)
{
    return Number(&CExeContext::get_CurUserID, c);
}

ComPtr<EventRecorder> Subscribe(CExeContext& context)
{
    ComPtr<EventRecorder> recorder = MakeObject<EventRecorder>();
    std::uint32_t cookie = 0;
    EXPECT_EQ(context.Advise(recorder.get(), &cookie), S_OK);
    return recorder;
}

void SetStoredVersion(const Variant& version)
{
    db::Recordset row;
    row.Open("SELECT * FROM tSystem", db::ProcessConnectionString());
    row.Fields("Version").SetValue(version);
    row.Update();
}

// A user "carol" (ID 2) whose role 1 has rights row 10 in project 1 with
// two statuses it may set; no row for project 2.
void AddCarolWithRightsInProjectOne()
{
    test::AddRole(1, false);
    test::AddRight(10, 1, 1, {"Read", "EditProject"});
    test::AddAvailableStatus(10, "New");
    test::AddAvailableStatus(10, "Resolved");
    test::AddUser(2, "carol", 1);
}

// ---- opening a database --------------------------------------------------------

TEST(OpenAccessDB, OpensANewDatabaseAndMakesItTheProcessDatabase)
{
    const std::string path = test::NewDatabase();
    db::SetProcessConnectionString("");
    ComPtr<CExeContext> context = MakeObject<CExeContext>();
    EXPECT_EQ(context->OpenAccessDB(path), S_OK);
    EXPECT_TRUE(context->connection().IsOpen());
    EXPECT_EQ(db::ProcessConnectionString(), db::BuildConnectionString(path));
}

TEST(OpenAccessDB, RefusesAnotherVersionAndClosesTheConnection)
{
    const std::string path = test::NewDatabase();
    SetStoredVersion(Variant::Text("2.4"));
    ComPtr<CExeContext> context = MakeObject<CExeContext>();
    LogWatch watch;
    EXPECT_EQ(context->OpenAccessDB(path), E_FAIL);
    EXPECT_EQ(ErrorText(), "version of database is not correct");
    EXPECT_EQ(LastCallerError().source, "Lindor.ExeContext.1");
    EXPECT_TRUE(watch.Has(0, "CExeContext::OpenAcessDB", "version of database is not correct"));
    EXPECT_FALSE(context->connection().IsOpen());
}

TEST(OpenAccessDB, AnEmptyVersionFailsTheVersionCheck)
{
    const std::string path = test::NewDatabase();
    SetStoredVersion(Variant::Text(""));
    ComPtr<CExeContext> context = MakeObject<CExeContext>();
    EXPECT_EQ(context->OpenAccessDB(path), E_FAIL);
    EXPECT_EQ(ErrorText(), "version of database is not correct");
}

TEST(OpenAccessDB, AMissingFileNamesThePath)
{
    const std::string path = test::TestFolder() + "nowhere.mdb";
    ComPtr<CExeContext> context = MakeObject<CExeContext>();
    LogWatch watch;
    EXPECT_EQ(context->OpenAccessDB(path), E_FAIL);
    EXPECT_EQ(ErrorText(), "Open database " + path + " failed");
    EXPECT_TRUE(watch.Has(2, "CExeContext::OpenAcessDB", "\t(Source="));
    EXPECT_FALSE(context->connection().IsOpen());
}

TEST(OpenAccessDB, AnEmptySystemTableFailsAndClosesTheConnection)
{
    const std::string path = test::NewDatabase();
    test::ExecuteSql("DELETE FROM tSystem");
    ComPtr<CExeContext> context = MakeObject<CExeContext>();
    LogWatch watch;
    EXPECT_EQ(context->OpenAccessDB(path), E_FAIL);
    EXPECT_EQ(ErrorText(), "Open Database failed");
    EXPECT_TRUE(watch.Has(2, "CExeContext::OpenAcessDB"));
    EXPECT_FALSE(context->connection().IsOpen());
}

TEST(OpenAccessDB, ResetsTheLoginAndTheActiveProject)
{
    const std::string path = test::NewDatabase();
    AddCarolWithRightsInProjectOne();
    ComPtr<CExeContext> context = OpenContext(path, "carol");
    ASSERT_EQ(context->SetActiveProject(1, 2), S_OK);
    ASSERT_EQ(context->OpenAccessDB(path), S_OK);
    EXPECT_EQ(CurUserID(*context), 0);
    EXPECT_EQ(ActiveProject(*context), 0);
    EXPECT_EQ(ActiveVersion(*context), 0);
    ComPtr<IBugStatus> statuses;
    ASSERT_EQ(context->get_BugStatus(statuses.put()), S_OK);
    std::int32_t count = -1;
    statuses->get_Count(&count);
    EXPECT_EQ(count, 0) << "the rights number is reset with the project";
}

TEST(CloseContext, ClosesTheConnectionAndKeepsTheState)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> context = OpenContext(path, "Admin");
    EXPECT_EQ(context->Close(), S_OK);
    EXPECT_FALSE(context->connection().IsOpen());
    EXPECT_EQ(CurUserID(*context), 1);
    EXPECT_EQ(context->Close(), S_OK) << "closing twice is no error";
    EXPECT_EQ(context->OpenSQLDB("server", "db"), S_OK);
}

// ---- login ----------------------------------------------------------------------

TEST(Login, AdministratorWithTheEmptyPasswordGetsTheMarkAndEveryRight)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> context = OpenContext(path);
    ComPtr<EventRecorder> events = Subscribe(*context);
    LogWatch watch;
    ASSERT_EQ(context->Login("ADMIN", ""), S_OK);
    EXPECT_TRUE(context->IsAdministrator());
    EXPECT_EQ(CurUserID(*context), 1);
    ASSERT_EQ(events->logins.size(), 1u);
    EXPECT_EQ(events->logins[0].ok, 1);
    EXPECT_EQ(events->logins[0].login, "ADMIN");
    EXPECT_TRUE(watch.Has(0, "CExeContext::Login", "ADMIN login successfully!"));
    ComPtr<IUserRight> role;
    ASSERT_EQ(context->get_CurRight(role.put()), S_OK);
    ASSERT_TRUE(role);
    std::int32_t addProject = 0;
    role->get_AddProject(&addProject);
    EXPECT_EQ(addProject, 1);
    ComPtr<IRight> right;
    ASSERT_EQ(context->get_CurProjectRight(right.put()), S_OK);
    ASSERT_TRUE(right);
    std::int32_t allFalse = 1;
    right->get_IsAllFalse(&allFalse);
    EXPECT_EQ(allFalse, 0);
    for (const RightFlagInfo& flag : kRightFlags)
        EXPECT_EQ(ImplOf<CRight>(right.get())->Flag(flag.flag), 1) << flag.property;
}

TEST(Login, TheAdministratorsStoredRightsAreRaisedInMemoryOnly)
{
    const std::string path = test::NewDatabase();
    test::AddRole(5, false);
    test::AddRight(50, 5, 2, {"Read"});
    test::ExecuteSql("UPDATE tUser SET UserRightID = 5 WHERE UserID = 1");
    ComPtr<CExeContext> context = OpenContext(path, "admin");
    ComPtr<IUserRight> role;
    context->get_CurRight(role.put());
    ComPtr<IRightSet> rights;
    role->get_RightSet(rights.put());
    ComPtr<IRight> right;
    ASSERT_EQ(rights->GetByProjectID(2, right.put()), S_OK);
    ASSERT_TRUE(right);
    std::int32_t deleteProject = 0;
    right->get_DeleteProject(&deleteProject);
    EXPECT_EQ(deleteProject, 1);
    EXPECT_EQ(CountRows("SELECT * FROM tRight WHERE DeleteProject = 0"), 1) << "nothing written";
    EXPECT_EQ(CountRows("SELECT * FROM tUserRight WHERE AddProject = 0"), 1);
}

TEST(Login, AWrongPasswordFiresOnLoginWithZeroAndKeepsTheEarlierLogin)
{
    const std::string path = test::NewDatabase();
    AddCarolWithRightsInProjectOne();
    ComPtr<CExeContext> context = OpenContext(path, "carol");
    ASSERT_EQ(context->SetActiveProject(1, 0), S_OK);
    ComPtr<EventRecorder> events = Subscribe(*context);
    LogWatch watch;
    EXPECT_EQ(context->Login("Admin", "secret"), E_FAIL);
    EXPECT_EQ(ErrorText(), "User Name or password is incorrect!");
    EXPECT_TRUE(watch.Has(0, "CExeContext::Login", "User Name or password is incorrect!"));
    ASSERT_EQ(events->logins.size(), 1u);
    EXPECT_EQ(events->logins[0].ok, 0);
    EXPECT_EQ(events->logins[0].login, "Admin");
    EXPECT_EQ(events->logins[0].psw, "secret");
    EXPECT_FALSE(context->IsAdministrator());
    EXPECT_EQ(CurUserID(*context), 2);
    EXPECT_EQ(ActiveProject(*context), 1);
}

TEST(Login, AnUnknownNameFailsWithoutAnEvent)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> context = OpenContext(path);
    ComPtr<EventRecorder> events = Subscribe(*context);
    EXPECT_EQ(context->Login("nobody", ""), E_FAIL);
    EXPECT_EQ(ErrorText(), "User Name or password is incorrect!");
    EXPECT_TRUE(events->logins.empty());
    EXPECT_EQ(CurUserID(*context), 0);
}

TEST(Login, NamesWithQuotesAreMatchedLiterally)
{
    const std::string path = test::NewDatabase();
    test::AddUser(2, "O'Hara");
    ComPtr<CExeContext> context = OpenContext(path);
    EXPECT_EQ(context->Login("O'Hara", ""), S_OK) << ErrorText();
    EXPECT_EQ(CurUserID(*context), 2);
    // Unquoted, this name would select every row, the administrator's first.
    EXPECT_EQ(context->Login("x' OR '1'='1", ""), E_FAIL);
    EXPECT_FALSE(context->IsAdministrator());
    EXPECT_EQ(CurUserID(*context), 2);
}

TEST(Login, ADatabaseFailureNeverLeavesTheAdministratorMark)
{
    const std::string path = test::NewDatabase();
    AddCarolWithRightsInProjectOne();
    ComPtr<CExeContext> context = OpenContext(path, "carol");
    db::SetProcessConnectionString(db::BuildConnectionString(test::TestFolder() + "gone.mdb"));
    ComPtr<EventRecorder> events = Subscribe(*context);
    LogWatch watch;
    EXPECT_EQ(context->Login("admin", ""), E_FAIL);
    EXPECT_FALSE(context->IsAdministrator());
    EXPECT_EQ(CurUserID(*context), 2);
    EXPECT_TRUE(watch.Has(2, "CExeContext::Login"));
    ASSERT_EQ(events->logins.size(), 1u);
    EXPECT_EQ(events->logins[0].ok, 0);
}

TEST(Login, AUserWithoutRoleGetsAnEmptyRole)
{
    const std::string path = test::NewDatabase();
    test::AddUser(2, "dave");
    ComPtr<CExeContext> context = OpenContext(path, "dave");
    ComPtr<IUserRight> role;
    ASSERT_EQ(context->get_CurRight(role.put()), S_OK);
    ASSERT_TRUE(role);
    std::int32_t addProject = 1;
    role->get_AddProject(&addProject);
    EXPECT_EQ(addProject, 0);
    ComPtr<IRight> right;
    EXPECT_EQ(context->get_CurProjectRight(right.put()), S_OK);
    EXPECT_FALSE(right);
}

TEST(CurUser, WithoutLoginHandsOutNothingAndLogs)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> context = OpenContext(path);
    LogWatch watch;
    ComPtr<IUser> user;
    EXPECT_EQ(context->get_CurUser(user.put()), S_OK);
    EXPECT_FALSE(user);
    EXPECT_TRUE(watch.Has(0, "CExeContext::get_CurUser", "Current User's ID is 0"));
    ComPtr<IUserRight> role;
    EXPECT_EQ(context->get_CurRight(role.put()), S_OK);
    EXPECT_FALSE(role);
}

TEST(CurUser, IsReadAfreshOnEveryCall)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> context = OpenContext(path, "Admin");
    test::ExecuteSql("UPDATE tUser SET UserName = 'Root' WHERE UserID = 1");
    ComPtr<IUser> user;
    ASSERT_EQ(context->get_CurUser(user.put()), S_OK);
    std::string name;
    user->get_UserName(&name);
    EXPECT_EQ(name, "Root");
}

// ---- the active project ------------------------------------------------------------

TEST(SetActiveProject, AVersionOfAnotherProjectResetsBothNumbers)
{
    const std::string path = test::NewDatabase();
    AddCarolWithRightsInProjectOne();
    ComPtr<CExeContext> context = OpenContext(path, "carol");
    ASSERT_EQ(context->SetActiveProject(1, 2), S_OK);
    ComPtr<EventRecorder> events = Subscribe(*context);
    LogWatch watch;
    EXPECT_EQ(context->SetActiveProject(1, 3), E_FAIL);
    EXPECT_EQ(ErrorText(), "Set Active Project Failed");
    EXPECT_TRUE(watch.Has(0, "CExeContext::SetActiveProject",
                          "version doesn't belong to the specified Project."));
    EXPECT_EQ(ActiveProject(*context), 0);
    EXPECT_EQ(ActiveVersion(*context), 0);
    EXPECT_TRUE(events->actives.empty());
    ComPtr<IRight> right;
    context->get_CurProjectRight(right.put());
    EXPECT_FALSE(right);
}

TEST(SetActiveProject, AProjectWithoutRightsChangesNothingAndReportsZero)
{
    const std::string path = test::NewDatabase();
    AddCarolWithRightsInProjectOne();
    ComPtr<CExeContext> context = OpenContext(path, "carol");
    ASSERT_EQ(context->SetActiveProject(1, 1), S_OK);
    ComPtr<EventRecorder> events = Subscribe(*context);
    EXPECT_EQ(context->SetActiveProject(2, 0), S_OK);
    ASSERT_EQ(events->actives.size(), 1u);
    EXPECT_EQ(events->actives[0].ok, 0);
    EXPECT_EQ(events->actives[0].projectID, 1);
    EXPECT_EQ(events->actives[0].versionID, 1);
    EXPECT_EQ(ActiveProject(*context), 1);
    EXPECT_EQ(ActiveVersion(*context), 1);
}

TEST(SetActiveProject, TheAdministratorOfANewDatabaseHasNoRightsRows)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> context = OpenContext(path, "Admin");
    ComPtr<EventRecorder> events = Subscribe(*context);
    EXPECT_EQ(context->SetActiveProject(2, 0), S_OK);
    EXPECT_EQ(context->SetActiveProject(1, 2), S_OK);
    ASSERT_EQ(events->actives.size(), 2u);
    EXPECT_EQ(events->actives[0].ok, 0);
    EXPECT_EQ(events->actives[1].ok, 0);
    EXPECT_EQ(ActiveProject(*context), 0);
}

TEST(SetActiveProject, AProjectWithRightsBecomesActiveWithItsStatuses)
{
    const std::string path = test::NewDatabase();
    AddCarolWithRightsInProjectOne();
    ComPtr<CExeContext> context = OpenContext(path, "carol");
    ComPtr<EventRecorder> events = Subscribe(*context);
    ASSERT_EQ(context->SetActiveProject(1, 2), S_OK);
    ASSERT_EQ(events->actives.size(), 1u);
    EXPECT_EQ(events->actives[0].ok, 1);
    EXPECT_EQ(events->actives[0].projectID, 1);
    EXPECT_EQ(events->actives[0].versionID, 2);
    ComPtr<IRight> right;
    ASSERT_EQ(context->get_CurProjectRight(right.put()), S_OK);
    ASSERT_TRUE(right);
    std::int32_t id = 0, read = 0, del = 1;
    right->get_ID(&id);
    right->get_Read(&read);
    right->get_Delete(&del);
    EXPECT_EQ(id, 10);
    EXPECT_EQ(read, 1);
    EXPECT_EQ(del, 0);
    ComPtr<IBugStatus> statuses;
    ASSERT_EQ(context->get_BugStatus(statuses.put()), S_OK);
    std::int32_t count = 0;
    statuses->get_Count(&count);
    ASSERT_EQ(count, 2);
    std::string first;
    statuses->get_Item(0, &first);
    EXPECT_EQ(first, "New");
}

TEST(SetActiveProject, ProjectZeroClearsProjectVersionAndRights)
{
    const std::string path = test::NewDatabase();
    AddCarolWithRightsInProjectOne();
    ComPtr<CExeContext> context = OpenContext(path, "carol");
    ASSERT_EQ(context->SetActiveProject(1, 2), S_OK);
    ComPtr<EventRecorder> events = Subscribe(*context);
    EXPECT_EQ(context->SetActiveProject(0, 7), S_OK);
    EXPECT_EQ(ActiveProject(*context), 0);
    EXPECT_EQ(ActiveVersion(*context), 0);
    ASSERT_EQ(events->actives.size(), 1u);
    EXPECT_EQ(events->actives[0].ok, 1);
    ComPtr<IBugStatus> statuses;
    ASSERT_EQ(context->get_BugStatus(statuses.put()), S_OK);
    std::int32_t count = -1;
    statuses->get_Count(&count);
    EXPECT_EQ(count, 0);
}

TEST(SetActiveProject, BeforeALoginOnlyTheVersionIsChecked)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> context = OpenContext(path);
    ComPtr<EventRecorder> events = Subscribe(*context);
    EXPECT_EQ(context->SetActiveProject(1, 1), S_OK);
    EXPECT_EQ(ActiveProject(*context), 0);
    EXPECT_TRUE(events->actives.empty());
    EXPECT_EQ(context->SetActiveProject(1, 4), E_FAIL);
}

TEST(CheckVersionInProject, ZeroMatchesAnythingAndTheOwnerIsChecked)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> context = OpenContext(path);
    EXPECT_TRUE(context->CheckVersionInProject(0, 2));
    EXPECT_TRUE(context->CheckVersionInProject(9, 0));
    EXPECT_TRUE(context->CheckVersionInProject(3, 2));
    EXPECT_FALSE(context->CheckVersionInProject(3, 1));
    context->Close();
    LogWatch watch;
    EXPECT_FALSE(context->CheckVersionInProject(3, 2));
    EXPECT_TRUE(watch.Has(2, "CExeContext::CheckVersionInProject"));
}

// ---- name lists --------------------------------------------------------------------

TEST(NameLists, ListEveryStoredName)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> context = OpenContext(path);
    ComPtr<IBugStatus> statuses;
    ASSERT_EQ(context->get_AllBugStatus(statuses.put()), S_OK);
    EXPECT_EQ(test::NamesOf(statuses.get()).size(), 10u);
    ComPtr<IBugSeverity> severities;
    ASSERT_EQ(context->get_BugSeverity(severities.put()), S_OK);
    EXPECT_EQ(test::NamesOf(severities.get()),
              (std::vector<std::string>{"Crash", "Critical", "Moderate", "Normal", "Trivial"}));
    ComPtr<IBugPriority> priorities;
    ASSERT_EQ(context->get_BugPriority(priorities.put()), S_OK);
    EXPECT_EQ(test::NamesOf(priorities.get()), (std::vector<std::string>{"High", "Low", "Normal"}));
    ComPtr<IBugReproductive> reproducibility;
    ASSERT_EQ(context->get_BugReproductive(reproducibility.put()), S_OK);
    EXPECT_EQ(test::NamesOf(reproducibility.get()).size(), 4u);
    ComPtr<IBugStatus> current;
    ASSERT_EQ(context->get_BugStatus(current.put()), S_OK);
    EXPECT_TRUE(test::NamesOf(current.get()).empty()) << "no active project";
}

TEST(NameLists, ADatabaseFailureGivesEachListsOwnReport)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> context = OpenContext(path);
    context->Close();
    LogWatch watch;
    ComPtr<IBugSeverity> severities;
    EXPECT_EQ(context->get_BugSeverity(severities.put()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Get bug severity failed!");
    EXPECT_TRUE(watch.Has(2, "get_BugSeverity"));
    ComPtr<IBugStatus> statuses;
    EXPECT_EQ(context->get_AllBugStatus(statuses.put()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Get all status failed");
    EXPECT_EQ(context->get_BugStatus(statuses.put()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Get current status failed");
}

// ---- events ----------------------------------------------------------------------

TEST(Events, EverySubscriberGetsEveryEventUntilItUnsubscribes)
{
    const std::string path = test::NewDatabase();
    ComPtr<CExeContext> context = OpenContext(path);
    ComPtr<EventRecorder> first = MakeObject<EventRecorder>();
    ComPtr<EventRecorder> second = MakeObject<EventRecorder>();
    std::uint32_t firstCookie = 0, secondCookie = 0;
    ASSERT_EQ(context->Advise(first.get(), &firstCookie), S_OK);
    ASSERT_EQ(context->Advise(second.get(), &secondCookie), S_OK);
    context->Login("Admin", "");
    ASSERT_EQ(context->Unadvise(firstCookie), S_OK);
    context->Login("Admin", "");
    EXPECT_EQ(first->logins.size(), 1u);
    EXPECT_EQ(second->logins.size(), 2u);
    EXPECT_EQ(context->Unadvise(firstCookie), E_FAIL);
    EXPECT_EQ(context->Advise(nullptr, &firstCookie), E_FAIL);
}

}  // namespace
}  // namespace lindor
