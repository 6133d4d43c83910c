// Shared helpers of the engine's white-box tests: fresh databases in a
// per-test folder, and the entries a test appended to the error log.
#pragma once

#include <string>
#include <vector>

namespace lindor::test {

// A new empty folder for the running test, under $TMPDIR.
std::string TestFolder();

// The database server the tests run against instead of files: the URI in
// $LINDOR_TEST_SERVER (scripts/with-test-server.sh sets it), or empty.
std::string TestServer();
inline bool OnServer()
{
    return !TestServer().empty();
}
// A test that looks at the database file itself has nothing to test on a server.
#define LINDOR_FILES_ONLY() \
    if (::lindor::test::OnServer()) GTEST_SKIP() << "looks at the database file itself"

// Makes the process's database refuse a change with `message`, as another
// program's constraint would: `event` is e.g. "INSERT ON tUserClassification
// WHEN NEW.UserID = 2" or "UPDATE OF UserID ON tUser".
void RefuseChange(const std::string& name, const std::string& event, const std::string& message);

// The running test's folder as it is (TestFolder() empties it).
std::string CurrentTestFolder();

// A data source for a new database of the running test, nothing created yet:
// a path in the test folder, or on the test server a schema of its own
// (emptied) whose address is returned.
std::string NewDataSource(const std::string& name = "test.mdb");

// Creates a new database (all tables and default rows) at NewDataSource(name)
// and makes it the process's database; returns its data source.
std::string NewDatabase(const std::string& name = "test.mdb");

// One entry of the error log.
struct LogEntry {
    int code = 0;
    std::string source;
    std::string description;
};

// Remembers where the error log ends; Entries() returns what was appended since.
class LogWatch {
public:
    LogWatch();
    std::vector<LogEntry> Entries() const;
    // True when an appended entry has this code and source and its description contains `text`.
    bool Has(int code, const std::string& source, const std::string& text = "") const;

private:
    std::size_t start_ = 0;
};

std::string ReadWholeFile(const std::string& path);

// Makes a file read-only for every program, the superuser included (the
// file system's immutable flag); false where the file system or the
// process's rights do not allow it.
bool SetImmutable(const std::string& path, bool immutable);

// The error information a failing call left for its caller.
struct CallerError {
    std::string description;
    std::string source;
};
CallerError LastCallerError();
// Clears the calling thread's error information, so a later read shows only
// what the call under test left.
void ResetCallerError();

}  // namespace lindor::test
