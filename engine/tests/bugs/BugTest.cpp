// A bug in memory: its plain properties, the ID setters that look names up,
// its attachments, and copying.
#include <gtest/gtest.h>

#include "attachments/CFileSet.h"
#include "bugs/BugTestSupport.h"
#include "core/ClassRegistry.h"
#include "support/FakeContext.h"

namespace lindor {
namespace {

using test::CallerText;

class BugLookUpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::NewDatabase();
        bug = MakeObject<CBug>();
        // A classification of project 2, to show that any project's is accepted.
        db::Recordset rows;
        rows.Open("SELECT * FROM tClassification", db::ProcessConnectionString());
        rows.AddNew();
        rows.Fields("ClassificationID").SetValue(Variant::I4(7));
        rows.Fields("ProjectID").SetValue(Variant::I4(2));
        rows.Fields("ClassName").SetValue(Variant::Text("Installer"));
        rows.Update();
    }

    ComPtr<CBug> bug;
};

TEST(BugProperties, ANewBugIsEmpty)
{
    ComPtr<IBug> bug;
    ASSERT_EQ(ClassRegistry::Create("Lindor.Bug.1", IBug::IID, bug.put_void()), S_OK);
    std::int32_t number = -1;
    std::string text = "x";
    Date date = -1;
    eBugType type = eAll;
    bug->get_ID(&number);
    EXPECT_EQ(number, 0);
    bug->get_ReportedByID(&number);
    EXPECT_EQ(number, 0);
    bug->get_ReportedBy(&text);
    EXPECT_EQ(text, "");
    bug->get_FixedDate(&date);
    EXPECT_EQ(date, 0.0);
    bug->get_BugType(&type);
    EXPECT_EQ(type, eBug);
    ComPtr<IProject> project;
    EXPECT_EQ(bug->get_Project(project.put()), S_OK);
    EXPECT_FALSE(project) << "a bug knows its project by number and name only";
}

TEST(BugProperties, PlainSettersStoreAnyValueWithoutChecks)
{
    ComPtr<CBug> bug = MakeObject<CBug>();
    std::string text = "x";
    EXPECT_EQ(bug->put_Status(""), S_OK);
    bug->get_Status(&text);
    EXPECT_EQ(text, "");
    EXPECT_EQ(bug->put_Status("Not a listed status"), S_OK);
    bug->get_Status(&text);
    EXPECT_EQ(text, "Not a listed status");
    EXPECT_EQ(bug->put_BugType(static_cast<eBugType>(300)), S_OK);
    eBugType type = eBug;
    bug->get_BugType(&type);
    EXPECT_EQ(type, 300);
    // The project's number and name are independent of each other.
    bug->put_ReportedInProjectID(99);
    bug->put_ReportedInProject("Elsewhere");
    std::int32_t id = 0;
    bug->get_ReportedInProjectID(&id);
    bug->get_ReportedInProject(&text);
    EXPECT_EQ(id, 99);
    EXPECT_EQ(text, "Elsewhere");
    bug->put_EstimatedTime(125);
    bug->get_EstimatedTime(&id);
    EXPECT_EQ(id, 125);
}

TEST(BugProperties, NullOutPointersFailWithoutCrashing)
{
    ComPtr<CBug> bug = MakeObject<CBug>();
    EXPECT_EQ(bug->get_ID(nullptr), E_FAIL);
    EXPECT_EQ(bug->get_Description(nullptr), E_FAIL);
    EXPECT_EQ(bug->get_AttachedFiles(nullptr), E_FAIL);
    EXPECT_EQ(bug->get_Project(nullptr), E_FAIL);
}

TEST_F(BugLookUpTest, UserIDsTakeTheUsersName)
{
    ASSERT_EQ(bug->put_ReportedByID(1), S_OK) << CallerText();
    std::string name;
    bug->get_ReportedBy(&name);
    EXPECT_EQ(name, "Admin");
    ASSERT_EQ(bug->put_FixedByID(1), S_OK);
    ASSERT_EQ(bug->put_VerifiedByID(1), S_OK);
    ASSERT_EQ(bug->put_LastModifiedByID(1), S_OK);
    bug->get_LastModifiedBy(&name);
    EXPECT_EQ(name, "Admin");
}

TEST_F(BugLookUpTest, VersionAndClassificationIDsTakeTheirNames)
{
    ASSERT_EQ(bug->put_ReportedInVersionID(3), S_OK);
    ASSERT_EQ(bug->put_FixedInVersionID(2), S_OK);
    ASSERT_EQ(bug->put_ClassificationID(7), S_OK);
    std::string name;
    bug->get_ReportedInVersion(&name);
    EXPECT_EQ(name, "Version 1.0");
    bug->get_FixedInVersion(&name);
    EXPECT_EQ(name, "Version 2.0");
    bug->get_Classification(&name);
    EXPECT_EQ(name, "Installer");
}

TEST_F(BugLookUpTest, ZeroClearsTheNameWithoutTheDatabase)
{
    ASSERT_EQ(bug->put_FixedByID(1), S_OK);
    ASSERT_EQ(bug->put_ClassificationID(7), S_OK);
    db::SetProcessConnectionString("");
    test::LogWatch log;
    EXPECT_EQ(bug->put_FixedByID(0), S_OK);
    EXPECT_EQ(bug->put_ClassificationID(0), S_OK);
    std::int32_t id = -1;
    std::string name = "x";
    bug->get_FixedByID(&id);
    bug->get_FixedBy(&name);
    EXPECT_EQ(id, 0);
    EXPECT_EQ(name, "");
    bug->get_ClassificationID(&id);
    bug->get_Classification(&name);
    EXPECT_EQ(id, 0);
    EXPECT_EQ(name, "");
    EXPECT_TRUE(log.Entries().empty());
}

TEST_F(BugLookUpTest, ANegativeIDFailsAndKeepsTheOldPair)
{
    ASSERT_EQ(bug->put_VerifiedByID(1), S_OK);
    test::LogWatch log;
    EXPECT_EQ(bug->put_VerifiedByID(-1), E_FAIL);
    EXPECT_EQ(CallerText(), "Set VerifiedBy ID failed!");
    EXPECT_TRUE(log.Has(0, "GetUserName", "ReportedByID must be larger than 0"));
    EXPECT_EQ(bug->put_FixedInVersionID(-2), E_FAIL);
    EXPECT_EQ(CallerText(), "Set FixedInversionID failed!");
    EXPECT_TRUE(log.Has(0, "GetVersionName", "VersionID must be larger than 0"));
    EXPECT_EQ(bug->put_ClassificationID(-3), E_FAIL);
    EXPECT_EQ(CallerText(), "Set ClassificationID failed!");
    EXPECT_TRUE(log.Has(0, "CBug::put_ClassificationID", "ClassificationID must be larger than 0"));
    std::int32_t id = 0;
    std::string name;
    bug->get_VerifiedByID(&id);
    bug->get_VerifiedBy(&name);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(name, "Admin");
}

TEST_F(BugLookUpTest, AMissingRecordFailsWithItsNumberAndKeepsTheOldPair)
{
    ASSERT_EQ(bug->put_ReportedInVersionID(1), S_OK);
    test::LogWatch log;
    EXPECT_EQ(bug->put_ReportedInVersionID(9999), E_FAIL);
    EXPECT_EQ(CallerText(), "Set ReportedInversionID failed!");
    EXPECT_TRUE(log.Has(2, "GetVersionName", "Version(ID=9999) does not exist"));
    std::int32_t id = 0;
    std::string name;
    bug->get_ReportedInVersionID(&id);
    bug->get_ReportedInVersion(&name);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(name, "Version 1.0");

    EXPECT_EQ(bug->put_ReportedByID(55), E_FAIL);
    EXPECT_EQ(CallerText(), "Set ReportedBy ID failed!");
    EXPECT_TRUE(log.Has(2, "GetUserName", "User(ID=55) does not exist"));
    EXPECT_EQ(bug->put_ClassificationID(8), E_FAIL);
    EXPECT_TRUE(log.Has(2, "CBug::put_ClassificationID", "Classificatin(ID=8) does not exist"));
}

TEST_F(BugLookUpTest, WithoutADatabaseALookUpFailsAsADatabaseFailure)
{
    db::SetProcessConnectionString("");
    test::LogWatch log;
    EXPECT_EQ(bug->put_LastModifiedByID(1), E_FAIL);
    EXPECT_EQ(CallerText(), "Set LastModifiedBy ID failed!");
    EXPECT_TRUE(log.Has(2, "GetUserName", "\t(Source="));
    ComPtr<IFileSet> files;
    EXPECT_EQ(bug->get_AttachedFiles(files.put()), E_FAIL);
    EXPECT_EQ(CallerText(), "Get bug's attachment failed");
    EXPECT_TRUE(log.Has(2, "CBug::get_AttachedFiles"));
}

TEST_F(BugLookUpTest, AttachedFilesOfAnUnstoredBugIsEmpty)
{
    test::StoreBug(test::StoredBug(1));
    test::StoreAttachmentRow(1, 1);
    ComPtr<IFileSet> files;
    ASSERT_EQ(bug->get_AttachedFiles(files.put()), S_OK);
    std::int32_t count = -1, bugID = -1;
    files->get_Count(&count);
    files->get_BugID(&bugID);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(bugID, 0);
}

TEST_F(BugLookUpTest, AttachedFilesIsReadAfreshOnEveryCall)
{
    test::StoreBug(test::StoredBug(4));
    bug->record().id = 4;
    ComPtr<test::FakeContext> context = test::ProjectContext();
    bug->AttachContext(context.get());
    test::StoreAttachmentRow(1, 4);
    ComPtr<IFileSet> before;
    ASSERT_EQ(bug->get_AttachedFiles(before.put()), S_OK);
    test::StoreAttachmentRow(2, 4);
    ComPtr<IFileSet> after;
    ASSERT_EQ(bug->get_AttachedFiles(after.put()), S_OK);
    std::int32_t count = 0;
    before->get_Count(&count);
    EXPECT_EQ(count, 1);
    after->get_Count(&count);
    EXPECT_EQ(count, 2);
    ComPtr<IExeContext> held;
    after->get_ExeContext(held.put());
    EXPECT_EQ(held.get(), static_cast<IExeContext*>(context.get()));
}

TEST(BugCopy, TakesEveryStoredFieldAndTheContextButNotTypeOrActualTime)
{
    ComPtr<CBug> source = test::NewBug("copied");
    source->record().id = 12;
    source->record().reportedByID = 3;
    source->record().reportedBy = "Cy";
    source->record().classificationID = 4;
    source->record().classification = "UI";
    source->record().reportedInProjectID = 2;
    source->record().reportedInProject = "P2";
    source->record().dateDue = 40000.0;
    source->record().estimatedTime = 30;
    source->record().bugType = eFeature;
    source->record().actualTime = 5.0;
    ComPtr<test::FakeContext> context = MakeObject<test::FakeContext>();
    source->AttachContext(context.get());

    ComPtr<CBug> copy = MakeObject<CBug>();
    copy->record().actualTime = 1.5;
    ASSERT_EQ(copy->Copy(source.get()), S_OK);
    const BugRecord& got = copy->record();
    EXPECT_EQ(got.id, 12);
    EXPECT_EQ(got.description, "copied");
    EXPECT_EQ(got.reportedBy, "Cy");
    EXPECT_EQ(got.classification, "UI");
    EXPECT_EQ(got.reportedInProject, "P2");
    EXPECT_EQ(got.dateDue, 40000.0);
    EXPECT_EQ(got.estimatedTime, 30);
    EXPECT_EQ(got.bugType, eBug) << "the type stays";
    EXPECT_EQ(got.actualTime, 1.5) << "the actual time stays";
    EXPECT_EQ(copy->context().get(), static_cast<IExeContext*>(context.get()));
}

TEST(BugCopy, ANullSourceFailsCleanly)
{
    ComPtr<CBug> bug = MakeObject<CBug>();
    EXPECT_EQ(bug->Copy(nullptr), E_FAIL);
    EXPECT_EQ(CallerText(), "Copy bug failed!");
}

}  // namespace
}  // namespace lindor
