// The index a new database gets on a bug's attachments, seen from outside:
// only the public header and the sqlite3 shell.
#include <lindor/lindor.h>

#include "support/ApiTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using namespace lindor;
using namespace lindor::apitest;

class AttachmentIndex : public lindor::apitest::TeamDatabaseTest {
protected:
    // Attaches a file to bug 1, lists the bug's files again and fetches the
    // one attached; gives the names listed.
    std::string AttachListAndFetch()
    {
        ComPtr<lindor::IExeContext> ivy = LogIn("ivy", 1);
        ComPtr<lindor::IBugSet> bugs;
        EXPECT_EQ(ivy->OpenBugSet(lindor::eBug, nullptr, bugs.put()), S_OK) << ErrorText();
        ComPtr<lindor::IBug> bug;
        if (!bugs || bugs->GetBugByID(1, bug.put()) != S_OK) return "bug 1 not found";
        const std::string source = (folder_ / "note.txt").string();
        std::ofstream(source) << "noted";
        ComPtr<lindor::IFileSet> files;
        EXPECT_EQ(bug->get_AttachedFiles(files.put()), S_OK);
        ComPtr<lindor::IFile> file;
        EXPECT_EQ(files->Add(source, file.put()), S_OK) << ErrorText();
        EXPECT_EQ(bug->get_AttachedFiles(files.put()), S_OK);
        std::string names;
        std::int32_t count = 0;
        files->get_Count(&count);
        for (std::int32_t i = 0; i < count; ++i) {
            ComPtr<lindor::IFile> listed;
            files->get_Item(i, listed.put());
            std::string name;
            listed->get_FileName(&name);
            names += name + ";";
        }
        const std::string copy = (folder_ / "copy.txt").string();
        EXPECT_EQ(file->GetFile(copy), S_OK) << ErrorText();
        EXPECT_EQ(ReadFileBytes(copy), "noted");
        return names;
    }

    void SetUp() override
    {
        TeamDatabaseTest::SetUp();
        AddMember(2, "ivy", {{1, {"Read", "EditAttachment"}}});
        Sql("INSERT INTO tBugReport (BugID, SeverityName, StatusName, PriorityName, "
            "ReproductiveName, Description, ReportedInPrjID, ReportedInVersionID, BugType) VALUES "
            "(1, 'Normal', 'New', 'Low', 'Always', 'one', 1, 1, 0);");
    }
};

TEST_F(AttachmentIndex, ANewDatabaseFindsABugsAttachmentsByIndex)
{
    if (OnServer()) GTEST_SKIP() << "reads the file's own catalog and query plan";
    EXPECT_EQ(Sql("SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = "
                  "'tAttachment' AND sql LIKE '%BugID%';"),
              "tAttachmentBugID");
    const std::string plan =
        Sql("EXPLAIN QUERY PLAN SELECT AttachmentID, FileName, FileSize, FileDate FROM "
            "tAttachment WHERE BugID=1;");
    EXPECT_NE(plan.find("USING INDEX tAttachmentBugID"), std::string::npos) << plan;
    EXPECT_EQ(AttachListAndFetch(), "note.txt;");
}

TEST_F(AttachmentIndex, AFileWithoutTheIndexWorksAsBefore)
{
    Sql("DROP INDEX tAttachmentBugID;");
    EXPECT_EQ(AttachListAndFetch(), "note.txt;");
}

}  // namespace
