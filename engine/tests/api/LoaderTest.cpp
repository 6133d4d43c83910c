// Uses only the public header, as an outside program does.
#include <lindor/lindor.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(PublicApi, CreatesTheErrorLogByBothNamesAndWritesAnEntry)
{
    setenv("LINDOR_LIBRARY", LINDOR_LIBRARY_PATH, 0);
    for (const char* name : {"Lindor.SysLog.1", "Lindor.SysLog"}) {
        lindor::ComPtr<lindor::ISysLog> log;
        ASSERT_EQ(lindor::CreateObject<lindor::ISysLog>(name, log.put()), lindor::S_OK) << name;
        ASSERT_EQ(log->put_LogFileName("api-test.log"), lindor::S_OK);
        EXPECT_EQ(log->Log(0, "PublicApi", "hello"), lindor::S_OK);
        EXPECT_EQ(log->Clear(), lindor::S_OK);
    }
}

TEST(PublicApi, AFailedClearLeavesErrorInformation)
{
    lindor::ComPtr<lindor::ISysLog> log;
    ASSERT_EQ(lindor::CreateObject<lindor::ISysLog>("Lindor.SysLog.1", log.put()), lindor::S_OK);
    log->put_LogFileName("api-never-written.log");
    EXPECT_EQ(log->Clear(), lindor::E_FAIL);
    std::string text, source;
    ASSERT_TRUE(lindor::GetErrorInfo(&text, &source));
    EXPECT_EQ(text.rfind("Can't open ", 0), 0u);
    EXPECT_NE(text.find("api-never-written.log"), std::string::npos);
    EXPECT_EQ(source, "Lindor.SysLog.1");
}

TEST(PublicApi, UnknownClassesFailWithADescription)
{
    lindor::ComPtr<lindor::IUnknown> object;
    EXPECT_EQ(lindor::CreateObject("Lindor.Nothing.1", "IUnknown", object.put_void()),
              lindor::E_FAIL);
    std::string text;
    ASSERT_TRUE(lindor::GetErrorInfo(&text, nullptr));
    EXPECT_NE(text.find("Lindor.Nothing.1"), std::string::npos);
}

}  // namespace
