#include "attachments/CFile.h"
#include "core/OutParam.h"

#include <cstdio>

#include "attachments/DesktopLauncher.h"
#include "attachments/ZipArchive.h"
#include "core/ClassRegistry.h"
#include "core/ErrorReport.h"
#include "core/Folders.h"
#include "core/Guarded.h"
#include "db/DatabaseError.h"
#include "db/Recordset.h"
#include "mapping/ValueConversion.h"
#include "stores/AttachmentStore.h"

namespace lindor {
namespace {

const ClassRegistration registration("File", &CreateInstance<CFile>);
const Reporter kReport(ExternalClassName("File"));

const char* const kGenFileSource = "CAttachFile::GenFile";
const char* const kGetFileFailed = "Get File Failed!";
const char* const kOpenFileFailed = "Open File Failed";

// A stored name used as a file name: only its last part, so a name holding
// folders cannot point elsewhere.
bool SafeLocalName(const std::string& storedName, std::string* name)
{
    *name = FileNameWithExtension(storedName);
    return !name->empty() && *name != "." && *name != "..";
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

enum class Fetched { Written, Failed, TargetRefused };

// Unpacks the stored file of attachment `id` straight from the stored archive
// into `target` (replaced or refused when it exists, as `existing` says).
// Every failure is logged, except a target that could not be made, which the
// caller reports in its own words.
Fetched FetchStoredFile(std::int32_t id, const std::string& target, FileWriter::Existing existing)
{
    std::string storedName;
    std::vector<std::uint8_t> archive;
    const bool read = RunLoggedStep(kGenFileSource, [&] {
        db::Connection connection(db::ProcessConnectionString());
        db::Recordset row;
        stores::OpenAttachment(row, connection, id);
        if (row.IsEOF()) {
            LogMessage(kLogDatabase, kGenFileSource,
                       Format("File(ID=%ld) does not exist", static_cast<long>(id)));
            return false;
        }
        storedName = mapping::ReadText(row.Fields("FileName").Value());
        db::Field data = row.Fields("FileData");
        archive = data.GetChunk(static_cast<std::size_t>(data.ActualSize()));
        return true;
    });
    if (!read) return Fetched::Failed;
    std::string entryName;
    if (!SafeLocalName(storedName, &entryName)) {
        LogMessage(kLogGeneral, kGenFileSource,
                   Format("File(ID=%ld) has no stored file name", static_cast<long>(id)));
        return Fetched::Failed;
    }
    const ExtractStatus extracted = ExtractEntry(
        std::move(archive), Format("the stored file of File(ID=%ld)", static_cast<long>(id)),
        entryName, target, existing);
    if (extracted.ok()) return Fetched::Written;
    if (extracted.atTarget) return Fetched::TargetRefused;
    LogMessage(kLogGeneral, kGenFileSource,
               Format("Failed to unzip file %s to folder %s.", storedName.c_str(),
                      FolderOf(target).c_str()));
    return Fetched::Failed;
}

}  // namespace

HRESULT CFile::GetFile(const std::string& destination)
{
    const char* const source = "CAttachFile::GetFile";
    if (id_ == 0) return kReport.Fail(kGetFileFailed, kLogGeneral, source, "File id is 0");
    if (PrivateTempFolder().empty())
        return kReport.Fail(kGetFileFailed, kLogGeneral, source, "GetTempPath API failed");
    switch (FetchStoredFile(id_, destination, FileWriter::Existing::Refuse)) {
        case Fetched::Written:
            return S_OK;
        case Fetched::TargetRefused:
            return kReport.Fail(kGetFileFailed, kLogGeneral, source, "CopyFile failed!");
        case Fetched::Failed:
            break;
    }
    return kReport.FailQuietly(kGetFileFailed);
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
    switch (FetchStoredFile(id_, folder + localName, FileWriter::Existing::Replace)) {
        case Fetched::Written:
            break;
        case Fetched::TargetRefused:
            return kReport.Fail(kOpenFileFailed, kLogFile, kGenFileSource,
                                "Cannot write " + folder + localName);
        case Fetched::Failed:
            return kReport.FailQuietly(kOpenFileFailed);
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
