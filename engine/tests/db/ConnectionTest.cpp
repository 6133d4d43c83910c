#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "db/DbTestSupport.h"
#include "schema/CreateDB.h"

namespace lindor::db {
namespace {

using testing::AddBug;
using testing::Count;

bool Exists(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

std::string OpenFailure(const std::string& path)
{
    try {
        Connection connection(BuildConnectionString(path));
        return "";
    } catch (const DatabaseError& e) {
        return e.description();
    }
}

TEST(ConnectionString, NamesTheFileByDataSource)
{
    EXPECT_EQ(DataSourceOf(BuildConnectionString("/srv/team/bugs.mdb")), "/srv/team/bugs.mdb");
    EXPECT_EQ(DataSourceOf("Provider='Microsoft.JET.OLEDB.4.0';Data source = /a b/c.mdb"),
              "/a b/c.mdb");
    EXPECT_EQ(DataSourceOf("Provider=x"), "");
}

TEST(Connection, OpeningNeverCreatesAFile)
{
    const std::string path = test::TestFolder() + "missing.mdb";
    EXPECT_NE(OpenFailure(path).find("Could not find file"), std::string::npos);
    EXPECT_FALSE(Exists(path));
}

TEST(Connection, FilesThatAreNotDatabasesAreRefusedCleanly)
{
    const std::string folder = test::TestFolder();
    std::ofstream(folder + "text.mdb")
        << "this is not a database, just some text that is long enough "
           "to fill the header of one and more";
    EXPECT_NE(OpenFailure(folder + "text.mdb").find("Unrecognized database format"),
              std::string::npos);

    const std::string good = folder + "good.mdb";
    ASSERT_TRUE(CreateDB(good));
    const std::string bytes = test::ReadWholeFile(good);
    std::ofstream(folder + "truncated.mdb", std::ios::binary) << bytes.substr(0, bytes.size() / 3);
    const std::string truncated = OpenFailure(folder + "truncated.mdb");
    if (truncated.empty()) {
        // The first pages may survive; reading the cut-off tables must still fail cleanly.
        Connection connection(BuildConnectionString(folder + "truncated.mdb"));
        EXPECT_THROW(Count(connection, "SELECT * FROM tUserSystemInfo"), DatabaseError);
    }
    std::ofstream(folder + "empty.mdb");
    EXPECT_NO_THROW(Connection(BuildConnectionString(folder + "empty.mdb")))
        << "an empty file is an empty database";
    EXPECT_NE(OpenFailure(folder).find("Unrecognized database format"), std::string::npos)
        << "a folder is not a database";
}

TEST(Connection, AReadOnlyFileReadsButRefusesWrites)
{
    const std::string path = test::NewDatabase();
    chmod(path.c_str(), 0444);
    const bool immutable = geteuid() == 0 && test::SetImmutable(path, true);
    if (geteuid() == 0 && !immutable) GTEST_SKIP() << "the superuser writes any file here";
    {
        Connection connection(BuildConnectionString(path));
        EXPECT_EQ(Count(connection, "SELECT * FROM tStatus"), 10);
        try {
            AddBug(connection, {1});
            ADD_FAILURE() << "a read-only file took a write";
        } catch (const DatabaseError& e) {
            EXPECT_NE(e.description().find("read-only"), std::string::npos) << e.description();
        }
        EXPECT_EQ(Count(connection, "SELECT * FROM tBugReport"), 0);
    }
    if (immutable) test::SetImmutable(path, false);
}

TEST(Connection, AReadOnlyDatabaseRefusesWrites)
{
    const std::string path = test::NewDatabase();
    Connection connection(BuildConnectionString(path));
    const bool server = test::OnServer();
    connection.database().driver().Execute(server ? "SET default_transaction_read_only = on"
                                                  : "PRAGMA query_only = ON");
    try {
        AddBug(connection, {1});
        FAIL();
    } catch (const DatabaseError& e) {
        EXPECT_FALSE(e.description().empty());
    }
    connection.database().driver().Execute(server ? "SET default_transaction_read_only = off"
                                                  : "PRAGMA query_only = OFF");
}

class TransactionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        cs = BuildConnectionString(test::NewDatabase());
        first.Open(cs);
        second.Open(cs);
    }
    std::string cs;
    Connection first, second;
};

TEST_F(TransactionTest, AWriteOnAnotherConnectionJoinsTheOpenTransaction)
{
    Transaction outer(first);
    AddBug(first, {1});
    AddBug(second, {2});  // would wait forever on the process's own lock without joining
    EXPECT_EQ(Count(second, "SELECT * FROM tBugReport"), 2);
    outer.Commit();
    EXPECT_EQ(Count(first, "SELECT * FROM tBugReport"), 2);
}

TEST_F(TransactionTest, RollingBackTheOuterTransactionUndoesJoinedWrites)
{
    {
        Transaction outer(first);
        AddBug(first, {1});
        {
            Transaction inner(second);
            AddBug(second, {2});
            inner.Commit();
        }
        // outer is destroyed without Commit
    }
    EXPECT_EQ(Count(first, "SELECT * FROM tBugReport"), 0);
}

TEST_F(TransactionTest, AnInnerRollbackKeepsTheOuterWork)
{
    Transaction outer(first);
    AddBug(first, {1});
    second.BeginTrans();
    AddBug(second, {2});
    second.RollbackTrans();
    outer.Commit();
    EXPECT_EQ(Count(first, "SELECT BugID FROM tBugReport"), 1);
}

TEST_F(TransactionTest, TransactionsEndInTheOrderTheyBegan)
{
    first.BeginTrans();
    second.BeginTrans();
    EXPECT_THROW(first.CommitTrans(), DatabaseError);
    second.CommitTrans();
    first.CommitTrans();
    EXPECT_THROW(first.CommitTrans(), DatabaseError) << "nothing left to commit";
}

TEST_F(TransactionTest, ClosingAConnectionRollsItsTransactionBack)
{
    first.BeginTrans();
    AddBug(first, {1});
    first.Close();
    EXPECT_EQ(Count(second, "SELECT * FROM tBugReport"), 0);
    EXPECT_FALSE(second.database().InTransaction());
}

TEST_F(TransactionTest, AFailedStatementInsideATransactionLeavesTheRestUsable)
{
    Transaction t(first);
    AddBug(first, {1});
    EXPECT_THROW(AddBug(first, {1}), DatabaseError) << "duplicate key";
    AddBug(first, {2});
    t.Commit();
    EXPECT_EQ(Count(first, "SELECT * FROM tBugReport"), 2);
}

// Another program's write lock held past the wait: the transaction is
// refused as busy, and the connection writes again once the lock is free.
TEST_F(TransactionTest, AWriteLockNotHadInTimeLeavesTheConnectionUsable)
{
    if (!test::OnServer()) GTEST_SKIP() << "the file's lock waits are tested with processes";
    const auto holder = OpenDriverConnection(DataSourceOf(cs));
    holder->BeginWrite();
    first.database().driver().Execute("SET lock_timeout = '200ms'");
    try {
        first.BeginTrans();
        FAIL() << "the lock was held by another program";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.code(), dberr::kBusy);
    }
    holder->Execute("ROLLBACK");
    // Back to the usual wait: other test programs share the server's lock.
    first.database().driver().Execute("SET lock_timeout = '10s'");
    Transaction t(first);
    AddBug(first, {1});
    t.Commit();
    EXPECT_EQ(Count(second, "SELECT * FROM tBugReport"), 1);
}

}  // namespace
}  // namespace lindor::db
