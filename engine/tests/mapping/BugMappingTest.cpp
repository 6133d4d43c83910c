// The bug record kind of the mapping: what a tBugReport row reads into and
// what a bug writes into a new row.
#include <gtest/gtest.h>

#include "bugs/BugTestSupport.h"
#include "mapping/DBUtil.h"

namespace lindor {
namespace {

using test::StoredValue;

class BugMappingTest : public ::testing::Test {
protected:
    void SetUp() override { test::NewDatabase(); }

    // Saves `bug` into a new row and commits it.
    void SaveNewRow(IBug* bug)
    {
        db::Recordset rows;
        rows.Open("SELECT * FROM tBugReport WHERE BugID = 0", db::ProcessConnectionString());
        rows.AddNew();
        ASSERT_EQ(CDBUtil::SaveBugData(rows, bug), S_OK);
        rows.Update();
    }

    ComPtr<CBug> ReadRow(std::int32_t id)
    {
        db::Recordset rows;
        rows.Open(Format("SELECT * FROM tBugReport WHERE BugID = %d", id),
                  db::ProcessConnectionString());
        ComPtr<CBug> bug = MakeObject<CBug>();
        EXPECT_EQ(CDBUtil::GetBugData(rows, bug.get()), S_OK);
        return bug;
    }
};

// Every field with a value of its own, so a column mapped to the wrong field shows.
ComPtr<CBug> BugWithEveryField()
{
    ComPtr<CBug> bug = test::NewBug("d");
    BugRecord& r = bug->record();
    r.id = 41;
    r.report = "rep";
    r.recreateStep = "steps";
    r.workaround = "wa";
    r.resolution = "res";
    r.status = "Active";
    r.priority = "Low";
    r.classificationID = 3;
    r.classification = "UI";
    r.severity = "Trivial";
    r.reproductive = "Sometimes";
    r.reportedByID = 4;
    r.reportedBy = "Ann";
    r.reportedDate = 38416.25;
    r.reportedInProjectID = 5;
    r.reportedInProject = "P5";
    r.reportedInVersionID = 6;
    r.reportedInVersion = "V6";
    r.fixedByID = 7;
    r.fixedBy = "Bob";
    r.fixedDate = 38417.5;
    r.fixedInVersionID = 8;
    r.fixedInVersion = "V8";
    r.verifiedByID = 9;
    r.verifiedBy = "Cy";
    r.verifiedDate = 38418.75;
    r.lastModifiedByID = 10;
    r.lastModifiedBy = "Di";
    r.lastModifiedDate = 38419.125;
    r.estimatedTime = 95;
    r.dateDue = 38420;
    r.bugType = eFeature;
    return bug;
}

TEST_F(BugMappingTest, EveryFieldRoundTripsThroughItsOwnColumn)
{
    ComPtr<CBug> written = BugWithEveryField();
    written->record().actualTime = 12.5;
    SaveNewRow(written.get());
    ComPtr<CBug> read = ReadRow(41);
    BugRecord expected = written->record();
    expected.actualTime = 0.0;  // lives only in the object
    const BugRecord& got = read->record();
    EXPECT_EQ(got.description, expected.description);
    EXPECT_EQ(got.report, expected.report);
    EXPECT_EQ(got.recreateStep, expected.recreateStep);
    EXPECT_EQ(got.workaround, expected.workaround);
    EXPECT_EQ(got.resolution, expected.resolution);
    EXPECT_EQ(got.status, expected.status);
    EXPECT_EQ(got.priority, expected.priority);
    EXPECT_EQ(got.classificationID, expected.classificationID);
    EXPECT_EQ(got.classification, expected.classification);
    EXPECT_EQ(got.severity, expected.severity);
    EXPECT_EQ(got.reproductive, expected.reproductive);
    EXPECT_EQ(got.reportedByID, expected.reportedByID);
    EXPECT_EQ(got.reportedBy, expected.reportedBy);
    EXPECT_EQ(got.reportedDate, expected.reportedDate);
    EXPECT_EQ(got.reportedInProjectID, expected.reportedInProjectID);
    EXPECT_EQ(got.reportedInProject, expected.reportedInProject);
    EXPECT_EQ(got.reportedInVersionID, expected.reportedInVersionID);
    EXPECT_EQ(got.reportedInVersion, expected.reportedInVersion);
    EXPECT_EQ(got.fixedByID, expected.fixedByID);
    EXPECT_EQ(got.fixedBy, expected.fixedBy);
    EXPECT_EQ(got.fixedDate, expected.fixedDate);
    EXPECT_EQ(got.fixedInVersionID, expected.fixedInVersionID);
    EXPECT_EQ(got.fixedInVersion, expected.fixedInVersion);
    EXPECT_EQ(got.verifiedByID, expected.verifiedByID);
    EXPECT_EQ(got.verifiedBy, expected.verifiedBy);
    EXPECT_EQ(got.verifiedDate, expected.verifiedDate);
    EXPECT_EQ(got.lastModifiedByID, expected.lastModifiedByID);
    EXPECT_EQ(got.lastModifiedBy, expected.lastModifiedBy);
    EXPECT_EQ(got.lastModifiedDate, expected.lastModifiedDate);
    EXPECT_EQ(got.estimatedTime, expected.estimatedTime);
    EXPECT_EQ(got.actualTime, 0.0);
    EXPECT_EQ(got.dateDue, expected.dateDue);
    EXPECT_EQ(got.bugType, expected.bugType);
    EXPECT_EQ(got.id, 41);
}

TEST_F(BugMappingTest, ColumnsLandUnderTheirStoredNames)
{
    SaveNewRow(BugWithEveryField().get());
    const std::string row = " FROM tBugReport WHERE BugID = 41";
    EXPECT_EQ(StoredValue("SELECT WorkAround" + row).text(), "wa");
    EXPECT_EQ(StoredValue("SELECT ReportedInPrjID" + row).i4(), 5);
    EXPECT_EQ(StoredValue("SELECT ReportedInPrj" + row).text(), "P5");
    EXPECT_EQ(StoredValue("SELECT ClassID" + row).i4(), 3);
    EXPECT_EQ(StoredValue("SELECT ReproductiveName" + row).text(), "Sometimes");
    // Minutes are kept in a date column as that many days.
    EXPECT_EQ(StoredValue("SELECT EstimatedTime" + row).vt(), VT_DATE);
    EXPECT_EQ(StoredValue("SELECT EstimatedTime" + row).date(), 95.0);
    EXPECT_EQ(StoredValue("SELECT BugType" + row).i4(), 1);
}

TEST_F(BugMappingTest, ANullDateReadsAsZeroAndIsSavedAsTheZeroDate)
{
    test::StoreBug(test::StoredBug(5));
    ASSERT_TRUE(StoredValue("SELECT FixedDate FROM tBugReport WHERE BugID = 5").IsNull());
    ComPtr<CBug> bug = ReadRow(5);
    EXPECT_EQ(bug->record().fixedDate, 0.0);
    bug->record().id = 6;
    SaveNewRow(bug.get());
    const Variant saved = StoredValue("SELECT FixedDate FROM tBugReport WHERE BugID = 6");
    ASSERT_EQ(saved.vt(), VT_DATE);
    EXPECT_EQ(saved.date(), 0.0);
}

TEST_F(BugMappingTest, EmptyTextsStayNullExceptTheReproducibility)
{
    ComPtr<CBug> bug = test::NewBug();
    bug->record().id = 8;
    bug->record().reproductive.clear();
    // The reproducibility is required and related to the name list, so the
    // empty text it is written as needs a name list entry to be stored.
    db::Recordset names;
    names.Open("SELECT * FROM tReproductive", db::ProcessConnectionString());
    names.AddNew();
    names.Fields(0).SetValue(Variant::Text(""));
    names.Update();
    SaveNewRow(bug.get());
    const std::string row = " FROM tBugReport WHERE BugID = 8";
    EXPECT_TRUE(StoredValue("SELECT WorkAround" + row).IsNull());
    EXPECT_TRUE(StoredValue("SELECT ReportedBy" + row).IsNull());
    const Variant reproductive = StoredValue("SELECT ReproductiveName" + row);
    ASSERT_EQ(reproductive.vt(), VT_BSTR);
    EXPECT_EQ(reproductive.text(), "");
}

TEST_F(BugMappingTest, AnEmptyTextLeavesTheColumnOfAnExistingRowAsItWas)
{
    test::StoreBug(test::StoredBug(9).Description("kept"));
    db::Recordset rows;
    rows.Open("SELECT * FROM tBugReport WHERE BugID = 9", db::ProcessConnectionString());
    ComPtr<CBug> bug = test::NewBug("");
    bug->record().id = 9;
    ASSERT_EQ(CDBUtil::SaveBugData(rows, bug.get()), S_OK);
    rows.Update();
    EXPECT_EQ(StoredValue("SELECT Description FROM tBugReport WHERE BugID = 9").text(), "kept");
}

TEST_F(BugMappingTest, BugTypeReadsTheLowByteOfTheStoredNumber)
{
    test::StoreBug(test::StoredBug(1, 1, 1));
    test::StoreBug(test::StoredBug(2, 1, 0x102));
    EXPECT_EQ(ReadRow(1)->record().bugType, eFeature);
    EXPECT_EQ(ReadRow(2)->record().bugType, 2);
}

TEST_F(BugMappingTest, AMissingColumnStopsTheReadAndKeepsWhatWasReadBefore)
{
    test::StoreBug(test::StoredBug(3).Description("first"));
    db::Recordset rows;
    rows.Open("SELECT BugID, Description FROM tBugReport WHERE BugID = 3",
              db::ProcessConnectionString());
    ComPtr<CBug> bug = MakeObject<CBug>();
    test::LogWatch log;
    EXPECT_EQ(CDBUtil::GetBugData(rows, bug.get()), E_FAIL);
    EXPECT_EQ(bug->record().id, 3);
    EXPECT_EQ(bug->record().description, "first");
    EXPECT_TRUE(log.Has(2, "CDBUtil::GetBugData", "(Report)"));
}

TEST_F(BugMappingTest, TheVerifiersNameIsWrittenBeforeHisID)
{
    ComPtr<CBug> bug = BugWithEveryField();
    bug->record().verifiedBy = std::string(300, 'x');  // longer than the column takes
    db::Recordset rows;
    rows.Open("SELECT * FROM tBugReport WHERE BugID = 0", db::ProcessConnectionString());
    rows.AddNew();
    test::LogWatch log;
    EXPECT_EQ(CDBUtil::SaveBugData(rows, bug.get()), E_FAIL);
    EXPECT_TRUE(log.Has(2, "CDBUtil::SaveBugData"));
    EXPECT_EQ(rows.Fields("FixedInVersion").Value().text(), "V8") << "written before the failure";
    EXPECT_TRUE(rows.Fields("VerifiedByID").Value().IsNull()) << "comes after the name";
    rows.CancelUpdate();
}

TEST_F(BugMappingTest, OnlyBugsOfThisEngineCanBeFilledOrSaved)
{
    db::Recordset rows;
    rows.Open("SELECT * FROM tBugReport", db::ProcessConnectionString());
    test::LogWatch log;
    EXPECT_EQ(CDBUtil::GetBugData(rows, nullptr), E_FAIL);
    EXPECT_EQ(CDBUtil::SaveBugData(rows, nullptr), E_FAIL);
    EXPECT_TRUE(log.Has(2, "CDBUtil::GetBugData"));
    EXPECT_TRUE(log.Has(2, "CDBUtil::SaveBugData"));
}

}  // namespace
}  // namespace lindor
