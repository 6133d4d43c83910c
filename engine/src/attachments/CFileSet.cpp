#include "attachments/CFileSet.h"
#include "core/OutParam.h"

#include <cstdio>

#include "attachments/CFile.h"
#include "attachments/WorkArchive.h"
#include "attachments/ZipArchive.h"
#include "core/ClassRegistry.h"
#include "core/CurrentRights.h"
#include "core/ErrorInfo.h"
#include "core/ErrorReport.h"
#include "core/Folders.h"
#include "core/Guarded.h"
#include "db/DatabaseError.h"
#include "db/NextID.h"
#include "db/Recordset.h"
#include "stores/AttachmentStore.h"

namespace lindor {
namespace {

const ClassRegistration registration("FileSet", &CreateInstance<CFileSet>);
const Reporter kReport(ExternalClassName("FileSet"));

const char* const kAddFailed = "Add file to database failed!";
const char* const kSaveSource = "CFileSet::SaveFileData";
const char* const kNoProject = "You cannot perform this action when no product is selected!";
constexpr std::size_t kStoreChunk = 4096;

// Removes the temporary archive whatever happens to the store.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile() { std::remove(path_.c_str()); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Writes one attachment row: its facts by position, then the archive in chunks.
FileStatus WriteAttachmentRow(const CFile& file, std::int32_t bugID, const std::string& archive)
{
    db::Connection connection(db::ProcessConnectionString());
    db::Recordset rows;
    stores::OpenAttachmentsForAdding(rows, connection);
    rows.AddNew();
    rows.Fields(0).SetValue(Variant::I4(file.ID()));
    rows.Fields(1).SetValue(Variant::I4(bugID));
    rows.Fields(2).SetValue(Variant::Text(file.FileName()));
    rows.Fields(3).SetValue(Variant::I4(file.FileSize()));
    rows.Fields(4).SetValue(Variant::R8(file.FileDate()));
    db::Field data = rows.Fields(5);
    const FileStatus read =
        ReadFileChunks(archive, kStoreChunk, [&data](const std::uint8_t* bytes, std::size_t size) {
            data.AppendChunk(std::vector<std::uint8_t>(bytes, bytes + size));
            return FileStatus{};
        });
    if (!read.ok()) return read;
    rows.Update();
    rows.Close();
    return FileStatus{};
}

// Deletes the attachment row with that number; logs why it could not.
bool DeleteAttachmentRow(std::int32_t id)
{
    const char* const source = "CFileSet::RealDeleteFile";
    return RunLoggedStep(source, [&] {
        db::Connection connection(db::ProcessConnectionString());
        if (stores::DeleteAttachment(connection, id)) return true;
        LogMessage(kLogGeneral, source,
                   Format("File(ID=%ld) does not exist", static_cast<long>(id)));
        return false;
    });
}

std::int32_t IdOf(IFile* file)
{
    std::int32_t id = 0;
    if (file == nullptr || Failed(file->get_ID(&id))) return 0;
    return id;
}

}  // namespace

void CFileSet::Attach(std::int32_t bugID, IExeContext* context)
{
    bugID_ = bugID;
    context_ = ComPtr<IExeContext>(context);
}

std::int32_t CFileSet::IndexOf(std::int32_t id) const
{
    return files_.IndexWhere([id](const ComPtr<IFile>& file) { return IdOf(file.get()) == id; });
    return -1;
}

bool CFileSet::HasEditAttachmentRight() const
{
    CurrentRights* rights = CurrentRightsOf(context_.get());
    const ComPtr<IRight> right = rights != nullptr ? rights->StoredActiveProjectRight() : nullptr;
    if (!right) {
        SetErrorInfo(kNoProject, kReport.className());
        LogMessage(kLogGeneral, "CBugSet::HasRight", kNoProject);
        return false;
    }
    return HasFlag(right.get(), &IRight::get_EditAttachment);
}

bool CFileSet::StoreFile(const CFile& file) const
{
    const std::string folder = PrivateTempFolder();
    if (folder.empty()) {
        LogMessage(kLogFile, kSaveSource, "Zip file failed");
        return false;
    }
    const TemporaryFile archive(WorkArchivePath(folder, file.FullName(), file.FullName()));
    if (!MakeSingleEntryArchive(file.FullName(), archive.path()).ok()) {
        LogMessage(kLogFile, kSaveSource, "Zip file failed");
        return false;
    }
    return RunLoggedStep(kSaveSource, [&] {
        const FileStatus stored = WriteAttachmentRow(file, bugID_, archive.path());
        if (!stored.ok()) LogMessage(kLogFile, kSaveSource, stored.error);
        return stored.ok();
    });
}

HRESULT CFileSet::get_Count(std::int32_t* out)
{
    return files_.GiveCount(out);
}

HRESULT CFileSet::get_Item(std::int32_t index, IFile** out)
{
    return files_.GiveItem(index, out, kReport, "CFileSet::get_Item");
}

HRESULT CFileSet::get_BugID(std::int32_t* out)
{
    return GiveOut(bugID_, out);
}

HRESULT CFileSet::get_ExeContext(IExeContext** out)
{
    if (out == nullptr) return E_FAIL;
    context_.CopyTo(out);
    return S_OK;
}

HRESULT CFileSet::Add(const std::string& path, IFile** out)
{
    const char* const source = "CFileSet::Add";
    if (out == nullptr) return E_FAIL;
    *out = nullptr;
    if (bugID_ == 0)
        return kReport.Fail(kAddFailed, kLogGeneral, source, "BugID is 0, can not continue!");
    if (!HasEditAttachmentRight())
        return kReport.FailRight("add attachment", source, "No right to perform this action");
    const std::int32_t id = GetNextID("NextAttachmentID");
    if (id == 0) return kReport.Fail(kAddFailed, kLogGeneral, source, "GetNextID return 0");
    ComPtr<CFile> file = MakeObject<CFile>();
    file->SetID(id);
    file->put_FullName(path);
    const FileOutcome<FileFacts> facts = ReadFileFacts(path);
    if (facts.ok()) {
        file->put_FileSize(facts.value.size);
        file->put_FileDate(facts.value.lastWrite);
    }
    if (!StoreFile(*file)) return kReport.FailQuietly(kAddFailed);
    HandOut(file, out);
    return S_OK;
}

HRESULT CFileSet::RemoveByID(std::int32_t id)
{
    const char* const source = "CFileSet::RemoveByID";
    if (!HasEditAttachmentRight())
        return kReport.FailRight("delete attachment", source,
                                 "Has no right to perform this action");
    const std::int32_t index = IndexOf(id);
    if (index < 0)
        return kReport.Fail("Delelte file failed!", kLogGeneral, source,
                            Format("File(ID=%ld) is not in this set", static_cast<long>(id)));
    if (!DeleteAttachmentRow(id)) return kReport.FailQuietly("Delete file failed!");
    files_.RemoveAt(index);
    return S_OK;
}

HRESULT CFileSet::RemoveByIndex(std::int32_t index)
{
    const char* const source = "CFileSet::RemoveByIndex";
    if (!HasEditAttachmentRight())
        return kReport.FailRight("delete attachment", source,
                                 "Has no right to perform this action");
    if (!files_.Has(index)) return kReport.FailBounds(source);
    if (!DeleteAttachmentRow(IdOf(files_.At(index).get())))
        return kReport.FailQuietly("Delelte file failed");
    files_.RemoveAt(index);
    return S_OK;
}

HRESULT CFileSet::DeleteByID(std::int32_t id)
{
    const std::int32_t index = IndexOf(id);
    if (index < 0)
        return kReport.Fail("Remove file failed!", kLogGeneral, "CFileSet::DeleteByID",
                            Format("File(ID=%ld) is not in this set", static_cast<long>(id)));
    files_.RemoveAt(index);
    return S_OK;
}

HRESULT CFileSet::DeleteByIndex(std::int32_t index)
{
    if (!files_.Has(index)) return kReport.FailBounds("CFileSet::DeleteByIndex");
    files_.RemoveAt(index);
    return S_OK;
}

HRESULT CFileSet::Append(IFile* file)
{
    if (file == nullptr)
        return kReport.Fail("Append file failed!", kLogGeneral, "CFileSet::Append",
                            "Invalid Pointer");
    files_.Append(file);
    return S_OK;
}

}  // namespace lindor
