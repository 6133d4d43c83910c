// The bug set: its query, moving, counting and finding, filtering and
// sorting, and adding, changing and deleting bugs under the user's rights.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <cstdio>
#include <functional>

#include "bugs/BugTestSupport.h"
#include "bugs/CBugSet.h"
#include "core/ClassRegistry.h"
#include "core/DateTime.h"
#include "db/NextID.h"
#include "support/FakeContext.h"

extern char** environ;

namespace lindor {
namespace {

using test::CallerText;
using test::Condition;
using test::CountRows;
using test::FilterOf;
using test::StoreBug;
using test::StoredBug;
using test::StoredValue;

std::int32_t IdOf(IBug* bug)
{
    std::int32_t id = 0;
    if (bug != nullptr) bug->get_ID(&id);
    return id;
}

// The numbers of the bugs the set shows, walked from the first row.
std::vector<std::int32_t> WalkIDs(IBugSet* set)
{
    std::vector<std::int32_t> ids;
    EXPECT_EQ(set->First(), S_OK);
    for (std::int32_t end = 0; set->IsEnd(&end) == S_OK && end == 0; set->Next()) {
        ComPtr<IBug> bug;
        EXPECT_EQ(set->get_CurItem(bug.put()), S_OK);
        ids.push_back(IdOf(bug.get()));
    }
    return ids;
}

using IDs = std::vector<std::int32_t>;

class BugSetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = test::NewDatabase();
        context = test::ProjectContext();
        bugs = MakeObject<CBugSet>();
        bugs->AttachContext(context.get());
    }

    // Bugs 1..5: 1, 3, 5 in version 1 and New; 2, 4 in version 2 and Active.
    void StoreFiveBugs()
    {
        for (std::int32_t id = 1; id <= 5; ++id)
            StoreBug(StoredBug(id, id % 2 == 1 ? 1 : 2)
                         .Status(id % 2 == 1 ? "New" : "Active")
                         .Priority(id <= 2 ? "High" : "Low"));
    }

    void Narrow(RightFlag flag)
    {
        ComPtr<CRight> right = test::FullRight();
        right->SetFlag(flag, false);
        context->projectRight = ComPtr<IRight>(right);
    }

    std::int32_t Count()
    {
        std::int32_t count = -1;
        EXPECT_EQ(bugs->get_Count(&count), S_OK);
        return count;
    }

    std::int32_t Position()
    {
        std::int32_t position = 99;
        EXPECT_EQ(bugs->get_Position(&position), S_OK);
        return position;
    }

    std::string path;
    ComPtr<test::FakeContext> context;
    ComPtr<CBugSet> bugs;
};

// ---- the query ------------------------------------------------------------

TEST_F(BugSetTest, OpenWithoutConditionsShowsEveryBugByNumber)
{
    StoreBug(StoredBug(3));
    StoreBug(StoredBug(1));
    StoreBug(StoredBug(2));
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    EXPECT_EQ(bugs->QueryText(), "SELECT * FROM tBugReport ORDER BY BugID");
    EXPECT_EQ(WalkIDs(bugs.get()), (IDs{1, 2, 3}));
    ComPtr<IBugFilterSet> empty = FilterOf({});
    ASSERT_EQ(bugs->Open(empty.get()), S_OK);
    EXPECT_EQ(bugs->QueryText(), "SELECT * FROM tBugReport ORDER BY BugID");
}

TEST_F(BugSetTest, OpenPutsTheConditionTextBetweenWhereAndTheOrder)
{
    StoreFiveBugs();
    ComPtr<IBugFilterSet> filter =
        FilterOf({Condition("StatusName", Equal, Variant::Text("New")),
                  Condition("PriorityName", Equal, Variant::Text("High"), LogOr)});
    ASSERT_EQ(bugs->Open(filter.get()), S_OK);
    EXPECT_EQ(bugs->QueryText(),
              "SELECT * FROM tBugReport WHERE StatusName = 'New' OR PriorityName = 'High' ORDER BY "
              "BugID");
    EXPECT_EQ(WalkIDs(bugs.get()), (IDs{1, 2, 3, 5}));
    ComPtr<IBugFilterSet> kept;
    bugs->get_FilterSet(kept.put());
    EXPECT_FALSE(kept) << "the set given to Open is not kept";
}

TEST_F(BugSetTest, ATextTheDatabaseRefusesFailsTheOpen)
{
    ComPtr<IBugFilter> opened = Condition("StatusName", Equal, Variant::Text("New"));
    opened->put_Bracket(eOpen);
    ComPtr<IBugFilterSet> unbalanced =
        FilterOf({opened, Condition("BugID", Equal, Variant::I4(1))});
    test::LogWatch log;
    EXPECT_EQ(bugs->Open(unbalanced.get()), E_FAIL);
    EXPECT_EQ(CallerText(), "Open bug set failed!");
    EXPECT_TRUE(log.Has(2, "CBugSet::Open"));
}

TEST_F(BugSetTest, AConditionWithoutTextFailsTheOpen)
{
    ComPtr<CBugFilter> untyped = MakeObject<CBugFilter>();
    untyped->put_Field("ReportedInPrjID");
    ComPtr<IBugFilterSet> filter = FilterOf({ComPtr<IBugFilter>(untyped)});
    test::LogWatch log;
    EXPECT_EQ(bugs->Open(filter.get()), E_FAIL);
    EXPECT_EQ(CallerText(), "Open bug set failed!");
    EXPECT_TRUE(log.Has(0, "CBugFilter::GetSQL", "Type mismatch"));
}

TEST_F(BugSetTest, WithoutADatabaseOpenFails)
{
    db::SetProcessConnectionString("");
    EXPECT_EQ(bugs->Open(nullptr), E_FAIL);
    EXPECT_EQ(CallerText(), "Open bug set failed!");
}

TEST_F(BugSetTest, SortingTwiceLeavesOneOrder)
{
    StoreFiveBugs();
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    ASSERT_EQ(bugs->Sort(ColBugType, eAsc), S_OK);
    ASSERT_EQ(bugs->Sort(ColBugType, eAsc), S_OK);
    EXPECT_EQ(bugs->QueryText(), "SELECT * FROM tBugReport ORDER BY BugType ASC");
}

TEST_F(BugSetTest, SortReplacesTheOrderAndKeepsTheCondition)
{
    StoreFiveBugs();
    ComPtr<IBugFilterSet> filter =
        FilterOf({Condition("StatusName", Equal, Variant::Text("New")),
                  Condition("PriorityName", Equal, Variant::Text("High"), LogOr)});
    ASSERT_EQ(bugs->Open(filter.get()), S_OK);
    ASSERT_EQ(bugs->Sort(ColPriority, eDesc), S_OK);
    EXPECT_EQ(bugs->QueryText(),
              "SELECT * FROM tBugReport WHERE StatusName = 'New' OR PriorityName = 'High' ORDER BY "
              "PriorityName DESC");
    const IDs sorted = WalkIDs(bugs.get());
    ASSERT_EQ(sorted.size(), 4u);
    EXPECT_EQ(IDs(sorted.begin() + 2, sorted.end()), (IDs{1, 2})) << "High after Low";
}

TEST_F(BugSetTest, AnOrderWordInsideAValueDoesNotCutTheQuery)
{
    StoreBug(StoredBug(1).Description("ORDER BY x"));
    StoreBug(StoredBug(2));
    ComPtr<IBugFilterSet> filter =
        FilterOf({Condition("Description", Equal, Variant::Text("ORDER BY x"))});
    ASSERT_EQ(bugs->Open(filter.get()), S_OK);
    ASSERT_EQ(bugs->Sort(ColStatus, eAsc), S_OK);
    EXPECT_EQ(bugs->QueryText(),
              "SELECT * FROM tBugReport WHERE Description = 'ORDER BY x' ORDER BY StatusName ASC");
    EXPECT_EQ(WalkIDs(bugs.get()), (IDs{1}));
}

TEST_F(BugSetTest, SortByAnUnknownColumnFails)
{
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    test::LogWatch log;
    EXPECT_EQ(bugs->Sort(static_cast<eBugField>(33), eAsc), E_FAIL);
    EXPECT_EQ(CallerText(), "Set sort order failed!");
    EXPECT_TRUE(log.Has(2, "Sort"));
}

TEST_F(BugSetTest, SortAppliesTheKeptFilterAgain)
{
    StoreFiveBugs();
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    ComPtr<IBugFilterSet> active =
        FilterOf({Condition("StatusName", Equal, Variant::Text("Active"))});
    ASSERT_EQ(bugs->put_FilterSet(active.get()), S_OK);
    ASSERT_EQ(bugs->Sort(ColID, eDesc), S_OK);
    EXPECT_EQ(WalkIDs(bugs.get()), (IDs{4, 2}));
}

// ---- moving, counting, finding ---------------------------------------------

TEST_F(BugSetTest, AnEmptySetHasNoCurrentBug)
{
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    ComPtr<IBug> bug;
    EXPECT_EQ(bugs->get_CurItem(bug.put()), S_OK);
    EXPECT_FALSE(bug);
    std::int32_t end = 0;
    EXPECT_EQ(bugs->IsEnd(&end), S_OK);
    EXPECT_EQ(end, 1);
    EXPECT_EQ(bugs->First(), S_OK);
    test::LogWatch log;
    EXPECT_EQ(bugs->Next(), E_FAIL);
    EXPECT_EQ(CallerText(), "Move Next Failed");
    EXPECT_TRUE(log.Has(2, "CBugSet::Next"));
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(bugs->put_Position(0), S_OK) << "nowhere to go, nothing to refuse";
    EXPECT_EQ(Position(), -2) << "the cursor cannot say where it stands";
}

TEST_F(BugSetTest, PositionsAreZeroBasedWithMarksForTheEnds)
{
    StoreFiveBugs();
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    EXPECT_EQ(Position(), 0);
    ASSERT_EQ(bugs->put_Position(3), S_OK);
    EXPECT_EQ(Position(), 3);
    ComPtr<IBug> bug;
    bugs->get_CurItem(bug.put());
    EXPECT_EQ(IdOf(bug.get()), 4);
    bugs->put_Position(4);
    bugs->Next();
    EXPECT_EQ(Position(), -4) << "after the last row";
}

TEST_F(BugSetTest, APositionOutsideTheSetFails)
{
    StoreBug(StoredBug(1));
    StoreBug(StoredBug(2));
    StoreBug(StoredBug(3));
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    test::LogWatch log;
    EXPECT_EQ(bugs->put_Position(5), E_FAIL);
    EXPECT_EQ(CallerText(), "Set position failed!");
    EXPECT_TRUE(log.Has(2, "CBugSet::put_Position"));
}

TEST_F(BugSetTest, APositionCanBeReachedAgainAfterWalkingPastTheEnd)
{
    StoreFiveBugs();
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    WalkIDs(bugs.get());
    std::int32_t end = 0;
    bugs->IsEnd(&end);
    ASSERT_EQ(end, 1);
    ASSERT_EQ(bugs->put_Position(1), S_OK);
    ComPtr<IBug> bug;
    bugs->get_CurItem(bug.put());
    EXPECT_EQ(IdOf(bug.get()), 2);
}

TEST_F(BugSetTest, GetBugByIDFindsABugBeforeTheCurrentRow)
{
    StoreFiveBugs();
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    bugs->put_Position(4);
    ComPtr<IBug> bug;
    ASSERT_EQ(bugs->GetBugByID(2, bug.put()), S_OK);
    EXPECT_EQ(IdOf(bug.get()), 2);
    EXPECT_EQ(Position(), 1) << "the found row becomes current";
    ComPtr<test::FakeContext> held;
    ComPtr<CBug> engineBug(ImplOf<CBug>(bug.get()));
    EXPECT_EQ(engineBug->context().get(), static_cast<IExeContext*>(context.get()));
}

TEST_F(BugSetTest, GetBugByIDOfAMissingNumberFailsAndGoesToTheFirstRow)
{
    StoreFiveBugs();
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    bugs->put_Position(3);
    test::LogWatch log;
    ComPtr<IBug> bug;
    EXPECT_EQ(bugs->GetBugByID(42, bug.put()), E_FAIL);
    EXPECT_EQ(CallerText(), "Get Bug Failed!");
    EXPECT_TRUE(log.Has(0, "CBugSet::GetBugByID", "Get Bug(ID=42) Failed!"));
    EXPECT_FALSE(bug);
    EXPECT_EQ(Position(), 0);
}

TEST_F(BugSetTest, CurItemIsAFreshCopyOfTheRow)
{
    StoreFiveBugs();
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    ComPtr<IBug> first, again;
    bugs->get_CurItem(first.put());
    bugs->get_CurItem(again.put());
    EXPECT_NE(first.get(), again.get());
    std::string status;
    first->get_Status(&status);
    EXPECT_EQ(status, "New");
}

// ---- filters and refresh ----------------------------------------------------

TEST_F(BugSetTest, AFilterHidesRowsAndIsKeptUntilRemoved)
{
    StoreFiveBugs();
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    ComPtr<IBugFilterSet> filter =
        FilterOf({Condition("ReportedInVersionID", Equal, Variant::I4(2)),
                  Condition("PriorityName", Equal, Variant::Text("Low"))});
    ASSERT_EQ(bugs->put_FilterSet(filter.get()), S_OK);
    EXPECT_EQ(WalkIDs(bugs.get()), (IDs{4}));
    EXPECT_EQ(Count(), 1);
    ComPtr<IBugFilterSet> kept;
    bugs->get_FilterSet(kept.put());
    EXPECT_EQ(kept.get(), filter.get());
    ASSERT_EQ(bugs->put_FilterSet(nullptr), S_OK);
    EXPECT_EQ(Count(), 5);
    bugs->get_FilterSet(kept.put());
    EXPECT_FALSE(kept);
}

TEST_F(BugSetTest, RefreshShowsNewRowsAndAppliesTheFilterAgain)
{
    StoreFiveBugs();
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    ComPtr<IBugFilterSet> active =
        FilterOf({Condition("StatusName", Equal, Variant::Text("Active"))});
    ASSERT_EQ(bugs->put_FilterSet(active.get()), S_OK);
    StoreBug(StoredBug(6).Status("Active"));
    StoreBug(StoredBug(7).Status("New"));
    EXPECT_EQ(Count(), 2) << "other programs' rows appear only after a refresh";
    ASSERT_EQ(bugs->Refresh(), S_OK);
    EXPECT_EQ(WalkIDs(bugs.get()), (IDs{2, 4, 6}));
}

TEST_F(BugSetTest, AWholeDayConditionMatchesAnyTimeThatDay)
{
    const CivilTime today = CivilFromDate(Now());
    CivilTime afternoon = today;
    afternoon.hour = 15;
    afternoon.minute = 30;
    afternoon.second = 0;
    CivilTime morning = today;
    morning.hour = 0;
    morning.minute = 0;
    morning.second = 0;
    StoreBug(StoredBug(1).Reported(DateFromCivil(afternoon)));
    StoreBug(StoredBug(2).Reported(DateFromCivil(afternoon) - 1.0));
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    ComPtr<IBugFilterSet> reportedToday =
        FilterOf({Condition("ReportedDate", Equal, Variant::Date(DateFromCivil(morning)))});
    ASSERT_EQ(bugs->put_FilterSet(reportedToday.get()), S_OK);
    EXPECT_EQ(WalkIDs(bugs.get()), (IDs{1}));
    ComPtr<IBugFilterSet> beforeToday =
        FilterOf({Condition("ReportedDate", LessThan, Variant::Date(Now()))});
    ASSERT_EQ(bugs->Open(beforeToday.get()), S_OK);
    EXPECT_EQ(WalkIDs(bugs.get()), (IDs{2}));
}

TEST_F(BugSetTest, AQuotedValueIsComparedLiterally)
{
    StoreBug(StoredBug(1).Description("O'Hara's crash"));
    StoreBug(StoredBug(2).Description("other"));
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    ComPtr<IBugFilterSet> quoted =
        FilterOf({Condition("Description", Equal, Variant::Text("O'Hara's crash"))});
    ASSERT_EQ(bugs->put_FilterSet(quoted.get()), S_OK);
    EXPECT_EQ(WalkIDs(bugs.get()), (IDs{1}));
    ComPtr<IBugFilterSet> crafted =
        FilterOf({Condition("Description", Equal, Variant::Text("x' OR '1'='1"))});
    ASSERT_EQ(bugs->put_FilterSet(crafted.get()), S_OK);
    EXPECT_EQ(Count(), 0);
}

// ---- a set that is not open ------------------------------------------------

TEST_F(BugSetTest, AClosedSetFailsEachOperationWithItsOwnText)
{
    ComPtr<IBug> bug;
    std::int32_t value = 7;
    EXPECT_EQ(bugs->get_CurItem(bug.put()), S_OK);
    EXPECT_FALSE(bug);
    EXPECT_EQ(bugs->IsEnd(&value), S_OK);
    EXPECT_EQ(value, 0);
    const std::pair<std::function<HRESULT()>, const char*> failures[] = {
        {[&] { return bugs->First(); }, "Move First Failed"},
        {[&] { return bugs->Next(); }, "Move Next Failed"},
        {[&] { return bugs->get_Count(&value); }, "Get count of bugs failed!"},
        {[&] { return bugs->get_Position(&value); }, "Get position failed!"},
        {[&] { return bugs->put_Position(0); }, "Set position failed!"},
        {[&] { return bugs->Sort(ColID, eAsc); }, "Set sort order failed!"},
        {[&] { return bugs->Refresh(); }, "Refresh failed!"},
        {[&] { return bugs->Close(); }, "Close bug set failed!"},
        {[&] { return bugs->put_FilterSet(nullptr); }, "Set filter failed!"},
        {[&] { return bugs->GetBugByID(1, bug.put()); }, "Get Bug Failed!"},
        {[&] { return bugs->RemoveByID(1); }, "Delete bug failed!"},
        {[&] { return bugs->Remove(); }, "Delete bug failed!"},
    };
    for (const auto& [call, text] : failures) {
        EXPECT_EQ(call(), E_FAIL) << text;
        EXPECT_EQ(CallerText(), text);
    }
    test::LogWatch log;
    bugs->Refresh();
    EXPECT_EQ(CallerText(), "Refresh failed!");
    ASSERT_EQ(log.Entries().size(), 1u);
    EXPECT_EQ(log.Entries()[0].source, "CBugSet::Refresh");
    EXPECT_NE(log.Entries()[0].description.find("{Lindor database}"), std::string::npos);
}

TEST_F(BugSetTest, CloseEndsTheCursorAndOpenStartsItAgain)
{
    StoreFiveBugs();
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    ASSERT_EQ(bugs->Close(), S_OK);
    ComPtr<IBug> bug;
    EXPECT_EQ(bugs->get_CurItem(bug.put()), S_OK);
    EXPECT_FALSE(bug);
    EXPECT_EQ(bugs->Close(), E_FAIL);
    EXPECT_EQ(CallerText(), "Close bug set failed!");
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    EXPECT_EQ(Count(), 5);
}

TEST_F(BugSetTest, ReleasingAnOpenSetClosesItQuietly)
{
    StoreFiveBugs();
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    test::LogWatch log;
    bugs = nullptr;
    EXPECT_TRUE(log.Entries().empty());
    // Nothing of the released set still holds the file: a write goes through.
    StoreBug(StoredBug(6));
    EXPECT_EQ(CountRows("SELECT * FROM tBugReport"), 6);
}

TEST(BugSetClass, IsCreatedByNameWithoutContext)
{
    ComPtr<IBugSet> bugs;
    ASSERT_EQ(ClassRegistry::Create("Lindor.BugSet.1", IBugSet::IID, bugs.put_void()), S_OK);
    ComPtr<IExeContext> context;
    EXPECT_EQ(bugs->get_ExeContext(context.put()), S_OK);
    EXPECT_FALSE(context);
}

// ---- adding -----------------------------------------------------------------

TEST_F(BugSetTest, AddStoresTheBugAsGivenUnderTheNextNumber)
{
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    ComPtr<CBug> bug = test::NewBug();
    bug->put_ReportedInVersionID(2);
    ComPtr<IBug> added;
    ASSERT_EQ(bugs->Add(bug.get(), added.put()), S_OK) << CallerText();
    EXPECT_EQ(added.get(), static_cast<IBug*>(bug.get())) << "the same object comes back";
    EXPECT_EQ(IdOf(added.get()), 1);
    EXPECT_EQ(bug->context().get(), static_cast<IExeContext*>(context.get()));
    const std::string row = " FROM tBugReport WHERE BugID = 1";
    EXPECT_EQ(StoredValue("SELECT Description" + row).text(), "crash on start");
    EXPECT_EQ(StoredValue("SELECT ReportedInVersion" + row).text(), "Version 2.0");
    // Nothing is stamped: who reported it, when, and the project are the caller's.
    EXPECT_EQ(StoredValue("SELECT ReportedByID" + row).i4(), 0);
    EXPECT_TRUE(StoredValue("SELECT ReportedBy" + row).IsNull());
    EXPECT_EQ(StoredValue("SELECT ReportedDate" + row).date(), 0.0);
    EXPECT_EQ(StoredValue("SELECT ReportedInPrjID" + row).i4(), 1);
    EXPECT_TRUE(StoredValue("SELECT LastModifiedBy" + row).IsNull());
    EXPECT_EQ(Count(), 1) << "the new row belongs to the cursor";
    ComPtr<IBug> current;
    bugs->get_CurItem(current.put());
    EXPECT_EQ(IdOf(current.get()), 1);
}

TEST_F(BugSetTest, AddNeedsAnActiveProject)
{
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    context->projectRight = nullptr;
    test::LogWatch log;
    ComPtr<IBug> added;
    EXPECT_EQ(bugs->Add(test::NewBug().get(), added.put()), E_FAIL);
    EXPECT_EQ(CallerText(), "You cannot perform this action when no project is selected!");
    EXPECT_TRUE(
        log.Has(0, "CBugSet::Add", "You cannot perform this action when no project is selected!"));
    EXPECT_EQ(CountRows("SELECT * FROM tBugReport"), 0);
}

TEST_F(BugSetTest, AddNeedsTheAddRight)
{
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    Narrow(RightFlag::Add);
    test::LogWatch log;
    ComPtr<IBug> added;
    EXPECT_EQ(bugs->Add(test::NewBug().get(), added.put()), E_FAIL);
    EXPECT_EQ(CallerText(), "You have no right to Add bug, please contact your manager!");
    EXPECT_TRUE(log.Has(3, "CBugSet::Add", "No right to add bug"));
    EXPECT_EQ(CountRows("SELECT * FROM tBugReport"), 0);
}

TEST_F(BugSetTest, ABugWithoutARequiredTextIsNotStoredAndItsNumberIsSpent)
{
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    ComPtr<CBug> bug = test::NewBug("");
    test::LogWatch log;
    ComPtr<IBug> added;
    EXPECT_EQ(bugs->Add(bug.get(), added.put()), E_FAIL);
    EXPECT_EQ(CallerText(), "Add bug failed!");
    EXPECT_TRUE(log.Has(2, "CBugSet::RealAddBug"));
    EXPECT_EQ(CountRows("SELECT * FROM tBugReport"), 0);
    EXPECT_EQ(IdOf(bug.get()), 0) << "the bug names no row";
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(GetNextID("NextBugID"), 2);
    // The set still works afterwards.
    ASSERT_EQ(bugs->Add(test::NewBug().get(), added.put()), S_OK);
    EXPECT_EQ(IdOf(added.get()), 3);
}

TEST_F(BugSetTest, AddToASetNeverOpenedFailsAndStoresNothing)
{
    test::LogWatch log;
    ComPtr<IBug> added;
    EXPECT_EQ(bugs->Add(test::NewBug().get(), added.put()), E_FAIL);
    EXPECT_EQ(CallerText(), "Add bug failed!");
    EXPECT_TRUE(log.Has(0, "CBugSet::RealAddBug"));
    EXPECT_EQ(CountRows("SELECT * FROM tBugReport"), 0);
    EXPECT_EQ(GetNextID("NextBugID"), 1) << "no number was spent";
}

// ---- updating -------------------------------------------------------------

class BugUpdateTest : public BugSetTest {
protected:
    void SetUp() override
    {
        BugSetTest::SetUp();
        StoreFiveBugs();
        ASSERT_EQ(bugs->Open(nullptr), S_OK);
        ComPtr<IBug> found;
        ASSERT_EQ(bugs->GetBugByID(3, found.put()), S_OK);
        bug = ComPtr<CBug>(ImplOf<CBug>(found.get()));
    }

    Variant Stored(const std::string& column)
    {
        return StoredValue("SELECT " + column + " FROM tBugReport WHERE BugID = 3");
    }

    ComPtr<CBug> bug;
};

TEST_F(BugUpdateTest, ChangedColumnsAreWritten)
{
    bug->put_Status("Resolved");
    bug->put_Description("better words");
    bug->put_FixedByID(1);
    bug->put_EstimatedTime(45);
    bug->put_DateDue(40000.5);
    ASSERT_EQ(bugs->Update(bug.get()), S_OK) << CallerText();
    EXPECT_EQ(Stored("StatusName").text(), "Resolved");
    EXPECT_EQ(Stored("Description").text(), "better words");
    EXPECT_EQ(Stored("FixedByID").i4(), 1);
    EXPECT_EQ(Stored("FixedBy").text(), "Admin");
    EXPECT_EQ(Stored("EstimatedTime").date(), 45.0);
    EXPECT_EQ(Stored("DateDue").date(), 40000.5);
}

TEST_F(BugUpdateTest, ColumnsWithoutTheEditRightStayAndOthersChange)
{
    Narrow(RightFlag::EditDescription);
    bug->put_Description("not allowed");
    bug->put_Status("Resolved");
    ASSERT_EQ(bugs->Update(bug.get()), S_OK);
    EXPECT_EQ(Stored("Description").text(), "something broke");
    EXPECT_EQ(Stored("StatusName").text(), "Resolved") << "status is always written";
}

TEST_F(BugUpdateTest, EachEditRightGuardsItsColumns)
{
    ComPtr<CRight> none = test::FullRight();
    for (RightFlag flag :
         {RightFlag::EditSeverity, RightFlag::EditPriority, RightFlag::EditReproductive,
          RightFlag::EditReport, RightFlag::EditRecreateStep, RightFlag::EditWorkAround,
          RightFlag::EditResolution, RightFlag::EditDateDue, RightFlag::EditClass})
        none->SetFlag(flag, false);
    context->projectRight = ComPtr<IRight>(none);
    BugRecord& r = bug->record();
    r.severity = "Trivial";
    r.priority = "High";
    r.reproductive = "Never";
    r.report = "r";
    r.recreateStep = "s";
    r.workaround = "w";
    r.resolution = "x";
    r.dateDue = 40000;
    r.classificationID = 4;
    r.classification = "c";
    r.verifiedByID = 1;  // people, versions and dates other than the due date always change
    ASSERT_EQ(bugs->Update(bug.get()), S_OK);
    EXPECT_EQ(Stored("SeverityName").text(), "Normal");
    EXPECT_EQ(Stored("PriorityName").text(), "Low");
    EXPECT_EQ(Stored("ReproductiveName").text(), "Always");
    EXPECT_TRUE(Stored("Report").IsNull());
    EXPECT_TRUE(Stored("RecreateStep").IsNull());
    EXPECT_TRUE(Stored("WorkAround").IsNull());
    EXPECT_TRUE(Stored("Resolution").IsNull());
    EXPECT_TRUE(Stored("DateDue").IsNull());
    EXPECT_TRUE(Stored("ClassID").IsNull());
    EXPECT_TRUE(Stored("Classification").IsNull());
    EXPECT_EQ(Stored("VerifiedByID").i4(), 1);
}

TEST_F(BugUpdateTest, AClearedTextIsWrittenAsNull)
{
    bug->put_Workaround("restart it");
    ASSERT_EQ(bugs->Update(bug.get()), S_OK);
    ASSERT_EQ(Stored("WorkAround").text(), "restart it");
    bug->put_Workaround("");
    ASSERT_EQ(bugs->Update(bug.get()), S_OK);
    EXPECT_TRUE(Stored("WorkAround").IsNull());
}

TEST_F(BugUpdateTest, UnchangedValuesAreNotWritten)
{
    // The row is changed by another program after this set read it; an update
    // that changes nothing does not touch the row and so is not refused.
    db::Recordset other;
    other.Open("SELECT * FROM tBugReport WHERE BugID = 3", db::ProcessConnectionString());
    other.Fields("Resolution").SetValue(Variant::Text("theirs"));
    other.Update();
    other.Close();
    EXPECT_EQ(bugs->Update(bug.get()), S_OK) << CallerText();
    EXPECT_EQ(Stored("Resolution").text(), "theirs");
}

TEST_F(BugUpdateTest, AChangeOverAnotherProgramsChangeIsRefused)
{
    db::Recordset other;
    other.Open("SELECT * FROM tBugReport WHERE BugID = 3", db::ProcessConnectionString());
    other.Fields("StatusName").SetValue(Variant::Text("Waiting"));
    other.Update();
    other.Close();
    bug->put_Status("Resolved");
    test::LogWatch log;
    EXPECT_EQ(bugs->Update(bug.get()), E_FAIL);
    EXPECT_EQ(CallerText(), "Update bug failed!");
    EXPECT_TRUE(log.Has(2, "CBugSet::Update"));
    EXPECT_EQ(Stored("StatusName").text(), "Waiting");
}

TEST_F(BugUpdateTest, AValueTheDatabaseRefusesLeavesTheRowAsItWas)
{
    bug->put_Status("No such status");
    bug->put_Description("changed too");
    EXPECT_EQ(bugs->Update(bug.get()), E_FAIL);
    EXPECT_EQ(CallerText(), "Update bug failed!");
    EXPECT_EQ(Stored("StatusName").text(), "New");
    EXPECT_EQ(Stored("Description").text(), "something broke");
    // The set goes on working.
    bug->put_Status("Active");
    EXPECT_EQ(bugs->Update(bug.get()), S_OK) << CallerText();
    EXPECT_EQ(Stored("StatusName").text(), "Active");
}

TEST_F(BugUpdateTest, AValueTooLongForItsColumnFailsThatColumn)
{
    bug->put_Description(std::string(300, 'd'));
    test::LogWatch log;
    EXPECT_EQ(bugs->Update(bug.get()), E_FAIL);
    EXPECT_EQ(CallerText(), "Update bug data failed!");
    EXPECT_TRUE(log.Has(2, "CBugSet::UpdateColumn"));
    EXPECT_EQ(Stored("Description").text(), "something broke");
}

TEST_F(BugUpdateTest, ABugWithoutNumberOrRowIsRefused)
{
    test::LogWatch log;
    ComPtr<CBug> unsaved = test::NewBug();
    EXPECT_EQ(bugs->Update(unsaved.get()), E_FAIL);
    EXPECT_EQ(CallerText(), "Update bug failed!");
    EXPECT_TRUE(log.Has(0, "CBugSet::Update", "The updating bug's id is 0"));
    unsaved->record().id = 77;
    bugs->put_Position(2);
    EXPECT_EQ(bugs->Update(unsaved.get()), E_FAIL);
    EXPECT_TRUE(log.Has(0, "CBugSet::Update", "Cannot find the bug in database"));
    EXPECT_EQ(Position(), 0);
}

TEST_F(BugUpdateTest, WithoutAnActiveProjectNothingChangesAndTheUpdateFails)
{
    context->projectRight = nullptr;
    bug->put_Status("Resolved");
    test::LogWatch log;
    EXPECT_EQ(bugs->Update(bug.get()), E_FAIL);
    EXPECT_EQ(CallerText(), "You cannot perform this action when no Project is selected!");
    EXPECT_TRUE(log.Has(0, "CBugSet::CanUpdate",
                        "You cannot perform this action when no Project is selected!"));
    EXPECT_EQ(Stored("StatusName").text(), "New");
}

// ---- deleting ---------------------------------------------------------------

class BugDeleteTest : public BugSetTest {
protected:
    void SetUp() override
    {
        BugSetTest::SetUp();
        StoreFiveBugs();
        test::StoreAttachmentRow(1, 3);
        test::StoreAttachmentRow(2, 3);
        test::StoreAttachmentRow(3, 4);
        ASSERT_EQ(bugs->Open(nullptr), S_OK);
    }
};

TEST_F(BugDeleteTest, RemoveByIDDeletesTheBugWithItsAttachments)
{
    bugs->put_Position(4);
    ASSERT_EQ(bugs->RemoveByID(3), S_OK) << CallerText();
    EXPECT_EQ(CountRows("SELECT * FROM tBugReport WHERE BugID = 3"), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tAttachment WHERE BugID = 3"), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tAttachment"), 1) << "other bugs keep theirs";
    EXPECT_EQ(WalkIDs(bugs.get()), (IDs{1, 2, 4, 5}));
}

TEST_F(BugDeleteTest, RemoveByIDStaysOnTheFirstRowOfTheRefreshedSet)
{
    bugs->put_Position(3);
    ASSERT_EQ(bugs->RemoveByID(5), S_OK);
    EXPECT_EQ(Position(), 0);
}

TEST_F(BugDeleteTest, RemoveDeletesTheCurrentBugThenMovesOneOn)
{
    bugs->put_Position(2);
    ASSERT_EQ(bugs->Remove(), S_OK) << CallerText();
    EXPECT_EQ(CountRows("SELECT * FROM tBugReport WHERE BugID = 3"), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tAttachment WHERE BugID = 3"), 0);
    EXPECT_EQ(Position(), 1) << "the refreshed set's second row";
}

TEST_F(BugDeleteTest, RemovingTheLastBugLeavesAnEmptySet)
{
    for (std::int32_t id : {1, 2, 4, 5}) ASSERT_EQ(bugs->RemoveByID(id), S_OK);
    ASSERT_EQ(bugs->Remove(), S_OK) << CallerText();
    EXPECT_EQ(Count(), 0);
}

TEST_F(BugDeleteTest, NumberZeroAndMissingNumbersDeleteNothing)
{
    test::LogWatch log;
    EXPECT_EQ(bugs->RemoveByID(0), E_FAIL);
    EXPECT_EQ(CallerText(), "Delete bug failed!");
    EXPECT_TRUE(log.Has(0, "CBugSet::Remove", "Bug id is 0, cannot remove"));
    EXPECT_EQ(bugs->RemoveByID(42), E_FAIL);
    EXPECT_EQ(CallerText(), "Delete bug failed!");
    EXPECT_TRUE(log.Has(2, "CBugSet::RealDeleteBug", "Bug(ID=42) does not exist"));
    EXPECT_EQ(CountRows("SELECT * FROM tBugReport"), 5);
    EXPECT_EQ(CountRows("SELECT * FROM tAttachment"), 3);
}

TEST_F(BugDeleteTest, AFailingDeleteRollsTheAttachmentsBack)
{
    LINDOR_FILES_ONLY();  // writes the file without its relationships
    // Attachment rows of a bug whose own row is gone, as a program that did
    // not enforce the relationship could leave them.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other,
                           "PRAGMA foreign_keys = OFF;"
                           "INSERT INTO tAttachment VALUES (9, 42, 'orphan.txt', 1, 0, x'00');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(other);
    test::LogWatch log;
    EXPECT_EQ(bugs->RemoveByID(42), E_FAIL);
    EXPECT_TRUE(log.Has(2, "CBugSet::RealDeleteBug", "Bug(ID=42) does not exist"));
    EXPECT_EQ(CountRows("SELECT * FROM tAttachment WHERE BugID = 42"), 1);
}

TEST_F(BugDeleteTest, RemovingNeedsAProjectAndTheDeleteRight)
{
    context->projectRight = nullptr;
    test::LogWatch log;
    EXPECT_EQ(bugs->Remove(), E_FAIL);
    EXPECT_EQ(CallerText(), "You cannot perform this action when no project is selected!");
    EXPECT_TRUE(log.Has(0, "CBugSet::Remove",
                        "You cannot perform this action when no project is selected!"));
    EXPECT_EQ(bugs->RemoveByID(3), E_FAIL);
    EXPECT_EQ(CallerText(), "You cannot perform this action when no Project is selected!");
    EXPECT_TRUE(log.Has(0, "CBugSet::RemoveByID",
                        "You cannot perform this action when no Project is selected!"));

    Narrow(RightFlag::Delete);
    EXPECT_EQ(bugs->Remove(), E_FAIL);
    EXPECT_EQ(CallerText(), "You have no right to delete bug, please contact your manager!");
    EXPECT_EQ(bugs->RemoveByID(3), E_FAIL);
    EXPECT_EQ(CallerText(), "You have no right to delete bug, please contact your manager!");
    EXPECT_TRUE(log.Has(3, "CBugSet::Remove", "No right to perform this action"));
    EXPECT_EQ(CountRows("SELECT * FROM tBugReport"), 5);
}

// ---- several programs ---------------------------------------------------------

// Runs the access-layer worker program and gives its exit status.
int RunWorker(const std::vector<std::string>& args)
{
    std::vector<std::string> all = {std::string(LINDOR_WORKER_DIR) + "/db_worker"};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(BugSetTest, AnOpenSetDoesNotStopAnotherProgramFromCommitting)
{
    test::StoreBugs(1, 600);
    ASSERT_EQ(bugs->Open(nullptr), S_OK);
    ComPtr<IBug> bug;
    bugs->put_Position(250);  // rows have been read, more are still to come
    ASSERT_EQ(bugs->get_CurItem(bug.put()), S_OK);

    // The other program waits at most its busy timeout for the file; it must
    // get through at once while this set stays open.
    EXPECT_EQ(RunWorker({"insert", path, "1001", "20"}), 0);

    EXPECT_EQ(Count(), 600);
    ASSERT_EQ(bugs->Next(), S_OK);
    bugs->get_CurItem(bug.put());
    EXPECT_EQ(IdOf(bug.get()), 252);
    ASSERT_EQ(bugs->Refresh(), S_OK);
    EXPECT_EQ(Count(), 620);
}

}  // namespace
}  // namespace lindor
