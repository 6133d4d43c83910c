// Attachments of a bug: storing files as one-entry archives in the database,
// getting them back, opening them with the desktop, and the list operations.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "attachments/CFile.h"
#include "attachments/CFileSet.h"
#include "attachments/ZipArchive.h"
#include "bugs/BugTestSupport.h"
#include "core/ClassRegistry.h"
#include "core/Folders.h"
#include "db/NextID.h"
#include "support/FakeContext.h"

namespace lindor {
namespace {

namespace fs = std::filesystem;
using test::CallerText;
using test::CountRows;
using test::StoredValue;

std::string RandomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(byte(generator));
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    ASSERT_TRUE(WriteFileBytes(path, bytes.data(), bytes.size()).ok()) << path;
}

std::string ReadBytes(const std::string& path)
{
    const auto bytes = ReadFileBytes(path);
    EXPECT_TRUE(bytes.ok()) << path << ": " << bytes.error;
    return std::string(bytes.value.begin(), bytes.value.end());
}

class FileSetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::NewDatabase();
        folder = test::CurrentTestFolder();
        test::StoreBug(test::StoredBug(1));
        context = test::ProjectContext();
        files = SetOfBug(1);
    }

    ComPtr<CFileSet> SetOfBug(std::int32_t bugID)
    {
        ComPtr<CFileSet> set = MakeObject<CFileSet>();
        set->Attach(bugID, context.get());
        return set;
    }

    // Adds a file holding `bytes` under `name` and gives its File.
    ComPtr<IFile> AddFile(const std::string& name, const std::string& bytes)
    {
        const std::string path = folder + name;
        WriteBytes(path, bytes);
        ComPtr<IFile> file;
        EXPECT_EQ(files->Add(path, file.put()), S_OK) << CallerText();
        return file;
    }

    void DenyAttachments()
    {
        ComPtr<CRight> right = test::FullRight();
        right->SetFlag(RightFlag::EditAttachment, false);
        context->projectRight = ComPtr<IRight>(right);
    }

    std::string folder;
    ComPtr<test::FakeContext> context;
    ComPtr<CFileSet> files;
};

// ---- adding ---------------------------------------------------------------

TEST_F(FileSetTest, AddStoresNameSizeDateAndAOneEntryArchive)
{
    const std::string bytes = "line one\nline two\n";
    ComPtr<IFile> file = AddFile("trace.txt", bytes);
    ASSERT_TRUE(file);
    std::int32_t id = 0, size = 0;
    std::string name;
    Date date = 0;
    file->get_ID(&id);
    file->get_FileName(&name);
    file->get_FileSize(&size);
    file->get_FileDate(&date);
    EXPECT_EQ(id, 1) << "the first number of NextAttachmentID";
    EXPECT_EQ(name, "trace.txt");
    EXPECT_EQ(size, static_cast<std::int32_t>(bytes.size()));
    EXPECT_EQ(date, ReadFileFacts(folder + "trace.txt").value.lastWrite);

    const std::string row = " FROM tAttachment WHERE AttachmentID = 1";
    EXPECT_EQ(StoredValue("SELECT BugID" + row).i4(), 1);
    EXPECT_EQ(StoredValue("SELECT FileName" + row).text(), "trace.txt");
    EXPECT_EQ(StoredValue("SELECT FileSize" + row).i4(), static_cast<std::int32_t>(bytes.size()));
    EXPECT_EQ(StoredValue("SELECT FileDate" + row).date(), date);

    // The stored bytes are an archive whose one entry is the file by its name.
    db::Recordset stored;
    stored.Open("SELECT FileData" + row, db::ProcessConnectionString());
    db::Field data = stored.Fields(0);
    const std::vector<std::uint8_t> archive =
        data.GetChunk(static_cast<std::size_t>(data.ActualSize()));
    const std::string unpackTo = folder + "unpacked/";
    fs::create_directory(unpackTo);
    ASSERT_TRUE(WriteFileBytes(folder + "stored.zip", archive.data(), archive.size()).ok());
    const auto names = UnpackArchive(folder + "stored.zip", unpackTo);
    ASSERT_TRUE(names.ok()) << names.error;
    EXPECT_EQ(names.value, std::vector<std::string>{"trace.txt"});
    EXPECT_EQ(ReadBytes(unpackTo + "trace.txt"), bytes);
}

TEST_F(FileSetTest, AddLeavesTheListAsItIsAndTheBugListsTheNewFileAfterwards)
{
    AddFile("trace.txt", "x");
    std::int32_t count = -1;
    files->get_Count(&count);
    EXPECT_EQ(count, 0);

    ComPtr<CBug> bug = MakeObject<CBug>();
    bug->record().id = 1;
    ComPtr<IFileSet> listed;
    ASSERT_EQ(bug->get_AttachedFiles(listed.put()), S_OK);
    listed->get_Count(&count);
    EXPECT_EQ(count, 1);
}

TEST_F(FileSetTest, AddLeavesNoWorkFileBehind)
{
    AddFile("trace.txt", "contents");
    EXPECT_FALSE(fs::exists(PrivateTempFolder() + "trace.zip"));
}

TEST_F(FileSetTest, WorkFilesLiveInAPrivateFolderAndAPlantedLinkIsNeverFollowed)
{
    // Another local user can create names in the shared temporary folder, but
    // not in the process's own one.
    const std::string shared =
        fs::path(PrivateTempFolder()).parent_path().parent_path().string() + "/";
    struct stat info {};
    ASSERT_EQ(stat(PrivateTempFolder().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_NE(PrivateTempFolder(), shared);
    const std::string victim = folder + "victim";
    WriteBytes(victim, "precious");
    fs::remove(shared + "trace.zip");
    fs::create_symlink(victim, shared + "trace.zip");
    fs::remove(shared + "trace.txt");
    fs::create_symlink(victim, shared + "trace.txt");

    ComPtr<IFile> file = AddFile("trace.txt", "attached");
    ASSERT_EQ(file->GetFile(folder + "back.txt"), S_OK) << CallerText();

    EXPECT_EQ(ReadBytes(victim), "precious");
    EXPECT_EQ(ReadBytes(folder + "back.txt"), "attached");
    fs::remove(shared + "trace.zip");
    fs::remove(shared + "trace.txt");
}

TEST_F(FileSetTest, AddWithoutABugNumberIsRefused)
{
    ComPtr<CFileSet> unattached = SetOfBug(0);
    test::LogWatch log;
    ComPtr<IFile> file;
    EXPECT_EQ(unattached->Add(folder + "any.txt", file.put()), E_FAIL);
    EXPECT_EQ(CallerText(), "Add file to database failed!");
    EXPECT_TRUE(log.Has(0, "CFileSet::Add", "BugID is 0, can not continue!"));
    EXPECT_FALSE(file);
}

TEST_F(FileSetTest, AddNeedsTheEditAttachmentRight)
{
    DenyAttachments();
    WriteBytes(folder + "trace.txt", "x");
    test::LogWatch log;
    ComPtr<IFile> file;
    EXPECT_EQ(files->Add(folder + "trace.txt", file.put()), E_FAIL);
    EXPECT_EQ(CallerText(), "You have no right to add attachment, please contact your manager!");
    EXPECT_TRUE(log.Has(3, "CFileSet::Add", "No right to perform this action"));
    EXPECT_EQ(CountRows("SELECT * FROM tAttachment"), 0);
}

TEST_F(FileSetTest, WithoutAnActiveProjectTheRightCheckRefuses)
{
    context->projectRight = nullptr;
    WriteBytes(folder + "trace.txt", "x");
    test::LogWatch log;
    ComPtr<IFile> file;
    EXPECT_EQ(files->Add(folder + "trace.txt", file.put()), E_FAIL);
    EXPECT_EQ(CallerText(), "You have no right to add attachment, please contact your manager!");
    EXPECT_TRUE(log.Has(0, "CBugSet::HasRight",
                        "You cannot perform this action when no product is selected!"));
    EXPECT_TRUE(log.Has(3, "CFileSet::Add"));
}

TEST_F(FileSetTest, AMissingSourceFailsAtTheZipStepAndStoresNothing)
{
    test::LogWatch log;
    ComPtr<IFile> file;
    EXPECT_EQ(files->Add(folder + "missing.txt", file.put()), E_FAIL);
    EXPECT_EQ(CallerText(), "Add file to database failed!");
    EXPECT_TRUE(log.Has(4, "CFileSet::SaveFileData", "Zip file failed"));
    EXPECT_EQ(CountRows("SELECT * FROM tAttachment"), 0);
    EXPECT_EQ(GetNextID("NextAttachmentID"), 2) << "the number handed out stays spent";
}

TEST_F(FileSetTest, AFailedAllocationStopsTheAdd)
{
    WriteBytes(folder + "trace.txt", "x");
    db::SetProcessConnectionString(db::BuildConnectionString(folder + "no-such.mdb"));
    test::LogWatch log;
    ComPtr<IFile> file;
    EXPECT_EQ(files->Add(folder + "trace.txt", file.put()), E_FAIL);
    EXPECT_EQ(CallerText(), "Add file to database failed!");
    EXPECT_TRUE(log.Has(0, "CFileSet::Add", "GetNextID return 0"));
}

// ---- getting files back ---------------------------------------------------

class FileRoundTrip : public FileSetTest, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(FileRoundTrip, ComesBackByteForByte)
{
    const std::string bytes = RandomBytes(GetParam(), static_cast<unsigned>(GetParam()));
    ComPtr<IFile> file = AddFile("data.bin", bytes);
    ASSERT_TRUE(file);
    ASSERT_EQ(file->GetFile(folder + "copy.bin"), S_OK) << CallerText();
    EXPECT_TRUE(ReadBytes(folder + "copy.bin") == bytes);
    EXPECT_FALSE(fs::exists(PrivateTempFolder() + "copy.zip")) << "no archive stays after a fetch";
    EXPECT_FALSE(fs::exists(PrivateTempFolder() + "data.bin")) << "nor the unpacked file";
}

INSTANTIATE_TEST_SUITE_P(Sizes, FileRoundTrip,
                         ::testing::Values(0, 8192, 8193, 20 * 1024, 5 * 1024 * 1024 + 17));

TEST_F(FileSetTest, AnAttachedArchiveIsNotMistakenForTheWorkArchive)
{
    // The work archive of "bundle.zip" would itself be named "bundle.zip".
    const std::string bytes = RandomBytes(30000, 3);
    ComPtr<IFile> file = AddFile("bundle.zip", bytes);
    ASSERT_TRUE(file);
    fs::create_directory(folder + "out");
    ASSERT_EQ(file->GetFile(folder + "out/bundle.zip"), S_OK) << CallerText();
    EXPECT_TRUE(ReadBytes(folder + "out/bundle.zip") == bytes);
    EXPECT_FALSE(fs::exists(PrivateTempFolder() + "bundle.zip"));
    EXPECT_FALSE(fs::exists(PrivateTempFolder() + "bundle.zip.zip"));
}

TEST_F(FileSetTest, AFileInTheWorkFolderIsNotReplacedByItsOwnArchive)
{
    // A file opened earlier from an attachment lives in the work folder; its
    // archive would take its very name.
    const std::string source = PrivateTempFolder() + "edited.zip";
    const std::string bytes = RandomBytes(4000, 6);
    WriteBytes(source, bytes);
    ComPtr<IFile> file;
    ASSERT_EQ(files->Add(source, file.put()), S_OK) << CallerText();
    EXPECT_TRUE(ReadBytes(source) == bytes) << "the source stays as it was";
    ASSERT_EQ(file->GetFile(folder + "edited.zip"), S_OK) << CallerText();
    EXPECT_TRUE(ReadBytes(folder + "edited.zip") == bytes);
    fs::remove(source);
}

TEST_F(FileSetTest, GetFileNeverOverwritesAnExistingFile)
{
    ComPtr<IFile> file = AddFile("trace.txt", "new contents");
    WriteBytes(folder + "existing.txt", "old contents");
    test::LogWatch log;
    EXPECT_EQ(file->GetFile(folder + "existing.txt"), E_FAIL);
    EXPECT_EQ(CallerText(), "Get File Failed!");
    EXPECT_TRUE(log.Has(0, "CAttachFile::GetFile", "CopyFile failed!"));
    EXPECT_EQ(ReadBytes(folder + "existing.txt"), "old contents");
}

TEST_F(FileSetTest, GetFileOfANumberZeroFileFailsWithoutTheDatabase)
{
    db::SetProcessConnectionString("");
    ComPtr<CFile> file = MakeObject<CFile>();
    test::LogWatch log;
    EXPECT_EQ(file->GetFile(folder + "out.txt"), E_FAIL);
    EXPECT_EQ(CallerText(), "Get File Failed!");
    EXPECT_TRUE(log.Has(0, "CAttachFile::GetFile", "File id is 0"));
    EXPECT_EQ(log.Entries().size(), 1u);
}

TEST_F(FileSetTest, GetFileOfAMissingRowFails)
{
    ComPtr<CFile> file = MakeObject<CFile>();
    file->SetID(77);
    test::LogWatch log;
    EXPECT_EQ(file->GetFile(folder + "out.txt"), E_FAIL);
    EXPECT_EQ(CallerText(), "Get File Failed!");
    EXPECT_TRUE(log.Has(2, "CAttachFile::GenFile", "File(ID=77) does not exist"));
    EXPECT_FALSE(fs::exists(folder + "out.txt"));
}

TEST_F(FileSetTest, StoredBytesThatAreNoArchiveFailToUnpack)
{
    test::StoreAttachmentRow(5, 1, "note.txt");
    ComPtr<CFile> file = MakeObject<CFile>();
    file->SetID(5);
    test::LogWatch log;
    EXPECT_EQ(file->GetFile(folder + "note.txt"), E_FAIL);
    EXPECT_TRUE(log.Has(0, "CAttachFile::GenFile",
                        "Failed to unzip file note.txt to folder " + folder + "."));
    EXPECT_FALSE(fs::exists(PrivateTempFolder() + "note.zip"));
    EXPECT_FALSE(fs::exists(folder + "note.txt")) << "nothing is left of the failed unpack";
}

TEST_F(FileSetTest, AStoredNameWithFoldersCannotReachOutsideTheWorkFolder)
{
    ComPtr<IFile> file = AddFile("trace.txt", "attached");
    // A name changed in the database to point elsewhere.
    const std::string outside =
        fs::path(PrivateTempFolder()).parent_path().parent_path().string() + "/victim.txt";
    WriteBytes(outside, "must stay");
    db::Recordset row;
    row.Open("SELECT * FROM tAttachment WHERE AttachmentID = 1", db::ProcessConnectionString());
    row.Fields("FileName").SetValue(Variant::Text("../victim.txt"));
    row.Update();
    row.Close();

    EXPECT_EQ(file->GetFile(folder + "copy.txt"), E_FAIL);
    EXPECT_EQ(ReadBytes(outside), "must stay");
    EXPECT_FALSE(fs::exists(folder + "copy.txt"));
    fs::remove(outside);
}

// ---- opening with the desktop ---------------------------------------------

class OpenFileTest : public FileSetTest {
protected:
    void SetUp() override
    {
        FileSetTest::SetUp();
        // A stand-in for the desktop's opener that notes where and what it opened.
        bin = folder + "bin/";
        fs::create_directory(bin);
        record = folder + "opened.txt";
        const std::string script = "#!/bin/sh\n{ pwd; printf '%s\\n' \"$@\"; } > '" + record +
                                   ".part'\nmv '" + record + ".part' '" + record + "'\n";
        WriteBytes(bin + "xdg-open", script);
        fs::permissions(bin + "xdg-open", fs::perms::owner_all);
        const char* path = std::getenv("PATH");
        savedPath = path != nullptr ? path : "";
        setenv("PATH", (bin + ":" + savedPath).c_str(), 1);
    }
    void TearDown() override { setenv("PATH", savedPath.c_str(), 1); }

    std::string WaitForRecord()
    {
        for (int i = 0; i < 500 && !fs::exists(record); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return fs::exists(record) ? ReadBytes(record) : std::string();
    }

    std::string bin, record, savedPath;
};

TEST_F(OpenFileTest, UnpacksIntoTheWorkFolderAndStartsTheOpenerThere)
{
    ComPtr<IFile> file = AddFile("report.txt", "to be read");
    ASSERT_EQ(file->OpenFile(), S_OK) << CallerText();
    const std::string work = PrivateTempFolder();
    EXPECT_EQ(WaitForRecord(), work.substr(0, work.size() - 1) + "\n" + work + "report.txt\n");
    EXPECT_EQ(ReadBytes(work + "report.txt"), "to be read")
        << "the unpacked file stays for the opener";
    // Nothing of the start is left to reap: the helper was waited for and the
    // opener belongs to init.
    int status = 0;
    EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
    fs::remove(work + "report.txt");
}

TEST_F(OpenFileTest, ANameWithShellCharactersIsOnePlainArgument)
{
    ComPtr<IFile> file = AddFile("a b;$(touch x)'.txt", "odd name");
    ASSERT_EQ(file->OpenFile(), S_OK) << CallerText();
    EXPECT_EQ(WaitForRecord(), PrivateTempFolder().substr(0, PrivateTempFolder().size() - 1) +
                                   "\n" + PrivateTempFolder() + "a b;$(touch x)'.txt\n");
    EXPECT_FALSE(fs::exists(PrivateTempFolder() + "x"));
    fs::remove(PrivateTempFolder() + "a b;$(touch x)'.txt");
}

TEST_F(OpenFileTest, AnAttachedArchiveOpensWithItsOwnContents)
{
    const std::string bytes = RandomBytes(5000, 4);
    ComPtr<IFile> file = AddFile("bundle.zip", bytes);
    ASSERT_EQ(file->OpenFile(), S_OK) << CallerText();
    EXPECT_NE(WaitForRecord(), "");
    EXPECT_TRUE(ReadBytes(PrivateTempFolder() + "bundle.zip") == bytes);
    fs::remove(PrivateTempFolder() + "bundle.zip");
}

TEST_F(OpenFileTest, AFileWithoutANameIsRefused)
{
    ComPtr<CFile> file = MakeObject<CFile>();
    file->SetID(1);
    test::LogWatch log;
    EXPECT_EQ(file->OpenFile(), E_FAIL);
    EXPECT_EQ(CallerText(), "Open File Failed");
    EXPECT_TRUE(log.Has(0, "CAttachFile::OpenFile", "File Name is not specified"));
}

TEST_F(OpenFileTest, AFileMissingFromTheDatabaseIsNotOpened)
{
    ComPtr<CFile> file = MakeObject<CFile>();
    file->SetID(9);
    file->put_FileName("gone.txt");
    EXPECT_EQ(file->OpenFile(), E_FAIL);
    EXPECT_EQ(CallerText(), "Open File Failed");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(fs::exists(record));
}

// ---- removing and the list ------------------------------------------------

class FileListTest : public FileSetTest {
protected:
    void SetUp() override
    {
        FileSetTest::SetUp();
        test::StoreAttachmentRow(10, 1, "a.txt");
        test::StoreAttachmentRow(11, 1, "b.txt");
        test::StoreAttachmentRow(12, 1, "c.txt");
        ComPtr<CBug> bug = MakeObject<CBug>();
        bug->record().id = 1;
        bug->AttachContext(context.get());
        ComPtr<IFileSet> listed;
        ASSERT_EQ(bug->get_AttachedFiles(listed.put()), S_OK);
        list = ComPtr<CFileSet>(ImplOf<CFileSet>(listed.get()));
    }

    std::vector<std::int32_t> IDs()
    {
        std::vector<std::int32_t> ids;
        std::int32_t count = 0;
        list->get_Count(&count);
        for (std::int32_t i = 0; i < count; ++i) {
            ComPtr<IFile> file;
            std::int32_t id = 0;
            list->get_Item(i, file.put());
            file->get_ID(&id);
            ids.push_back(id);
        }
        return ids;
    }

    ComPtr<CFileSet> list;
};

TEST_F(FileListTest, TheBugsListCarriesItsNumberContextAndRows)
{
    std::int32_t bugID = 0;
    list->get_BugID(&bugID);
    EXPECT_EQ(bugID, 1);
    ComPtr<IExeContext> held;
    list->get_ExeContext(held.put());
    EXPECT_EQ(held.get(), static_cast<IExeContext*>(context.get()));
    EXPECT_EQ(IDs(), (std::vector<std::int32_t>{10, 11, 12}));
    ComPtr<IFile> first;
    list->get_Item(0, first.put());
    std::string name;
    std::int32_t size = 0;
    Date date = 0;
    first->get_FileName(&name);
    first->get_FileSize(&size);
    first->get_FileDate(&date);
    EXPECT_EQ(name, "a.txt");
    EXPECT_EQ(size, 3);
    EXPECT_EQ(date, 38416.5);
}

TEST_F(FileListTest, RemoveByIDDeletesTheRowAndTheItem)
{
    ASSERT_EQ(list->RemoveByID(11), S_OK) << CallerText();
    EXPECT_EQ(IDs(), (std::vector<std::int32_t>{10, 12}));
    EXPECT_EQ(CountRows("SELECT * FROM tAttachment WHERE AttachmentID = 11"), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tAttachment"), 2);
}

TEST_F(FileListTest, RemoveByIDOfANumberNotInTheListFailsEvenIfTheRowExists)
{
    test::StoreAttachmentRow(20, 1, "late.txt");
    test::LogWatch log;
    EXPECT_EQ(list->RemoveByID(20), E_FAIL);
    EXPECT_EQ(CallerText(), "Delelte file failed!");
    EXPECT_TRUE(log.Has(0, "CFileSet::RemoveByID", "File(ID=20) is not in this set"));
    EXPECT_EQ(CountRows("SELECT * FROM tAttachment WHERE AttachmentID = 20"), 1);
}

TEST_F(FileListTest, RemoveOfARowAlreadyGoneKeepsTheItem)
{
    db::Recordset row;
    row.Open("SELECT * FROM tAttachment WHERE AttachmentID = 10", db::ProcessConnectionString());
    row.Delete();
    row.Close();
    test::LogWatch log;
    EXPECT_EQ(list->RemoveByID(10), E_FAIL);
    EXPECT_EQ(CallerText(), "Delete file failed!");
    EXPECT_TRUE(log.Has(0, "CFileSet::RealDeleteFile", "File(ID=10) does not exist"));
    EXPECT_EQ(IDs(), (std::vector<std::int32_t>{10, 11, 12}));
}

TEST_F(FileListTest, RemovingNeedsTheEditAttachmentRight)
{
    DenyAttachments();
    test::LogWatch log;
    EXPECT_EQ(list->RemoveByID(10), E_FAIL);
    EXPECT_EQ(CallerText(), "You have no right to delete attachment, please contact your manager!");
    EXPECT_EQ(list->RemoveByIndex(0), E_FAIL);
    EXPECT_TRUE(log.Has(3, "CFileSet::RemoveByID", "Has no right to perform this action"));
    EXPECT_TRUE(log.Has(3, "CFileSet::RemoveByIndex", "Has no right to perform this action"));
    EXPECT_EQ(CountRows("SELECT * FROM tAttachment"), 3);
}

TEST_F(FileListTest, RemoveByIndexDeletesTheRowOfThatItem)
{
    ASSERT_EQ(list->RemoveByIndex(2), S_OK);
    EXPECT_EQ(IDs(), (std::vector<std::int32_t>{10, 11}));
    EXPECT_EQ(CountRows("SELECT * FROM tAttachment WHERE AttachmentID = 12"), 0);
}

TEST_F(FileListTest, IndexesOutsideTheListFailWithTheBoundsMessage)
{
    test::LogWatch log;
    ComPtr<IFile> file;
    EXPECT_EQ(list->RemoveByIndex(3), E_FAIL);
    EXPECT_EQ(CallerText(), kBoundsMessage);
    EXPECT_EQ(list->DeleteByIndex(-1), E_FAIL);
    EXPECT_EQ(list->get_Item(3, file.put()), E_FAIL);
    EXPECT_TRUE(log.Has(1, "CFileSet::RemoveByIndex"));
    EXPECT_TRUE(log.Has(1, "CFileSet::DeleteByIndex"));
    EXPECT_TRUE(log.Has(1, "CFileSet::get_Item"));
    EXPECT_EQ(IDs(), (std::vector<std::int32_t>{10, 11, 12}));
}

TEST_F(FileListTest, DeleteAndAppendChangeTheListOnly)
{
    ASSERT_EQ(list->DeleteByID(10), S_OK);
    ASSERT_EQ(list->DeleteByIndex(0), S_OK);
    EXPECT_EQ(IDs(), (std::vector<std::int32_t>{12}));
    EXPECT_EQ(CountRows("SELECT * FROM tAttachment"), 3);
    ComPtr<CFile> extra = MakeObject<CFile>();
    extra->SetID(99);
    ASSERT_EQ(list->Append(extra.get()), S_OK);
    EXPECT_EQ(IDs(), (std::vector<std::int32_t>{12, 99}));
    ComPtr<IFile> item;
    list->get_Item(1, item.put());
    EXPECT_EQ(item.get(), static_cast<IFile*>(extra.get())) << "the object itself, not a copy";
}

TEST_F(FileListTest, DeleteByIDOfANumberNotInTheListFails)
{
    test::LogWatch log;
    EXPECT_EQ(list->DeleteByID(42), E_FAIL);
    EXPECT_EQ(CallerText(), "Remove file failed!");
    EXPECT_TRUE(log.Has(0, "CFileSet::DeleteByID", "File(ID=42) is not in this set"));
}

// ---- the file object ------------------------------------------------------

TEST(FileObject, FullNameSetsTheNameAfterTheLastFolder)
{
    ComPtr<CFile> file = MakeObject<CFile>();
    std::string name;
    file->put_FullName("/home/ann/logs/trace.txt");
    file->get_FileName(&name);
    EXPECT_EQ(name, "trace.txt");
    file->put_FullName("/home/ann/logs/back\\slash.dmp");
    file->get_FileName(&name);
    EXPECT_EQ(name, "back\\slash.dmp") << "only '/' separates folders";
    file->put_FileName("other");
    std::string full;
    file->get_FullName(&full);
    EXPECT_EQ(full, "/home/ann/logs/back\\slash.dmp")
        << "the name alone does not change the full name";
}

TEST(FileObject, BothClassesAreCreatedByName)
{
    ComPtr<IFile> file;
    ComPtr<IFileSet> set;
    EXPECT_EQ(ClassRegistry::Create("Lindor.File.1", IFile::IID, file.put_void()), S_OK);
    EXPECT_EQ(ClassRegistry::Create("Lindor.FileSet.1", IFileSet::IID, set.put_void()), S_OK);
}

}  // namespace
}  // namespace lindor
