// Shared helpers of the engine's white-box tests: fresh databases in a
// per-test folder, and the entries a test appended to the error log.
#pragma once

#include <string>
#include <vector>

namespace lindor::test {

// A new empty folder for the running test, under $TMPDIR.
std::string TestFolder();

// Creates a new database (all tables and default rows) in the test folder and
// makes it the process's database; returns its path.
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
