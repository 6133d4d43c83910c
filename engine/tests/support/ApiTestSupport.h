// Helpers of the public-interface tests, which see only <lindor/lindor.h>.
#pragma once

#include <lindor/lindor.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace lindor::apitest {

// The description the last failing call left for its caller.
inline std::string ErrorText()
{
    std::string text;
    lindor::GetErrorInfo(&text, nullptr);
    return text;
}

inline std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The database server the tests run against instead of files: the address in
// $LINDOR_TEST_SERVER (scripts/with-test-server.sh sets it), or empty.
inline std::string TestServer()
{
    const char* server = std::getenv("LINDOR_TEST_SERVER");
    return server != nullptr ? server : "";
}

inline bool IsServerAddress(const std::string& database)
{
    return database.rfind("postgresql://", 0) == 0;
}

// SQL for the server: a quoted name is folded to lower case, as the server
// folds an unquoted one, a blob literal X'..' becomes the server's, and
// group_concat(x) becomes string_agg(x::text, ',').
inline std::string ForServer(std::string sql)
{
    for (std::size_t at = sql.find("group_concat("); at != std::string::npos;
         at = sql.find("group_concat(", at)) {
        const std::size_t open = at + 12;
        const std::size_t close = sql.find(')', open);
        sql.replace(at, close + 1 - at,
                    "string_agg((" + sql.substr(open + 1, close - open - 1) + ")::text, ',')");
    }
    std::string out;
    bool inName = false, inText = false;
    for (std::size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        const bool blob = !inName && !inText && (c == 'X' || c == 'x') && i + 1 < sql.size() &&
                          sql[i + 1] == '\'' &&
                          (i == 0 || !std::isalnum(static_cast<unsigned char>(sql[i - 1])));
        if (blob) {
            const std::size_t end = sql.find('\'', i + 2);
            out += "'\\x" + sql.substr(i + 2, end - i - 2) + "'::bytea";
            i = end;
            continue;
        }
        if (c == '\'' && !inName) inText = !inText;
        if (c == '"' && !inText) inName = !inName;
        out += inName ? static_cast<char>(std::tolower(static_cast<unsigned char>(c))) : c;
    }
    return out;
}

// Runs SQL on the database with the database's own shell, sqlite3 for a file
// and psql for a server (its input and output files go in `folder`); returns
// the output without its last line ends, values separated by "|".
inline std::string RunSql(const std::filesystem::path& folder, const std::string& database,
                          const std::string& statements)
{
    const std::string input = (folder / "input.sql").string();
    const std::string output = (folder / "output.txt").string();
    const bool server = IsServerAddress(database);
    std::ofstream(input) << (server ? ForServer(statements) : statements) << "\n";
    const std::string shell = server ? "PGOPTIONS='-c client_min_messages=warning' psql -X -q -A "
                                       "-t -v ON_ERROR_STOP=1 '" +
                                           database + "' -f '" + input + "'"
                                     : "sqlite3 -batch '" + database + "' < '" + input + "'";
    const std::string command = shell + " > '" + output + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << ReadFileBytes(output);
    std::string text = ReadFileBytes(output);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

template <class I>
ComPtr<I> Make(const char* className)
{
    ComPtr<I> object;
    EXPECT_EQ(lindor::CreateObject(className, object.put()), S_OK) << className;
    return object;
}

// A new, empty folder for the running test:
// $TMPDIR/<area>/<test suite>.<test name>.
inline std::filesystem::path FreshTestFolder(const std::string& area)
{
    const char* tmp = std::getenv("TMPDIR");
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path folder =
        std::filesystem::path(tmp != nullptr ? tmp : "/tmp") / area /
        (std::string(test->test_suite_name()) + "." + test->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// Where a new database of the test goes: `name` in the folder, or on the
// test server a schema of its own (emptied first).
inline std::string NewTeamDataSource(const std::filesystem::path& folder,
                                     const std::string& name = "team.mdb")
{
    const std::string path = (folder / name).string();
    const std::string server = TestServer();
    if (server.empty()) return path;
    char schema[32];
    std::snprintf(schema, sizeof(schema), "a%016zx", std::hash<std::string>{}(path));
    RunSql(
        folder, server,
        std::string("DROP SCHEMA IF EXISTS ") + schema + " CASCADE; CREATE SCHEMA " + schema + ";");
    return server + (server.find('?') == std::string::npos ? "?" : "&") +
           "options=-csearch_path%3D" + schema + "%2Cpublic";
}

// A new database made by Admin.NewMDB for the test; gives its data source.
inline std::string NewTeamDatabase(const std::filesystem::path& folder)
{
    const std::string path = NewTeamDataSource(folder);
    ComPtr<IAdmin> admin = Make<IAdmin>("Lindor.Admin.1");
    EXPECT_TRUE(admin && admin->NewMDB(path) == S_OK) << ErrorText();
    return path;
}

// One project's rights of a member: the tRight flag columns set there
// ("Read", "Add", ...); the others stay clear.
struct Grant {
    std::int32_t projectID;
    std::vector<std::string> flags;
};

// A test on a new database of its own (projects 1 and 2 with versions 1, 2
// and 3, 4), reached only through the public header; the sqlite3 shell puts
// in what no engine member under test writes (roles, foreign rows) and reads
// what was stored.
class TeamDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("LINDOR_LIBRARY", LINDOR_LIBRARY_PATH, 0);
        folder_ = FreshTestFolder("lindor-team");
        path_ = NewTeamDatabase(folder_);
    }

    // Runs SQL with the sqlite3 shell; returns its output without the last line end.
    std::string Sql(const std::string& statements) const
    {
        return RunSql(folder_, path_, statements);
    }
    bool OnServer() const { return IsServerAddress(path_); }
    long Count(const std::string& where) const
    {
        return std::stol(Sql("SELECT COUNT(*) FROM " + where + ";"));
    }

    // A user without password whose role (numbered as the user) holds the
    // grants; rights rows are numbered user * 10 + project.
    void AddMember(std::int32_t userID, const std::string& login, const std::vector<Grant>& grants,
                   bool addProject = false)
    {
        const std::string user = std::to_string(userID);
        std::string sql = "INSERT INTO tUserRight (UserRightID, AddProject) VALUES (" + user +
                          ", " + (addProject ? "1" : "0") + ");";
        for (const Grant& grant : grants) {
            const std::string right = std::to_string(userID * 10 + grant.projectID);
            sql += "INSERT INTO tRight (RightID, UserRightID, ProjectID) VALUES (" + right + ", " +
                   user + ", " + std::to_string(grant.projectID) + ");";
            for (const std::string& flag : grant.flags)
                sql += "UPDATE tRight SET \"" + flag + "\" = 1 WHERE RightID = " + right + ";";
        }
        sql += "INSERT INTO tUser (UserID, UserRightID, UserName, LoginName) VALUES (" + user +
               ", " + user + ", '" + login + " name', '" + login + "');";
        Sql(sql);
    }

    // A new context on the database with `login` logged in and the project
    // active (0: none).
    ComPtr<IExeContext> LogIn(const std::string& login, std::int32_t projectID = 0,
                              const std::string& password = "") const
    {
        ComPtr<IExeContext> context = Make<IExeContext>("Lindor.ExeContext.1");
        EXPECT_EQ(context->OpenAccessDB(path_), S_OK) << ErrorText();
        EXPECT_EQ(context->Login(login, password), S_OK) << ErrorText();
        EXPECT_EQ(context->SetActiveProject(projectID, 0), S_OK) << ErrorText();
        return context;
    }

    std::filesystem::path folder_;
    std::string path_;
};

}  // namespace lindor::apitest
