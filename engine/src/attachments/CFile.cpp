#include "core/OutParam.h"
#include "attachments/CFile.h"

#include <cstdio>

#include "attachments/DesktopLauncher.h"
#include "attachments/WorkArchive.h"
#include "attachments/ZipArchive.h"
#include "core/ClassRegistry.h"
#include "core/ErrorReport.h"
#include "core/Folders.h"
#include "db/DatabaseError.h"
#include "db/Recordset.h"
#include "mapping/ValueConversion.h"

namespace lindor {
namespace {

const ClassRegistration registration("File", &CreateInstance<CFile>);
const Reporter kReport(ExternalClassName("File"));

const char* const kGenFileSource = "CAttachFile::GenFile";
const char* const kGetFileFailed = "Get File Failed!";
const char* const kOpenFileFailed = "Open File Failed";
constexpr std::size_t kReadChunk = 8192;

// A stored name used inside the temporary folder: only its last part, so a
// name holding folders cannot point outside that folder.
bool SafeLocalName(const std::string& storedName, std::string* name)
{
    *name = FileNameWithExtension(storedName);
    return !name->empty() && *name != "." && *name != "..";
}

bool LogFileFailure(const std::string& text)
{
    LogMessage(kLogFile, kGenFileSource, text);
    return false;
}

// Copies the stored archive bytes of the current row into a new file.
FileStatus WriteStoredArchive(db::Recordset& row, const std::string& archive)
{
    FileWriter writer;
    FileStatus status = writer.Create(archive, FileWriter::Existing::Replace);
    if (!status.ok()) return status;
    db::Field data = row.Fields("FileData");
    const std::int64_t size = data.ActualSize();
    for (std::int64_t done = 0; done < size;) {
        const std::vector<std::uint8_t> chunk = data.GetChunk(kReadChunk);
        if (chunk.empty()) return FileStatus{"The stored file ended before its recorded size"};
        status = writer.Write(chunk.data(), chunk.size());
        if (!status.ok()) return status;
        done += static_cast<std::int64_t>(chunk.size());
    }
    return writer.Commit();
}

// Unpacks attachment `id` into the temporary folder, through an archive named
// after the base name of `wantedPath`. When `storedName` is given it gets
// the stored file name, and an empty one fails. Logs every failure.
bool GenFile(std::int32_t id, const std::string& wantedPath, std::string* storedName)
{
    const std::string folder = PrivateTempFolder();
    std::string archive;
    try {
        db::Recordset row;
        row.Open(
            Format("SELECT * FROM tAttachment WHERE AttachmentID = %ld", static_cast<long>(id)),
            db::ProcessConnectionString(), db::CursorType::Static, db::LockType::ReadOnly);
        if (row.IsEOF()) {
            LogMessage(kLogDatabase, kGenFileSource,
                       Format("File(ID=%ld) does not exist", static_cast<long>(id)));
            return false;
        }
        const std::string name = mapping::ReadText(row.Fields("FileName").Value());
        if (storedName != nullptr) {
            *storedName = name;
            if (name.empty()) {
                LogMessage(kLogGeneral, kGenFileSource,
                           Format("File(ID=%ld) has no stored file name", static_cast<long>(id)));
                return false;
            }
        }
        archive = WorkArchivePath(folder, wantedPath, name);
        const FileStatus written = WriteStoredArchive(row, archive);
        if (!written.ok()) return LogFileFailure(written.error);
    } catch (const DatabaseError& error) {
        if (!archive.empty()) std::remove(archive.c_str());
        LogDatabaseError(kLogDatabase, kGenFileSource, error);
        return false;
    }
    const auto unpacked = UnpackArchive(archive, folder);
    std::remove(archive.c_str());
    if (unpacked.ok()) return true;
    LogMessage(kLogGeneral, kGenFileSource,
               Format("Failed to unzip file %s to folder %s.", archive.c_str(), folder.c_str()));
    return false;
}

}  // namespace

HRESULT CFile::GetFile(const std::string& destination)
{
    const char* const source = "CAttachFile::GetFile";
    if (id_ == 0) return kReport.Fail(kGetFileFailed, kLogGeneral, source, "File id is 0");
    const std::string folder = PrivateTempFolder();
    if (folder.empty())
        return kReport.Fail(kGetFileFailed, kLogGeneral, source, "GetTempPath API failed");
    std::string storedName;
    std::string localName;
    try {
        if (!GenFile(id_, folder + FileNameWithExtension(destination), &storedName))
            return kReport.FailQuietly(kGetFileFailed);
    } catch (const std::exception& error) {
        return kReport.Fail(kGetFileFailed, kLogFile, kGenFileSource, error.what());
    }
    if (!SafeLocalName(storedName, &localName) ||
        !CopyFileNoOverwrite(folder + localName, destination).ok())
        return kReport.Fail(kGetFileFailed, kLogGeneral, source, "CopyFile failed!");
    std::remove((folder + localName).c_str());
    return S_OK;
}

HRESULT CFile::OpenFile()
{
    const char* const source = "CAttachFile::OpenFile";
    const std::string folder = PrivateTempFolder();
    if (folder.empty())
        return kReport.Fail(kOpenFileFailed, kLogGeneral, source, "GetTempPath API failed");
    std::string localName;
    if (fileName_.empty() || !SafeLocalName(fileName_, &localName))
        return kReport.Fail(kOpenFileFailed, kLogGeneral, source, "File Name is not specified");
    try {
        if (!GenFile(id_, folder + localName, nullptr)) return kReport.FailQuietly(kOpenFileFailed);
    } catch (const std::exception& error) {
        return kReport.Fail(kOpenFileFailed, kLogFile, kGenFileSource, error.what());
    }
    // The desktop's answer is not awaited; a program that could not even be
    // started is only noted in the log.
    if (!OpenWithDesktop(folder + localName, folder))
        LogMessage(kLogFile, source, "xdg-open could not be started for " + folder + localName);
    return S_OK;
}

HRESULT CFile::get_FileName(std::string* out)
{
    return GiveOut(fileName_, out);
}

HRESULT CFile::put_FileName(const std::string& value)
{
    fileName_ = value;
    return S_OK;
}

HRESULT CFile::get_FullName(std::string* out)
{
    return GiveOut(fullName_, out);
}

HRESULT CFile::put_FullName(const std::string& value)
{
    fullName_ = value;
    fileName_ = FileNameWithExtension(value);
    return S_OK;
}

HRESULT CFile::get_ID(std::int32_t* out)
{
    return GiveOut(id_, out);
}

HRESULT CFile::get_FileSize(std::int32_t* out)
{
    return GiveOut(fileSize_, out);
}

HRESULT CFile::put_FileSize(std::int32_t value)
{
    fileSize_ = value;
    return S_OK;
}

HRESULT CFile::get_FileDate(Date* out)
{
    return GiveOut(fileDate_, out);
}

HRESULT CFile::put_FileDate(Date value)
{
    fileDate_ = value;
    return S_OK;
}

}  // namespace lindor
