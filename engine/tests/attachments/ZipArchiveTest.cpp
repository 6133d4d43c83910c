#include <gtest/gtest.h>

#include <fcntl.h>
#include <minizip/unzip.h>
#include <minizip/zip.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "attachments/ZipArchive.h"
#include "core/DateTime.h"

namespace lindor {
namespace {

namespace fs = std::filesystem;

// --- Helpers that work independently of the module under test ----------------

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string TextOfSize(std::size_t size)
{
    std::string text;
    for (int line = 0; text.size() < size; ++line) {
        text += "Line " + std::to_string(line) + ": the quick brown fox jumps over the lazy dog\n";
    }
    text.resize(size);
    return text;
}

std::string RandomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(byte(generator));
    return bytes;
}

std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second)
{
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

void SetLastWrite(const std::string& path, std::time_t t)
{
    const struct timespec times[2] = {{t, 0}, {t, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

struct stat StatOf(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
    return info;
}

bool Exists(const std::string& path)
{
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

// Every path under `root` (not following symlinks), relative to it.
std::set<std::string> Tree(const std::string& root)
{
    std::set<std::string> paths;
    for (const auto& item : fs::recursive_directory_iterator(root)) {
        paths.insert(fs::relative(item.path(), root).string());
    }
    return paths;
}

struct TestEntry {
    std::string name;
    std::string data;
    int method = Z_DEFLATED;
    tm_zip date{0, 30, 10, 15, 5, 2021};  // 2021-06-15 10:30:00
};

// Builds an archive with minizip directly, the way any zip tool could.
void BuildArchive(const std::string& path, const std::vector<TestEntry>& entries)
{
    zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr) << path;
    for (const TestEntry& entry : entries) {
        zip_fileinfo info{};
        info.tmz_date = entry.date;
        ASSERT_EQ(zipOpenNewFileInZip(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0,
                                      nullptr, entry.method, Z_DEFAULT_COMPRESSION),
                  ZIP_OK);
        ASSERT_EQ(
            zipWriteInFileInZip(zip, entry.data.data(), static_cast<unsigned>(entry.data.size())),
            ZIP_OK);
        ASSERT_EQ(zipCloseFileInZip(zip), ZIP_OK);
    }
    ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
}

// What an archive made by the module holds, read back with minizip.
struct SoleEntry {
    unz_global_info64 global{};
    unz_file_info64 info{};
    std::string name;
    int localExtraSize = -1;
    std::string data;
    std::string rawData;  // the compressed bytes
};

SoleEntry ReadSoleEntry(const std::string& archivePath)
{
    SoleEntry entry;
    unzFile zip = unzOpen64(archivePath.c_str());
    EXPECT_NE(zip, nullptr) << archivePath;
    if (zip == nullptr) return entry;
    EXPECT_EQ(unzGetGlobalInfo64(zip, &entry.global), UNZ_OK);
    EXPECT_EQ(unzGoToFirstFile(zip), UNZ_OK);
    char name[1024] = {};
    EXPECT_EQ(unzGetCurrentFileInfo64(zip, &entry.info, name, sizeof(name), nullptr, 0, nullptr, 0),
              UNZ_OK);
    entry.name = name;
    char buffer[4096];
    for (int raw = 0; raw <= 1; ++raw) {
        int method = 0, level = 0;
        EXPECT_EQ(unzOpenCurrentFile2(zip, &method, &level, raw), UNZ_OK);
        entry.localExtraSize = unzGetLocalExtrafield(zip, nullptr, 0);
        std::string& target = raw ? entry.rawData : entry.data;
        for (int n; (n = unzReadCurrentFile(zip, buffer, sizeof(buffer))) > 0;) {
            target.append(buffer, static_cast<std::size_t>(n));
        }
        EXPECT_EQ(unzCloseCurrentFile(zip), UNZ_OK);
    }
    unzClose(zip);
    return entry;
}

std::string RawDeflate(const std::string& data, int level)
{
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(deflateBound(&stream, data.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

// Offsets of fields in the zip headers, for building damaged archives.
constexpr std::size_t kLocalFlag = 6, kLocalMethod = 8, kLocalCrc = 14, kLocalSize = 22;
constexpr std::size_t kCentralFlag = 8, kCentralMethod = 10, kCentralCrc = 16;
constexpr std::size_t kCentralPackedSize = 20, kCentralSize = 24;

std::size_t FindHeader(const std::string& bytes, const char* signature)
{
    const std::size_t at = bytes.find(std::string(signature, 4));
    EXPECT_NE(at, std::string::npos);
    return at;
}
std::size_t LocalHeader(const std::string& bytes)
{
    return FindHeader(bytes, "PK\3\4");
}
std::size_t CentralHeader(const std::string& bytes)
{
    return FindHeader(bytes, "PK\1\2");
}

void Put16(std::string* bytes, std::size_t at, unsigned value)
{
    (*bytes)[at] = static_cast<char>(value & 0xFF);
    (*bytes)[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string* bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) (*bytes)[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t Get32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// --- Fixture: one private folder per test under $TMPDIR ----------------------

class AttachmentFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '-');  // parameterised tests
        std::string pattern =
            std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/zip-" + name + "-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr) << pattern;
        root = pattern;
        source = MakeFolder("source");
        target = MakeFolder("target");
        outside = MakeFolder("outside");
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    std::string MakeFolder(const std::string& name)
    {
        const std::string path = root + "/" + name;
        EXPECT_EQ(mkdir(path.c_str(), 0700), 0) << path;
        return path;
    }
    std::string In(const std::string& folder, const std::string& name) const
    {
        return folder + "/" + name;
    }
    std::string Archive() const { return root + "/archive.zip"; }

    // A source file with a known last-write time (an even second: see DOS dates below).
    std::string MakeSource(const std::string& name, const std::string& bytes)
    {
        const std::string path = In(source, name);
        WriteFile(path, bytes);
        SetLastWrite(path, kSourceTime);
        return path;
    }

    // The tree outside the target folder, to prove an unpack wrote nothing there.
    std::set<std::string> TreeOutsideTarget() const
    {
        std::set<std::string> paths = Tree(root);
        for (auto it = paths.begin(); it != paths.end();) {
            it = it->rfind("target", 0) == 0 ? paths.erase(it) : std::next(it);
        }
        return paths;
    }

    const std::time_t kSourceTime = LocalTime(2021, 6, 15, 12, 34, 56);
    std::string root, source, target, outside;
};

// --- Names ---------------------------------------------------------------------

TEST(AttachmentNames, FileNameWithExtensionDropsEveryFolder)
{
    EXPECT_EQ(FileNameWithExtension("C:/x/trace.txt"), "trace.txt");
    EXPECT_EQ(FileNameWithExtension("/x/trace.txt"), "trace.txt");
    // Only '/' separates folders here; a backslash is part of a file's name.
    EXPECT_EQ(FileNameWithExtension("C:\\x\\trace.txt"), "C:\\x\\trace.txt");
    EXPECT_EQ(FileNameWithExtension("x\\y/z\\trace.txt"), "z\\trace.txt");
    EXPECT_EQ(FileNameWithExtension("trace.txt"), "trace.txt");
    EXPECT_EQ(FileNameWithExtension("folder/"), "");
}

TEST(AttachmentNames, BaseNameDropsFolderAndExtension)
{
    EXPECT_EQ(BaseNameWithoutExtension("C:/x/trace.txt"), "trace");
    EXPECT_EQ(BaseNameWithoutExtension("/x/trace.txt"), "trace");
    EXPECT_EQ(BaseNameWithoutExtension("/x/back\\slash.txt"), "back\\slash");
    EXPECT_EQ(BaseNameWithoutExtension("trace.txt"), "trace");
    EXPECT_EQ(BaseNameWithoutExtension("backup.tar.gz"), "backup.tar");
    EXPECT_EQ(BaseNameWithoutExtension("trace."), "trace");
}

TEST(AttachmentNames, BaseNameIgnoresDotsOutsideTheExtension)
{
    EXPECT_EQ(BaseNameWithoutExtension("/x/README"), "README");
    EXPECT_EQ(BaseNameWithoutExtension("/x.d/README"), "README");
    EXPECT_EQ(BaseNameWithoutExtension("x.d/back\\README"), "back\\README");
    EXPECT_EQ(BaseNameWithoutExtension("/home/me/.profile"), ".profile");
}

// --- File facts ------------------------------------------------------------------

using FileFactsTest = AttachmentFilesTest;

TEST_F(FileFactsTest, GivesSizeAndLocalLastWriteToTheSecond)
{
    const std::string path = In(source, "trace.txt");
    WriteFile(path, TextOfSize(8193));
    SetLastWrite(path, LocalTime(2021, 6, 15, 12, 34, 57));

    const FileOutcome<FileFacts> facts = ReadFileFacts(path);
    ASSERT_TRUE(facts.ok()) << facts.error;
    EXPECT_EQ(facts.value.size, 8193);
    EXPECT_DOUBLE_EQ(facts.value.lastWrite, DateFromCivil({2021, 6, 15, 12, 34, 57}));
}

TEST_F(FileFactsTest, SizeMustFitIn32Bits)
{
    const std::string largest = In(source, "largest.bin");
    WriteFile(largest, "");
    ASSERT_EQ(truncate(largest.c_str(), INT32_MAX), 0);  // sparse: no disk space used
    const FileOutcome<FileFacts> fits = ReadFileFacts(largest);
    ASSERT_TRUE(fits.ok()) << fits.error;
    EXPECT_EQ(fits.value.size, INT32_MAX);

    const std::string tooLarge = In(source, "too-large.bin");
    WriteFile(tooLarge, "");
    ASSERT_EQ(truncate(tooLarge.c_str(), std::int64_t{INT32_MAX} + 1), 0);
    const FileOutcome<FileFacts> refused = ReadFileFacts(tooLarge);
    EXPECT_FALSE(refused.ok());
    EXPECT_NE(refused.error.find("2147483648 bytes"), std::string::npos) << refused.error;
}

TEST_F(FileFactsTest, MissingFilesAndFoldersFail)
{
    const FileOutcome<FileFacts> missing = ReadFileFacts(In(source, "missing.txt"));
    EXPECT_FALSE(missing.ok());
    EXPECT_NE(missing.error.find(std::strerror(ENOENT)), std::string::npos) << missing.error;
    EXPECT_NE(missing.error.find("missing.txt"), std::string::npos) << missing.error;

    const FileOutcome<FileFacts> folder = ReadFileFacts(source);
    EXPECT_FALSE(folder.ok());
    EXPECT_NE(folder.error.find("not a regular file"), std::string::npos) << folder.error;
}

// --- Making the archive ----------------------------------------------------------

using MakeArchiveTest = AttachmentFilesTest;

TEST_F(MakeArchiveTest, HoldsOneDeflatedEntryNamedWithoutFolder)
{
    const std::string text = TextOfSize(8193);
    const std::string path = MakeSource("trace.txt", text);
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);

    const FileStatus made = MakeSingleEntryArchive(path, Archive());
    ASSERT_TRUE(made.ok()) << made.error;
    EXPECT_EQ(StatOf(Archive()).st_mode & 077, 0u) << "the archive is private";

    const SoleEntry entry = ReadSoleEntry(Archive());
    EXPECT_EQ(entry.global.number_entry, 1u);
    EXPECT_EQ(entry.global.size_comment, 0u);
    EXPECT_EQ(entry.name, "trace.txt");
    EXPECT_EQ(entry.info.compression_method, static_cast<uLong>(Z_DEFLATED));
    EXPECT_EQ(entry.info.uncompressed_size, text.size());
    EXPECT_EQ(entry.data, text);
    EXPECT_EQ(entry.info.crc, crc32(0, reinterpret_cast<const Bytef*>(text.data()),
                                    static_cast<uInt>(text.size())));
    EXPECT_EQ(entry.info.size_file_extra, 0u);
    EXPECT_EQ(entry.localExtraSize, 0);
    EXPECT_EQ(entry.info.size_file_comment, 0u);
}

TEST_F(MakeArchiveTest, CompressesAtTheDefaultLevel)
{
    const std::string text = TextOfSize(50000);
    const std::string path = MakeSource("trace.txt", text);
    ASSERT_TRUE(MakeSingleEntryArchive(path, Archive()).ok());

    const SoleEntry entry = ReadSoleEntry(Archive());
    EXPECT_EQ((entry.info.flag >> 1) & 3u, 0u) << "the flag bits of the normal level";
    EXPECT_EQ(entry.rawData, RawDeflate(text, Z_DEFAULT_COMPRESSION));
    EXPECT_NE(entry.rawData, RawDeflate(text, 1)) << "the comparison tells levels apart";
}

TEST_F(MakeArchiveTest, StoresTheModeAsUnixAttributes)
{
    const std::string path = MakeSource("script.sh", "echo hello\n");
    ASSERT_EQ(chmod(path.c_str(), 0751), 0);
    ASSERT_TRUE(MakeSingleEntryArchive(path, Archive()).ok());

    const SoleEntry entry = ReadSoleEntry(Archive());
    EXPECT_EQ(entry.info.version >> 8, 3u) << "made by: Unix";
    EXPECT_EQ(entry.info.external_fa >> 16, static_cast<uLong>(S_IFREG | 0751));
    EXPECT_EQ(entry.info.external_fa & 0xFFFFu, 0u);
}

TEST_F(MakeArchiveTest, DatesTheEntryWithTheLocalLastWriteTime)
{
    const std::string path = MakeSource("trace.txt", "x");  // 2021-06-15 12:34:56
    ASSERT_TRUE(MakeSingleEntryArchive(path, Archive()).ok());

    const tm_unz date = ReadSoleEntry(Archive()).info.tmu_date;
    EXPECT_EQ(date.tm_year, 2021u);
    EXPECT_EQ(date.tm_mon, 5u);
    EXPECT_EQ(date.tm_mday, 15u);
    EXPECT_EQ(date.tm_hour, 12u);
    EXPECT_EQ(date.tm_min, 34u);
    EXPECT_EQ(date.tm_sec, 56u);

    const FileOutcome<FileFacts> facts = ReadFileFacts(path);
    ASSERT_TRUE(facts.ok());
    EXPECT_DOUBLE_EQ(
        facts.value.lastWrite,
        DateFromCivil({static_cast<int>(date.tm_year), static_cast<int>(date.tm_mon) + 1,
                       static_cast<int>(date.tm_mday), static_cast<int>(date.tm_hour),
                       static_cast<int>(date.tm_min), static_cast<int>(date.tm_sec)}));
}

TEST_F(MakeArchiveTest, EntryDatesHaveTwoSecondSteps)
{
    // A zip entry's date keeps seconds / 2: an odd second is stored one lower.
    const std::string path = MakeSource("trace.txt", "x");
    SetLastWrite(path, LocalTime(2021, 6, 15, 12, 34, 57));
    ASSERT_TRUE(MakeSingleEntryArchive(path, Archive()).ok());
    EXPECT_EQ(ReadSoleEntry(Archive()).info.tmu_date.tm_sec, 56u);
}

TEST_F(MakeArchiveTest, DatesBefore1980BecomeTheFirstZipDate)
{
    const std::string path = MakeSource("old.txt", "x");
    SetLastWrite(path, LocalTime(1975, 3, 4, 5, 6, 8));
    ASSERT_TRUE(MakeSingleEntryArchive(path, Archive()).ok());

    const tm_unz date = ReadSoleEntry(Archive()).info.tmu_date;
    EXPECT_EQ(date.tm_year, 1980u);
    EXPECT_EQ(date.tm_mon, 0u);
    EXPECT_EQ(date.tm_mday, 1u);
    EXPECT_EQ(date.tm_hour, 0u);
    EXPECT_EQ(date.tm_min, 0u);
    EXPECT_EQ(date.tm_sec, 0u);
}

TEST_F(MakeArchiveTest, ReplacesAFileOfTheArchiveName)
{
    WriteFile(Archive(), RandomBytes(10000, 7));
    const std::string path = MakeSource("trace.txt", "fresh");
    ASSERT_TRUE(MakeSingleEntryArchive(path, Archive()).ok());

    const SoleEntry entry = ReadSoleEntry(Archive());
    EXPECT_EQ(entry.global.number_entry, 1u);
    EXPECT_EQ(entry.data, "fresh");
}

TEST_F(MakeArchiveTest, DoesNotWriteThroughASymlinkAtTheArchiveName)
{
    const std::string victim = In(outside, "victim.txt");
    WriteFile(victim, "keep me");
    ASSERT_EQ(symlink(victim.c_str(), Archive().c_str()), 0);

    ASSERT_TRUE(MakeSingleEntryArchive(MakeSource("trace.txt", "x"), Archive()).ok());
    EXPECT_EQ(ReadFile(victim), "keep me");
    EXPECT_TRUE(S_ISREG(StatOf(Archive()).st_mode));
    EXPECT_EQ(ReadSoleEntry(Archive()).data, "x");
}

TEST_F(MakeArchiveTest, SourceThatCannotBeOpenedFails)
{
    const FileStatus made = MakeSingleEntryArchive(In(source, "missing.txt"), Archive());
    EXPECT_FALSE(made.ok());
    EXPECT_NE(made.error.find(std::strerror(ENOENT)), std::string::npos) << made.error;
    EXPECT_FALSE(Exists(Archive()));

    const std::string unreadable = MakeSource("secret.txt", "x");
    ASSERT_EQ(chmod(unreadable.c_str(), 0), 0);
    if (access(unreadable.c_str(), R_OK) != 0) {  // root reads anything
        const FileStatus refused = MakeSingleEntryArchive(unreadable, Archive());
        EXPECT_FALSE(refused.ok());
        EXPECT_NE(refused.error.find(std::strerror(EACCES)), std::string::npos) << refused.error;
        EXPECT_FALSE(Exists(Archive()));
    }
}

TEST_F(MakeArchiveTest, SourceThatIsNoRegularFileFailsWithoutBlocking)
{
    const std::string fifo = In(source, "pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, source}) {
        const FileStatus made = MakeSingleEntryArchive(path, Archive());
        EXPECT_FALSE(made.ok()) << path;
        EXPECT_NE(made.error.find("not a regular file"), std::string::npos) << made.error;
        EXPECT_FALSE(Exists(Archive()));
    }
}

TEST_F(MakeArchiveTest, SourceOf2GiBOrMoreIsRefused)
{
    const std::string path = MakeSource("huge.bin", "");
    ASSERT_EQ(truncate(path.c_str(), std::int64_t{INT32_MAX} + 1), 0);
    const FileStatus made = MakeSingleEntryArchive(path, Archive());
    EXPECT_FALSE(made.ok());
    EXPECT_NE(made.error.find("largest attachment"), std::string::npos) << made.error;
    EXPECT_FALSE(Exists(Archive()));
}

// Limits the size of files this process may write, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = signal(SIGXFSZ, SIG_IGN);  // writes fail with EFBIG instead
        const struct rlimit limit = {bytes, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, previousHandler_);
    }

private:
    struct rlimit saved_ {};
    void (*previousHandler_)(int) = nullptr;
};

TEST_F(MakeArchiveTest, AFailedWriteLeavesNoArchive)
{
    const std::string path = MakeSource("data.bin", RandomBytes(300000, 8));
    FileStatus made;
    {
        FileSizeLimit limit(100000);
        made = MakeSingleEntryArchive(path, Archive());
    }
    EXPECT_FALSE(made.ok());
    EXPECT_NE(made.error.find("archive.zip"), std::string::npos) << made.error;
    EXPECT_FALSE(Exists(Archive()));
}

TEST_F(MakeArchiveTest, ArchiveThatCannotBeCreatedFails)
{
    const std::string archive = In(root, "no-such-folder/trace.zip");
    const FileStatus made = MakeSingleEntryArchive(MakeSource("trace.txt", "x"), archive);
    EXPECT_FALSE(made.ok());
    EXPECT_NE(made.error.find(std::strerror(ENOENT)), std::string::npos) << made.error;
    EXPECT_NE(made.error.find("trace.zip"), std::string::npos) << made.error;
}

// --- Round trip --------------------------------------------------------------------

class RoundTripTest : public AttachmentFilesTest,
                      public ::testing::WithParamInterface<std::size_t> {};

TEST_P(RoundTripTest, ComesBackByteForByteWithItsDate)
{
    const std::string bytes = RandomBytes(GetParam(), static_cast<unsigned>(GetParam()));
    const std::string path = MakeSource("data.bin", bytes);
    ASSERT_TRUE(MakeSingleEntryArchive(path, Archive()).ok());

    const FileOutcome<std::vector<std::string>> unpacked = UnpackArchive(Archive(), target);
    ASSERT_TRUE(unpacked.ok()) << unpacked.error;
    EXPECT_EQ(unpacked.value, std::vector<std::string>{"data.bin"});
    const std::string copy = In(target, "data.bin");
    const struct stat info = StatOf(copy);  // before reading it changes the access time
    EXPECT_TRUE(ReadFile(copy) == bytes) << "unpacked bytes differ";
    EXPECT_EQ(info.st_size, static_cast<off_t>(bytes.size()));
    EXPECT_EQ(info.st_mtime, kSourceTime);
    EXPECT_EQ(info.st_atime, kSourceTime);
    EXPECT_EQ(info.st_mode & 077, 0u) << "unpacked files are private";
    EXPECT_EQ(Tree(target), std::set<std::string>{"data.bin"});
}

INSTANTIATE_TEST_SUITE_P(Sizes, RoundTripTest,
                         ::testing::Values(std::size_t{0}, std::size_t{1}, std::size_t{8193},
                                           std::size_t{1024 * 1024}));

// --- Unpacking -----------------------------------------------------------------------

using UnpackArchiveTest = AttachmentFilesTest;

TEST_F(UnpackArchiveTest, WritesEveryEntryInOrderWithItsDate)
{
    TestEntry first{"first.txt", "one"};
    TestEntry second{"second.log", TextOfSize(5000), 0};  // stored, not deflated
    second.date = {8, 7, 6, 5, 4, 2010};
    BuildArchive(Archive(), {first, second});

    const FileOutcome<std::vector<std::string>> unpacked = UnpackArchive(Archive(), target + "/");
    ASSERT_TRUE(unpacked.ok()) << unpacked.error;
    EXPECT_EQ(unpacked.value, (std::vector<std::string>{"first.txt", "second.log"}));
    EXPECT_EQ(ReadFile(In(target, "first.txt")), "one");
    EXPECT_EQ(ReadFile(In(target, "second.log")), second.data);
    EXPECT_EQ(StatOf(In(target, "first.txt")).st_mtime, LocalTime(2021, 6, 15, 10, 30, 0));
    EXPECT_EQ(StatOf(In(target, "second.log")).st_mtime, LocalTime(2010, 5, 5, 6, 7, 8));
}

TEST_F(UnpackArchiveTest, ReplacesFilesOfTheSameName)
{
    WriteFile(In(target, "trace.txt"), "old contents that are longer");
    BuildArchive(Archive(), {{"trace.txt", "first"}, {"x/trace.txt", "second"}});

    const FileOutcome<std::vector<std::string>> unpacked = UnpackArchive(Archive(), target);
    ASSERT_TRUE(unpacked.ok()) << unpacked.error;
    EXPECT_EQ(unpacked.value, std::vector<std::string>{"trace.txt"});
    EXPECT_EQ(ReadFile(In(target, "trace.txt")), "second");
}

TEST_F(UnpackArchiveTest, ArchiveWithoutEntriesFails)
{
    BuildArchive(Archive(), {});
    const FileOutcome<std::vector<std::string>> unpacked = UnpackArchive(Archive(), target);
    EXPECT_FALSE(unpacked.ok());
    EXPECT_TRUE(Tree(target).empty());
}

TEST_F(UnpackArchiveTest, FolderPartsOfEntryNamesAreDropped)
{
    const bool tmpAbsExisted = Exists("/tmp/abs.txt");
    const struct {
        std::string entry;
        std::string written;
    } cases[] = {
        {"../evil.txt", "evil.txt"},
        {"../../../../../../evil2.txt", "evil2.txt"},
        {"/tmp/abs.txt", "abs.txt"},
        {root + "/outside/abs2.txt", "abs2.txt"},
        {"a/b/c.txt", "c.txt"},
        {"../outside/./x/../y.txt", "y.txt"},
        // A backslash separates no folders here: such a name is one file's
        // name inside the target.
        {"a\\b\\d.txt", "a\\b\\d.txt"},
        {"..\\..\\win.txt", "..\\..\\win.txt"},
        {"C:\\outside\\drive.txt", "C:\\outside\\drive.txt"},
        {"..\\..", "..\\.."},
        {"x\\", "x\\"},
    };
    const std::set<std::string> before = TreeOutsideTarget();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        BuildArchive(Archive(), {{c.entry, "payload of " + c.entry}});
        const std::set<std::string> archiveOnly = TreeOutsideTarget();

        const FileOutcome<std::vector<std::string>> unpacked = UnpackArchive(Archive(), target);
        ASSERT_TRUE(unpacked.ok()) << unpacked.error;
        EXPECT_EQ(unpacked.value, std::vector<std::string>{c.written});
        EXPECT_EQ(ReadFile(In(target, c.written)), "payload of " + c.entry);
        EXPECT_EQ(TreeOutsideTarget(), archiveOnly) << "nothing written outside the target";
        ASSERT_EQ(unlink(In(target, c.written).c_str()), 0);
    }
    unlink(Archive().c_str());
    EXPECT_EQ(TreeOutsideTarget(), before);
    if (!tmpAbsExisted) {
        EXPECT_FALSE(Exists("/tmp/abs.txt"));
    }
}

TEST_F(UnpackArchiveTest, NamesThatNameNoFileAreRefused)
{
    for (const std::string name : {"..", ".", "", "a/..", "folder/", "../", "/"}) {
        SCOPED_TRACE("entry \"" + name + "\"");
        BuildArchive(Archive(), {{name, "payload"}});
        const std::set<std::string> before = TreeOutsideTarget();

        const FileOutcome<std::vector<std::string>> unpacked = UnpackArchive(Archive(), target);
        EXPECT_FALSE(unpacked.ok());
        EXPECT_NE(unpacked.error.find("does not name a file"), std::string::npos) << unpacked.error;
        EXPECT_TRUE(unpacked.value.empty());
        EXPECT_TRUE(Tree(target).empty());
        EXPECT_EQ(TreeOutsideTarget(), before);
    }
}

TEST_F(UnpackArchiveTest, NameWithANulByteIsRefused)
{
    // "evil.txt\0.pdf" would otherwise be written as evil.txt.
    BuildArchive(Archive(), {{"evil.txt_.pdf", "payload"}});
    std::string bytes = ReadFile(Archive());
    for (std::size_t at = 0; (at = bytes.find("evil.txt_", at)) != std::string::npos; ++at) {
        bytes[at + 8] = '\0';
    }
    WriteFile(Archive(), bytes);

    const FileOutcome<std::vector<std::string>> unpacked = UnpackArchive(Archive(), target);
    EXPECT_FALSE(unpacked.ok());
    EXPECT_NE(unpacked.error.find("NUL"), std::string::npos) << unpacked.error;
    EXPECT_TRUE(Tree(target).empty());
}

TEST_F(UnpackArchiveTest, ARefusedEntryUndoesTheEntriesBeforeIt)
{
    BuildArchive(Archive(), {{"good.txt", "fine"}, {"..", "evil"}});
    const FileOutcome<std::vector<std::string>> unpacked = UnpackArchive(Archive(), target);
    EXPECT_FALSE(unpacked.ok());
    EXPECT_TRUE(Tree(target).empty()) << "good.txt was removed again";
}

TEST_F(UnpackArchiveTest, DoesNotFollowASymlinkAtTheDestination)
{
    const std::string victim = In(outside, "victim.txt");
    WriteFile(victim, "keep me");
    ASSERT_EQ(symlink(victim.c_str(), In(target, "note.txt").c_str()), 0);
    const std::string absent = In(outside, "created.txt");
    ASSERT_EQ(symlink(absent.c_str(), In(target, "dangling.txt").c_str()), 0);
    BuildArchive(Archive(), {{"note.txt", "new note"}, {"dangling.txt", "new file"}});

    const FileOutcome<std::vector<std::string>> unpacked = UnpackArchive(Archive(), target);
    ASSERT_TRUE(unpacked.ok()) << unpacked.error;
    EXPECT_EQ(ReadFile(victim), "keep me");
    EXPECT_FALSE(Exists(absent));
    EXPECT_TRUE(S_ISREG(StatOf(In(target, "note.txt")).st_mode));
    EXPECT_EQ(ReadFile(In(target, "note.txt")), "new note");
    EXPECT_EQ(ReadFile(In(target, "dangling.txt")), "new file");
}

TEST_F(UnpackArchiveTest, DoesNotWriteThroughAHardLinkAtTheDestination)
{
    const std::string victim = In(outside, "victim.txt");
    WriteFile(victim, "keep me");
    ASSERT_EQ(link(victim.c_str(), In(target, "note.txt").c_str()), 0);
    BuildArchive(Archive(), {{"note.txt", "new note"}});

    ASSERT_TRUE(UnpackArchive(Archive(), target).ok());
    EXPECT_EQ(ReadFile(victim), "keep me");
    EXPECT_EQ(ReadFile(In(target, "note.txt")), "new note");
}

TEST_F(UnpackArchiveTest, FolderAtTheDestinationNameFails)
{
    MakeFolder("target/trace.txt");
    BuildArchive(Archive(), {{"trace.txt", "x"}});
    const FileOutcome<std::vector<std::string>> unpacked = UnpackArchive(Archive(), target);
    EXPECT_FALSE(unpacked.ok());
    EXPECT_NE(unpacked.error.find("trace.txt"), std::string::npos) << unpacked.error;
    EXPECT_TRUE(fs::is_directory(In(target, "trace.txt")));
}

TEST_F(UnpackArchiveTest, AFailedWriteLeavesNoFile)
{
    BuildArchive(Archive(), {{"data.bin", RandomBytes(300000, 9)}});
    FileOutcome<std::vector<std::string>> unpacked;
    {
        FileSizeLimit limit(100000);
        unpacked = UnpackArchive(Archive(), target);
    }
    EXPECT_FALSE(unpacked.ok());
    EXPECT_NE(unpacked.error.find(std::strerror(EFBIG)), std::string::npos) << unpacked.error;
    EXPECT_TRUE(Tree(target).empty());
}

TEST_F(UnpackArchiveTest, MissingArchiveOrFolderFails)
{
    const FileOutcome<std::vector<std::string>> missing = UnpackArchive(Archive(), target);
    EXPECT_FALSE(missing.ok());
    EXPECT_NE(missing.error.find(std::strerror(ENOENT)), std::string::npos) << missing.error;

    BuildArchive(Archive(), {{"trace.txt", "x"}});
    const FileOutcome<std::vector<std::string>> noFolder =
        UnpackArchive(Archive(), In(root, "no-such-folder"));
    EXPECT_FALSE(noFolder.ok());
    EXPECT_NE(noFolder.error.find(std::strerror(ENOENT)), std::string::npos) << noFolder.error;

    EXPECT_FALSE(UnpackArchive(Archive(), "").ok());
}

// --- Damaged and hostile archives ----------------------------------------------------

using DamagedArchiveTest = AttachmentFilesTest;

TEST_F(DamagedArchiveTest, GarbageAndEmptyFilesFail)
{
    for (const std::string& bytes : {RandomBytes(4096, 1), RandomBytes(100, 2), std::string()}) {
        WriteFile(Archive(), bytes);
        const FileOutcome<std::vector<std::string>> unpacked = UnpackArchive(Archive(), target);
        EXPECT_FALSE(unpacked.ok());
        EXPECT_NE(unpacked.error.find("not a zip archive"), std::string::npos) << unpacked.error;
        EXPECT_TRUE(Tree(target).empty());
    }
}

TEST_F(DamagedArchiveTest, EveryTruncationOrExtensionFails)
{
    ASSERT_TRUE(MakeSingleEntryArchive(MakeSource("trace.txt", TextOfSize(8193)), Archive()).ok());
    const std::string whole = ReadFile(Archive());
    const std::string cut = In(root, "cut.zip");
    for (std::size_t length = 0; length < whole.size(); ++length) {
        WriteFile(cut, whole.substr(0, length));
        const FileOutcome<std::vector<std::string>> unpacked = UnpackArchive(cut, target);
        ASSERT_FALSE(unpacked.ok()) << "cut to " << length << " of " << whole.size();
        ASSERT_TRUE(Tree(target).empty()) << "cut to " << length;
    }
    WriteFile(cut, whole + "x");
    EXPECT_FALSE(UnpackArchive(cut, target).ok()) << "bytes after the end record";
    EXPECT_TRUE(Tree(target).empty());
}

TEST_F(DamagedArchiveTest, CorruptedDataFailsTheCrcAndLeavesNoFile)
{
    const std::string data = TextOfSize(5000);
    BuildArchive(Archive(), {{"trace.txt", data, 0}});  // stored: any byte is valid data
    std::string bytes = ReadFile(Archive());
    bytes[bytes.find(data) + 4321] ^= 0x20;
    WriteFile(Archive(), bytes);
    WriteFile(In(target, "trace.txt"), "previous");

    const FileOutcome<std::vector<std::string>> unpacked = UnpackArchive(Archive(), target);
    EXPECT_FALSE(unpacked.ok());
    EXPECT_NE(unpacked.error.find("CRC error"), std::string::npos) << unpacked.error;
    EXPECT_FALSE(Exists(In(target, "trace.txt"))) << "no partial file";
}

TEST_F(DamagedArchiveTest, WrongStoredCrcFails)
{
    BuildArchive(Archive(), {{"trace.txt", TextOfSize(3000)}});
    std::string bytes = ReadFile(Archive());
    // Both headers agree, so only the data itself can reveal the fault.
    const std::size_t local = LocalHeader(bytes), central = CentralHeader(bytes);
    const std::uint32_t wrong = Get32(bytes, central + kCentralCrc) ^ 1u;
    Put32(&bytes, central + kCentralCrc, wrong);
    Put32(&bytes, local + kLocalCrc, wrong);
    WriteFile(Archive(), bytes);

    const FileOutcome<std::vector<std::string>> unpacked = UnpackArchive(Archive(), target);
    EXPECT_FALSE(unpacked.ok());
    EXPECT_NE(unpacked.error.find("CRC error"), std::string::npos) << unpacked.error;
    EXPECT_TRUE(Tree(target).empty());
}

TEST_F(DamagedArchiveTest, CorruptedCompressedDataFails)
{
    ASSERT_TRUE(
        MakeSingleEntryArchive(MakeSource("data.bin", RandomBytes(20000, 3)), Archive()).ok());
    const std::string whole = ReadFile(Archive());
    const std::size_t dataStart = LocalHeader(whole) + 30 + std::strlen("data.bin");
    for (std::size_t offset :
         {std::size_t{0}, std::size_t{1}, std::size_t{500}, std::size_t{9999}}) {
        std::string bytes = whole;
        bytes[dataStart + offset] ^= 0x5A;
        WriteFile(Archive(), bytes);
        EXPECT_FALSE(UnpackArchive(Archive(), target).ok()) << "byte " << offset;
        EXPECT_TRUE(Tree(target).empty()) << "byte " << offset;
    }
}

TEST_F(DamagedArchiveTest, LyingSizesFail)
{
    const std::string data = TextOfSize(8193);
    BuildArchive(Archive(), {{"trace.txt", data}});
    const std::string whole = ReadFile(Archive());
    const std::size_t local = LocalHeader(whole), central = CentralHeader(whole);
    const std::uint32_t packed = Get32(whole, central + kCentralPackedSize);

    const struct {
        const char* what;
        std::size_t field;
        std::uint32_t value;
        bool alsoLocal;
    } lies[] = {
        {"smaller size", kCentralSize, 100, true},
        {"larger size", kCentralSize, 9000, true},
        {"larger size in the directory only", kCentralSize, 9000, false},
        {"huge size", kCentralSize, 0x7FFFFFFF, true},
        {"size beyond 2 GiB", kCentralSize, 0xFFFFFFF0u, true},
        {"smaller packed size", kCentralPackedSize, packed / 2, false},
        {"packed size beyond the file", kCentralPackedSize, packed + 100000, false},
    };
    for (const auto& lie : lies) {
        SCOPED_TRACE(lie.what);
        std::string bytes = whole;
        Put32(&bytes, central + lie.field, lie.value);
        if (lie.alsoLocal) Put32(&bytes, local + kLocalSize, lie.value);
        WriteFile(Archive(), bytes);
        const FileOutcome<std::vector<std::string>> unpacked = UnpackArchive(Archive(), target);
        EXPECT_FALSE(unpacked.ok());
        EXPECT_TRUE(Tree(target).empty());
    }
}

TEST_F(DamagedArchiveTest, EncryptedEntriesAndUnknownMethodsAreRefused)
{
    BuildArchive(Archive(), {{"trace.txt", "secret"}});
    const std::string whole = ReadFile(Archive());
    const std::size_t local = LocalHeader(whole), central = CentralHeader(whole);

    std::string encrypted = whole;
    Put16(&encrypted, local + kLocalFlag, 1);
    Put16(&encrypted, central + kCentralFlag, 1);
    WriteFile(Archive(), encrypted);
    FileOutcome<std::vector<std::string>> unpacked = UnpackArchive(Archive(), target);
    EXPECT_FALSE(unpacked.ok());
    EXPECT_NE(unpacked.error.find("encrypted"), std::string::npos) << unpacked.error;

    std::string bzip2 = whole;
    Put16(&bzip2, local + kLocalMethod, 12);
    Put16(&bzip2, central + kCentralMethod, 12);
    WriteFile(Archive(), bzip2);
    unpacked = UnpackArchive(Archive(), target);
    EXPECT_FALSE(unpacked.ok());
    EXPECT_NE(unpacked.error.find("compression method 12"), std::string::npos) << unpacked.error;
    EXPECT_TRUE(Tree(target).empty());
}

// --- Plain files -----------------------------------------------------------------------

using PlainFilesTest = AttachmentFilesTest;

TEST_F(PlainFilesTest, CopyKeepsBytesModeAndDate)
{
    const std::string bytes = RandomBytes(200000, 4);
    const std::string from = MakeSource("trace.txt", bytes);
    ASSERT_EQ(chmod(from.c_str(), 0640), 0);
    const std::string to = In(outside, "copy.txt");

    const FileStatus copied = CopyFileNoOverwrite(from, to);
    ASSERT_TRUE(copied.ok()) << copied.error;
    EXPECT_TRUE(ReadFile(to) == bytes);
    EXPECT_EQ(StatOf(to).st_mtime, kSourceTime);
    EXPECT_EQ(StatOf(to).st_mode & 0777 & ~0640u, 0u);
}

TEST_F(PlainFilesTest, CopyRefusesAnExistingDestination)
{
    const std::string from = MakeSource("trace.txt", "new");
    const std::string to = In(outside, "copy.txt");
    WriteFile(to, "existing");

    const FileStatus copied = CopyFileNoOverwrite(from, to);
    EXPECT_FALSE(copied.ok());
    EXPECT_NE(copied.error.find(std::strerror(EEXIST)), std::string::npos) << copied.error;
    EXPECT_EQ(ReadFile(to), "existing");
    EXPECT_FALSE(CopyFileNoOverwrite(from, from).ok());
    EXPECT_EQ(ReadFile(from), "new");
}

TEST_F(PlainFilesTest, CopyRefusesASymlinkAtTheDestination)
{
    const std::string absent = In(outside, "created.txt");
    const std::string to = In(target, "copy.txt");
    ASSERT_EQ(symlink(absent.c_str(), to.c_str()), 0);

    EXPECT_FALSE(CopyFileNoOverwrite(MakeSource("trace.txt", "x"), to).ok());
    EXPECT_FALSE(Exists(absent));
}

TEST_F(PlainFilesTest, CopyOfAMissingSourceCreatesNothing)
{
    const std::string to = In(outside, "copy.txt");
    const FileStatus copied = CopyFileNoOverwrite(In(source, "missing.txt"), to);
    EXPECT_FALSE(copied.ok());
    EXPECT_NE(copied.error.find(std::strerror(ENOENT)), std::string::npos) << copied.error;
    EXPECT_FALSE(Exists(to));
}

TEST_F(PlainFilesTest, BytesWrittenAreReadBackPrivately)
{
    const std::string bytes = RandomBytes(100000, 5);
    const std::string path = In(target, "blob.zip");
    WriteFile(path, "an older, longer file of the same name ........................");
    ASSERT_TRUE(WriteFileBytes(path, bytes.data(), bytes.size()).ok());

    const FileOutcome<std::vector<std::uint8_t>> read = ReadFileBytes(path);
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_TRUE(std::string(read.value.begin(), read.value.end()) == bytes);
    EXPECT_EQ(StatOf(path).st_mode & 077, 0u);
}

TEST_F(PlainFilesTest, WritingBytesReplacesASymlinkInsteadOfFollowingIt)
{
    const std::string victim = In(outside, "victim.txt");
    WriteFile(victim, "keep me");
    const std::string path = In(target, "blob.zip");
    ASSERT_EQ(symlink(victim.c_str(), path.c_str()), 0);

    ASSERT_TRUE(WriteFileBytes(path, "new", 3).ok());
    EXPECT_EQ(ReadFile(victim), "keep me");
    EXPECT_EQ(ReadFile(path), "new");
}

TEST_F(PlainFilesTest, ReadsInChunksOfTheGivenSize)
{
    const std::string bytes = RandomBytes(10000, 6);
    const std::string path = MakeSource("blob.bin", bytes);
    std::vector<std::size_t> sizes;
    std::string joined;
    const FileStatus read =
        ReadFileChunks(path, 4096, [&](const std::uint8_t* data, std::size_t size) {
            sizes.push_back(size);
            joined.append(reinterpret_cast<const char*>(data), size);
            return FileStatus{};
        });
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(sizes, (std::vector<std::size_t>{4096, 4096, 1808}));
    EXPECT_TRUE(joined == bytes);

    int calls = 0;
    EXPECT_TRUE(
        ReadFileChunks(MakeSource("empty.bin", ""), 4096, [&](const std::uint8_t*, std::size_t) {
            ++calls;
            return FileStatus{};
        }).ok());
    EXPECT_EQ(calls, 0);
}

TEST_F(PlainFilesTest, AFailingReceiverStopsTheReading)
{
    const std::string path = MakeSource("blob.bin", RandomBytes(10000, 6));
    int calls = 0;
    const FileStatus read = ReadFileChunks(path, 4096, [&](const std::uint8_t*, std::size_t) {
        ++calls;
        return FileStatus{"database refused the chunk"};
    });
    EXPECT_EQ(read.error, "database refused the chunk");
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(ReadFileBytes(In(source, "missing.bin")).ok());
}

TEST_F(PlainFilesTest, AnUnfinishedWriterLeavesNoFile)
{
    const std::string path = In(target, "partial.bin");
    {
        FileWriter writer;
        ASSERT_TRUE(writer.Create(path, FileWriter::Existing::Replace).ok());
        ASSERT_TRUE(writer.Write("half", 4).ok());
        EXPECT_TRUE(Exists(path));
    }
    EXPECT_FALSE(Exists(path));

    FileWriter writer;
    ASSERT_TRUE(writer.Create(path, FileWriter::Existing::Refuse).ok());
    ASSERT_TRUE(writer.Write("whole", 5).ok());
    ASSERT_TRUE(writer.Commit().ok());
    EXPECT_EQ(ReadFile(path), "whole");
    EXPECT_FALSE(writer.Write("more", 4).ok());
}

}  // namespace
}  // namespace lindor
