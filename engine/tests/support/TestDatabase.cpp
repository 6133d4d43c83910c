#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <libpq-fe.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "core/ErrorInfo.h"
#include "core/Folders.h"
#include "db/Connection.h"
#include "db/Dialect.h"
#include "schema/CreateDB.h"

namespace lindor::test {

namespace {

std::filesystem::path FolderOfTest()
{
    const char* tmp = std::getenv("TMPDIR");
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name =
        info != nullptr ? std::string(info->test_suite_name()) + "." + info->name() : "no-test";
    for (char& c : name)
        if (c == '/') c = '_';
    return std::filesystem::path(tmp != nullptr ? tmp : "/tmp") / "lindor-tests" / name;
}

}  // namespace

std::string TestFolder()
{
    const std::filesystem::path folder = FolderOfTest();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string() + "/";
}

std::string TestServer()
{
    const char* server = std::getenv("LINDOR_TEST_SERVER");
    return server != nullptr ? server : "";
}

namespace {

// Runs statements on the test server with the server's own client library.
void RunOnServer(const std::string& sql)
{
    PGconn* connection = PQconnectdb(TestServer().c_str());
    PGresult* result = PQexec(connection, sql.c_str());
    const bool done = PQresultStatus(result) == PGRES_COMMAND_OK;
    if (!done)
        ADD_FAILURE() << "The test server refused: " << sql << ": " << PQerrorMessage(connection);
    PQclear(result);
    PQfinish(connection);
}

}  // namespace

std::string NewDataSource(const std::string& name)
{
    // The folder starts empty for each test; a test's second database
    // joins its first one there.
    static std::string folderOfTest;
    const std::string current = FolderOfTest().string();
    const std::string path = (folderOfTest == current ? CurrentTestFolder() : TestFolder()) + name;
    folderOfTest = current;
    if (!OnServer()) {
        std::filesystem::remove(path);
        return path;
    }
    char schema[32];
    std::snprintf(schema, sizeof(schema), "t%016zx", std::hash<std::string>{}(path));
    RunOnServer(std::string("SET client_min_messages = warning; DROP SCHEMA IF EXISTS ") + schema +
                " CASCADE; CREATE SCHEMA " + schema);
    const std::string server = TestServer();
    return server + (server.find('?') == std::string::npos ? "?" : "&") +
           "options=-csearch_path%3D" + schema + "%2Cpublic";
}

void RefuseChange(const std::string& name, const std::string& event, const std::string& message)
{
    db::Connection connection(db::ProcessConnectionString());
    if (!OnServer()) {
        connection.database().driver().Execute("CREATE TRIGGER " + name + " BEFORE " + event +
                                               " BEGIN SELECT RAISE(ABORT, " +
                                               db::QuoteText(message) + "); END");
        return;
    }
    const std::size_t when = event.find(" WHEN ");
    const std::string on = event.substr(0, when);
    const std::string condition =
        when == std::string::npos ? "" : " WHEN (" + event.substr(when + 6) + ")";
    connection.database().driver().Execute(
        "CREATE FUNCTION " + name +
        "() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION " +
        db::QuoteText(message) + "; END $$");
    connection.database().driver().Execute("CREATE TRIGGER " + name + " BEFORE " + on +
                                           " FOR EACH ROW" + condition + " EXECUTE FUNCTION " +
                                           name + "()");
}

std::string CurrentTestFolder()
{
    const std::filesystem::path folder = FolderOfTest();
    std::filesystem::create_directories(folder);
    return folder.string() + "/";
}

std::string NewDatabase(const std::string& name)
{
    const std::string path = NewDataSource(name);
    if (!CreateDB(path)) ADD_FAILURE() << "CreateDB failed for " << path;
    db::SetProcessConnectionString(db::BuildConnectionString(path));
    return path;
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool SetImmutable(const std::string& path, bool immutable)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    close(fd);
    return done;
}

CallerError LastCallerError()
{
    CallerError error;
    GetThreadErrorInfo(&error.description, &error.source);
    return error;
}

void ResetCallerError()
{
    SetErrorInfo("", "");
}

namespace {

std::string ErrLogPath()
{
    return ProgramDataFolder() + "Err.log";
}

std::string Field(const std::string& entry, const std::string& label)
{
    const std::size_t start = entry.find(label);
    if (start == std::string::npos) return std::string();
    const std::size_t from = start + label.size();
    const std::size_t end = entry.find("\r\n", from);
    return entry.substr(from, end - from);
}

}  // namespace

LogWatch::LogWatch() : start_(ReadWholeFile(ErrLogPath()).size()) {}

std::vector<LogEntry> LogWatch::Entries() const
{
    const std::string all = ReadWholeFile(ErrLogPath());
    const std::string text = all.size() >= start_ ? all.substr(start_) : all;
    const std::string separator = "--------------------------------------------\r\n";
    std::vector<LogEntry> entries;
    for (std::size_t at = text.find(separator); at != std::string::npos;) {
        const std::size_t next = text.find(separator, at + separator.size());
        const std::string entry =
            text.substr(at, next == std::string::npos ? std::string::npos : next - at);
        LogEntry e;
        e.code = std::atoi(Field(entry, "[ErrCode]: ").c_str());
        e.source = Field(entry, "[Source]: ");
        e.description = Field(entry, "[Description]: ");
        entries.push_back(e);
        at = next;
    }
    return entries;
}

bool LogWatch::Has(int code, const std::string& source, const std::string& text) const
{
    for (const LogEntry& e : Entries())
        if (e.code == code && e.source == source && e.description.find(text) != std::string::npos)
            return true;
    return false;
}

}  // namespace lindor::test
