// An outside program creates a database through the public header alone and
// the file is read back with the sqlite3 shell.
#include <lindor/lindor.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

std::string Shell(const std::string& file, const std::string& sql)
{
    const std::string command = "sqlite3 -batch '" + file + "' \"" + sql + "\"";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return "";
    std::string out;
    char buffer[512];
    while (std::fgets(buffer, sizeof(buffer), pipe) != nullptr) out += buffer;
    pclose(pipe);
    return out;
}

std::string NewPath(const char* name)
{
    const char* tmp = std::getenv("TMPDIR");
    const std::string path = std::string(tmp != nullptr ? tmp : "/tmp") + "/" + name;
    unlink(path.c_str());
    return path;
}

TEST(PublicApi, AdminCreatesAFilledDatabase)
{
    lindor::ComPtr<lindor::IAdmin> admin;
    ASSERT_EQ(lindor::CreateObject<lindor::IAdmin>("Lindor.Admin.1", admin.put()), lindor::S_OK);
    const std::string path = NewPath("api-newmdb.mdb");
    ASSERT_EQ(admin->NewMDB(path), lindor::S_OK);
    if (Shell(path, "select 1").empty()) GTEST_SKIP() << "the sqlite3 shell is not installed";

    EXPECT_EQ(Shell(path, "select count(*) from sqlite_master where type='table'"), "17\n");
    EXPECT_EQ(Shell(path, "select * from tNextID"), "2|1|1|1|1|1|1|3|5\n");
    EXPECT_EQ(Shell(path, "select Version from tSystem"), "2.5\n");
    EXPECT_EQ(Shell(path, "select UserID, LoginName, Password is null from tUser"), "1|Admin|1\n");
    EXPECT_EQ(Shell(path, "select group_concat(StatusName) from tStatus"),
              "Active,By Design,Cannot Reproduce,Resolved,In Process,New,Postponed,Verified,"
              "Waiting,Will Not Fix\n");
    EXPECT_EQ(Shell(path, "select VersionID, ProjectID, VersionName from tVersion"),
              "1|1|Version 1.0\n2|1|Version 2.0\n3|2|Version 1.0\n4|2|Version 2.0\n");
    EXPECT_EQ(Shell(path, "pragma integrity_check"), "ok\n");
    EXPECT_EQ(Shell(path, "pragma foreign_key_check"), "");
}

TEST(PublicApi, NewMdbRefusesAnExistingFile)
{
    lindor::ComPtr<lindor::IAdmin> admin;
    ASSERT_EQ(lindor::CreateObject<lindor::IAdmin>("Lindor.Admin", admin.put()), lindor::S_OK);
    const std::string path = NewPath("api-twice.mdb");
    ASSERT_EQ(admin->NewMDB(path), lindor::S_OK);
    EXPECT_EQ(admin->NewMDB(path), lindor::E_FAIL);
    EXPECT_EQ(admin->NewSQLDB("server", "db"), lindor::S_OK);
}

}  // namespace
