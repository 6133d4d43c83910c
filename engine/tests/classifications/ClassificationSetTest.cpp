#include <gtest/gtest.h>

#include <functional>

#include "classifications/CClassification.h"
#include "classifications/CClassificationSet.h"
#include "core/ErrorInfo.h"
#include "core/ErrorReport.h"
#include "support/FakeContext.h"
#include "support/StoredRows.h"
#include "support/TestDatabase.h"

namespace lindor {
namespace {

using test::CountRows;
using test::ErrorFrom;
using test::FakeContext;
using test::InsertBug;
using test::InsertRow;
using test::LogWatch;
using test::StoredNumber;
using test::StoredText;

ComPtr<CClassification> NewClassification(const std::string& name, std::int32_t id = 0)
{
    ComPtr<CClassification> c = MakeObject<CClassification>();
    c->put_Name(name);
    c->put_ID(id);
    return c;
}

std::int32_t IDOf(IClassification* c)
{
    std::int32_t id = -1;
    c->get_ID(&id);
    return id;
}

std::int32_t ProjectOf(IClassification* c)
{
    std::int32_t id = -1;
    c->get_ProjectID(&id);
    return id;
}

std::int32_t CountOf(IClassificationSet* set)
{
    std::int32_t count = -1;
    set->get_Count(&count);
    return count;
}

// A fresh database and a set of project 1 whose user may maintain its
// classifications.
class ClassificationSetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::NewDatabase();
        context = MakeObject<FakeContext>();
        context->GrantInProject(1, RightFlag::Add_Edit_Del_BugClass);
        set = MakeObject<CClassificationSet>();
        set->SetProjectID(1);
        ASSERT_EQ(set->put_ExeContext(context.get()), S_OK);
    }

    // Stores a classification of project 1 directly and appends it, as the
    // project does when it loads its set.
    ComPtr<CClassification> Stored(std::int32_t id, const std::string& name)
    {
        InsertRow("tClassification", {{"ClassificationID", Variant::I4(id)},
                                      {"ProjectID", Variant::I4(1)},
                                      {"ClassName", Variant::Text(name)}});
        ComPtr<CClassification> c = NewClassification(name, id);
        set->Append(c.get());
        return c;
    }

    // "Core" (ID 1) and "Docs" (ID 2).
    void StoreCoreAndDocs()
    {
        Stored(1, "Core");
        Stored(2, "Docs");
    }

    void AssignToAdministrator(std::int32_t classID)
    {
        InsertRow("tUserClassification",
                  {{"UserID", Variant::I4(1)}, {"ClassificationID", Variant::I4(classID)}});
    }

    ComPtr<FakeContext> context;
    ComPtr<CClassificationSet> set;
};

// ---- adding -----------------------------------------------------------------

TEST_F(ClassificationSetTest, TheFirstClassificationOfProjectOneGetsIDOne)
{
    ComPtr<CClassification> ui = NewClassification("User interface");
    ASSERT_EQ(set->Add(ui.get()), S_OK);
    EXPECT_EQ(IDOf(ui.get()), 1);
    EXPECT_EQ(ProjectOf(ui.get()), 1);
    EXPECT_EQ(StoredText("SELECT ClassName FROM tClassification WHERE ClassificationID = 1"),
              "User interface");
    EXPECT_EQ(StoredNumber("SELECT ProjectID FROM tClassification WHERE ClassificationID = 1"), 1);
    EXPECT_EQ(StoredNumber("SELECT NextClassID FROM tNextID"), 2);
    ComPtr<IClassification> item;
    ASSERT_EQ(set->get_Item(0, item.put()), S_OK);
    EXPECT_EQ(item.get(), static_cast<IClassification*>(ui.get())) << "the caller's object is kept";
}

TEST_F(ClassificationSetTest, AddingToASetOfNoProjectFailsEvenWithEveryRight)
{
    ComPtr<CClassificationSet> loose = MakeObject<CClassificationSet>();
    context->GrantInProject(0, RightFlag::Add_Edit_Del_BugClass);
    loose->put_ExeContext(context.get());
    LogWatch watch;
    EXPECT_EQ(loose->Add(NewClassification("x").get()), E_FAIL);
    std::string text, source;
    GetThreadErrorInfo(&text, &source);
    EXPECT_EQ(text, "ProjectID=0, cannot Add");
    EXPECT_TRUE(watch.Has(kLogGeneral, "CClassificationSet::Add", "ProjectID=0, cannot Add"));
    EXPECT_EQ(CountRows("SELECT * FROM tClassification"), 0);
}

TEST_F(ClassificationSetTest, AddingToADeletedProjectAllocatesNoIdentifier)
{
    context->GrantInProject(7, RightFlag::Add_Edit_Del_BugClass);
    set->SetProjectID(7);
    LogWatch watch;
    EXPECT_EQ(set->Add(NewClassification("x").get()), E_FAIL);
    EXPECT_EQ(ErrorFrom("ClassificationSet"), "Project(ID=7) is not in database");
    EXPECT_TRUE(
        watch.Has(kLogGeneral, "CClassificationSet::Add", "Project(ID=7) is not in database"));
    EXPECT_EQ(StoredNumber("SELECT NextClassID FROM tNextID"), 1);
    EXPECT_EQ(CountOf(set.get()), 0);
}

TEST_F(ClassificationSetTest, ANameTheColumnCannotHoldFailsAndLeavesTheObjectUnstored)
{
    ComPtr<CClassification> tooLong = NewClassification(std::string(256, 'n'));
    LogWatch watch;
    EXPECT_EQ(set->Add(tooLong.get()), E_FAIL);
    EXPECT_EQ(ErrorFrom("ClassificationSet"), "Add Classification Failed");
    EXPECT_TRUE(watch.Has(kLogDatabase, "CDBUtil::SaveClassData"));
    EXPECT_EQ(IDOf(tooLong.get()), 0) << "no identifier that was never stored";
    EXPECT_EQ(CountOf(set.get()), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tClassification"), 0);
}

TEST_F(ClassificationSetTest, AnIdentifierThatCannotBeAllocatedIsLoggedAsSuch)
{
    db::Recordset counter;
    counter.Open("SELECT * FROM tNextID", db::ProcessConnectionString());
    counter.Delete();
    counter.Close();
    LogWatch watch;
    EXPECT_EQ(set->Add(NewClassification("x").get()), E_FAIL);
    EXPECT_EQ(ErrorFrom("ClassificationSet"), "Add Classification Failed");
    EXPECT_TRUE(watch.Has(kLogNextID, "CClassificationSet::Add", "Add Classification Failed"));
    EXPECT_EQ(CountOf(set.get()), 0);
}

// ---- rights -----------------------------------------------------------------

TEST_F(ClassificationSetTest, WithoutAContextEveryWriteIsRefusedAndLoggedOnce)
{
    ComPtr<CClassificationSet> detached = MakeObject<CClassificationSet>();
    detached->SetProjectID(1);
    detached->Append(NewClassification("a", 1).get());
    ComPtr<IClassification> item;
    detached->get_Item(0, item.put());
    LogWatch watch;
    const std::pair<HRESULT, const char*> attempts[] = {
        {detached->Add(NewClassification("b").get()), "add classification"},
        {detached->Remove("a"), "remove classification"},
        {detached->RemoveByIndex(0), "remove classification"},
        {detached->RemoveByID(1), "remove classification"},
        {detached->Update(), "update classification"},
    };
    for (const auto& [result, action] : attempts) EXPECT_EQ(result, E_FAIL) << action;
    std::string text;
    GetThreadErrorInfo(&text, nullptr);
    EXPECT_EQ(text, RightsMessage("update classification"));
    const auto entries = watch.Entries();
    ASSERT_EQ(entries.size(), 5u);
    for (const auto& e : entries) {
        EXPECT_EQ(e.source, "CClassificationSet::GetRight");
        EXPECT_EQ(e.description, "ExeContext is NULL");
    }
    EXPECT_EQ(CountOf(detached.get()), 1);
}

TEST_F(ClassificationSetTest, TheRightMustBeGrantedInTheSetsOwnProject)
{
    context->role = nullptr;
    context->GrantInProject(1, RightFlag::Add_Edit_Del_BugClass, false);
    context->GrantInProject(2, RightFlag::Add_Edit_Del_BugClass);
    LogWatch watch;
    EXPECT_EQ(set->Add(NewClassification("x").get()), E_FAIL);
    EXPECT_EQ(ErrorFrom("ClassificationSet"), RightsMessage("add classification"));
    EXPECT_TRUE(watch.Entries().empty()) << "a refused right is not logged";
    EXPECT_EQ(CountRows("SELECT * FROM tClassification"), 0);
}

TEST_F(ClassificationSetTest, AUserWithoutARoleMayNotChangeClassifications)
{
    Stored(1, "Core");
    context->role = nullptr;
    EXPECT_EQ(set->Remove("Core"), E_FAIL);
    EXPECT_EQ(ErrorFrom("ClassificationSet"), RightsMessage("remove classification"));
    EXPECT_EQ(CountRows("SELECT * FROM tClassification"), 1);
}

// ---- removing ---------------------------------------------------------------

TEST_F(ClassificationSetTest, RemovingAClassificationDetachesEveryBugThatUsedIt)
{
    StoreCoreAndDocs();
    InsertBug(1, {{"ClassID", Variant::I4(1)}, {"Classification", Variant::Text("Core")}});
    InsertBug(2, {{"ClassID", Variant::I4(1)}, {"Classification", Variant::Text("Core")}});
    InsertBug(3, {{"ClassID", Variant::I4(2)}, {"Classification", Variant::Text("Docs")}});
    ASSERT_EQ(set->Remove("Core"), S_OK);
    EXPECT_EQ(CountRows("SELECT * FROM tBugReport WHERE ClassID = 0 AND Classification IS NULL"),
              2);
    EXPECT_EQ(StoredText("SELECT Classification FROM tBugReport WHERE BugID = 3"), "Docs");
    EXPECT_EQ(CountRows("SELECT * FROM tClassification"), 1);
    ASSERT_EQ(CountOf(set.get()), 1);
    ComPtr<IClassification> left;
    set->get_Item(0, left.put());
    EXPECT_EQ(IDOf(left.get()), 2);
}

// Each removal fails as a whole while a user still has the classification:
// the bugs keep it and so does the set.
TEST_F(ClassificationSetTest, AClassificationStillAssignedIsNotRemovedAndItsBugsKeepIt)
{
    Stored(1, "Core");
    AssignToAdministrator(1);
    InsertBug(1, {{"ClassID", Variant::I4(1)}, {"Classification", Variant::Text("Core")}});
    InsertBug(2, {{"ClassID", Variant::I4(1)}, {"Classification", Variant::Text("Core")}});
    const std::pair<std::function<HRESULT()>, const char*> removals[] = {
        {[&] { return set->Remove("Core"); }, "Remove Classification failed"},
        {[&] { return set->RemoveByIndex(0); }, "Remove Classification failed"},
        {[&] { return set->RemoveByID(1); }, "Remove Classification failed!"},
    };
    for (const auto& [remove, message] : removals) {
        LogWatch watch;
        EXPECT_EQ(remove(), E_FAIL) << message;
        EXPECT_EQ(ErrorFrom("ClassificationSet"), message);
        EXPECT_TRUE(
            watch.Has(kLogDatabase, "CClassificationSet::RealRemoveClass", "tUserClassification"));
        EXPECT_EQ(watch.Entries().size(), 1u);
        EXPECT_EQ(
            CountRows("SELECT * FROM tBugReport WHERE ClassID = 1 AND Classification = 'Core'"), 2);
        EXPECT_EQ(CountRows("SELECT * FROM tClassification"), 1);
        EXPECT_EQ(CountOf(set.get()), 1);
    }
}

TEST_F(ClassificationSetTest, RemoveComparesNamesExactly)
{
    Stored(1, "Core");
    LogWatch watch;
    EXPECT_EQ(set->Remove("core"), E_FAIL);
    EXPECT_EQ(ErrorFrom("ClassificationSet"), "Remove Classification failed");
    EXPECT_TRUE(watch.Has(kLogGeneral, "CClassificationSet::Remove",
                          "Remove Classification(Name=core) failed"));
    EXPECT_EQ(CountRows("SELECT * FROM tClassification"), 1);
}

TEST_F(ClassificationSetTest, RemoveByIDOfAnIDNotInTheSetFails)
{
    Stored(1, "Core");
    LogWatch watch;
    EXPECT_EQ(set->RemoveByID(9), E_FAIL);
    EXPECT_EQ(ErrorFrom("ClassificationSet"), "Remove Classification failed!");
    EXPECT_TRUE(watch.Has(kLogGeneral, "IClassificationSet::RemoveByIndex",
                          "Remove classification(ID=9) failed"));
    EXPECT_EQ(CountOf(set.get()), 1);
}

TEST_F(ClassificationSetTest, RemoveByIndexDeletesThatItemAndRefusesAnIndexOutside)
{
    StoreCoreAndDocs();
    LogWatch watch;
    EXPECT_EQ(set->RemoveByIndex(2), E_FAIL);
    EXPECT_EQ(ErrorFrom("ClassificationSet"), kBoundsMessage);
    EXPECT_TRUE(watch.Has(kLogBounds, "IClassificationSet::RemoveByIndex", "Excceed boundary"));
    ASSERT_EQ(set->RemoveByIndex(1), S_OK);
    EXPECT_EQ(CountRows("SELECT * FROM tClassification WHERE ClassificationID = 2"), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tClassification WHERE ClassificationID = 1"), 1);
    EXPECT_EQ(CountOf(set.get()), 1);
}

// ---- updating ---------------------------------------------------------------

TEST_F(ClassificationSetTest, UpdateBeforeAnyItemFails)
{
    Stored(1, "Core");
    LogWatch watch;
    EXPECT_EQ(set->Update(), E_FAIL);
    EXPECT_EQ(ErrorFrom("ClassificationSet"), "Update Classification failed!");
    EXPECT_TRUE(watch.Has(kLogGeneral, "CClassificationSet::Update",
                          "Current classification is NULL, cannot update"));
}

TEST_F(ClassificationSetTest, UpdateWritesTheNameOfTheItemHandedOutLast)
{
    StoreCoreAndDocs();
    ComPtr<IClassification> first, second;
    set->get_Item(0, first.put());
    set->get_Item(1, second.put());
    second->put_Name("Documentation");
    first->put_Name("not written");
    ASSERT_EQ(set->Update(), S_OK);
    EXPECT_EQ(StoredText("SELECT ClassName FROM tClassification WHERE ClassificationID = 2"),
              "Documentation");
    EXPECT_EQ(StoredText("SELECT ClassName FROM tClassification WHERE ClassificationID = 1"),
              "Core");
}

TEST_F(ClassificationSetTest, UpdateOfAClassificationNoLongerStoredWritesNothing)
{
    ComPtr<CClassification> ghost = NewClassification("Ghost", 42);
    set->Append(ghost.get());
    ComPtr<IClassification> item;
    set->get_Item(0, item.put());
    EXPECT_EQ(set->Update(), S_OK);
    EXPECT_EQ(CountRows("SELECT * FROM tClassification"), 0);
}

TEST_F(ClassificationSetTest, UpdateWithANameTheColumnCannotHoldFails)
{
    Stored(1, "Core");
    ComPtr<IClassification> item;
    set->get_Item(0, item.put());
    item->put_Name(std::string(300, 'x'));
    EXPECT_EQ(set->Update(), E_FAIL);
    EXPECT_EQ(ErrorFrom("ClassificationSet"), "Update Classification failed");
    EXPECT_EQ(StoredText("SELECT ClassName FROM tClassification WHERE ClassificationID = 1"),
              "Core");
}

// ---- the array alone ---------------------------------------------------------

TEST_F(ClassificationSetTest, ItemHandsOutTheStoredObjectWithTheSetsProject)
{
    ComPtr<CClassification> c = NewClassification("Core", 1);
    set->SetProjectID(2);
    set->Append(c.get());
    EXPECT_EQ(ProjectOf(c.get()), 0) << "Append leaves the project alone";
    ComPtr<IClassification> item;
    ASSERT_EQ(set->get_Item(0, item.put()), S_OK);
    EXPECT_EQ(item.get(), static_cast<IClassification*>(c.get()));
    EXPECT_EQ(ProjectOf(c.get()), 2);
    LogWatch watch;
    EXPECT_EQ(set->get_Item(1, item.put()), E_FAIL);
    EXPECT_FALSE(item);
    EXPECT_EQ(ErrorFrom("ClassificationSet"), kBoundsMessage);
    EXPECT_TRUE(watch.Has(kLogBounds, "IClassificationSet::Item"));
}

TEST_F(ClassificationSetTest, DeleteOperationsOnlyDropFromTheArray)
{
    StoreCoreAndDocs();
    LogWatch watch;
    EXPECT_EQ(set->DeleteByIndex(2), E_FAIL);
    EXPECT_EQ(ErrorFrom("ClassificationSet"), kBoundsMessage);
    EXPECT_TRUE(watch.Has(kLogBounds, "IClassificationSet::RemoveByIndex"));
    EXPECT_EQ(set->DeleteByID(5), E_FAIL);
    EXPECT_EQ(ErrorFrom("ClassificationSet"), "Classification(ID=5) is not in this set");
    EXPECT_TRUE(watch.Has(kLogGeneral, "CClassificationSet::DeleteByID",
                          "Classification(ID=5) is not in this set"));
    EXPECT_EQ(CountOf(set.get()), 2);
    EXPECT_EQ(set->DeleteByID(1), S_OK);
    EXPECT_EQ(set->DeleteByIndex(0), S_OK);
    EXPECT_EQ(CountOf(set.get()), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tClassification"), 2);
}

TEST_F(ClassificationSetTest, AppendTakesDuplicatesButNotNull)
{
    ComPtr<CClassification> c = NewClassification("Core", 1);
    EXPECT_EQ(set->Append(c.get()), S_OK);
    EXPECT_EQ(set->Append(c.get()), S_OK);
    EXPECT_EQ(CountOf(set.get()), 2);
    EXPECT_EQ(set->Append(nullptr), E_FAIL);
    EXPECT_EQ(CountOf(set.get()), 2);
}

TEST_F(ClassificationSetTest, ANullContextIsRefused)
{
    LogWatch watch;
    EXPECT_EQ(set->put_ExeContext(nullptr), E_FAIL);
    EXPECT_EQ(ErrorFrom("ClassificationSet"), "Set ExeContext failed!");
    EXPECT_TRUE(watch.Has(kLogGeneral, "CClassificationSet::put_ExeContext", "Invalid Pointer"));
    ComPtr<CClassification> c = NewClassification("still allowed");
    EXPECT_EQ(set->Add(c.get()), S_OK) << "the earlier context stays attached";
}

TEST(Classification, KeepsItsPropertiesAndStartsUnstored)
{
    ComPtr<CClassification> c = MakeObject<CClassification>();
    EXPECT_EQ(IDOf(c.get()), 0);
    EXPECT_EQ(ProjectOf(c.get()), 0);
    c->put_Name("Installer");
    c->put_ID(12);
    std::string name;
    c->get_Name(&name);
    EXPECT_EQ(name, "Installer");
    EXPECT_EQ(IDOf(c.get()), 12);
    EXPECT_EQ(c->get_Name(nullptr), E_FAIL);
}

}  // namespace
}  // namespace lindor
