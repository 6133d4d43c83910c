// Opening a bug set within the user's scope: the rights check, the versions
// of the scope, the bug type, and how a caller's conditions join the scope.
#include <gtest/gtest.h>

#include "bugs/BugTestSupport.h"
#include "bugs/CBugSet.h"
#include "bugs/ScopedBugSet.h"
#include "filters/CBugFilterSet.h"
#include "support/FakeContext.h"

namespace lindor {
namespace {

using test::CallerText;
using test::Condition;
using test::FakeProject;
using test::StoreBug;
using test::StoredBug;

ComPtr<IProject> Project(std::int32_t id, std::vector<std::int32_t> versions)
{
    return ComPtr<IProject>(MakeObject<FakeProject>(id, std::move(versions)));
}

class OpenBugSetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::NewDatabase();
        context = test::ProjectContext();
    }

    // Opens and gives the query text; empty when the open failed.
    std::string QueryOf(eBugType type, IBugFilterSet* filter = nullptr)
    {
        ComPtr<IBugSet> bugs;
        if (Failed(OpenScopedBugSet(context.get(), type, filter, bugs.put()))) return "";
        opened = ComPtr<CBugSet>(ImplOf<CBugSet>(bugs.get()));
        return opened->QueryText();
    }

    std::vector<std::int32_t> ShownIDs()
    {
        std::vector<std::int32_t> ids;
        std::int32_t end = 0;
        for (opened->First(); opened->IsEnd(&end) == S_OK && end == 0; opened->Next()) {
            ComPtr<IBug> bug;
            opened->get_CurItem(bug.put());
            std::int32_t id = 0;
            bug->get_ID(&id);
            ids.push_back(id);
        }
        return ids;
    }

    // No active project: the role has rights for projects 2 and then 1 (and
    // for 9, which the user's list lacks); the user's list holds 1, 2 and 3.
    void UseUsersProjects()
    {
        context->activeProjectID = 0;
        context->activeProject = nullptr;
        context->projectRight = nullptr;
        ComPtr<CUserRight> role = MakeObject<CUserRight>();
        for (std::int32_t project : {2, 9, 1})
            role->Rights()->Append(test::FullRight(project).get());
        context->role = ComPtr<IUserRight>(role);
        ComPtr<test::FakeProjectSet> projects = MakeObject<test::FakeProjectSet>();
        projects->Push(Project(1, {1, 2}));
        projects->Push(Project(2, {3, 4}));
        projects->Push(Project(3, {5}));
        context->user = ComPtr<IUser>(MakeObject<test::FakeUser>(ComPtr<IProjectSet>(projects)));
    }

    ComPtr<test::FakeContext> context;
    ComPtr<CBugSet> opened;
};

TEST_F(OpenBugSetTest, AnActiveVersionIsTheWholeScope)
{
    context->activeVersionID = 2;
    EXPECT_EQ(
        QueryOf(eBug),
        "SELECT * FROM tBugReport WHERE ReportedInVersionID = 2 AND BugType = 0 ORDER BY BugID");
}

TEST_F(OpenBugSetTest, AnActiveProjectWithoutVersionTakesAllItsVersions)
{
    EXPECT_EQ(QueryOf(eFeature),
              "SELECT * FROM tBugReport WHERE (ReportedInVersionID = 1 OR ReportedInVersionID = 2) "
              "AND BugType = 1 ORDER BY BugID");
    EXPECT_EQ(QueryOf(eAll),
              "SELECT * FROM tBugReport WHERE (ReportedInVersionID = 1 OR ReportedInVersionID = 2) "
              "AND BugType = 2 ORDER BY BugID");
}

TEST_F(OpenBugSetTest, AnActiveProjectWithoutAnyVersionShowsNoBugOfOtherProjects)
{
    context->activeProject = Project(1, {});
    StoreBug(StoredBug(1, 3, eFeature));
    EXPECT_EQ(
        QueryOf(eFeature),
        "SELECT * FROM tBugReport WHERE ReportedInVersionID = -1 AND BugType = 1 ORDER BY BugID");
    EXPECT_TRUE(ShownIDs().empty());
}

TEST_F(OpenBugSetTest, WithoutAnActiveProjectTheUsersProjectsWithRightsAreTheScope)
{
    UseUsersProjects();
    EXPECT_EQ(
        QueryOf(eBug),
        "SELECT * FROM tBugReport WHERE (ReportedInVersionID = 3 OR ReportedInVersionID = 4 OR "
        "ReportedInVersionID = 1 OR ReportedInVersionID = 2) AND BugType = 0 ORDER BY BugID");
}

TEST_F(OpenBugSetTest, AUserWithoutProjectsSeesNothing)
{
    UseUsersProjects();
    context->role = ComPtr<IUserRight>(MakeObject<CUserRight>());
    EXPECT_EQ(
        QueryOf(eBug),
        "SELECT * FROM tBugReport WHERE ReportedInVersionID = -1 AND BugType = 0 ORDER BY BugID");
}

TEST_F(OpenBugSetTest, BeforeALoginTheScopeIsEmptyAndNothingFails)
{
    UseUsersProjects();
    context->role = nullptr;
    context->user = nullptr;
    StoreBug(StoredBug(1));
    EXPECT_EQ(
        QueryOf(eBug),
        "SELECT * FROM tBugReport WHERE ReportedInVersionID = -1 AND BugType = 0 ORDER BY BugID");
    EXPECT_TRUE(ShownIDs().empty());
}

TEST_F(OpenBugSetTest, TheCallersConditionsNarrowTheScopeAsOneGroup)
{
    ComPtr<CBugFilterSet> caller = MakeObject<CBugFilterSet>();
    caller->Add(Condition("StatusName", Equal, Variant::Text("New")).get());
    caller->Add(Condition("PriorityName", Equal, Variant::Text("High"), LogOr).get());
    EXPECT_EQ(
        QueryOf(eBug, caller.get()),
        "SELECT * FROM tBugReport WHERE (StatusName = 'New' OR PriorityName = 'High') AND "
        "(ReportedInVersionID = 1 OR ReportedInVersionID = 2) AND BugType = 0 ORDER BY BugID");
    std::int32_t count = 0;
    caller->get_Count(&count);
    EXPECT_EQ(count, 2) << "the caller's set is not changed";
    ComPtr<IBugFilter> first;
    caller->get_Item(0, first.put());
    eBracket bracket = eOpen;
    first->get_Bracket(&bracket);
    EXPECT_EQ(bracket, eNone);
}

TEST_F(OpenBugSetTest, ACallersConditionJoinedByOrCannotReachBugsOutsideTheScope)
{
    UseUsersProjects();
    StoreBug(StoredBug(1, 1).Priority("High"));
    StoreBug(StoredBug(2, 5).Priority("High"));  // project 3: no rights there
    StoreBug(StoredBug(3, 3).Priority("Low"));
    ComPtr<CBugFilterSet> caller = MakeObject<CBugFilterSet>();
    caller->Add(Condition("PriorityName", Equal, Variant::Text("High"), LogOr).get());
    ASSERT_NE(QueryOf(eBug, caller.get()), "");
    EXPECT_EQ(ShownIDs(), (std::vector<std::int32_t>{1}));
}

TEST_F(OpenBugSetTest, ACraftedValueStaysOneLiteralAndCannotWidenTheScope)
{
    StoreBug(StoredBug(1, 1));
    StoreBug(StoredBug(2, 3));  // another project's version
    ComPtr<CBugFilterSet> caller = MakeObject<CBugFilterSet>();
    caller->Add(Condition("StatusName", Equal, Variant::Text("x' OR '1'='1")).get());
    const std::string query = QueryOf(eBug, caller.get());
    EXPECT_EQ(
        query,
        "SELECT * FROM tBugReport WHERE StatusName = 'x'' OR ''1''=''1' AND "
        "(ReportedInVersionID = 1 OR ReportedInVersionID = 2) AND BugType = 0 ORDER BY BugID");
    EXPECT_TRUE(ShownIDs().empty());
}

TEST_F(OpenBugSetTest, TheActiveProjectsReadRightIsRequired)
{
    ComPtr<CRight> noRead = test::FullRight();
    noRead->SetFlag(RightFlag::Read, false);
    context->projectRight = ComPtr<IRight>(noRead);
    test::LogWatch log;
    ComPtr<IBugSet> bugs;
    EXPECT_EQ(OpenScopedBugSet(context.get(), eBug, nullptr, bugs.put()), E_FAIL);
    EXPECT_EQ(CallerText(), "You have no right to view bug, please contact your manager!");
    EXPECT_TRUE(log.Has(3, "CExeContext::OpenBugSet", "No right to perform this action"));
    EXPECT_FALSE(bugs);

    context->projectRight = nullptr;
    EXPECT_EQ(OpenScopedBugSet(context.get(), eBug, nullptr, bugs.put()), E_FAIL);
    EXPECT_EQ(CallerText(), "You have no right to view bug, please contact your manager!");
    EXPECT_TRUE(log.Has(3, "CExeContext::OpenBugSet", "No right returned"));
}

TEST_F(OpenBugSetTest, TheSetCarriesTheContext)
{
    ComPtr<IBugSet> bugs;
    ASSERT_EQ(OpenScopedBugSet(context.get(), eBug, nullptr, bugs.put()), S_OK);
    ComPtr<IExeContext> held;
    bugs->get_ExeContext(held.put());
    EXPECT_EQ(held.get(), static_cast<IExeContext*>(context.get()));
}

TEST_F(OpenBugSetTest, ASetThatCannotBeOpenedIsReported)
{
    db::SetProcessConnectionString("");
    ComPtr<IBugSet> bugs;
    EXPECT_EQ(OpenScopedBugSet(context.get(), eBug, nullptr, bugs.put()), E_FAIL);
    EXPECT_EQ(CallerText(), "Open bug failed!");
    EXPECT_FALSE(bugs);
}

}  // namespace
}  // namespace lindor
