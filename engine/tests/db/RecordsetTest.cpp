#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>

#include "db/DbTestSupport.h"

namespace lindor::db {
namespace {

using testing::AddBug;
using testing::BugIDs;
using testing::BugRow;
using testing::Count;

class RecordsetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = test::NewDatabase();
        connection.Open(BuildConnectionString(path));
    }
    void AddBugs(std::initializer_list<int> ids)
    {
        for (int id : ids) AddBug(connection, {id});
    }

    std::string path;
    Connection connection;
};

TEST_F(RecordsetTest, WalksRowsInQueryOrderWithPositions)
{
    AddBugs({3, 1, 2});
    Recordset rs;
    rs.Open("SELECT * FROM tBugReport ORDER BY BugID DESC", connection);
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_FALSE(rs.IsBOF());
    EXPECT_EQ(rs.AbsolutePosition(), 1);
    EXPECT_EQ(BugIDs(rs), std::vector<int>({3, 2, 1}));
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_EQ(rs.AbsolutePosition(), kPositionEOF);
    EXPECT_THROW(rs.MoveNext(), DatabaseError) << "moving past the end is a cursor error";
    rs.SetAbsolutePosition(2);
    EXPECT_EQ(rs.Fields("BugID").Value().i4(), 2);
    EXPECT_THROW(rs.SetAbsolutePosition(4), DatabaseError);
    EXPECT_EQ(rs.AbsolutePosition(), 2);
}

TEST_F(RecordsetTest, AnEmptyResultIsBeforeTheFirstAndAfterTheLastRow)
{
    Recordset rs;
    rs.Open("SELECT * FROM tBugReport", connection);
    EXPECT_TRUE(rs.IsBOF());
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_EQ(rs.RecordCount(), 0);
    EXPECT_EQ(rs.AbsolutePosition(), kPositionUnknown);
    EXPECT_NO_THROW(rs.MoveFirst());
    EXPECT_THROW(rs.Fields("BugID").Value(), DatabaseError);
}

TEST_F(RecordsetTest, ValuesComeTypedBySchemaType)
{
    AddBug(connection, {7, "Active", "typed", 38416.75});
    Recordset rs;
    rs.Open("SELECT * FROM tBugReport", connection);
    EXPECT_EQ(rs.Fields("BugID").Value(), Variant::I4(7));
    EXPECT_EQ(rs.Fields("statusname").Value(), Variant::Text("Active")) << "names ignore case";
    EXPECT_EQ(rs.Fields("ReportedDate").Value(), Variant::Date(38416.75));
    EXPECT_EQ(rs.Fields("FixedDate").Value().vt(), VT_NULL);
    EXPECT_EQ(rs.Fields("Report").Value().vt(), VT_NULL);
    EXPECT_THROW(rs.Fields("NoSuchColumn"), DatabaseError);

    Recordset rights;
    rights.Open("tUserRight", connection, CursorType::Keyset, LockType::Optimistic,
                CommandKind::Table);
    rights.AddNew();
    rights.Fields("UserRightID").SetValue(Variant::I4(1));
    rights.Update();
    EXPECT_EQ(rights.Fields("AddProject").Value(), Variant::Bool(false))
        << "a yes/no column left out of a new row reads false";
}

TEST_F(RecordsetTest, SelectListLimitsTheColumns)
{
    Recordset rs;
    rs.Open("SELECT UserID,Password FROM tUser WHERE LoginName = 'Admin'", connection);
    ASSERT_EQ(rs.FieldCount(), 2);
    EXPECT_EQ(rs.Fields(0).Value(), Variant::I4(1));
    EXPECT_TRUE(rs.Fields(1).IsNull());
    EXPECT_THROW(rs.Fields("UserName"), DatabaseError);
}

TEST_F(RecordsetTest, TextComparesWithoutRegardToCase)
{
    AddBugs({1});
    EXPECT_EQ(Count(connection, "SELECT * FROM tBugReport WHERE StatusName = 'nEw'"), 1);
    EXPECT_EQ(Count(connection, "SELECT * FROM tStatus WHERE StatusName = 'WAITING'"), 1);
    Recordset status;
    status.Open("tStatus", connection, CursorType::Keyset, LockType::Optimistic,
                CommandKind::Table);
    status.AddNew();
    status.Fields(0).SetValue(Variant::Text("new"));
    EXPECT_THROW(status.Update(), DatabaseError) << "'new' duplicates the key 'New'";
}

TEST_F(RecordsetTest, AddChangeAndDeleteRows)
{
    AddBugs({1, 2, 3});
    Recordset rs;
    rs.Open("SELECT * FROM tBugReport ORDER BY BugID", connection);
    rs.SetAbsolutePosition(2);
    rs.Fields("Description").SetValue(Variant::Text("changed"));
    EXPECT_TRUE(rs.EditPending());
    rs.MoveNext();  // moving writes the pending change
    EXPECT_FALSE(rs.EditPending());
    EXPECT_EQ(Count(connection, "SELECT * FROM tBugReport WHERE Description = 'changed'"), 1);

    rs.MoveFirst();
    rs.Delete();
    EXPECT_THROW(rs.Fields("BugID").Value(), DatabaseError) << "the deleted row stays current";
    rs.MoveNext();
    EXPECT_EQ(rs.Fields("BugID").Value().i4(), 2);
    EXPECT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(Count(connection, "SELECT * FROM tBugReport"), 2);

    rs.Fields("Description").SetValue(Variant::Text("never written"));
    rs.CancelUpdate();
    rs.Requery();
    EXPECT_EQ(Count(connection, "SELECT * FROM tBugReport WHERE Description = 'never written'"), 0);
    EXPECT_EQ(BugIDs(rs), std::vector<int>({2, 3}));
}

TEST_F(RecordsetTest, DeletingEveryRowWhileMovingOn)
{
    AddBugs({1, 2, 3, 4});
    Recordset rs;
    rs.Open("SELECT BugID FROM tBugReport WHERE BugID > 1", connection);
    int deleted = 0;
    while (!rs.IsEOF()) {
        rs.Delete();
        rs.MoveNext();
        ++deleted;
    }
    EXPECT_EQ(deleted, 3);
    EXPECT_EQ(Count(connection, "SELECT * FROM tBugReport"), 1);
}

TEST_F(RecordsetTest, DeletingEveryRowOfALongResultWhileMovingOn)
{
    {
        Transaction t(connection);
        for (int id = 1; id <= 600; ++id) AddBug(connection, {id});
        t.Commit();
    }
    Transaction t(connection);
    Recordset rs;
    rs.Open("SELECT BugID FROM tBugReport ORDER BY BugID", connection);
    int deleted = 0;
    while (!rs.IsEOF()) {
        rs.Delete();
        rs.MoveNext();
        ++deleted;
    }
    t.Commit();
    EXPECT_EQ(deleted, 600);
    EXPECT_EQ(Count(connection, "SELECT * FROM tBugReport"), 0);
}

TEST_F(RecordsetTest, ARowAddedToALongResultIsInItOnce)
{
    {
        Transaction t(connection);
        for (int id = 1; id <= 300; ++id) AddBug(connection, {id});
        t.Commit();
    }
    Recordset rs;
    rs.Open("SELECT * FROM tBugReport WHERE BugType = 0 ORDER BY BugID", connection);
    rs.AddNew();
    rs.Fields("BugID").SetValue(Variant::I4(301));
    rs.Fields("SeverityName").SetValue(Variant::Text("Normal"));
    rs.Fields("StatusName").SetValue(Variant::Text("New"));
    rs.Fields("PriorityName").SetValue(Variant::Text("Low"));
    rs.Fields("ReproductiveName").SetValue(Variant::Text("Always"));
    rs.Fields("Description").SetValue(Variant::Text("added through the cursor"));
    rs.Fields("BugType").SetValue(Variant::I4(0));
    rs.Update();
    EXPECT_EQ(rs.RecordCount(), 301);
    const std::vector<int> ids = BugIDs(rs);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), 301), 1);
}

TEST_F(RecordsetTest, ReadOnlyCursorsAndJoinsRefuseChanges)
{
    Recordset rs;
    rs.Open("SELECT * FROM tUser", connection, CursorType::ForwardOnly, LockType::ReadOnly);
    EXPECT_THROW(rs.Fields("UserName").SetValue(Variant::Text("x")), DatabaseError);
    Recordset join;
    join.Open(
        "SELECT tVersion.* FROM tProject INNER JOIN tVersion ON tProject.ProjectID = "
        "tVersion.ProjectID "
        "WHERE tProject.ProjectID = 2",
        connection);
    EXPECT_EQ(join.RecordCount(), 2);
    EXPECT_EQ(join.Fields("VersionName").Value(), Variant::Text("Version 1.0"));
    EXPECT_THROW(join.AddNew(), DatabaseError);
}

TEST_F(RecordsetTest, NestedAccessStyleJoinsRunAsWritten)
{
    const char* text =
        "SELECT tClassification.* FROM tUserRight INNER JOIN (tUser INNER JOIN (((tProject INNER "
        "JOIN tClassification ON tProject.ProjectID = tClassification.ProjectID) INNER JOIN tRight "
        "ON tProject.ProjectID = tRight.ProjectID) INNER JOIN tUserClassification ON "
        "tClassification.ClassificationID = tUserClassification.ClassificationID) ON tUser.UserID "
        "= tUserClassification.UserID) ON (tUserRight.UserRightID = tUser.UserRightID) AND "
        "(tUserRight.UserRightID = tRight.UserRightID) WHERE tUser.UserID=1";
    Recordset rs;
    rs.Open(text, connection, CursorType::Static, LockType::ReadOnly);
    EXPECT_EQ(rs.FieldCount(), 3);
    EXPECT_NO_THROW(rs.Fields("ClassName"));
    EXPECT_NO_THROW(rs.Fields("ProjectID")) << "columns keep their own names";
}

TEST_F(RecordsetTest, RequiredTextAndLengthRulesHold)
{
    Recordset rs;
    rs.Open("SELECT * FROM tProject WHERE ProjectID = 0", connection);
    rs.AddNew();
    rs.Fields("ProjectID").SetValue(Variant::I4(9));
    EXPECT_THROW(rs.Fields("Name").SetValue(Variant::Text(std::string(256, 'n'))), DatabaseError);
    rs.Fields("Name").SetValue(Variant::Text(std::string(255, 'n')));
    rs.Update();
    rs.AddNew();
    rs.Fields("ProjectID").SetValue(Variant::I4(10));
    try {
        rs.Update();
        FAIL() << "Name is required";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.code(), dberr::kIntegrity);
        EXPECT_NE(e.description().find("tProject.Name"), std::string::npos) << e.description();
    }
    // Characters count, not bytes: 255 letters of two bytes each fit.
    rs.CancelUpdate();
    rs.AddNew();
    rs.Fields("ProjectID").SetValue(Variant::I4(11));
    std::string wide;
    for (int i = 0; i < 255; ++i) wide += "\xc3\xa9";
    rs.Fields("Name").SetValue(Variant::Text(wide));
    EXPECT_NO_THROW(rs.Update());
}

TEST_F(RecordsetTest, ValuesOfTheWrongTypeAreRefused)
{
    Recordset rs;
    rs.Open("SELECT * FROM tVersion", connection);
    EXPECT_THROW(rs.Fields("ProjectID").SetValue(Variant::Text("one")), DatabaseError);
    EXPECT_THROW(rs.Fields("ReleaseDate").SetValue(Variant::Text("yesterday")), DatabaseError);
    EXPECT_NO_THROW(rs.Fields("ProjectID").SetValue(Variant::Text("1")));
    rs.CancelUpdate();
}

TEST_F(RecordsetTest, RelationshipsRefuseAndAreNamed)
{
    try {
        AddBug(connection, {1, "NoSuchStatus"});
        FAIL();
    } catch (const DatabaseError& e) {
        EXPECT_NE(e.description().find("'tStatus'"), std::string::npos) << e.description();
        EXPECT_NE(e.description().find("'Status'"), std::string::npos) << e.description();
    }
    EXPECT_EQ(Count(connection, "SELECT * FROM tBugReport"), 0);

    const auto deleteProject = [&](int id) {
        Recordset rs;
        rs.Open("SELECT * FROM tProject WHERE ProjectID = " + std::to_string(id), connection);
        rs.Delete();
    };
    const auto expectRefusedBy = [&](int id, const std::string& key) {
        try {
            deleteProject(id);
            ADD_FAILURE() << "project " << id << " deleted despite " << key;
        } catch (const DatabaseError& e) {
            EXPECT_NE(e.description().find("'" + key + "'"), std::string::npos) << e.description();
        }
    };
    expectRefusedBy(1, "PrjVer");

    Recordset versions;
    versions.Open("SELECT * FROM tVersion WHERE ProjectID = 1", connection);
    while (!versions.IsEOF()) {
        versions.Delete();
        versions.MoveNext();
    }
    Recordset classes;
    classes.Open("tClassification", connection, CursorType::Keyset, LockType::Optimistic,
                 CommandKind::Table);
    classes.AddNew();
    classes.Fields("ClassificationID").SetValue(Variant::I4(1));
    classes.Fields("ProjectID").SetValue(Variant::I4(1));
    classes.Fields("ClassName").SetValue(Variant::Text("UI"));
    classes.Update();
    expectRefusedBy(1, "Prj");
    classes.MoveFirst();
    classes.Delete();

    Recordset role;
    role.Open("tUserRight", connection, CursorType::Keyset, LockType::Optimistic,
              CommandKind::Table);
    role.AddNew();
    role.Fields("UserRightID").SetValue(Variant::I4(1));
    role.Update();
    Recordset right;
    right.Open("SELECT * FROM tRight", connection);
    right.AddNew();
    right.Fields("RightID").SetValue(Variant::I4(1));
    right.Fields("UserRightID").SetValue(Variant::I4(1));
    right.Fields("ProjectID").SetValue(Variant::I4(1));
    right.Update();
    expectRefusedBy(1, "Project");
    right.MoveFirst();
    right.Delete();
    EXPECT_NO_THROW(deleteProject(1));
}

TEST_F(RecordsetTest, LongBinaryValuesGoInAndOutInChunks)
{
    std::vector<std::uint8_t> data(10000);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7);
    AddBug(connection, {1});
    Recordset rs;
    rs.Open("SELECT * FROM tAttachment", connection);
    rs.AddNew();
    rs.Fields("AttachmentID").SetValue(Variant::I4(1));
    rs.Fields("BugID").SetValue(Variant::I4(1));
    rs.Fields("FileName").SetValue(Variant::Text("a.bin"));
    for (std::size_t at = 0; at < data.size(); at += 4096) {
        const std::size_t end = std::min(data.size(), at + 4096);
        rs.Fields("FileData")
            .AppendChunk(std::vector<std::uint8_t>(data.begin() + static_cast<long>(at),
                                                   data.begin() + static_cast<long>(end)));
    }
    rs.Update();

    Recordset back;
    back.Open("SELECT * FROM tAttachment WHERE AttachmentID = 1", connection, CursorType::Static,
              LockType::ReadOnly);
    EXPECT_EQ(back.Fields("FileData").ActualSize(), 10000);
    std::vector<std::uint8_t> read;
    for (;;) {
        std::vector<std::uint8_t> chunk = back.Fields("FileData").GetChunk(3000);
        if (chunk.empty()) break;
        read.insert(read.end(), chunk.begin(), chunk.end());
    }
    EXPECT_EQ(read, data);
}

TEST_F(RecordsetTest, AChangeMadeMeanwhileRefusesAStaleUpdate)
{
    AddBugs({1});
    Recordset mine;
    mine.Open("SELECT * FROM tBugReport", connection);
    EXPECT_EQ(mine.Fields("Description").Value(), Variant::Text("something broke"));

    Connection other(BuildConnectionString(path));
    Recordset theirs;
    theirs.Open("SELECT * FROM tBugReport", other);
    theirs.Fields("Description").SetValue(Variant::Text("their text"));
    theirs.Update();

    mine.Fields("Description").SetValue(Variant::Text("my text"));
    EXPECT_THROW(mine.Update(), DatabaseError) << "their change must not be overwritten unseen";
    mine.CancelUpdate();
    mine.Requery();
    EXPECT_EQ(mine.Fields("Description").Value(), Variant::Text("their text"));
    mine.Fields("Description").SetValue(Variant::Text("my text"));
    EXPECT_NO_THROW(mine.Update()) << "after reading again the change goes through";
}

TEST_F(RecordsetTest, RowsDeletedByOthersReadAsDeleted)
{
    AddBugs({1, 2});
    Recordset mine;
    mine.Open("SELECT * FROM tBugReport ORDER BY BugID", connection);
    {
        Connection other(BuildConnectionString(path));
        Recordset theirs;
        theirs.Open("SELECT * FROM tBugReport WHERE BugID = 2", other);
        theirs.Delete();
    }
    mine.SetAbsolutePosition(2);
    EXPECT_THROW(mine.Fields("BugID").Value(), DatabaseError);
    EXPECT_EQ(mine.RecordCount(), 2) << "the keys stay until the cursor is read again";
    mine.Requery();
    EXPECT_EQ(mine.RecordCount(), 1);
}

// The engine fills its lists (projects, users, a project's versions) from
// static and forward-only cursors within one call; another program deleting a
// row meanwhile must not make the list fail half-way.
TEST_F(RecordsetTest, StaticAndForwardOnlyCursorsReadTheRowsAsTheyWereAtOpening)
{
    for (const CursorType type : {CursorType::Static, CursorType::ForwardOnly}) {
        Connection other(BuildConnectionString(path));
        {
            Transaction t(connection);
            Recordset all;
            all.Open("SELECT BugID FROM tBugReport", connection);
            for (; !all.IsEOF(); all.MoveNext()) all.Delete();
            for (int id = 1; id <= 100; ++id) AddBug(connection, {id});
            t.Commit();
        }
        Recordset list;
        list.Open("SELECT * FROM tBugReport ORDER BY BugID", connection, type, LockType::ReadOnly);
        ASSERT_EQ(list.Fields("BugID").Value().i4(), 1);
        {
            Recordset theirs;
            theirs.Open("SELECT * FROM tBugReport WHERE BugID = 90", other);
            theirs.Delete();
            AddBug(other, {1000});
        }
        std::vector<int> seen;
        for (; !list.IsEOF(); list.MoveNext()) seen.push_back(list.Fields("BugID").Value().i4());
        EXPECT_EQ(seen.size(), 100u);
        EXPECT_EQ(seen.back(), 100) << "rows added since the cursor opened are not in it";
        list.Requery();
        EXPECT_EQ(list.RecordCount(), 100) << "read again: bug 90 gone, bug 1000 there";
    }
}

TEST_F(RecordsetTest, CursorsOnAConnectionStringUseAConnectionOfTheirOwn)
{
    Recordset rs;
    rs.Open("SELECT * FROM tSystem", BuildConnectionString(path), CursorType::ForwardOnly,
            LockType::ReadOnly);
    EXPECT_EQ(rs.Fields(0).Value(), Variant::Text("2.5"));
    rs.Close();
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_THROW(rs.MoveNext(), DatabaseError);
}

TEST_F(RecordsetTest, SyntaxErrorsAndMissingTablesAreDatabaseErrors)
{
    Recordset rs;
    try {
        rs.Open("SELECT * FROM tNothing", connection);
        FAIL();
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.code(), dberr::kNoSuchTable);
        EXPECT_NE(e.description().find("tNothing"), std::string::npos);
    }
    try {
        rs.Open("SELECT * FROM tBugReport WHERE (BugID = 1", connection);
        FAIL();
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.code(), dberr::kSyntax);
        EXPECT_EQ(e.systemMessage(), "IDispatch error #3092");
    }
    EXPECT_FALSE(rs.IsOpen());
}

// Values bound to a query's ? placeholders.
using RecordsetBindTest = RecordsetTest;

TEST_F(RecordsetBindTest, TextValuesMatchAsWrittenWhateverTheyHold)
{
    AddBug(connection, {1, "New", "it's broken"});
    AddBug(connection, {2, "New", "' OR 1=1 --"});
    AddBug(connection, {3, "New", "plain"});
    for (CursorType cursor : {CursorType::Keyset, CursorType::Static}) {
        Recordset rs;
        rs.Open({"SELECT * FROM tBugReport WHERE Description = ?", std::string("' OR 1=1 --")},
                connection, cursor);
        EXPECT_EQ(BugIDs(rs), std::vector<int>({2})) << "a quote in a value is no SQL";
        rs.Open({"SELECT * FROM tBugReport WHERE Description = ?", "it's broken"}, connection,
                cursor);
        EXPECT_EQ(BugIDs(rs), std::vector<int>({1}));
    }
}

// Past the first page of keys the cursor counts the rows with a statement of
// its own, and a requery runs the query again: both need the values.
TEST_F(RecordsetBindTest, EveryStatementOfAKeyedCursorSeesTheValues)
{
    Transaction adding(connection);
    for (int id = 1; id <= 600; ++id) AddBug(connection, {id, id % 2 == 0 ? "Active" : "New"});
    adding.Commit();
    Recordset rs;
    rs.Open({"SELECT * FROM tBugReport WHERE StatusName = ? AND BugID > ? ORDER BY BugID", "Active",
             100},
            connection);
    EXPECT_EQ(rs.RecordCount(), 250);
    rs.SetAbsolutePosition(250);
    EXPECT_EQ(rs.Fields("BugID").Value().i4(), 600);
    AddBug(connection, {601, "New"});
    AddBug(connection, {602, "Active"});
    rs.Requery();
    EXPECT_EQ(rs.RecordCount(), 251);
    rs.Fields("Description").SetValue(Variant::Text("first open one above 100"));
    rs.Update();
    rs.Open({"SELECT * FROM tBugReport WHERE Description = ?", "first open one above 100"},
            connection);
    EXPECT_EQ(BugIDs(rs), std::vector<int>({102}));
}

TEST_F(RecordsetBindTest, AJoinTakesValuesToo)
{
    AddBug(connection, {1, "New"});
    AddBug(connection, {2, "Resolved"});
    Recordset rs;
    rs.Open({"SELECT tBugReport.BugID, tStatus.StatusName FROM tBugReport INNER JOIN tStatus ON "
             "tBugReport.StatusName = tStatus.StatusName WHERE tBugReport.BugID = ?",
             2},
            connection, CursorType::Static, LockType::ReadOnly);
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields("StatusName").Value().text(), "Resolved");
    rs.Requery();
    EXPECT_EQ(rs.RecordCount(), 1);
}

TEST_F(RecordsetBindTest, ATableTakesNoValues)
{
    Recordset rs;
    EXPECT_THROW(rs.Open({"tBugReport", 1}, connection, CursorType::Keyset, LockType::Optimistic,
                         CommandKind::Table),
                 DatabaseError);
    EXPECT_FALSE(rs.IsOpen());
}

}  // namespace
}  // namespace lindor::db
