#include <gtest/gtest.h>

#include "context/CExeContext.h"
#include "core/ErrorInfo.h"
#include "core/ErrorReport.h"
#include "support/StoredRows.h"
#include "support/TestDatabase.h"

namespace lindor {
namespace {

using test::ErrorFrom;
using test::InsertBug;
using test::InsertRow;
using test::LogWatch;
using test::SetStored;
using test::StoredText;

std::string BugText(const std::string& column, std::int32_t bugID = 1)
{
    return StoredText("SELECT " + column +
                      " FROM tBugReport WHERE BugID = " + std::to_string(bugID));
}

// A database with user 2 "Bob", classification 1 "Core" in project 1, and
// bug 1 that names all of them (and version 1 and 2 of project 1) by the
// names they had before they were renamed.
class SynchronizeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string path = test::NewDatabase();
        InsertRow("tUser", {{"UserID", Variant::I4(2)},
                            {"UserName", Variant::Text("Bob")},
                            {"LoginName", Variant::Text("bob")}});
        InsertRow("tClassification", {{"ClassificationID", Variant::I4(1)},
                                      {"ProjectID", Variant::I4(1)},
                                      {"ClassName", Variant::Text("Core")}});
        const Variant oldName = Variant::Text("old name");
        InsertBug(1, {{"ReportedByID", Variant::I4(2)},
                      {"ReportedBy", oldName},
                      {"FixedByID", Variant::I4(2)},
                      {"FixedBy", oldName},
                      {"VerifiedByID", Variant::I4(2)},
                      {"VerifiedBy", oldName},
                      {"LastModifiedByID", Variant::I4(2)},
                      {"LastModifiedBy", oldName},
                      {"ReportedInVersionID", Variant::I4(1)},
                      {"ReportedInVersion", oldName},
                      {"FixedInVersionID", Variant::I4(2)},
                      {"FixedInVersion", oldName},
                      {"ReportedInPrjID", Variant::I4(1)},
                      {"ReportedInPrj", oldName},
                      {"ClassID", Variant::I4(1)},
                      {"Classification", oldName}});
        context = MakeObject<CExeContext>();
        ASSERT_EQ(context->OpenAccessDB(path), S_OK);
    }

    ComPtr<CExeContext> context;
};

TEST_F(SynchronizeTest, StoredNamesFollowTheRecordsExceptTheLastModifier)
{
    SetStored("SELECT UserName FROM tUser WHERE UserID = 2", Variant::Text("Robert"));
    SetStored("SELECT VersionName FROM tVersion WHERE VersionID = 2", Variant::Text("2.0 final"));
    ASSERT_EQ(context->Synchronize(), S_OK);
    EXPECT_EQ(BugText("ReportedBy"), "Robert");
    EXPECT_EQ(BugText("FixedBy"), "Robert");
    EXPECT_EQ(BugText("VerifiedBy"), "Robert");
    EXPECT_EQ(BugText("LastModifiedBy"), "old name");
    EXPECT_EQ(BugText("ReportedInVersion"), "Version 1.0");
    EXPECT_EQ(BugText("FixedInVersion"), "2.0 final");
    EXPECT_EQ(BugText("ReportedInPrj"), "Project 1");
    EXPECT_EQ(BugText("Classification"), "Core");
}

TEST_F(SynchronizeTest, AVersionNameThatWasNeverStoredStaysEmpty)
{
    InsertBug(2, {{"ReportedInVersionID", Variant::I4(1)}, {"ReportedInPrjID", Variant::I4(1)}});
    ASSERT_EQ(context->Synchronize(), S_OK);
    EXPECT_TRUE(test::Stored("SELECT ReportedInVersion FROM tBugReport WHERE BugID = 2").IsNull());
    EXPECT_TRUE(test::Stored("SELECT ReportedInPrj FROM tBugReport WHERE BugID = 2").IsNull());
}

TEST_F(SynchronizeTest, NamesWithApostrophesSynchronise)
{
    SetStored("SELECT Name FROM tProject WHERE ProjectID = 1", Variant::Text("O'Brien's tools"));
    SetStored("SELECT VersionName FROM tVersion WHERE VersionID = 1", Variant::Text("Bob's '1.0'"));
    ASSERT_EQ(context->Synchronize(), S_OK);
    EXPECT_EQ(BugText("ReportedInPrj"), "O'Brien's tools");
    EXPECT_EQ(BugText("ReportedInVersion"), "Bob's '1.0'");
    ASSERT_EQ(context->Synchronize(), S_OK) << "and again, once nothing differs";
}

TEST_F(SynchronizeTest, ADatabaseWithNothingToNameSucceeds)
{
    db::Recordset rows;
    for (const char* table : {"tBugReport", "tClassification", "tVersion", "tProject", "tUser"}) {
        rows.Open(std::string("SELECT * FROM ") + table, db::ProcessConnectionString());
        for (; !rows.IsEOF(); rows.MoveNext()) rows.Delete();
        rows.Close();
    }
    EXPECT_EQ(context->Synchronize(), S_OK);
}

// A step that fails takes back what the earlier steps wrote.
TEST_F(SynchronizeTest, AFailingStepLeavesEveryStoredNameAsItWas)
{
    SetStored("SELECT UserName FROM tUser WHERE UserID = 2", Variant::Text("Robert"));
    test::RefuseInDatabase("keep_class_name", "UPDATE OF Classification ON tBugReport");
    LogWatch watch;
    EXPECT_EQ(context->Synchronize(), E_FAIL);
    EXPECT_EQ(ErrorFrom("ExeContext"), "Synchronization Failed!");
    EXPECT_TRUE(watch.Has(kLogDatabase, "CExeContext::SynClass", "keep_class_name"));
    EXPECT_EQ(watch.Entries().size(), 1u);
    EXPECT_EQ(BugText("ReportedBy"), "old name");
    EXPECT_EQ(BugText("ReportedInPrj"), "old name");
}

TEST_F(SynchronizeTest, AVersionStepFailureIsLoggedUnderItsStep)
{
    test::RefuseInDatabase("keep_version_name", "UPDATE OF FixedInVersion ON tBugReport");
    LogWatch watch;
    EXPECT_EQ(context->Synchronize(), E_FAIL);
    EXPECT_TRUE(watch.Has(kLogDatabase, "CExeContext::SynVersion", "keep_version_name"));
    EXPECT_EQ(BugText("ReportedBy"), "old name");
}

TEST_F(SynchronizeTest, AClosedDatabaseFailsAsAWhole)
{
    context->Close();
    LogWatch watch;
    EXPECT_EQ(context->Synchronize(), E_FAIL);
    EXPECT_EQ(ErrorFrom("ExeContext"), "Synchronization Failed!");
    EXPECT_TRUE(watch.Has(kLogDatabase, "CExeContext::Synchronize", "\t(Source="));
}

}  // namespace
}  // namespace lindor
