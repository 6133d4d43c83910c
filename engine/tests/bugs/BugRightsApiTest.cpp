// Bug sets as an outside program, and a hostile user of the shared file, use
// them: only the public header. What a user may see and change stays within
// the projects his role may work in, whatever he reopens, filters or writes.
#include <lindor/lindor.h>

#include "support/ApiTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace lindor;
using namespace lindor::apitest;

using IDs = std::vector<std::int32_t>;

// Ann works in project 1 (versions 1 and 2) and has no rights in project 2
// (versions 3 and 4). Bugs 1 and 2 are in project 1, bug 3 in project 2, and
// bug 4 names no project but was reported in version 3.
class BugRights : public lindor::apitest::TeamDatabaseTest {
protected:
    void SetUp() override
    {
        TeamDatabaseTest::SetUp();
        AddMember(2, "ann", {{1, {"Read", "Add", "Delete", "EditDescription", "EditPriority"}}});
        Sql("INSERT INTO tBugReport (BugID, SeverityName, StatusName, PriorityName, "
            "ReproductiveName, Description, ReportedInPrjID, ReportedInVersionID, BugType) VALUES "
            "(1, 'Normal', 'New', 'Low', 'Always', 'one', 1, 1, 0),"
            "(2, 'Normal', 'New', 'Low', 'Always', 'two', 1, 2, 1),"
            "(3, 'Normal', 'New', 'Low', 'Always', 'three', 2, 3, 0),"
            "(4, 'Normal', 'New', 'Low', 'Always', 'four', NULL, 3, 0);"
            "UPDATE tNextID SET NextBugID = 5;");
    }

    ComPtr<lindor::IBugSet> OpenBugs(lindor::IExeContext* context,
                                     lindor::IBugFilterSet* filter = nullptr)
    {
        ComPtr<lindor::IBugSet> bugs;
        EXPECT_EQ(context->OpenBugSet(lindor::eBug, filter, bugs.put()), S_OK) << ErrorText();
        return bugs;
    }

    // A bug of project `projectID` with the texts a new row needs.
    static ComPtr<lindor::IBug> NewBug(std::int32_t projectID, std::int32_t reportedIn,
                                       std::int32_t fixedIn = 0)
    {
        ComPtr<lindor::IBug> bug = Make<lindor::IBug>("Lindor.Bug.1");
        bug->put_Description("new");
        bug->put_Status("New");
        bug->put_Priority("Low");
        bug->put_Severity("Normal");
        bug->put_Reproductive("Always");
        bug->put_ReportedInProjectID(projectID);
        EXPECT_EQ(bug->put_ReportedInVersionID(reportedIn), S_OK);
        EXPECT_EQ(bug->put_FixedInVersionID(fixedIn), S_OK);
        return bug;
    }

    static IDs Shown(lindor::IBugSet* bugs)
    {
        IDs ids;
        std::int32_t end = 0;
        for (bugs->First(); bugs->IsEnd(&end) == S_OK && end == 0; bugs->Next()) {
            ComPtr<lindor::IBug> bug;
            bugs->get_CurItem(bug.put());
            std::int32_t id = 0;
            if (bug) bug->get_ID(&id);
            ids.push_back(id);
        }
        return ids;
    }

    static ComPtr<lindor::IBugFilterSet> OneCondition(const std::string& field,
                                                      const Variant& value)
    {
        ComPtr<lindor::IBugFilterSet> set = Make<lindor::IBugFilterSet>("Lindor.BugFilterSet.1");
        ComPtr<lindor::IBugFilter> condition = Make<lindor::IBugFilter>("Lindor.BugFilter.1");
        condition->put_Field(field);
        EXPECT_EQ(condition->put_Value(value), S_OK) << field;
        set->Add(condition.get());
        return set;
    }

    std::string StoredText(const std::string& column, std::int32_t bugID) const
    {
        return Sql("SELECT " + column + " FROM tBugReport WHERE BugID = " + std::to_string(bugID) +
                   ";");
    }
};

TEST_F(BugRights, RemoveByIDRefusesABugOfAProjectWithoutRights)
{
    ComPtr<lindor::IExeContext> ann = LogIn("ann", 1);
    ComPtr<lindor::IBugSet> bugs = OpenBugs(ann.get());
    for (const std::int32_t foreign : {3, 4}) {
        EXPECT_EQ(bugs->RemoveByID(foreign), E_FAIL) << foreign;
        EXPECT_EQ(ErrorText(), "You have no right to delete bug, please contact your manager!");
    }
    EXPECT_EQ(Count("tBugReport WHERE BugID IN (3, 4)"), 2);
    // A bug of her own project may go, even one the set does not show.
    EXPECT_EQ(bugs->RemoveByID(2), S_OK) << ErrorText();
    EXPECT_EQ(Count("tBugReport WHERE BugID = 2"), 0);
}

TEST_F(BugRights, EveryReopeningKeepsTheScope)
{
    ComPtr<lindor::IExeContext> ann = LogIn("ann", 1);
    ComPtr<lindor::IBugSet> bugs = OpenBugs(ann.get());
    EXPECT_EQ(Shown(bugs.get()), (IDs{1}));

    ASSERT_EQ(bugs->Open(nullptr), S_OK) << ErrorText();
    EXPECT_EQ(Shown(bugs.get()), (IDs{1, 2})) << "the type goes, the versions of project 1 stay";
    ComPtr<lindor::IBug> found;
    EXPECT_EQ(bugs->GetBugByID(3, found.put()), E_FAIL);

    ComPtr<lindor::IBugFilterSet> low = OneCondition("PriorityName", Variant::Text("Low"));
    ASSERT_EQ(bugs->Open(low.get()), S_OK) << ErrorText();
    EXPECT_EQ(Shown(bugs.get()), (IDs{1, 2}));
    ASSERT_EQ(bugs->put_FilterSet(low.get()), S_OK);
    ASSERT_EQ(bugs->Refresh(), S_OK);
    ASSERT_EQ(bugs->Sort(lindor::ColID, lindor::eDesc), S_OK);
    EXPECT_EQ(Shown(bugs.get()), (IDs{2, 1}));
    EXPECT_EQ(bugs->GetBugByID(4, found.put()), E_FAIL);
}

TEST_F(BugRights, AFilterCannotReachPastTheScope)
{
    ComPtr<lindor::IExeContext> ann = LogIn("ann", 1);
    ComPtr<lindor::IBugSet> bugs = OpenBugs(ann.get());
    // Bracket marks that close what they did not open: "... OR StatusName =
    // 'New') OR (StatusName = 'New' ..." would end the caller's group early.
    ComPtr<lindor::IBugFilterSet> crafted = OneCondition("PriorityName", Variant::Text("Low"));
    for (const lindor::eBracket bracket : {lindor::eClose, lindor::eOpen, lindor::eNone}) {
        ComPtr<lindor::IBugFilter> condition = Make<lindor::IBugFilter>("Lindor.BugFilter.1");
        condition->put_Field("StatusName");
        condition->put_Value(Variant::Text("New"));
        condition->put_AndOr(lindor::LogOr);
        condition->put_Bracket(bracket);
        crafted->Add(condition.get());
    }
    EXPECT_EQ(bugs->Open(crafted.get()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Open bug set failed!");
    EXPECT_EQ(Shown(bugs.get()), (IDs{1})) << "the set stays as it was";
    // Given to OpenBugSet, the conditions form one group whatever their marks.
    ComPtr<lindor::IBugSet> grouped;
    ASSERT_EQ(ann->OpenBugSet(lindor::eBug, crafted.get(), grouped.put()), S_OK) << ErrorText();
    EXPECT_EQ(Shown(grouped.get()), (IDs{1}));
}

TEST_F(BugRights, WithoutAnActiveProjectOnlyReadableProjectsShowTheirBugs)
{
    AddMember(3, "bob", {{1, {"Read"}}, {2, {"Print"}}});
    ComPtr<lindor::IExeContext> bob = LogIn("bob");
    EXPECT_EQ(Shown(OpenBugs(bob.get()).get()), (IDs{1}))
        << "bob's rights in project 2 do not let him read its bugs";
    Sql("UPDATE tRight SET \"Read\" = 1 WHERE RightID = 32;");
    ComPtr<lindor::IExeContext> later = LogIn("bob");
    EXPECT_EQ(Shown(OpenBugs(later.get()).get()), (IDs{1, 3, 4}));
}

TEST_F(BugRights, AddStaysInTheBugsProjectAndItsVersions)
{
    ComPtr<lindor::IExeContext> ann = LogIn("ann", 1);
    ComPtr<lindor::IBugSet> bugs = OpenBugs(ann.get());
    ComPtr<lindor::IBug> added;
    EXPECT_EQ(bugs->Add(NewBug(1, 3).get(), added.put()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Version(ID=3) is not a version of Project(ID=1)");
    EXPECT_EQ(bugs->Add(NewBug(1, 1, 4).get(), added.put()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Version(ID=4) is not a version of Project(ID=1)");
    EXPECT_EQ(bugs->Add(NewBug(2, 3).get(), added.put()), E_FAIL);
    EXPECT_EQ(ErrorText(), "You have no right to Add bug, please contact your manager!");
    EXPECT_EQ(bugs->Add(NewBug(0, 4).get(), added.put()), E_FAIL)
        << "a bug naming no project belongs to its version's";
    EXPECT_EQ(ErrorText(), "You have no right to Add bug, please contact your manager!");
    EXPECT_EQ(Count("tBugReport"), 4);

    ASSERT_EQ(bugs->Add(NewBug(1, 2, 1).get(), added.put()), S_OK) << ErrorText();
    EXPECT_EQ(Count("tBugReport WHERE ReportedInPrjID = 1 AND ReportedInVersionID = 2"), 2);
}

TEST_F(BugRights, UpdateStaysInTheBugsProjectAndItsVersions)
{
    ComPtr<lindor::IExeContext> ann = LogIn("ann", 1);
    ComPtr<lindor::IBugSet> bugs = OpenBugs(ann.get());
    ComPtr<lindor::IBug> bug;
    ASSERT_EQ(bugs->GetBugByID(1, bug.put()), S_OK) << ErrorText();
    ASSERT_EQ(bug->put_FixedInVersionID(3), S_OK);
    EXPECT_EQ(bugs->Update(bug.get()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Version(ID=3) is not a version of Project(ID=1)");
    bug->put_FixedInVersionID(0);
    bug->put_ReportedInProjectID(2);
    ASSERT_EQ(bug->put_ReportedInVersionID(3), S_OK);
    EXPECT_EQ(bugs->Update(bug.get()), E_FAIL);
    EXPECT_EQ(ErrorText(), "You have no right to update bug, please contact your manager!");
    EXPECT_EQ(Sql("SELECT ReportedInPrjID, ReportedInVersionID, coalesce(FixedInVersionID, 0) FROM "
                  "tBugReport WHERE BugID = 1;"),
              "1|1|0");

    bug->put_ReportedInProjectID(1);
    ASSERT_EQ(bug->put_ReportedInVersionID(2), S_OK);
    EXPECT_EQ(bugs->Update(bug.get()), S_OK) << ErrorText();
    EXPECT_EQ(StoredText("ReportedInVersionID", 1), "2");
}

TEST_F(BugRights, AnUpdateOfValuesChangedSinceTheyWereReadIsRefused)
{
    ComPtr<lindor::IExeContext> ann = LogIn("ann", 1);
    ComPtr<lindor::IBugSet> bugs = OpenBugs(ann.get());
    ComPtr<lindor::IBug> bug;
    ASSERT_EQ(bugs->GetBugByID(1, bug.put()), S_OK) << ErrorText();
    Sql("UPDATE tBugReport SET PriorityName = 'High' WHERE BugID = 1;");  // another program
    ASSERT_EQ(bugs->Refresh(), S_OK);
    bug->put_Description("edited from an old copy");
    EXPECT_EQ(bugs->Update(bug.get()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Update bug failed!");
    EXPECT_EQ(Sql("SELECT Description, PriorityName FROM tBugReport WHERE BugID = 1;"), "one|High")
        << "neither the old priority nor the edit is written";

    // Read again, the bug is written, and again after that.
    ASSERT_EQ(bugs->GetBugByID(1, bug.put()), S_OK);
    bug->put_Description("edited");
    ASSERT_EQ(bugs->Update(bug.get()), S_OK) << ErrorText();
    bug->put_Priority("Normal");
    ASSERT_EQ(bugs->Update(bug.get()), S_OK) << ErrorText();
    EXPECT_EQ(Sql("SELECT Description, PriorityName FROM tBugReport WHERE BugID = 1;"),
              "edited|Normal");
}

TEST_F(BugRights, AChangeToAColumnTheUpdateLeavesAloneIsNoConflict)
{
    ComPtr<lindor::IExeContext> ann = LogIn("ann", 1);
    ComPtr<lindor::IBugSet> bugs = OpenBugs(ann.get());
    ComPtr<lindor::IBug> bug;
    ASSERT_EQ(bugs->GetBugByID(1, bug.put()), S_OK) << ErrorText();
    // Ann may not change the severity, so her update never writes it.
    Sql("UPDATE tBugReport SET SeverityName = 'Crash' WHERE BugID = 1;");
    ASSERT_EQ(bugs->Refresh(), S_OK);
    bug->put_Description("edited");
    ASSERT_EQ(bugs->Update(bug.get()), S_OK) << ErrorText();
    EXPECT_EQ(Sql("SELECT Description, SeverityName FROM tBugReport WHERE BugID = 1;"),
              "edited|Crash");
}

TEST_F(BugRights, ABugNeverReadFromTheDatabaseIsWrittenAsItIs)
{
    ComPtr<lindor::IExeContext> ann = LogIn("ann", 1);
    ComPtr<lindor::IBugSet> bugs = OpenBugs(ann.get());
    ComPtr<lindor::IBug> added;
    ASSERT_EQ(bugs->Add(NewBug(1, 1).get(), added.put()), S_OK) << ErrorText();
    std::int32_t id = 0;
    added->get_ID(&id);
    Sql("UPDATE tBugReport SET PriorityName = 'High' WHERE BugID = " + std::to_string(id) + ";");
    ASSERT_EQ(bugs->Refresh(), S_OK);
    added->put_Description("second thoughts");
    ASSERT_EQ(bugs->Update(added.get()), S_OK) << ErrorText();
    EXPECT_EQ(StoredText("Description || '|' || PriorityName", id), "second thoughts|Low");
}

TEST_F(BugRights, AFailedSortOpenOrFilterLeavesTheSetAsItWas)
{
    ComPtr<lindor::IExeContext> ann = LogIn("ann", 1);
    ComPtr<lindor::IBugSet> bugs = OpenBugs(ann.get());
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    ASSERT_EQ(bugs->Sort(lindor::ColID, lindor::eDesc), S_OK);
    bugs->put_Position(1);

    EXPECT_EQ(bugs->Sort(static_cast<lindor::eBugField>(99), lindor::eAsc), E_FAIL);
    EXPECT_EQ(ErrorText(), "Set sort order failed!");
    ComPtr<lindor::IBugFilterSet> unbalanced = OneCondition("PriorityName", Variant::Text("Low"));
    ComPtr<lindor::IBugFilter> open = Make<lindor::IBugFilter>("Lindor.BugFilter.1");
    open->put_Field("StatusName");
    open->put_Value(Variant::Text("New"));
    open->put_Bracket(lindor::eOpen);
    unbalanced->Add(open.get());
    unbalanced->Add(open.get());  // opened twice, closed never
    EXPECT_EQ(bugs->Open(unbalanced.get()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Open bug set failed!");
    EXPECT_EQ(bugs->put_FilterSet(unbalanced.get()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Set filter failed!");

    std::int32_t count = 0, position = -1;
    EXPECT_EQ(bugs->get_Count(&count), S_OK);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(bugs->get_Position(&position), S_OK);
    EXPECT_EQ(position, 1);
    ComPtr<lindor::IBug> current;
    ASSERT_EQ(bugs->get_CurItem(current.put()), S_OK);
    ASSERT_TRUE(current);
    EXPECT_EQ(Shown(bugs.get()), (IDs{2, 1})) << "still open, in the last good order";
}

}  // namespace
