#include "attachments/ZipArchive.h"

#include <fcntl.h>
#include <minizip/unzip.h>
#include <minizip/zip.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

#include "core/DateTime.h"

namespace lindor {
namespace {

// Attachment sizes are kept as 32-bit numbers.
constexpr std::int64_t kLargestAttachment = INT32_MAX;
// "Version made by": host system Unix (3), zip format 2.0 (20), so that the
// external attributes are read as a Unix mode.
constexpr uLong kMadeByUnix = (3u << 8) | 20u;
// Entry names are at most 0xFFFF bytes long (a 16-bit field).
constexpr std::size_t kNameBufferSize = 0x10000;
constexpr std::size_t kCopyBlockSize = 65536;
// Unpacked data is written in blocks of this size: few large writes.
constexpr std::size_t kUnpackBlockSize = 256 * 1024;
// The end-of-archive record: 22 bytes and a comment of up to 0xFFFF bytes.
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kLongestComment = 0xFFFF;
// The years a zip entry's (DOS) date can hold.
constexpr int kFirstZipYear = 1980;
constexpr int kLastZipYear = 2107;

FileStatus Failure(std::string text)
{
    return FileStatus{std::move(text)};
}

template <typename T>
FileOutcome<T> FailureOf(FileStatus status)
{
    FileOutcome<T> outcome;
    outcome.error = std::move(status.error);
    return outcome;
}

// Names from a hostile archive may hold control characters; keep the texts
// for the caller and the error log on one readable line.
std::string Printable(const std::string& text)
{
    std::string out = text;
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) c = '?';
    }
    return out;
}

std::string Quoted(const std::string& text)
{
    return "\"" + Printable(text) + "\"";
}

FileStatus SystemFailure(const std::string& action, const std::string& path, int err)
{
    return Failure(action + " " + Quoted(path) + ": " + std::strerror(err));
}

// Our own code throws only std::bad_alloc; it must not cross this module's functions.
template <typename Result, typename Step>
Result WithoutExceptions(Step step)
{
    try {
        return step();
    } catch (const std::bad_alloc&) {
        Result result;
        result.error = "Out of memory";
        return result;
    }
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { Reset(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept
    {
        if (this != &other) {
            Reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }

    int get() const { return fd_; }

private:
    void Reset()
    {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }

    int fd_ = -1;
};

// Refuses anything but a regular file: a folder cannot be read, and reading a
// device or FIFO could block forever.
FileStatus CheckRegularFile(const std::string& path, const struct stat& info)
{
    if (S_ISREG(info.st_mode)) return {};
    return Failure("Cannot read " + Quoted(path) + ": not a regular file");
}

FileStatus CheckAttachmentSize(const std::string& path, std::int64_t size)
{
    if (size <= kLargestAttachment) return {};
    return Failure("Cannot attach " + Quoted(path) + ": " + std::to_string(size) +
                   " bytes is more than the largest attachment (2 GiB - 1 byte)");
}

// O_NONBLOCK keeps the open of a FIFO from waiting for a writer; it has no
// effect on the reads of a regular file.
FileOutcome<FileDescriptor> OpenRegularFile(const std::string& path, struct stat* info)
{
    FileDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) return FailureOf<FileDescriptor>(SystemFailure("Cannot open", path, errno));
    if (fstat(file.get(), info) != 0) {
        return FailureOf<FileDescriptor>(SystemFailure("Cannot read", path, errno));
    }
    FileStatus regular = CheckRegularFile(path, *info);
    if (!regular.ok()) return FailureOf<FileDescriptor>(std::move(regular));
    FileOutcome<FileDescriptor> opened;
    opened.value = std::move(file);
    return opened;
}

ssize_t ReadRetrying(int fd, void* buffer, std::size_t size)
{
    ssize_t n = 0;
    do {
        n = read(fd, buffer, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// The one read loop: hands the open file to `sink` in chunks until its end.
FileStatus ReadInChunks(int fd, const std::string& path, std::size_t chunkSize,
                        const ChunkSink& sink)
{
    if (chunkSize == 0) return Failure("Cannot read " + Quoted(path) + ": chunk size 0");
    std::vector<std::uint8_t> chunk(chunkSize);
    for (;;) {
        const ssize_t n = ReadRetrying(fd, chunk.data(), chunk.size());
        if (n < 0) return SystemFailure("Cannot read", path, errno);
        if (n == 0) return {};
        FileStatus taken = sink(chunk.data(), static_cast<std::size_t>(n));
        if (!taken.ok()) return taken;
    }
}

FileStatus RemoveExisting(const std::string& path)
{
    if (unlink(path.c_str()) == 0 || errno == ENOENT) return {};
    return SystemFailure("Cannot replace", path, errno);
}

// --- Dates -----------------------------------------------------------------

// Local calendar time of `t` as a zip entry date; moments outside the years a
// zip date can hold are pinned to its first or last representable moment.
tm_zip ZipDateFromTimeT(std::time_t t)
{
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) local.tm_year = t < 0 ? 0 : 9999;
    const int year = local.tm_year + 1900;
    tm_zip date{};
    if (year < kFirstZipYear) {
        date.tm_year = kFirstZipYear;
        date.tm_mday = 1;
    } else if (year > kLastZipYear) {
        date = {58, 59, 23, 31, 11, static_cast<uInt>(kLastZipYear)};
    } else {
        date.tm_year = static_cast<uInt>(year);  // minizip takes the full year
        date.tm_mon = static_cast<uInt>(local.tm_mon);
        date.tm_mday = static_cast<uInt>(local.tm_mday);
        date.tm_hour = static_cast<uInt>(local.tm_hour);
        date.tm_min = static_cast<uInt>(local.tm_min);
        date.tm_sec = static_cast<uInt>(local.tm_sec);
    }
    return date;
}

std::time_t TimeTFromZipDate(const tm_unz& date)
{
    std::tm local{};
    local.tm_year = static_cast<int>(date.tm_year) - 1900;
    local.tm_mon = static_cast<int>(date.tm_mon);
    local.tm_mday = static_cast<int>(date.tm_mday);
    local.tm_hour = static_cast<int>(date.tm_hour);
    local.tm_min = static_cast<int>(date.tm_min);
    local.tm_sec = static_cast<int>(date.tm_sec);
    local.tm_isdst = -1;
    return std::mktime(&local);
}

// --- Writing an archive ------------------------------------------------------

// minizip's own create mode would follow a symlink planted at the archive's
// name; this opener creates the file afresh instead. The FILE* it returns
// suits the rest of minizip's default stdio file functions.
voidpf OpenNewArchiveFile(voidpf opaque, const void* filename, int mode)
{
    int* openError = static_cast<int*>(opaque);
    if ((mode & ZLIB_FILEFUNC_MODE_CREATE) == 0) {
        *openError = EINVAL;
        return nullptr;
    }
    const int fd = open(static_cast<const char*>(filename),
                        O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        *openError = errno;
        return nullptr;
    }
    FILE* stream = fdopen(fd, "w+b");
    if (stream == nullptr) {
        *openError = errno;
        close(fd);
    }
    return stream;
}

std::string ZipErrorText(int code)
{
    if (code == ZIP_ERRNO) return "write error";
    return "zip error " + std::to_string(code);
}

// An archive being written; removed again unless Finish() succeeds.
class ArchiveWriter {
public:
    explicit ArchiveWriter(std::string path) : path_(std::move(path)) {}
    ~ArchiveWriter()
    {
        if (zip_ != nullptr) zipClose(zip_, nullptr);
        if (created_ && !finished_) unlink(path_.c_str());
    }
    ArchiveWriter(const ArchiveWriter&) = delete;
    ArchiveWriter& operator=(const ArchiveWriter&) = delete;

    FileStatus Create()
    {
        FileStatus removed = RemoveExisting(path_);
        if (!removed.ok()) return removed;
        int openError = 0;
        zlib_filefunc64_def files{};
        fill_fopen64_filefunc(&files);
        files.zopen64_file = &OpenNewArchiveFile;
        files.opaque = &openError;
        zip_ = zipOpen2_64(path_.c_str(), APPEND_STATUS_CREATE, nullptr, &files);
        created_ = zip_ != nullptr;
        if (created_) return {};
        return SystemFailure("Cannot create", path_, openError != 0 ? openError : EIO);
    }

    FileStatus BeginEntry(const std::string& name, const zip_fileinfo& info)
    {
        const int rc =
            zipOpenNewFileInZip4(zip_, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                 Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL,
                                 Z_DEFAULT_STRATEGY, nullptr, 0, kMadeByUnix, 0);
        return Check(rc, "Cannot add an entry to");
    }

    FileStatus Write(const std::uint8_t* data, std::size_t size)
    {
        return Check(zipWriteInFileInZip(zip_, data, static_cast<unsigned>(size)), "Cannot write");
    }

    FileStatus Finish()
    {
        FileStatus entryClosed = Check(zipCloseFileInZip(zip_), "Cannot write");
        const int rc = zipClose(zip_, nullptr);
        zip_ = nullptr;
        if (!entryClosed.ok()) return entryClosed;
        FileStatus closed = Check(rc, "Cannot write");
        finished_ = closed.ok();
        return closed;
    }

private:
    FileStatus Check(int rc, const std::string& action) const
    {
        if (rc == ZIP_OK) return {};
        return Failure(action + " the archive " + Quoted(path_) + ": " + ZipErrorText(rc));
    }

    std::string path_;
    zipFile zip_ = nullptr;
    bool created_ = false;
    bool finished_ = false;
};

zip_fileinfo EntryInfoFor(const struct stat& source)
{
    zip_fileinfo info{};
    info.tmz_date = ZipDateFromTimeT(source.st_mtime);
    info.dosDate = 0;  // minizip then derives it from tmz_date
    info.internal_fa = 0;
    info.external_fa = (static_cast<uLong>(source.st_mode) & 0xFFFFu) << 16;
    return info;
}

FileStatus CompressSource(int fd, const std::string& sourcePath, ArchiveWriter* archive)
{
    std::int64_t total = 0;
    return ReadInChunks(fd, sourcePath, kZipBlockSize,
                        [&](const std::uint8_t* data, std::size_t size) {
                            total += static_cast<std::int64_t>(size);
                            // The file may have grown since it was checked.
                            FileStatus fits = CheckAttachmentSize(sourcePath, total);
                            return fits.ok() ? archive->Write(data, size) : fits;
                        });
}

FileStatus MakeArchive(const std::string& sourcePath, const std::string& archivePath)
{
    struct stat info {};
    FileOutcome<FileDescriptor> source = OpenRegularFile(sourcePath, &info);
    if (!source.ok()) return Failure(source.error);
    FileStatus status = CheckAttachmentSize(sourcePath, info.st_size);
    if (!status.ok()) return status;

    ArchiveWriter archive(archivePath);
    status = archive.Create();
    if (status.ok()) {
        status = archive.BeginEntry(FileNameWithExtension(sourcePath), EntryInfoFor(info));
    }
    if (status.ok()) status = CompressSource(source.value.get(), sourcePath, &archive);
    if (status.ok()) status = archive.Finish();
    return status;
}

// --- Reading an archive ------------------------------------------------------

std::string UnzipErrorText(int code)
{
    switch (code) {
        case UNZ_ERRNO:
            return "read error";
        case UNZ_BADZIPFILE:
            return "damaged archive structure";
        case UNZ_CRCERROR:
            return "CRC error";
        case Z_DATA_ERROR:
            return "invalid compressed data";
        case Z_MEM_ERROR:
            return "out of memory";
        default:
            return "unzip error " + std::to_string(code);
    }
}

FileStatus NotAnArchive(const std::string& name)
{
    return Failure("Cannot unpack " + Quoted(name) + ": not a zip archive, or damaged");
}

// minizip reads bytes missing at the end of its input as zeros, so an archive
// cut off inside its end record would still open. The archive must end
// exactly where its end record (with its comment) says.
FileStatus CheckEndRecord(const std::vector<std::uint8_t>& bytes, const std::string& name)
{
    const std::size_t size = bytes.size();
    const std::size_t tailSize = std::min(size, kEndRecordSize + kLongestComment);
    if (tailSize < kEndRecordSize) return NotAnArchive(name);
    const std::uint8_t* tail = bytes.data() + (size - tailSize);
    for (std::size_t at = tailSize - kEndRecordSize + 1; at-- > 0;) {
        if (std::memcmp(&tail[at], "PK\5\6", 4) != 0) continue;
        const std::size_t commentLength = tail[at + 20] | (tail[at + 21] << 8);
        if (at + kEndRecordSize + commentLength == tailSize) return {};
        return Failure("Cannot unpack " + Quoted(name) +
                       ": the archive does not end where its end record says (cut off?)");
    }
    return NotAnArchive(name);
}

// --- minizip reading from memory -----------------------------------------------

struct MemoryStream {
    const std::vector<std::uint8_t>* bytes = nullptr;
    ZPOS64_T position = 0;
};

voidpf OpenMemory(voidpf opaque, const void*, int mode)
{
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
    auto* stream = static_cast<MemoryStream*>(opaque);
    stream->position = 0;
    return stream;
}

uLong ReadMemory(voidpf, voidpf opened, void* buffer, uLong size)
{
    auto* stream = static_cast<MemoryStream*>(opened);
    const ZPOS64_T total = stream->bytes->size();
    const ZPOS64_T from = std::min(stream->position, total);
    const auto count = static_cast<uLong>(std::min<ZPOS64_T>(size, total - from));
    std::memcpy(buffer, stream->bytes->data() + from, count);
    stream->position = from + count;
    return count;
}

uLong WriteNothing(voidpf, voidpf, const void*, uLong)
{
    return 0;
}

ZPOS64_T TellMemory(voidpf, voidpf opened)
{
    return static_cast<MemoryStream*>(opened)->position;
}

long SeekMemory(voidpf, voidpf opened, ZPOS64_T offset, int origin)
{
    auto* stream = static_cast<MemoryStream*>(opened);
    const ZPOS64_T total = stream->bytes->size();
    ZPOS64_T base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR)
        base = stream->position;
    else if (origin == ZLIB_FILEFUNC_SEEK_END)
        base = total;
    else if (origin != ZLIB_FILEFUNC_SEEK_SET)
        return -1;
    if (offset > total || base > total - offset) return -1;
    stream->position = base + offset;
    return 0;
}

int CloseMemory(voidpf, voidpf)
{
    return 0;
}

int NoStreamError(voidpf, voidpf)
{
    return 0;
}

// An archive held in memory and opened by minizip.
class ArchiveReader {
public:
    ArchiveReader() = default;
    ~ArchiveReader()
    {
        if (zip_ != nullptr) unzClose(zip_);  // also closes an open entry
    }
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    // `name` names the archive in failures.
    FileStatus Open(std::vector<std::uint8_t> bytes, const std::string& name)
    {
        bytes_ = std::move(bytes);
        name_ = name;
        FileStatus ended = CheckEndRecord(bytes_, name_);
        if (!ended.ok()) return ended;
        stream_.bytes = &bytes_;
        zlib_filefunc64_def files{};
        files.zopen64_file = &OpenMemory;
        files.zread_file = &ReadMemory;
        files.zwrite_file = &WriteNothing;
        files.ztell64_file = &TellMemory;
        files.zseek64_file = &SeekMemory;
        files.zclose_file = &CloseMemory;
        files.zerror_file = &NoStreamError;
        files.opaque = &stream_;
        zip_ = unzOpen2_64(name_.c_str(), &files);
        if (zip_ != nullptr) return {};
        return NotAnArchive(name_);
    }

    unzFile get() const { return zip_; }
    const std::string& name() const { return name_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::string name_;
    MemoryStream stream_;
    unzFile zip_ = nullptr;
};

// The files one unpack has written; removed again unless the unpack succeeds.
class UnpackedFiles {
public:
    explicit UnpackedFiles(std::string folder) : folder_(std::move(folder)) {}
    ~UnpackedFiles()
    {
        if (kept_) return;
        for (const std::string& name : names_) unlink(JoinPath(folder_, name).c_str());
    }
    UnpackedFiles(const UnpackedFiles&) = delete;
    UnpackedFiles& operator=(const UnpackedFiles&) = delete;

    const std::string& folder() const { return folder_; }
    // A later entry of the same name replaces the earlier file.
    void Add(const std::string& name)
    {
        if (std::find(names_.begin(), names_.end(), name) == names_.end()) names_.push_back(name);
    }
    std::vector<std::string> Keep()
    {
        kept_ = true;
        return names_;
    }

private:
    std::string folder_;
    std::vector<std::string> names_;
    bool kept_ = false;
};

struct Entry {
    std::string archivePath;
    std::string rawName;  // as stored in the archive
    std::string name;     // the file name it is unpacked as
    unz_file_info64 info{};
};

FileStatus EntryFailure(const Entry& entry, const std::string& what)
{
    return Failure("Entry " + Quoted(entry.rawName) + " of " + Quoted(entry.archivePath) + ": " +
                   what);
}

// The entry's name without any folder part. Whatever is left must name a file
// in the target folder itself; anything else could reach outside it.
FileStatus SetSafeName(Entry* entry)
{
    if (entry->rawName.find('\0') != std::string::npos) {
        return EntryFailure(*entry, "the name holds a NUL byte");
    }
    entry->name = FileNameWithExtension(entry->rawName);
    if (entry->name.empty() || entry->name == "." || entry->name == "..") {
        return EntryFailure(*entry, "the name does not name a file");
    }
    return {};
}

FileStatus CheckReadable(const Entry& entry)
{
    const unz_file_info64& info = entry.info;
    if ((info.flag & 1u) != 0) return EntryFailure(entry, "encrypted entries are not supported");
    if (info.compression_method != 0 && info.compression_method != Z_DEFLATED) {
        return EntryFailure(entry, "compression method " + std::to_string(info.compression_method) +
                                       " is not supported");
    }
    if (info.uncompressed_size > static_cast<ZPOS64_T>(kLargestAttachment)) {
        return EntryFailure(entry, "larger than the largest attachment (2 GiB - 1 byte)");
    }
    return {};
}

FileOutcome<Entry> ReadCurrentEntry(const ArchiveReader& archive, std::vector<char>* nameBuffer)
{
    Entry entry;
    entry.archivePath = archive.name();
    const int rc =
        unzGetCurrentFileInfo64(archive.get(), &entry.info, nameBuffer->data(),
                                static_cast<uLong>(nameBuffer->size()), nullptr, 0, nullptr, 0);
    if (rc != UNZ_OK) {
        return FailureOf<Entry>(
            Failure("Cannot unpack " + Quoted(archive.name()) + ": " + UnzipErrorText(rc)));
    }
    entry.rawName.assign(nameBuffer->data(),
                         std::min<std::size_t>(entry.info.size_filename, nameBuffer->size()));
    FileStatus status = SetSafeName(&entry);
    if (status.ok()) status = CheckReadable(entry);
    if (!status.ok()) return FailureOf<Entry>(std::move(status));
    FileOutcome<Entry> outcome;
    outcome.value = std::move(entry);
    return outcome;
}

// Hands every entry of the archive, its name checked, to `visit`, in order;
// the first failure stops the walk. An archive without entries fails.
FileStatus ForEachEntry(const ArchiveReader& archive,
                        const std::function<FileStatus(const Entry&)>& visit)
{
    unz_global_info64 global{};
    int rc = unzGetGlobalInfo64(archive.get(), &global);
    // A stored attachment always holds an entry; minizip also reads a cut-off
    // end record as "no entries".
    if (rc == UNZ_OK && global.number_entry == 0) {
        return Failure("Cannot unpack " + Quoted(archive.name()) + ": no entries");
    }
    std::vector<char> nameBuffer(kNameBufferSize);
    if (rc == UNZ_OK) rc = unzGoToFirstFile(archive.get());
    while (rc == UNZ_OK) {
        FileOutcome<Entry> entry = ReadCurrentEntry(archive, &nameBuffer);
        if (!entry.ok()) return Failure(entry.error);
        FileStatus visited = visit(entry.value);
        if (!visited.ok()) return visited;
        rc = unzGoToNextFile(archive.get());
    }
    if (rc != UNZ_END_OF_LIST_OF_FILE) {
        return Failure("Cannot unpack " + Quoted(archive.name()) + ": " + UnzipErrorText(rc));
    }
    return {};
}

// Copies the open entry's data to `out`. minizip checks the CRC when the entry
// is closed, but only when the data reached the stated size; data that ends
// early must be caught here.
FileStatus CopyEntryData(unzFile zip, const Entry& entry, FileWriter* out)
{
    std::vector<std::uint8_t> block(kUnpackBlockSize);
    ZPOS64_T total = 0;
    for (;;) {
        const int n = unzReadCurrentFile(zip, block.data(), static_cast<unsigned>(block.size()));
        if (n < 0) return EntryFailure(entry, UnzipErrorText(n));
        if (n == 0) break;
        total += static_cast<ZPOS64_T>(n);
        if (total > entry.info.uncompressed_size) {  // minizip stops at the stated size
            return EntryFailure(entry, "the data is longer than stated");
        }
        FileStatus written = out->Write(block.data(), static_cast<std::size_t>(n));
        if (!written.ok()) return written;
    }
    if (total != entry.info.uncompressed_size) {
        return EntryFailure(entry, "the data is shorter than stated");
    }
    return {};
}

// Writes the archive's current entry, `entry`, into `out` and dates the file
// with the entry's date; `out` keeps the file only when all went well.
FileStatus ExtractCurrentEntry(unzFile zip, const Entry& entry, FileWriter* out)
{
    const int opened = unzOpenCurrentFile(zip);
    if (opened != UNZ_OK) return EntryFailure(entry, UnzipErrorText(opened));
    FileStatus status = CopyEntryData(zip, entry, out);
    const int closed = unzCloseCurrentFile(zip);
    if (!status.ok()) return status;
    if (closed != UNZ_OK) return EntryFailure(entry, UnzipErrorText(closed));
    status = out->SetTimes(TimeTFromZipDate(entry.info.tmu_date));
    if (status.ok()) status = out->Commit();
    return status;
}

FileOutcome<std::vector<std::string>> Unpack(const std::string& archivePath,
                                             const std::string& folder)
{
    using Names = std::vector<std::string>;
    if (folder.empty()) return FailureOf<Names>(Failure("No folder to unpack into"));
    FileOutcome<std::vector<std::uint8_t>> bytes = ReadFileBytes(archivePath);
    if (!bytes.ok()) return FailureOf<Names>(Failure(bytes.error));
    ArchiveReader archive;
    FileStatus status = archive.Open(std::move(bytes.value), archivePath);
    UnpackedFiles unpacked(folder);
    if (status.ok()) {
        status = ForEachEntry(archive, [&](const Entry& entry) {
            FileWriter out;
            FileStatus written =
                out.Create(JoinPath(folder, entry.name), FileWriter::Existing::Replace, 0600);
            if (written.ok()) written = ExtractCurrentEntry(archive.get(), entry, &out);
            if (written.ok()) unpacked.Add(entry.name);
            return written;
        });
    }
    if (!status.ok()) return FailureOf<Names>(std::move(status));
    FileOutcome<Names> outcome;
    outcome.value = unpacked.Keep();
    return outcome;
}

ExtractStatus Extract(std::vector<std::uint8_t> bytes, const std::string& archiveName,
                      const std::string& fileName, const std::string& targetPath,
                      FileWriter::Existing existing)
{
    ArchiveReader archive;
    ExtractStatus result;
    static_cast<FileStatus&>(result) = archive.Open(std::move(bytes), archiveName);
    if (!result.ok()) return result;
    // Every name is checked, as unpacking all would; the wanted entry is the
    // first whose name without folder part is the file's.
    ZPOS64_T wanted = 0;
    bool found = false;
    FileStatus walked = ForEachEntry(archive, [&](const Entry& entry) {
        if (!found && entry.name == fileName) {
            found = true;
            wanted = unzGetOffset64(archive.get());
        }
        return FileStatus{};
    });
    if (walked.ok() && !found)
        walked = Failure("Cannot unpack " + Quoted(archiveName) + ": no entry is named " +
                         Quoted(fileName));
    if (walked.ok() && unzSetOffset64(archive.get(), wanted) != UNZ_OK)
        walked = NotAnArchive(archiveName);
    std::vector<char> nameBuffer(kNameBufferSize);
    FileOutcome<Entry> entry;
    if (walked.ok()) {
        entry = ReadCurrentEntry(archive, &nameBuffer);
        if (!entry.ok()) walked = Failure(entry.error);
    }
    if (!walked.ok()) {
        result.error = std::move(walked.error);
        return result;
    }
    FileWriter out;
    FileStatus status = out.Create(targetPath, existing, 0600);
    if (!status.ok()) {
        result.error = std::move(status.error);
        result.atTarget = true;
        return result;
    }
    status = ExtractCurrentEntry(archive.get(), entry.value, &out);
    result.error = std::move(status.error);
    return result;
}

// --- Plain files -------------------------------------------------------------

FileStatus CopyFile(const std::string& source, const std::string& destination)
{
    struct stat info {};
    FileOutcome<FileDescriptor> in = OpenRegularFile(source, &info);
    if (!in.ok()) return Failure(in.error);
    FileWriter out;
    FileStatus status = out.Create(destination, FileWriter::Existing::Refuse, info.st_mode & 0777);
    if (status.ok()) {
        status = ReadInChunks(
            in.value.get(), source, kCopyBlockSize,
            [&](const std::uint8_t* data, std::size_t size) { return out.Write(data, size); });
    }
    if (status.ok()) status = out.SetTimes(info.st_mtime);
    if (status.ok()) status = out.Commit();
    return status;
}

FileOutcome<FileFacts> StatFacts(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return FailureOf<FileFacts>(SystemFailure("Cannot read", path, errno));
    }
    FileStatus status = CheckRegularFile(path, info);
    if (status.ok()) status = CheckAttachmentSize(path, info.st_size);
    if (!status.ok()) return FailureOf<FileFacts>(std::move(status));
    FileOutcome<FileFacts> facts;
    facts.value.size = static_cast<std::int32_t>(info.st_size);
    facts.value.lastWrite = DateFromTimeT(info.st_mtime);
    return facts;
}

}  // namespace

std::string FileNameWithExtension(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string BaseNameWithoutExtension(const std::string& path)
{
    const std::string name = FileNameWithExtension(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

FileOutcome<FileFacts> ReadFileFacts(const std::string& path)
{
    return WithoutExceptions<FileOutcome<FileFacts>>([&] { return StatFacts(path); });
}

FileStatus MakeSingleEntryArchive(const std::string& sourcePath, const std::string& archivePath)
{
    return WithoutExceptions<FileStatus>([&] { return MakeArchive(sourcePath, archivePath); });
}

FileOutcome<std::vector<std::string>> UnpackArchive(const std::string& archivePath,
                                                    const std::string& folder)
{
    return WithoutExceptions<FileOutcome<std::vector<std::string>>>(
        [&] { return Unpack(archivePath, folder); });
}

ExtractStatus ExtractEntry(std::vector<std::uint8_t> archive, const std::string& archiveName,
                           const std::string& fileName, const std::string& targetPath,
                           FileWriter::Existing existing)
{
    try {
        return Extract(std::move(archive), archiveName, fileName, targetPath, existing);
    } catch (const std::bad_alloc&) {
        ExtractStatus result;
        result.error = "Out of memory";
        return result;
    }
}

FileWriter::~FileWriter()
{
    Discard();
}

FileStatus FileWriter::Create(const std::string& path, Existing existing, mode_t mode)
{
    Discard();
    if (existing == Existing::Replace) {
        // Unlinking first means a planted symlink or hard link is replaced, not written through.
        FileStatus removed = RemoveExisting(path);
        if (!removed.ok()) return removed;
    }
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0) return SystemFailure("Cannot create", path, errno);
    fd_ = fd;
    path_ = path;
    return {};
}

FileStatus FileWriter::Write(const void* data, std::size_t size)
{
    if (fd_ < 0) return Failure("Cannot write: no file is open");
    if (WriteAll(fd_, static_cast<const std::uint8_t*>(data), size)) return {};
    return SystemFailure("Cannot write", path_, errno);
}

FileStatus FileWriter::SetTimes(std::time_t lastWrite)
{
    if (fd_ < 0) return Failure("Cannot set the time: no file is open");
    const struct timespec times[2] = {{lastWrite, 0}, {lastWrite, 0}};
    if (futimens(fd_, times) == 0) return {};
    return SystemFailure("Cannot set the time of", path_, errno);
}

FileStatus FileWriter::Commit()
{
    if (fd_ < 0) return Failure("Cannot close: no file is open");
    const int fd = std::exchange(fd_, -1);
    if (close(fd) == 0) {
        path_.clear();
        return {};
    }
    FileStatus failed = SystemFailure("Cannot write", path_, errno);
    unlink(path_.c_str());
    path_.clear();
    return failed;
}

void FileWriter::Discard()
{
    if (fd_ >= 0) {
        close(std::exchange(fd_, -1));
        unlink(path_.c_str());
    }
    path_.clear();
}

FileStatus WriteFileBytes(const std::string& path, const void* data, std::size_t size)
{
    return WithoutExceptions<FileStatus>([&] {
        FileWriter out;
        FileStatus status = out.Create(path, FileWriter::Existing::Replace, 0600);
        if (status.ok()) status = out.Write(data, size);
        if (status.ok()) status = out.Commit();
        return status;
    });
}

FileStatus ReadFileChunks(const std::string& path, std::size_t chunkSize, const ChunkSink& sink)
{
    return WithoutExceptions<FileStatus>([&] {
        struct stat info {};
        FileOutcome<FileDescriptor> in = OpenRegularFile(path, &info);
        if (!in.ok()) return Failure(in.error);
        return ReadInChunks(in.value.get(), path, chunkSize, sink);
    });
}

FileOutcome<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path)
{
    using Bytes = std::vector<std::uint8_t>;
    return WithoutExceptions<FileOutcome<Bytes>>([&] {
        FileOutcome<Bytes> bytes;
        FileStatus status =
            ReadFileChunks(path, kCopyBlockSize, [&](const std::uint8_t* data, std::size_t size) {
                bytes.value.insert(bytes.value.end(), data, data + size);
                return FileStatus{};
            });
        if (!status.ok()) return FailureOf<Bytes>(std::move(status));
        return bytes;
    });
}

FileStatus CopyFileNoOverwrite(const std::string& source, const std::string& destination)
{
    return WithoutExceptions<FileStatus>([&] { return CopyFile(source, destination); });
}

}  // namespace lindor
