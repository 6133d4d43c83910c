#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "core/ErrorInfo.h"
#include "core/ErrorReport.h"
#include "core/Folders.h"
#include "core/SysLog.h"
#include "db/DatabaseError.h"

namespace lindor {
namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class SysLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        log = MakeObject<CSysLog>();
        log->put_LogFileName(std::string("syslog-") +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                             ".log");
        path = log->FullPath();
        std::remove(path.c_str());
    }
    void TearDown() override { std::remove(path.c_str()); }

    ComPtr<CSysLog> log;
    std::string path;
};

TEST_F(SysLogTest, WritesTheEntryFormatWithCrLfLineEnds)
{
    ASSERT_EQ(log->Log(2, "CBugSet::Open", "no such table"), S_OK);
    const std::string text = ReadFile(path);
    EXPECT_EQ(text.rfind("--------------------------------------------\r\n[Time]: ", 0), 0u);
    EXPECT_NE(text.find(",", 0), std::string::npos);
    EXPECT_NE(text.find("\r\n[ErrCode]: 2\r\n[Source]: CBugSet::Open\r\n"
                        "[Description]: no such table\r\n\r\n"),
              std::string::npos);
    EXPECT_EQ(text.find("\n\n"), std::string::npos) << "every LF is preceded by CR";
}

TEST_F(SysLogTest, EmptyDescriptionsDependOnTheCode)
{
    log->Log(0, "a", "");
    log->Log(1, "b", "");
    log->Log(2, "c", "");
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("[Source]: a\r\n[Description]: Unknown Error\r\n"), std::string::npos);
    EXPECT_NE(text.find("[Source]: b\r\n[Description]: Exceed Array's bound\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("[Source]: c\r\n[Description]: \r\n"), std::string::npos);
}

TEST_F(SysLogTest, AppendsUpToTheLimitAndStartsAnewPastIt)
{
    WriteFile(path, std::string(kLogFileLimit, 'x'));
    log->Log(0, "appended", "one");
    std::string text = ReadFile(path);
    EXPECT_EQ(text.substr(0, 10), std::string(10, 'x'));
    EXPECT_GT(text.size(), static_cast<std::size_t>(kLogFileLimit));

    WriteFile(path, std::string(kLogFileLimit + 1, 'x'));
    log->Log(0, "replaced", "two");
    text = ReadFile(path);
    EXPECT_EQ(text.find('x'), std::string::npos);
    EXPECT_EQ(text, FormatLogEntry(0, "replaced", "two").substr(0, 0) + text);
    EXPECT_NE(text.find("[Source]: replaced"), std::string::npos);
    EXPECT_LT(text.size(), 400u);
}

TEST_F(SysLogTest, ClearDeletesTheFileAndFailsWhenThereIsNone)
{
    log->Log(0, "x", "y");
    ASSERT_EQ(log->Clear(), S_OK);
    struct stat info {};
    EXPECT_NE(stat(path.c_str(), &info), 0);

    EXPECT_EQ(log->Clear(), E_FAIL);
    std::string text, source;
    ASSERT_TRUE(GetThreadErrorInfo(&text, &source));
    EXPECT_EQ(text, "Can't open " + path);
    EXPECT_EQ(source, "Lindor.SysLog.1");
}

TEST_F(SysLogTest, AnUnwritableFileFailsWithTheSystemMessage)
{
    log->put_LogFileName("no-such-folder/deeper/Err.log");
    EXPECT_EQ(log->Log(0, "x", "y"), E_FAIL);
    std::string text, source;
    ASSERT_TRUE(GetThreadErrorInfo(&text, &source));
    EXPECT_EQ(text, "No such file or directory");
    EXPECT_EQ(source, "Lindor.SysLog.1");
}

TEST(ErrorLog, TheFolderFollowsNimbraHome)
{
    const char* home = std::getenv("NIMBRA_HOME");
    if (home == nullptr) GTEST_SKIP() << "run through ctest, which sets NIMBRA_HOME";
    EXPECT_EQ(ProgramDataFolder(), std::string(home) + "/");
}

TEST(ErrorReport, DatabaseFailuresAreLoggedWithSourceAndSystemMessage)
{
    DatabaseError error(dberr::kSyntax, "Syntax error in FROM clause.", "Lindor database");
    EXPECT_EQ(error.systemMessage(), "IDispatch error #3092");
    EXPECT_EQ(DescribeDatabaseError(error),
              "Syntax error in FROM clause.\t(Source=Lindor database,\tMessage=IDispatch error "
              "#3092)");
}

TEST(ErrorReport, SystemMessagesFollowTheCodeRanges)
{
    EXPECT_EQ(SystemMessageFor(static_cast<HRESULT>(0x80040200u)), "IDispatch error #0");
    EXPECT_EQ(SystemMessageFor(static_cast<HRESULT>(0x80004005u)), "Unknown error 0x80004005");
    EXPECT_EQ(SystemMessageFor(static_cast<HRESULT>(0x80070002u)), "No such file or directory");
}

TEST(ErrorReport, ReporterSetsErrorInfoThenWritesOneLogEntry)
{
    ComPtr<CSysLog> errLog = MakeObject<CSysLog>();
    errLog->put_LogFileName("Err.log");
    std::remove(errLog->FullPath().c_str());
    Reporter reporter("Lindor.BugSet.1");
    EXPECT_EQ(reporter.FailBounds("CBugSet::Item"), E_FAIL);
    std::string text, source;
    ASSERT_TRUE(GetThreadErrorInfo(&text, &source));
    EXPECT_EQ(text, "Some error has occured, please see err.log!");
    EXPECT_EQ(source, "Lindor.BugSet.1");
    EXPECT_EQ(
        reporter.FailRight("delete bug", "CBugSet::Remove", "No right to perform this action"),
        E_FAIL);
    ASSERT_TRUE(GetThreadErrorInfo(&text, &source));
    EXPECT_EQ(text, "You have no right to delete bug, please contact your manager!");
    const std::string log = ReadFile(errLog->FullPath());
    EXPECT_NE(log.find("[ErrCode]: 1\r\n[Source]: CBugSet::Item\r\n[Description]: Exceed Array's "
                       "bound"),
              std::string::npos);
    EXPECT_NE(log.find("[ErrCode]: 3\r\n[Source]: CBugSet::Remove"), std::string::npos);
}

TEST(ErrorReport, AnUnwritableLogKeepsTheCallersDescription)
{
    ComPtr<CSysLog> errLog = MakeObject<CSysLog>();
    errLog->put_LogFileName("Err.log");
    const std::string path = errLog->FullPath();
    std::remove(path.c_str());
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0) << "a folder where the log file should be";
    Reporter reporter("Lindor.ExeContext.1");
    EXPECT_EQ(reporter.Fail("Open database /x.mdb failed", 2, "CExeContext::OpenAcessDB"), E_FAIL);
    std::string text, source;
    ASSERT_TRUE(GetThreadErrorInfo(&text, &source));
    EXPECT_EQ(text, "Open database /x.mdb failed");
    EXPECT_EQ(source, "Lindor.ExeContext.1");
    rmdir(path.c_str());
}

}  // namespace
}  // namespace lindor
