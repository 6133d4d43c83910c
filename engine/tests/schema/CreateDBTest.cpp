#include <gtest/gtest.h>

#include "core/DateTime.h"
#include "db/Recordset.h"
#include "db/SchemaType.h"
#include "schema/CreateDB.h"
#include "support/TestDatabase.h"

namespace lindor {
namespace {

using db::SchemaType;

struct Expected {
    const char* name;
    SchemaType type;
    bool required;
};

class CreateDBTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = test::NewDatabase();
        connection.Open(db::BuildConnectionString(path));
    }

    std::vector<std::vector<Variant>> Rows(const std::string& sql)
    {
        db::Recordset rs;
        rs.Open(sql, connection, db::CursorType::Static, db::LockType::ReadOnly);
        std::vector<std::vector<Variant>> rows;
        for (; !rs.IsEOF(); rs.MoveNext()) {
            std::vector<Variant> row;
            for (int i = 0; i < rs.FieldCount(); ++i) row.push_back(rs.Fields(i).Value());
            rows.push_back(row);
        }
        return rows;
    }

    std::string path;
    db::Connection connection;
};

TEST_F(CreateDBTest, HasTheSeventeenTablesInOrder)
{
    EXPECT_EQ(DatabaseTableNames().size(), 17u);
    for (const std::string& table : DatabaseTableNames())
        EXPECT_EQ(connection.database().driver().StoredTableName(table), table);
    LINDOR_FILES_ONLY();  // the order in which they were made
    std::vector<std::string> names;
    for (const auto& row :
         Rows("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid"))
        names.push_back(row[0].text());
    EXPECT_EQ(names, DatabaseTableNames());
    EXPECT_EQ(names.size(), 17u);
}

TEST_F(CreateDBTest, ColumnsHaveTheirTypesSizesAndNullability)
{
    const db::TableInfo& bugs = connection.database().schema().Table("tBugReport");
    ASSERT_EQ(bugs.columns.size(), 33u);
    EXPECT_EQ(bugs.columns[0].name, "BugID");
    EXPECT_EQ(bugs.columns[32].name, "BugType");
    const Expected samples[] = {
        {"BugID", SchemaType::Long, true},          {"Description", SchemaType::Text, true},
        {"ClassID", SchemaType::Long, false},       {"Report", SchemaType::Memo, false},
        {"EstimatedTime", SchemaType::Date, false}, {"BugType", SchemaType::Long, true}};
    for (const Expected& e : samples) {
        const db::ColumnInfo& c = bugs.columns[static_cast<std::size_t>(bugs.ColumnIndex(e.name))];
        EXPECT_EQ(c.type, e.type) << e.name;
        EXPECT_EQ(c.required, e.required) << e.name;
    }
    EXPECT_EQ(bugs.columns[1].size, 255);

    const db::TableInfo& rights = connection.database().schema().Table("tRight");
    ASSERT_EQ(rights.columns.size(), 38u) << "3 numbers and 35 yes/no columns";
    EXPECT_EQ(rights.columns[3].name, "Add");
    EXPECT_EQ(rights.columns[37].name, "DeleteProject");
    for (std::size_t i = 3; i < rights.columns.size(); ++i) {
        EXPECT_EQ(rights.columns[i].type, SchemaType::YesNo);
        EXPECT_TRUE(rights.columns[i].required);
    }
    const db::TableInfo& users = connection.database().schema().Table("tUser");
    EXPECT_EQ(users.columns[5].type, SchemaType::LongBinary);
    EXPECT_EQ(connection.database().schema().Table("tUserSystemInfo").columns[5].name,
              "IE version");
}

TEST_F(CreateDBTest, ThirteenPrimaryKeysOnTheFirstColumn)
{
    int keyed = 0;
    for (const std::string& table : DatabaseTableNames()) {
        const db::TableInfo& info = connection.database().schema().Table(table);
        if (info.primaryKey.empty()) continue;
        ++keyed;
        EXPECT_EQ(info.primaryKey, info.columns[0].name) << table;
    }
    EXPECT_EQ(keyed, 13);
    for (const char* table : {"tAvailableStatus", "tUserClassification", "tNextID", "tSystem"})
        EXPECT_TRUE(connection.database().schema().Table(table).primaryKey.empty()) << table;
    LINDOR_FILES_ONLY();  // the key's own name
    const auto definitions = Rows("SELECT sql FROM sqlite_master WHERE name = 'tProject'");
    EXPECT_NE(definitions[0][0].text().find("CONSTRAINT \"PKey\" PRIMARY KEY"), std::string::npos);
}

TEST_F(CreateDBTest, FourteenNamedRelationships)
{
    std::vector<std::string> names;
    for (const db::ForeignKeyInfo& key : connection.database().schema().ForeignKeys())
        names.push_back(key.table + "." + key.name + ":" + key.column + "->" + key.relatedTable +
                        "." + key.relatedColumn);
    std::sort(names.begin(), names.end());
    const std::vector<std::string> expected = {
        "tAttachment.Bug:BugID->tBugReport.BugID",
        "tAvailableStatus.AStatus:StatusName->tStatus.StatusName",
        "tAvailableStatus.RightID:RightID->tRight.RightID",
        "tBugReport.Priority:PriorityName->tPriority.PriorityName",
        "tBugReport.Reproductive:ReproductiveName->tReproductive.ReproductiveName",
        "tBugReport.Severity:SeverityName->tSeverity.SeverityName",
        "tBugReport.Status:StatusName->tStatus.StatusName",
        "tClassification.Prj:ProjectID->tProject.ProjectID",
        "tRight.Project:ProjectID->tProject.ProjectID",
        "tRight.UserRight:UserRightID->tUserRight.UserRightID",
        "tUserClassification.Classification:ClassificationID->tClassification.ClassificationID",
        "tUserClassification.User:UserID->tUser.UserID",
        "tUserSystemInfo.SysInfo:UserID->tUser.UserID",
        "tVersion.PrjVer:ProjectID->tProject.ProjectID"};
    EXPECT_EQ(names, expected);
}

TEST_F(CreateDBTest, DefaultRows)
{
    const auto users = Rows(
        "SELECT UserID, UserRightID, UserName, LoginName, UserDescrp, Password, EMail FROM tUser");
    ASSERT_EQ(users.size(), 1u);
    EXPECT_EQ(users[0][0], Variant::I4(1));
    EXPECT_EQ(users[0][1], Variant::I4(0));
    EXPECT_EQ(users[0][2], Variant::Text("Admin"));
    EXPECT_EQ(users[0][3], Variant::Text("Admin"));
    EXPECT_EQ(users[0][4], Variant::Text("for administration"));
    EXPECT_TRUE(users[0][5].IsNull());
    EXPECT_TRUE(users[0][6].IsNull());

    const auto counters = Rows("SELECT * FROM tNextID");
    ASSERT_EQ(counters.size(), 1u);
    std::vector<int> values;
    for (const Variant& v : counters[0]) values.push_back(v.i4());
    EXPECT_EQ(values, std::vector<int>({2, 1, 1, 1, 1, 1, 1, 3, 5}));

    const auto names = [&](const std::string& sql) {
        std::vector<std::string> out;
        for (const auto& row : Rows(sql)) out.push_back(row[0].text());
        return out;
    };
    EXPECT_EQ(names("SELECT * FROM tPriority"),
              std::vector<std::string>({"High", "Low", "Normal"}));
    EXPECT_EQ(names("SELECT * FROM tStatus"),
              std::vector<std::string>({"Active", "By Design", "Cannot Reproduce", "Resolved",
                                        "In Process", "New", "Postponed", "Verified", "Waiting",
                                        "Will Not Fix"}));
    EXPECT_EQ(names("SELECT * FROM tReproductive"),
              std::vector<std::string>({"Always", "Never", "Scarcely", "Sometimes"}));
    EXPECT_EQ(names("SELECT * FROM tSeverity"),
              std::vector<std::string>({"Crash", "Critical", "Moderate", "Normal", "Trivial"}));
    EXPECT_EQ(names("SELECT * FROM tSystem"), std::vector<std::string>({"2.5"}));
    EXPECT_EQ(names("SELECT Name FROM tProject"),
              std::vector<std::string>({"Project 1", "Project 2"}));

    const auto versions = Rows("SELECT * FROM tVersion");
    ASSERT_EQ(versions.size(), 4u);
    const int expected[4][2] = {{1, 1}, {2, 1}, {3, 2}, {4, 2}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(versions[i][0].i4(), expected[i][0]);
        EXPECT_EQ(versions[i][1].i4(), expected[i][1]);
        EXPECT_TRUE(versions[i][3].IsNull());
        EXPECT_NEAR(versions[i][4].date(), Now(), 1.0 / 24) << "released at creation, local time";
    }
    EXPECT_EQ(versions[2][2], Variant::Text("Version 1.0"));
    for (const char* empty :
         {"tUserRight", "tRight", "tClassification", "tBugReport", "tAttachment"})
        EXPECT_TRUE(Rows(std::string("SELECT * FROM ") + empty).empty()) << empty;
}

TEST(CreateDB, RefusesAnExistingFileAndLeavesItUntouched)
{
    const std::string path = test::TestFolder() + "existing.mdb";
    ASSERT_TRUE(CreateDB(path));
    const std::string before = test::ReadWholeFile(path);
    test::LogWatch log;
    EXPECT_FALSE(CreateDB(path));
    EXPECT_EQ(test::ReadWholeFile(path), before);
    const auto entries = log.Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].code, 2);

    const std::string other = test::TestFolder() + "notes.txt";
    std::FILE* f = std::fopen(other.c_str(), "w");
    std::fputs("keep me", f);
    std::fclose(f);
    EXPECT_FALSE(CreateDB(other));
    EXPECT_EQ(test::ReadWholeFile(other), "keep me");
}

TEST(CreateDB, FailsInAFolderThatDoesNotExist)
{
    test::LogWatch log;
    EXPECT_FALSE(CreateDB(test::TestFolder() + "no/such/folder/x.mdb"));
    EXPECT_EQ(log.Entries().size(), 1u);
}

}  // namespace
}  // namespace lindor
