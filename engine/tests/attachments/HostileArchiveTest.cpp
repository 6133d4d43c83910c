// Stored archives crafted by someone else: entry names with folders, ".." or
// an absolute path. Fetching them writes only inside the private work folder.
#include <gtest/gtest.h>

#include <minizip/zip.h>

#include <filesystem>
#include <fstream>

#include "attachments/CFile.h"
#include "bugs/BugTestSupport.h"
#include "core/Folders.h"

namespace lindor {
namespace {

namespace fs = std::filesystem;

// An archive of one stored entry named `entry` holding `text`.
std::vector<std::uint8_t> ArchiveWithEntry(const std::string& path, const std::string& entry,
                                           const std::string& text)
{
    zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    EXPECT_NE(zip, nullptr);
    zip_fileinfo info{};
    EXPECT_EQ(zipOpenNewFileInZip(zip, entry.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                  Z_DEFLATED, Z_DEFAULT_COMPRESSION),
              ZIP_OK);
    zipWriteInFileInZip(zip, text.data(), static_cast<unsigned>(text.size()));
    zipCloseFileInZip(zip);
    zipClose(zip, nullptr);
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void StoreArchive(std::int32_t id, const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    db::Recordset rows;
    rows.Open("SELECT * FROM tAttachment WHERE AttachmentID = 0", db::ProcessConnectionString());
    rows.AddNew();
    rows.Fields("AttachmentID").SetValue(Variant::I4(id));
    rows.Fields("BugID").SetValue(Variant::I4(1));
    rows.Fields("FileName").SetValue(Variant::Text(name));
    rows.Fields("FileData").AppendChunk(bytes);
    rows.Update();
}

class HostileArchiveTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        test::NewDatabase();
        folder = test::CurrentTestFolder();
        test::StoreBug(test::StoredBug(1));
    }
    std::string folder;
};

TEST_P(HostileArchiveTest, UnpacksOnlyInsideTheWorkFolder)
{
    const std::string entry = GetParam();
    const fs::path work = PrivateTempFolder();
    // Where a naive unpacker would write the entry.
    const fs::path naive = (work / entry).lexically_normal();
    const bool outside = naive.string().rfind(work.string(), 0) != 0;
    if (outside && fs::exists(naive)) fs::remove(naive);

    StoreArchive(1, "report.txt", ArchiveWithEntry(folder + "crafted.zip", entry, "planted"));
    ComPtr<CFile> file = MakeObject<CFile>();
    file->SetID(1);
    const HRESULT hr = file->GetFile(folder + "report.txt");

    if (outside) {
        EXPECT_FALSE(fs::exists(naive)) << naive << " was written outside";
    }
    // Folder parts are dropped, so an entry that ends in the stored name is found.
    const bool endsInStoredName =
        entry.size() >= 10 && entry.substr(entry.size() - 10) == "report.txt";
    if (endsInStoredName) {
        EXPECT_EQ(hr, S_OK);
    }
    for (const auto& item : fs::recursive_directory_iterator(work))
        EXPECT_TRUE(item.is_regular_file()) << "no folders are made: " << item.path();
    if (hr == S_OK) {
        std::ifstream in(folder + "report.txt");
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "planted");
    }
}

INSTANTIATE_TEST_SUITE_P(EntryNames, HostileArchiveTest,
                         ::testing::Values("../../escaped-by-test.txt", "/tmp/absolute-by-test.txt",
                                           "deep/folders/report.txt", "..\\..\\back-by-test.txt",
                                           "report.txt"));

}  // namespace
}  // namespace lindor
