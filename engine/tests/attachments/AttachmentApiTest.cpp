// Attachments as an outside program uses them: only the public header. Names
// keep every character but '/', and a stored file is unpacked straight into
// the place asked for, never over anything that is there.
#include <lindor/lindor.h>

#include "support/ApiTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

namespace fs = std::filesystem;

using namespace lindor;
using namespace lindor::apitest;

// Gus may change attachments in project 1, where bug 1 is.
class Attachments : public lindor::apitest::TeamDatabaseTest {
protected:
    void SetUp() override
    {
        TeamDatabaseTest::SetUp();
        AddMember(2, "gus", {{1, {"Read", "EditAttachment"}}});
        Sql("INSERT INTO tBugReport (BugID, SeverityName, StatusName, PriorityName, "
            "ReproductiveName, Description, ReportedInPrjID, ReportedInVersionID, BugType) VALUES "
            "(1, 'Normal', 'New', 'Low', 'Always', 'one', 1, 1, 0);");
        gus_ = LogIn("gus", 1);
        ComPtr<lindor::IBugSet> bugs;
        ASSERT_EQ(gus_->OpenBugSet(lindor::eBug, nullptr, bugs.put()), S_OK) << ErrorText();
        ASSERT_EQ(bugs->GetBugByID(1, bug_.put()), S_OK) << ErrorText();
    }

    ComPtr<lindor::IFileSet> Files()
    {
        ComPtr<lindor::IFileSet> files;
        EXPECT_EQ(bug_->get_AttachedFiles(files.put()), S_OK) << ErrorText();
        return files;
    }

    // Writes `bytes` to a file of that name in the test's folder and attaches it.
    ComPtr<lindor::IFile> Attach(const std::string& name, const std::string& bytes)
    {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        ComPtr<lindor::IFile> file;
        EXPECT_EQ(Files()->Add(path, file.put()), S_OK) << ErrorText();
        return file;
    }

    static std::string Sample(std::size_t size)
    {
        std::mt19937 random(7);
        std::string bytes;
        while (bytes.size() < size)
            bytes += "line " + std::to_string(random() % 1000) + " of a log\n" +
                     static_cast<char>(random() % 256);
        bytes.resize(size);
        return bytes;
    }

    std::string Out(const std::string& name) const { return (folder_ / "out" / name).string(); }

    ComPtr<lindor::IExeContext> gus_;
    ComPtr<lindor::IBug> bug_;
};

TEST_F(Attachments, ABackslashIsPartOfAFilesName)
{
    ComPtr<lindor::IFile> file = Attach("back\\slash.txt", "slanted");
    ASSERT_TRUE(file);
    std::string name;
    file->get_FileName(&name);
    EXPECT_EQ(name, "back\\slash.txt");
    EXPECT_EQ(Sql("SELECT FileName FROM tAttachment;"), "back\\slash.txt");
    ComPtr<lindor::IFile> listed;
    ASSERT_EQ(Files()->get_Item(0, listed.put()), S_OK);
    listed->get_FileName(&name);
    EXPECT_EQ(name, "back\\slash.txt");
    fs::create_directory(folder_ / "out");
    ASSERT_EQ(listed->GetFile(Out("copy.txt")), S_OK) << ErrorText();
    EXPECT_EQ(ReadFileBytes(Out("copy.txt")), "slanted");
}

TEST_F(Attachments, GetFileWritesTheStoredFileWhereAsked)
{
    const std::string bytes = Sample(3 * 1024 * 1024 + 5);
    ComPtr<lindor::IFile> file = Attach("trace.log", bytes);
    ASSERT_TRUE(file);
    fs::create_directory(folder_ / "out");
    ASSERT_EQ(file->GetFile(Out("trace.log")), S_OK) << ErrorText();
    EXPECT_TRUE(ReadFileBytes(Out("trace.log")) == bytes);
    EXPECT_EQ(fs::status(Out("trace.log")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write)
        << "readable by its owner only, as the unpacked work file was";
    // The stored date, to the two seconds a zip entry keeps.
    const auto stored = fs::last_write_time(Out("trace.log"));
    const auto source = fs::last_write_time(folder_ / "trace.log");
    EXPECT_LE(std::chrono::abs(stored - source), std::chrono::seconds(2));
}

TEST_F(Attachments, GetFileNeverWritesOverOrThroughWhatIsThere)
{
    ComPtr<lindor::IFile> file = Attach("trace.log", "attached");
    fs::create_directory(folder_ / "out");
    std::ofstream(Out("existing.log")) << "kept";
    EXPECT_EQ(file->GetFile(Out("existing.log")), E_FAIL);
    EXPECT_EQ(ErrorText(), "Get File Failed!");
    EXPECT_EQ(ReadFileBytes(Out("existing.log")), "kept");
    fs::create_symlink(Out("existing.log"), Out("link.log"));
    EXPECT_EQ(file->GetFile(Out("link.log")), E_FAIL);
    EXPECT_EQ(ReadFileBytes(Out("existing.log")), "kept");
    fs::create_symlink(folder_ / "nowhere.log", Out("dangling.log"));
    EXPECT_EQ(file->GetFile(Out("dangling.log")), E_FAIL);
    EXPECT_FALSE(fs::exists(folder_ / "nowhere.log"));
}

TEST_F(Attachments, AStoredNameOrArchiveTamperedWithWritesNothing)
{
    ComPtr<lindor::IFile> file = Attach("trace.log", Sample(100000));
    fs::create_directory(folder_ / "out");
    Sql("UPDATE tAttachment SET FileName = '../victim.log';");
    EXPECT_EQ(file->GetFile(Out("copy.log")), E_FAIL);
    EXPECT_FALSE(fs::exists(Out("copy.log")));
    EXPECT_FALSE(fs::exists(folder_ / "victim.log"));

    // Compressed data overwritten in the middle: found out only while unpacking.
    Sql("UPDATE tAttachment SET FileName = 'trace.log';");
    Sql(OnServer() ? "UPDATE tAttachment SET FileData = substring(FileData FROM 1 FOR 2000) || "
                     "decode(repeat('00', 100), 'hex') || substring(FileData FROM 2101);"
                   : "UPDATE tAttachment SET FileData = CAST(substr(FileData, 1, 2000) || "
                     "zeroblob(100) || substr(FileData, 2101) AS BLOB);");
    EXPECT_EQ(file->GetFile(Out("copy.log")), E_FAIL);
    EXPECT_EQ(ErrorText(), "Get File Failed!");
    EXPECT_FALSE(fs::exists(Out("copy.log"))) << "no part of a damaged file is left";
}

}  // namespace
