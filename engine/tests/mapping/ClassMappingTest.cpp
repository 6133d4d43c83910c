#include <gtest/gtest.h>

#include "classifications/CClassification.h"
#include "core/ErrorReport.h"
#include "db/Recordset.h"
#include "mapping/DBUtil.h"
#include "support/StoredRows.h"
#include "support/TestDatabase.h"

namespace lindor {
namespace {

using test::LogWatch;

class ClassMappingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::NewDatabase();
        test::InsertRow("tClassification", {{"ClassificationID", Variant::I4(4)},
                                            {"ProjectID", Variant::I4(2)},
                                            {"ClassName", Variant::Text("Setup")}});
    }

    void OpenRow(const std::string& sql)
    {
        rows.Open(sql, db::ProcessConnectionString(), db::CursorType::Keyset,
                  db::LockType::Optimistic);
    }

    db::Recordset rows;
    ComPtr<CClassification> object = MakeObject<CClassification>();
};

TEST_F(ClassMappingTest, ReadsIdentifierAndNameButNotTheProject)
{
    OpenRow("SELECT * FROM tClassification");
    ASSERT_EQ(CDBUtil::GetClassData(rows, object.get()), S_OK);
    std::int32_t id = 0, project = -1;
    std::string name;
    object->get_ID(&id);
    object->get_Name(&name);
    object->get_ProjectID(&project);
    EXPECT_EQ(id, 4);
    EXPECT_EQ(name, "Setup");
    EXPECT_EQ(project, 0);
}

TEST_F(ClassMappingTest, AMissingColumnStopsTheReaderThere)
{
    OpenRow("SELECT ClassificationID FROM tClassification");
    LogWatch watch;
    EXPECT_EQ(CDBUtil::GetClassData(rows, object.get()), E_FAIL);
    EXPECT_TRUE(watch.Has(kLogDatabase, "CDBUtil::GetClassData", "ClassName"));
    std::int32_t id = 0;
    object->get_ID(&id);
    EXPECT_EQ(id, 4) << "columns read before the failing one keep their values";
}

TEST_F(ClassMappingTest, WritesANewRowWithItsIdentifierAndName)
{
    OpenRow("SELECT * FROM tClassification");
    rows.AddNew();
    rows.Fields("ProjectID").SetValue(Variant::I4(1));
    object->put_ID(9);
    object->put_Name("");
    ASSERT_EQ(CDBUtil::SaveClassData(rows, object.get()), S_OK);
    rows.Update();
    EXPECT_EQ(test::StoredText("SELECT ClassName FROM tClassification WHERE ClassificationID = 9"),
              "")
        << "an empty name is stored as a zero-length text, not as no value";
}

TEST_F(ClassMappingTest, RenamingKeepsTheRowAndAFailedWriteIsLogged)
{
    OpenRow("SELECT ClassificationID, ClassName FROM tClassification WHERE ClassificationID = 4");
    object->put_ID(4);
    object->put_Name("Installer");
    ASSERT_EQ(CDBUtil::SaveClassData(rows, object.get()), S_OK);
    rows.Update();
    EXPECT_EQ(test::StoredText("SELECT ClassName FROM tClassification WHERE ClassificationID = 4"),
              "Installer");
    object->put_Name(std::string(256, 'x'));
    LogWatch watch;
    EXPECT_EQ(CDBUtil::SaveClassData(rows, object.get()), E_FAIL);
    EXPECT_TRUE(watch.Has(kLogDatabase, "CDBUtil::SaveClassData"));
    EXPECT_EQ(CDBUtil::SaveClassData(rows, nullptr), E_FAIL);
    EXPECT_EQ(CDBUtil::GetClassData(rows, nullptr), E_FAIL);
}

}  // namespace
}  // namespace lindor
