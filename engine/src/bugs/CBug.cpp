#include "bugs/CBug.h"
#include "core/OutParam.h"

#include "attachments/CFile.h"
#include "attachments/CFileSet.h"
#include "core/ClassRegistry.h"
#include "core/ErrorReport.h"
#include "core/Guarded.h"
#include "db/Recordset.h"
#include "mapping/ValueConversion.h"
#include "stores/AttachmentStore.h"
#include "stores/BugStore.h"
#include "stores/ClassificationStore.h"
#include "stores/ProjectStore.h"

namespace lindor {
namespace {

const ClassRegistration registration("Bug", &CreateInstance<CBug>);
const Reporter kReport(ExternalClassName("Bug"));

template <class T>
HRESULT Get(const T& value, T* out)
{
    return GiveOut(value, out);
}

template <class T>
HRESULT Put(T& field, const T& value)
{
    field = value;
    return S_OK;
}

// How the name behind an ID is found, and how a failure is logged.
struct NameLookUp {
    bool (*read)(db::Connection&, std::int32_t, std::string*);  // false when absent
    const char* source;                                         // the log source
    const char* negativeText;                                   // logged for an ID below 0
    const char* missingFormat;  // logged, with the ID, when no row has it
};

const NameLookUp kUserName = {&stores::ReadUserNameForBug, "GetUserName",
                              "ReportedByID must be larger than 0", "User(ID=%ld) does not exist"};
const NameLookUp kVersionName = {&stores::ReadVersionName, "GetVersionName",
                                 "VersionID must be larger than 0",
                                 "Version(ID=%ld) does not exist"};
const NameLookUp kClassName = {&stores::ReadClassificationName, "CBug::put_ClassificationID",
                               "ClassificationID must be larger than 0",
                               "Classificatin(ID=%ld) does not exist"};

// The name of record `id` (above 0), read on a connection of its own; false
// after one log entry when it cannot be had.
bool LookUpName(const NameLookUp& lookUp, std::int32_t id, std::string* name)
{
    if (id < 0) {
        LogMessage(kLogGeneral, lookUp.source, lookUp.negativeText);
        return false;
    }
    return RunLoggedStep(lookUp.source, [&] {
        db::Connection connection(db::ProcessConnectionString());
        if (lookUp.read(connection, id, name)) return true;
        LogMessage(kLogDatabase, lookUp.source,
                   Format(lookUp.missingFormat, static_cast<long>(id)));
        return false;
    });
}

// Sets an ID with its looked-up name; on failure both keep their values.
HRESULT SetLinkedID(const NameLookUp& lookUp, const char* failText, std::int32_t value,
                    std::int32_t& id, std::string& name)
{
    std::string found;
    if (value != 0 && !LookUpName(lookUp, value, &found)) return kReport.FailQuietly(failText);
    id = value;
    name = std::move(found);
    return S_OK;
}

// One File per attachment row of the bug, without the contents.
void ReadAttachmentList(std::int32_t bugID, CFileSet& files)
{
    db::Connection connection(db::ProcessConnectionString());
    db::Recordset rows;
    stores::OpenAttachmentList(rows, connection, bugID);
    for (; !rows.IsEOF(); rows.MoveNext()) {
        ComPtr<CFile> file = MakeObject<CFile>();
        file->SetID(mapping::ReadWholeNumber(rows.Fields(0).Value()));
        file->put_FileName(mapping::ReadText(rows.Fields(1).Value()));
        file->put_FileSize(mapping::ReadWholeNumber(rows.Fields(2).Value()));
        file->put_FileDate(mapping::ReadDate(rows.Fields(3).Value()));
        files.Append(file.get());
    }
}

}  // namespace

HRESULT CBug::get_ID(std::int32_t* out)
{
    return Get(record_.id, out);
}
HRESULT CBug::get_Description(std::string* out)
{
    return Get(record_.description, out);
}
HRESULT CBug::put_Description(const std::string& value)
{
    return Put(record_.description, value);
}
HRESULT CBug::get_Report(std::string* out)
{
    return Get(record_.report, out);
}
HRESULT CBug::put_Report(const std::string& value)
{
    return Put(record_.report, value);
}
HRESULT CBug::get_RecreateStep(std::string* out)
{
    return Get(record_.recreateStep, out);
}
HRESULT CBug::put_RecreateStep(const std::string& value)
{
    return Put(record_.recreateStep, value);
}
HRESULT CBug::get_Workaround(std::string* out)
{
    return Get(record_.workaround, out);
}
HRESULT CBug::put_Workaround(const std::string& value)
{
    return Put(record_.workaround, value);
}
HRESULT CBug::get_Resolution(std::string* out)
{
    return Get(record_.resolution, out);
}
HRESULT CBug::put_Resolution(const std::string& value)
{
    return Put(record_.resolution, value);
}
HRESULT CBug::get_Status(std::string* out)
{
    return Get(record_.status, out);
}
HRESULT CBug::put_Status(const std::string& value)
{
    return Put(record_.status, value);
}
HRESULT CBug::get_Priority(std::string* out)
{
    return Get(record_.priority, out);
}
HRESULT CBug::put_Priority(const std::string& value)
{
    return Put(record_.priority, value);
}
HRESULT CBug::get_ClassificationID(std::int32_t* out)
{
    return Get(record_.classificationID, out);
}
HRESULT CBug::put_ClassificationID(std::int32_t value)
{
    return SetLinkedID(kClassName, "Set ClassificationID failed!", value, record_.classificationID,
                       record_.classification);
}
HRESULT CBug::get_Severity(std::string* out)
{
    return Get(record_.severity, out);
}
HRESULT CBug::put_Severity(const std::string& value)
{
    return Put(record_.severity, value);
}
HRESULT CBug::get_Reproductive(std::string* out)
{
    return Get(record_.reproductive, out);
}
HRESULT CBug::put_Reproductive(const std::string& value)
{
    return Put(record_.reproductive, value);
}

HRESULT CBug::get_AttachedFiles(IFileSet** out)
{
    if (out == nullptr) return E_FAIL;
    *out = nullptr;
    return Guarded(kReport,
                   Failure{"Get bug's attachment failed", "CBug::get_AttachedFiles", kLogDatabase,
                           kLogDatabase},
                   [&] {
                       ComPtr<CFileSet> files = MakeObject<CFileSet>();
                       ReadAttachmentList(record_.id, *files);
                       files->Attach(record_.id, context_.get());
                       HandOut(files, out);
                       return S_OK;
                   });
}

HRESULT CBug::get_ReportedByID(std::int32_t* out)
{
    return Get(record_.reportedByID, out);
}
HRESULT CBug::put_ReportedByID(std::int32_t value)
{
    return SetLinkedID(kUserName, "Set ReportedBy ID failed!", value, record_.reportedByID,
                       record_.reportedBy);
}
HRESULT CBug::get_ReportedDate(Date* out)
{
    return Get(record_.reportedDate, out);
}
HRESULT CBug::put_ReportedDate(Date value)
{
    return Put(record_.reportedDate, value);
}
HRESULT CBug::get_ReportedInVersionID(std::int32_t* out)
{
    return Get(record_.reportedInVersionID, out);
}
HRESULT CBug::put_ReportedInVersionID(std::int32_t value)
{
    return SetLinkedID(kVersionName, "Set ReportedInversionID failed!", value,
                       record_.reportedInVersionID, record_.reportedInVersion);
}
HRESULT CBug::get_FixedByID(std::int32_t* out)
{
    return Get(record_.fixedByID, out);
}
HRESULT CBug::put_FixedByID(std::int32_t value)
{
    return SetLinkedID(kUserName, "Set FixedBy ID failed!", value, record_.fixedByID,
                       record_.fixedBy);
}
HRESULT CBug::get_FixedDate(Date* out)
{
    return Get(record_.fixedDate, out);
}
HRESULT CBug::put_FixedDate(Date value)
{
    return Put(record_.fixedDate, value);
}
HRESULT CBug::get_FixedInVersionID(std::int32_t* out)
{
    return Get(record_.fixedInVersionID, out);
}
HRESULT CBug::put_FixedInVersionID(std::int32_t value)
{
    return SetLinkedID(kVersionName, "Set FixedInversionID failed!", value,
                       record_.fixedInVersionID, record_.fixedInVersion);
}
HRESULT CBug::get_VerifiedByID(std::int32_t* out)
{
    return Get(record_.verifiedByID, out);
}
HRESULT CBug::put_VerifiedByID(std::int32_t value)
{
    return SetLinkedID(kUserName, "Set VerifiedBy ID failed!", value, record_.verifiedByID,
                       record_.verifiedBy);
}
HRESULT CBug::get_VerifiedDate(Date* out)
{
    return Get(record_.verifiedDate, out);
}
HRESULT CBug::put_VerifiedDate(Date value)
{
    return Put(record_.verifiedDate, value);
}
HRESULT CBug::get_LastModifiedByID(std::int32_t* out)
{
    return Get(record_.lastModifiedByID, out);
}
HRESULT CBug::put_LastModifiedByID(std::int32_t value)
{
    return SetLinkedID(kUserName, "Set LastModifiedBy ID failed!", value, record_.lastModifiedByID,
                       record_.lastModifiedBy);
}
HRESULT CBug::get_LastModifiedDate(Date* out)
{
    return Get(record_.lastModifiedDate, out);
}
HRESULT CBug::put_LastModifiedDate(Date value)
{
    return Put(record_.lastModifiedDate, value);
}

HRESULT CBug::get_Project(IProject** out)
{
    return GiveOut(nullptr, out);
}

HRESULT CBug::get_EstimatedTime(std::int32_t* out)
{
    return Get(record_.estimatedTime, out);
}
HRESULT CBug::put_EstimatedTime(std::int32_t value)
{
    return Put(record_.estimatedTime, value);
}
HRESULT CBug::get_ActualTime(Date* out)
{
    return Get(record_.actualTime, out);
}
HRESULT CBug::put_ActualTime(Date value)
{
    return Put(record_.actualTime, value);
}
HRESULT CBug::get_DateDue(Date* out)
{
    return Get(record_.dateDue, out);
}
HRESULT CBug::put_DateDue(Date value)
{
    return Put(record_.dateDue, value);
}
HRESULT CBug::get_FixedBy(std::string* out)
{
    return Get(record_.fixedBy, out);
}
HRESULT CBug::get_FixedInVersion(std::string* out)
{
    return Get(record_.fixedInVersion, out);
}
HRESULT CBug::get_LastModifiedBy(std::string* out)
{
    return Get(record_.lastModifiedBy, out);
}
HRESULT CBug::get_ReportedBy(std::string* out)
{
    return Get(record_.reportedBy, out);
}
HRESULT CBug::get_ReportedInVersion(std::string* out)
{
    return Get(record_.reportedInVersion, out);
}
HRESULT CBug::get_VerifiedBy(std::string* out)
{
    return Get(record_.verifiedBy, out);
}
HRESULT CBug::get_Classification(std::string* out)
{
    return Get(record_.classification, out);
}

HRESULT CBug::Copy(IBug* source)
{
    const CBug* other = ImplOf<CBug>(source);
    if (other == nullptr)
        return kReport.Fail("Copy bug failed!", kLogGeneral, "CBug::Copy",
                            "The source is not a bug of this engine");
    if (other == this) return S_OK;
    const std::int32_t keptType = record_.bugType;
    const Date keptActualTime = record_.actualTime;
    record_ = other->record_;
    record_.bugType = keptType;
    record_.actualTime = keptActualTime;
    if (other->readValues_)
        RememberReadValues(*other->readValues_);
    else
        ForgetReadValues();
    context_ = other->context_;
    return S_OK;
}

HRESULT CBug::get_BugType(eBugType* out)
{
    return Get(static_cast<eBugType>(record_.bugType), out);
}
HRESULT CBug::put_BugType(eBugType value)
{
    return Put(record_.bugType, std::int32_t{value});
}
HRESULT CBug::get_ReportedInProjectID(std::int32_t* out)
{
    return Get(record_.reportedInProjectID, out);
}
HRESULT CBug::put_ReportedInProjectID(std::int32_t value)
{
    return Put(record_.reportedInProjectID, value);
}
HRESULT CBug::get_ReportedInProject(std::string* out)
{
    return Get(record_.reportedInProject, out);
}
HRESULT CBug::put_ReportedInProject(const std::string& value)
{
    return Put(record_.reportedInProject, value);
}

}  // namespace lindor
