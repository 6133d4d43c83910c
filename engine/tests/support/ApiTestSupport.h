// Helpers of the public-interface tests, which see only <lindor/lindor.h>.
#pragma once

#include <lindor/lindor.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
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

// Runs SQL on the database with the sqlite3 shell (its input and output files
// go in `folder`); returns the output without its last line ends.
inline std::string RunSql(const std::filesystem::path& folder, const std::string& database,
                          const std::string& statements)
{
    const std::string input = (folder / "input.sql").string();
    const std::string output = (folder / "output.txt").string();
    std::ofstream(input) << statements << "\n";
    const std::string command =
        "sqlite3 -batch '" + database + "' < '" + input + "' > '" + output + "' 2>&1";
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

// A new database made by Admin.NewMDB in the folder; gives its path.
inline std::string NewTeamDatabase(const std::filesystem::path& folder)
{
    const std::string path = (folder / "team.mdb").string();
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
