// The file side of attachments: the one-entry zip archive an attachment is
// stored as, unpacking such an archive into a folder, and the small file steps
// around it (names, facts, copies, chunked reads and writes).
//
// Nothing here throws or writes the error log: every step returns its outcome
// with a description of the failure, and the attachment classes that call it
// report and log the failure under their own names.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include <lindor/Types.h>

namespace lindor {

// The outcome of a file step: success, or the reason it failed.
struct FileStatus {
    std::string error;  // empty when the step succeeded

    bool ok() const { return error.empty(); }
};

// A file step that also produces a value (valid only when ok()).
template <typename T>
struct FileOutcome {
    T value{};
    std::string error;

    bool ok() const { return error.empty(); }
};

// Size and last-write time of a source file, as an attachment row keeps them.
struct FileFacts {
    std::int32_t size = 0;
    Date lastWrite = 0.0;  // local time, whole seconds
};

// Source files are compressed in blocks of this size.
constexpr std::size_t kZipBlockSize = 2048;

// --- Names -----------------------------------------------------------------

// The part after the last '/', the one folder separator of this system:
// "/x/trace.txt" -> "trace.txt"; "back\\slash.txt" stays whole.
std::string FileNameWithExtension(const std::string& path);
// The file name without its extension: "/x/trace.txt" -> "trace". A leading
// dot does not start an extension (".profile" stays ".profile").
std::string BaseNameWithoutExtension(const std::string& path);

// --- Archives ----------------------------------------------------------------

// Size (at most 2 GiB - 1 bytes) and last-write time of a regular file.
FileOutcome<FileFacts> ReadFileFacts(const std::string& path);

// Creates `archivePath` (replacing a file of that name) holding one entry: the
// source's name without folder, deflated at the default level, dated with the
// source's last-write time in local time, with the source's mode as Unix
// external attributes, without extra fields or comments. Removes the archive
// again when any step fails.
FileStatus MakeSingleEntryArchive(const std::string& sourcePath, const std::string& archivePath);

// Writes every entry of `archivePath` into `folder` under the entry's name
// without folder part, replacing a file of that name, and dates it with the
// entry's date and time. Names that reduce to "", "." or "..", encrypted
// entries, unknown methods, damaged data and archives without entries fail
// the whole unpack; the files
// this call wrote are then removed again. Gives the names written, in order.
FileOutcome<std::vector<std::string>> UnpackArchive(const std::string& archivePath,
                                                    const std::string& folder);

// --- Plain files -------------------------------------------------------------

// A file being written. Create() makes it fresh (never through a symlink or
// an existing hard link); until Commit() succeeds the destructor removes it,
// so a failed write never leaves a partial file behind.
class FileWriter {
public:
    enum class Existing { Replace, Refuse };

    FileWriter() = default;
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    FileStatus Create(const std::string& path, Existing existing, mode_t mode = 0600);
    FileStatus Write(const void* data, std::size_t size);
    // Sets the last-write and access times (whole seconds).
    FileStatus SetTimes(std::time_t lastWrite);
    // Closes the file and keeps it.
    FileStatus Commit();

private:
    void Discard();

    int fd_ = -1;
    std::string path_;
};

// The outcome of ExtractEntry; `atTarget` tells a failure to make the target
// file from one in the archive.
struct ExtractStatus : FileStatus {
    bool atTarget = false;
};

// Writes the entry of the archive held in `archive` whose name without folder
// part is `fileName` straight into a new file `targetPath` (never through a
// link; an existing file is replaced or refused as `existing` says), dated
// with the entry's date. The archive is checked as UnpackArchive checks it
// (every entry's name included) before the target is made; the target is
// removed again when the data turns out damaged. `archiveName` names the
// archive in failures.
ExtractStatus ExtractEntry(std::vector<std::uint8_t> archive, const std::string& archiveName,
                           const std::string& fileName, const std::string& targetPath,
                           FileWriter::Existing existing);

// Creates `path` (replacing a file of that name, mode 0600) with `size` bytes.
FileStatus WriteFileBytes(const std::string& path, const void* data, std::size_t size);

// Receives one chunk of a file; a failure stops the reading with that text.
using ChunkSink = std::function<FileStatus(const std::uint8_t* data, std::size_t size)>;

// Hands a regular file to `sink` in chunks of `chunkSize` bytes (the last may
// be shorter; an empty file gives no chunk). Exceptions thrown by `sink` pass
// through unchanged, the file being closed.
FileStatus ReadFileChunks(const std::string& path, std::size_t chunkSize, const ChunkSink& sink);
FileOutcome<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path);

// Copies a regular file with its permission bits and last-write time to a
// destination that must not exist yet (a symlink there counts as existing).
FileStatus CopyFileNoOverwrite(const std::string& source, const std::string& destination);

}  // namespace lindor
