// The engine's automation interfaces. Members are declared in slot order; every
// member returns S_OK or E_FAIL. Object results are new counted references
// that the receiver releases (null where a member hands out nothing).
#pragma once

#include <cstdint>
#include <string>

#include <lindor/Types.h>
#include <lindor/Unknown.h>
#include <lindor/Variant.h>

namespace lindor {

class IAdmin;
class IBug;
class IBugFilter;
class IBugFilterSet;
class IBugPriority;
class IBugReproductive;
class IBugSet;
class IBugSeverity;
class IBugStatus;
class IClassification;
class IClassificationSet;
class IExeContext;
class IFile;
class IFileSet;
class IProject;
class IProjectSet;
class IRight;
class IRightSet;
class ISysLog;
class IUser;
class IUserRight;
class IUserSet;
class IUserSysInfo;
class IVersion;

using string = std::string;

// ---- error log -------------------------------------------------------------

class ISysLog : public IUnknown {
public:
    static constexpr const char* IID = "ISysLog";
    virtual HRESULT get_LogFileName(string* out) = 0;
    virtual HRESULT put_LogFileName(const string& value) = 0;
    virtual HRESULT Log(std::int32_t errCode, const string& source, const string& description) = 0;
    virtual HRESULT Clear() = 0;
};

// ---- events ----------------------------------------------------------------

class IExeContextEvents : public IUnknown {
public:
    static constexpr const char* IID = "_IExeContextEvents";
    virtual HRESULT OnLogin(std::int32_t bOK, const string& login, const string& psw) = 0;
    virtual HRESULT OnActiveProject(std::int32_t bOK, std::int32_t projectID,
                                    std::int32_t versionID) = 0;
};

class IAdminEvents : public IUnknown {
public:
    static constexpr const char* IID = "_IAdminEvents";
    virtual HRESULT OnNewDB(std::int32_t bOK) = 0;
};

// ---- name lists ------------------------------------------------------------

class IBugStatus : public IUnknown {
public:
    static constexpr const char* IID = "IBugStatus";
    virtual HRESULT get_Item(std::int32_t index, string* out) = 0;
    virtual HRESULT get_Count(std::int32_t* out) = 0;
    virtual HRESULT Add(const string& name) = 0;
    virtual HRESULT Remove(const string& name) = 0;
    virtual HRESULT Clear() = 0;
};

class IBugSeverity : public IUnknown {
public:
    static constexpr const char* IID = "IBugSeverity";
    virtual HRESULT get_Item(std::int32_t index, string* out) = 0;
    virtual HRESULT get_Count(std::int32_t* out) = 0;
    virtual HRESULT Add(const string& name) = 0;
    virtual HRESULT Remove(const string& name) = 0;
};

class IBugPriority : public IUnknown {
public:
    static constexpr const char* IID = "IBugPriority";
    virtual HRESULT get_Item(std::int32_t index, string* out) = 0;
    virtual HRESULT get_Count(std::int32_t* out) = 0;
    virtual HRESULT Add(const string& name) = 0;
    virtual HRESULT Remove(const string& name) = 0;
};

class IBugReproductive : public IUnknown {
public:
    static constexpr const char* IID = "IBugReproductive";
    virtual HRESULT get_Item(std::int32_t index, string* out) = 0;
    virtual HRESULT get_Count(std::int32_t* out) = 0;
    virtual HRESULT Add(const string& name) = 0;
    virtual HRESULT Remove(const string& name) = 0;
};

// ---- users and rights ------------------------------------------------------

class IRight : public IUnknown {
public:
    static constexpr const char* IID = "IRight";
    virtual HRESULT get_Read(std::int32_t* out) = 0;
    virtual HRESULT put_Read(std::int32_t value) = 0;
    virtual HRESULT get_Add(std::int32_t* out) = 0;
    virtual HRESULT put_Add(std::int32_t value) = 0;
    virtual HRESULT get_Delete(std::int32_t* out) = 0;
    virtual HRESULT put_Delete(std::int32_t value) = 0;
    virtual HRESULT get_EditClass(std::int32_t* out) = 0;
    virtual HRESULT put_EditClass(std::int32_t value) = 0;
    virtual HRESULT get_EditPriority(std::int32_t* out) = 0;
    virtual HRESULT put_EditPriority(std::int32_t value) = 0;
    virtual HRESULT get_EditSeverity(std::int32_t* out) = 0;
    virtual HRESULT put_EditSeverity(std::int32_t value) = 0;
    virtual HRESULT get_EditReportedInVersion(std::int32_t* out) = 0;
    virtual HRESULT put_EditReportedInVersion(std::int32_t value) = 0;
    virtual HRESULT get_EditReportedDate(std::int32_t* out) = 0;
    virtual HRESULT put_EditReportedDate(std::int32_t value) = 0;
    virtual HRESULT get_EditFixedInVersion(std::int32_t* out) = 0;
    virtual HRESULT put_EditFixedInVersion(std::int32_t value) = 0;
    virtual HRESULT get_EditFixedDate(std::int32_t* out) = 0;
    virtual HRESULT put_EditFixedDate(std::int32_t value) = 0;
    virtual HRESULT get_EditVerifiedDate(std::int32_t* out) = 0;
    virtual HRESULT put_EditVerifiedDate(std::int32_t value) = 0;
    virtual HRESULT get_EditDescription(std::int32_t* out) = 0;
    virtual HRESULT put_EditDescription(std::int32_t value) = 0;
    virtual HRESULT get_EditRecreateStep(std::int32_t* out) = 0;
    virtual HRESULT put_EditRecreateStep(std::int32_t value) = 0;
    virtual HRESULT get_EditWorkAround(std::int32_t* out) = 0;
    virtual HRESULT put_EditWorkAround(std::int32_t value) = 0;
    virtual HRESULT get_EditReport(std::int32_t* out) = 0;
    virtual HRESULT put_EditReport(std::int32_t value) = 0;
    virtual HRESULT get_EditResolution(std::int32_t* out) = 0;
    virtual HRESULT put_EditResolution(std::int32_t value) = 0;
    virtual HRESULT get_EditAttachment(std::int32_t* out) = 0;
    virtual HRESULT put_EditAttachment(std::int32_t value) = 0;
    virtual HRESULT get_ReportGen(std::int32_t* out) = 0;
    virtual HRESULT put_ReportGen(std::int32_t value) = 0;
    virtual HRESULT get_Print(std::int32_t* out) = 0;
    virtual HRESULT put_Print(std::int32_t value) = 0;
    virtual HRESULT get_Statistic(std::int32_t* out) = 0;
    virtual HRESULT put_Statistic(std::int32_t value) = 0;
    virtual HRESULT get_Add_Edit_Del_BugClass(std::int32_t* out) = 0;
    virtual HRESULT put_Add_Edit_Del_BugClass(std::int32_t value) = 0;
    virtual HRESULT get_Add_Edit_Del_BugStatus(std::int32_t* out) = 0;
    virtual HRESULT put_Add_Edit_Del_BugStatus(std::int32_t value) = 0;
    virtual HRESULT get_Add_Edit_Del_BugReproductive(std::int32_t* out) = 0;
    virtual HRESULT put_Add_Edit_Del_BugReproductive(std::int32_t value) = 0;
    virtual HRESULT get_Add_Edit_Del_BugSeverity(std::int32_t* out) = 0;
    virtual HRESULT put_Add_Edit_Del_BugSeverity(std::int32_t value) = 0;
    virtual HRESULT get_ID(std::int32_t* out) = 0;
    virtual HRESULT get_AssignClassToUser(std::int32_t* out) = 0;
    virtual HRESULT put_AssignClassToUser(std::int32_t value) = 0;
    virtual HRESULT get_EditReproductive(std::int32_t* out) = 0;
    virtual HRESULT put_EditReproductive(std::int32_t value) = 0;
    virtual HRESULT get_EditDateDue(std::int32_t* out) = 0;
    virtual HRESULT put_EditDateDue(std::int32_t value) = 0;
    virtual HRESULT get_EditEstimatedTime(std::int32_t* out) = 0;
    virtual HRESULT put_EditEstimatedTime(std::int32_t value) = 0;
    virtual HRESULT get_Add_Edit_Del_BugPriority(std::int32_t* out) = 0;
    virtual HRESULT put_Add_Edit_Del_BugPriority(std::int32_t value) = 0;
    virtual HRESULT get_EditProject(std::int32_t* out) = 0;
    virtual HRESULT put_EditProject(std::int32_t value) = 0;
    virtual HRESULT get_DeleteProject(std::int32_t* out) = 0;
    virtual HRESULT put_DeleteProject(std::int32_t value) = 0;
    virtual HRESULT get_ProjectID(std::int32_t* out) = 0;
    virtual HRESULT put_ProjectID(std::int32_t value) = 0;
    virtual HRESULT get_AvailableStatus(IBugStatus** out) = 0;
    virtual HRESULT Copy(IRight* source) = 0;
    virtual HRESULT get_IsAllFalse(std::int32_t* out) = 0;
    virtual HRESULT get_EditBug(std::int32_t* out) = 0;
    virtual HRESULT get_EditType(std::int32_t* out) = 0;
    virtual HRESULT put_EditType(std::int32_t value) = 0;
    virtual HRESULT get_EditReportedInPrj(std::int32_t* out) = 0;
    virtual HRESULT put_EditReportedInPrj(std::int32_t value) = 0;
};

class IRightSet : public IUnknown {
public:
    static constexpr const char* IID = "IRightSet";
    virtual HRESULT get_Count(std::int32_t* out) = 0;
    virtual HRESULT get_Item(std::int32_t index, IRight** out) = 0;
    virtual HRESULT Append(IRight* right) = 0;
    virtual HRESULT GetByProjectID(std::int32_t projectID, IRight** out) = 0;
    virtual HRESULT RemoveAll() = 0;
};

class IUserRight : public IUnknown {
public:
    static constexpr const char* IID = "IUserRight";
    virtual HRESULT Copy(IUserRight* source) = 0;
    virtual HRESULT get_AddProject(std::int32_t* out) = 0;
    virtual HRESULT put_AddProject(std::int32_t value) = 0;
    virtual HRESULT get_RightSet(IRightSet** out) = 0;
};

class IUserSysInfo : public IUnknown {
public:
    static constexpr const char* IID = "IUserSysInfo";
    virtual HRESULT get_ID(std::int32_t* out) = 0;
    virtual HRESULT get_OS(string* out) = 0;
    virtual HRESULT put_OS(const string& value) = 0;
    virtual HRESULT get_ServicePack(string* out) = 0;
    virtual HRESULT put_ServicePack(const string& value) = 0;
    virtual HRESULT get_IEVersion(string* out) = 0;
    virtual HRESULT put_IEVersion(const string& value) = 0;
    virtual HRESULT get_NetEnvironment(string* out) = 0;
    virtual HRESULT put_NetEnvironment(const string& value) = 0;
    virtual HRESULT get_CPU(string* out) = 0;
    virtual HRESULT put_CPU(const string& value) = 0;
    virtual HRESULT get_Memory(string* out) = 0;
    virtual HRESULT put_Memory(const string& value) = 0;
    virtual HRESULT get_OSBuild(string* out) = 0;
    virtual HRESULT put_OSBuild(const string& value) = 0;
    virtual HRESULT get_HardDisk(string* out) = 0;
    virtual HRESULT put_HardDisk(const string& value) = 0;
    virtual HRESULT get_Note(string* out) = 0;
    virtual HRESULT put_Note(const string& value) = 0;
};

class IUser : public IUnknown {
public:
    static constexpr const char* IID = "IUser";
    virtual HRESULT get_ID(std::int32_t* out) = 0;
    virtual HRESULT get_LoginName(string* out) = 0;
    virtual HRESULT put_LoginName(const string& value) = 0;
    virtual HRESULT get_UserName(string* out) = 0;
    virtual HRESULT put_UserName(const string& value) = 0;
    virtual HRESULT get_Description(string* out) = 0;
    virtual HRESULT put_Description(const string& value) = 0;
    virtual HRESULT get_Password(string* out) = 0;
    virtual HRESULT put_Password(const string& value) = 0;
    virtual HRESULT get_EMail(string* out) = 0;
    virtual HRESULT put_EMail(const string& value) = 0;
    virtual HRESULT get_Position(string* out) = 0;
    virtual HRESULT put_Position(const string& value) = 0;
    virtual HRESULT get_Address(string* out) = 0;
    virtual HRESULT put_Address(const string& value) = 0;
    virtual HRESULT get_Phone(string* out) = 0;
    virtual HRESULT put_Phone(const string& value) = 0;
    virtual HRESULT get_Department(string* out) = 0;
    virtual HRESULT put_Department(const string& value) = 0;
    virtual HRESULT get_ClassSet(IClassificationSet** out) = 0;
    virtual HRESULT put_ClassSet(IClassificationSet* value) = 0;
    virtual HRESULT get_SysInfo(IUserSysInfo** out) = 0;
    virtual HRESULT put_SysInfo(IUserSysInfo* value) = 0;
    virtual HRESULT get_Right(IUserRight** out) = 0;
    virtual HRESULT get_ProjectSet(IProjectSet** out) = 0;
};

class IUserSet : public IUnknown {
public:
    static constexpr const char* IID = "IUserSet";
    virtual HRESULT get_Count(std::int32_t* out) = 0;
    virtual HRESULT get_Item(std::int32_t index, IUser** out) = 0;
    virtual HRESULT get_ExeContext(IExeContext** out) = 0;
    virtual HRESULT Add(IUser* user) = 0;
    virtual HRESULT RemoveByID(std::int32_t id) = 0;
    virtual HRESULT RemoveByIndex(std::int32_t index) = 0;
    virtual HRESULT Update() = 0;
    virtual HRESULT Append(IUser* user) = 0;
    virtual HRESULT DeleteByID(std::int32_t id) = 0;
    virtual HRESULT DeleteByIndex(std::int32_t index) = 0;
};

// ---- projects, versions, classifications -----------------------------------

class IVersion : public IUnknown {
public:
    static constexpr const char* IID = "IVersion";
    virtual HRESULT get_ID(std::int32_t* out) = 0;
    virtual HRESULT get_Name(string* out) = 0;
    virtual HRESULT put_Name(const string& value) = 0;
    virtual HRESULT get_Description(string* out) = 0;
    virtual HRESULT put_Description(const string& value) = 0;
    virtual HRESULT get_ReleaseDate(Date* out) = 0;
    virtual HRESULT put_ReleaseDate(Date value) = 0;
};

class IProject : public IUnknown {
public:
    static constexpr const char* IID = "IProject";
    virtual HRESULT get_ID(std::int32_t* out) = 0;
    virtual HRESULT get_Version(std::int32_t index, IVersion** out) = 0;
    virtual HRESULT get_VersionCount(std::int32_t* out) = 0;
    virtual HRESULT AddVersion(const string& name, const string& description, Date releaseDate,
                               IVersion** out) = 0;
    virtual HRESULT RemoveVersion(const string& name) = 0;
    virtual HRESULT RemoveVersionAt(std::int32_t index) = 0;
    virtual HRESULT get_ClassificationSet(IClassificationSet** out) = 0;
    virtual HRESULT get_Name(string* out) = 0;
    virtual HRESULT put_Name(const string& value) = 0;
    virtual HRESULT get_Description(string* out) = 0;
    virtual HRESULT put_Description(const string& value) = 0;
};

class IProjectSet : public IUnknown {
public:
    static constexpr const char* IID = "IProjectSet";
    virtual HRESULT get_Count(std::int32_t* out) = 0;
    virtual HRESULT get_Item(std::int32_t index, IProject** out) = 0;
    virtual HRESULT get_ExeContext(IExeContext** out) = 0;
    virtual HRESULT Add(IProject* project) = 0;
    virtual HRESULT Remove(std::int32_t index) = 0;
    virtual HRESULT Update() = 0;
    virtual HRESULT Refresh() = 0;
    virtual HRESULT Append(IProject* project) = 0;
    virtual HRESULT DeleteByID(std::int32_t id) = 0;
    virtual HRESULT DeleteByIndex(std::int32_t index) = 0;
};

class IClassification : public IUnknown {
public:
    static constexpr const char* IID = "IClassification";
    virtual HRESULT get_Name(string* out) = 0;
    virtual HRESULT put_Name(const string& value) = 0;
    virtual HRESULT get_ID(std::int32_t* out) = 0;
    virtual HRESULT put_ID(std::int32_t value) = 0;
    virtual HRESULT get_ProjectID(std::int32_t* out) = 0;
};

class IClassificationSet : public IUnknown {
public:
    static constexpr const char* IID = "IClassificationSet";
    virtual HRESULT Add(IClassification* classification) = 0;
    virtual HRESULT Remove(const string& name) = 0;
    virtual HRESULT get_Item(std::int32_t index, IClassification** out) = 0;
    virtual HRESULT get_Count(std::int32_t* out) = 0;
    virtual HRESULT RemoveByIndex(std::int32_t index) = 0;
    virtual HRESULT RemoveByID(std::int32_t id) = 0;
    virtual HRESULT Update() = 0;
    virtual HRESULT Append(IClassification* classification) = 0;
    virtual HRESULT DeleteByID(std::int32_t id) = 0;
    virtual HRESULT DeleteByIndex(std::int32_t index) = 0;
    virtual HRESULT get_ProjectID(std::int32_t* out) = 0;
    virtual HRESULT put_ExeContext(IExeContext* context) = 0;
};

// ---- attachments -----------------------------------------------------------

class IFile : public IUnknown {
public:
    static constexpr const char* IID = "IFile";
    virtual HRESULT GetFile(const string& destination) = 0;
    virtual HRESULT OpenFile() = 0;
    virtual HRESULT get_FileName(string* out) = 0;
    virtual HRESULT put_FileName(const string& value) = 0;
    virtual HRESULT get_FullName(string* out) = 0;
    virtual HRESULT put_FullName(const string& value) = 0;
    virtual HRESULT get_ID(std::int32_t* out) = 0;
    virtual HRESULT get_FileSize(std::int32_t* out) = 0;
    virtual HRESULT put_FileSize(std::int32_t value) = 0;
    virtual HRESULT get_FileDate(Date* out) = 0;
    virtual HRESULT put_FileDate(Date value) = 0;
};

class IFileSet : public IUnknown {
public:
    static constexpr const char* IID = "IFileSet";
    virtual HRESULT get_Count(std::int32_t* out) = 0;
    virtual HRESULT get_Item(std::int32_t index, IFile** out) = 0;
    virtual HRESULT get_BugID(std::int32_t* out) = 0;
    virtual HRESULT get_ExeContext(IExeContext** out) = 0;
    virtual HRESULT Add(const string& path, IFile** out) = 0;
    virtual HRESULT RemoveByID(std::int32_t id) = 0;
    virtual HRESULT RemoveByIndex(std::int32_t index) = 0;
    virtual HRESULT DeleteByID(std::int32_t id) = 0;
    virtual HRESULT DeleteByIndex(std::int32_t index) = 0;
    virtual HRESULT Append(IFile* file) = 0;
};

// ---- bugs and filters ------------------------------------------------------

class IBug : public IUnknown {
public:
    static constexpr const char* IID = "IBug";
    virtual HRESULT get_ID(std::int32_t* out) = 0;
    virtual HRESULT get_Description(string* out) = 0;
    virtual HRESULT put_Description(const string& value) = 0;
    virtual HRESULT get_Report(string* out) = 0;
    virtual HRESULT put_Report(const string& value) = 0;
    virtual HRESULT get_RecreateStep(string* out) = 0;
    virtual HRESULT put_RecreateStep(const string& value) = 0;
    virtual HRESULT get_Workaround(string* out) = 0;
    virtual HRESULT put_Workaround(const string& value) = 0;
    virtual HRESULT get_Resolution(string* out) = 0;
    virtual HRESULT put_Resolution(const string& value) = 0;
    virtual HRESULT get_Status(string* out) = 0;
    virtual HRESULT put_Status(const string& value) = 0;
    virtual HRESULT get_Priority(string* out) = 0;
    virtual HRESULT put_Priority(const string& value) = 0;
    virtual HRESULT get_ClassificationID(std::int32_t* out) = 0;
    virtual HRESULT put_ClassificationID(std::int32_t value) = 0;
    virtual HRESULT get_Severity(string* out) = 0;
    virtual HRESULT put_Severity(const string& value) = 0;
    virtual HRESULT get_Reproductive(string* out) = 0;
    virtual HRESULT put_Reproductive(const string& value) = 0;
    virtual HRESULT get_AttachedFiles(IFileSet** out) = 0;
    virtual HRESULT get_ReportedByID(std::int32_t* out) = 0;
    virtual HRESULT put_ReportedByID(std::int32_t value) = 0;
    virtual HRESULT get_ReportedDate(Date* out) = 0;
    virtual HRESULT put_ReportedDate(Date value) = 0;
    virtual HRESULT get_ReportedInVersionID(std::int32_t* out) = 0;
    virtual HRESULT put_ReportedInVersionID(std::int32_t value) = 0;
    virtual HRESULT get_FixedByID(std::int32_t* out) = 0;
    virtual HRESULT put_FixedByID(std::int32_t value) = 0;
    virtual HRESULT get_FixedDate(Date* out) = 0;
    virtual HRESULT put_FixedDate(Date value) = 0;
    virtual HRESULT get_FixedInVersionID(std::int32_t* out) = 0;
    virtual HRESULT put_FixedInVersionID(std::int32_t value) = 0;
    virtual HRESULT get_VerifiedByID(std::int32_t* out) = 0;
    virtual HRESULT put_VerifiedByID(std::int32_t value) = 0;
    virtual HRESULT get_VerifiedDate(Date* out) = 0;
    virtual HRESULT put_VerifiedDate(Date value) = 0;
    virtual HRESULT get_LastModifiedByID(std::int32_t* out) = 0;
    virtual HRESULT put_LastModifiedByID(std::int32_t value) = 0;
    virtual HRESULT get_LastModifiedDate(Date* out) = 0;
    virtual HRESULT put_LastModifiedDate(Date value) = 0;
    virtual HRESULT get_Project(IProject** out) = 0;
    virtual HRESULT get_EstimatedTime(std::int32_t* out) = 0;
    virtual HRESULT put_EstimatedTime(std::int32_t value) = 0;
    virtual HRESULT get_ActualTime(Date* out) = 0;
    virtual HRESULT put_ActualTime(Date value) = 0;
    virtual HRESULT get_DateDue(Date* out) = 0;
    virtual HRESULT put_DateDue(Date value) = 0;
    virtual HRESULT get_FixedBy(string* out) = 0;
    virtual HRESULT get_FixedInVersion(string* out) = 0;
    virtual HRESULT get_LastModifiedBy(string* out) = 0;
    virtual HRESULT get_ReportedBy(string* out) = 0;
    virtual HRESULT get_ReportedInVersion(string* out) = 0;
    virtual HRESULT get_VerifiedBy(string* out) = 0;
    virtual HRESULT get_Classification(string* out) = 0;
    virtual HRESULT Copy(IBug* source) = 0;
    virtual HRESULT get_BugType(eBugType* out) = 0;
    virtual HRESULT put_BugType(eBugType value) = 0;
    virtual HRESULT get_ReportedInProjectID(std::int32_t* out) = 0;
    virtual HRESULT put_ReportedInProjectID(std::int32_t value) = 0;
    virtual HRESULT get_ReportedInProject(string* out) = 0;
    virtual HRESULT put_ReportedInProject(const string& value) = 0;
};

class IBugFilter : public IUnknown {
public:
    static constexpr const char* IID = "IBugFilter";
    virtual HRESULT get_Field(string* out) = 0;
    virtual HRESULT put_Field(const string& value) = 0;
    virtual HRESULT get_Condition(eLogCondition* out) = 0;
    virtual HRESULT put_Condition(eLogCondition value) = 0;
    virtual HRESULT get_AndOr(eLogOperation* out) = 0;
    virtual HRESULT put_AndOr(eLogOperation value) = 0;
    virtual HRESULT get_Bracket(eBracket* out) = 0;
    virtual HRESULT put_Bracket(eBracket value) = 0;
    virtual HRESULT get_Value(Variant* out) = 0;
    virtual HRESULT put_Value(const Variant& value) = 0;
    virtual HRESULT GetSQL(string* out) = 0;
    virtual HRESULT GetAndOrStr(string* out) = 0;
    virtual HRESULT GetConditionStr(string* out) = 0;
};

class IBugFilterSet : public IUnknown {
public:
    static constexpr const char* IID = "IBugFilterSet";
    virtual HRESULT get_Name(string* out) = 0;
    virtual HRESULT put_Name(const string& value) = 0;
    virtual HRESULT get_Count(std::int32_t* out) = 0;
    virtual HRESULT Add(IBugFilter* filter) = 0;
    virtual HRESULT Remove(std::int32_t index) = 0;
    virtual HRESULT get_Item(std::int32_t index, IBugFilter** out) = 0;
    virtual HRESULT GetSQL(string* out) = 0;
    virtual HRESULT AddBatch(IBugFilterSet* other) = 0;
};

class IBugSet : public IUnknown {
public:
    static constexpr const char* IID = "IBugSet";
    virtual HRESULT get_CurItem(IBug** out) = 0;
    virtual HRESULT get_ExeContext(IExeContext** out) = 0;
    virtual HRESULT Add(IBug* bug, IBug** out) = 0;
    virtual HRESULT Remove() = 0;
    virtual HRESULT RemoveByID(std::int32_t id) = 0;
    virtual HRESULT First() = 0;
    virtual HRESULT Next() = 0;
    virtual HRESULT IsEnd(std::int32_t* out) = 0;
    virtual HRESULT Refresh() = 0;
    virtual HRESULT Update(IBug* bug) = 0;
    virtual HRESULT get_FilterSet(IBugFilterSet** out) = 0;
    virtual HRESULT put_FilterSet(IBugFilterSet* value) = 0;
    virtual HRESULT GetBugByID(std::int32_t id, IBug** out) = 0;
    virtual HRESULT get_Count(std::int32_t* out) = 0;
    virtual HRESULT Sort(eBugField field, eOrder order) = 0;
    virtual HRESULT Open(IBugFilterSet* filterSet) = 0;
    virtual HRESULT Close() = 0;
    virtual HRESULT get_Position(std::int32_t* out) = 0;
    virtual HRESULT put_Position(std::int32_t value) = 0;
};

// ---- administration and context --------------------------------------------

class IAdmin : public IUnknown {
public:
    static constexpr const char* IID = "IAdmin";
    virtual HRESULT get_UserSet(IUserSet** out) = 0;
    virtual HRESULT get_ProjectSet(IProjectSet** out) = 0;
    virtual HRESULT NewMDB(const string& fileName) = 0;
    virtual HRESULT SetUserRight(std::int32_t userID, IUserRight* userRight) = 0;
    virtual HRESULT NewSQLDB(const string& server, const string& database) = 0;
    virtual HRESULT Advise(IAdminEvents* sink, std::uint32_t* cookie) = 0;
    virtual HRESULT Unadvise(std::uint32_t cookie) = 0;
};

class IExeContext : public IUnknown {
public:
    static constexpr const char* IID = "IExeContext";
    virtual HRESULT get_CurUser(IUser** out) = 0;
    virtual HRESULT get_CurUserProjectSet(IProjectSet** out) = 0;
    virtual HRESULT get_BugStatus(IBugStatus** out) = 0;
    virtual HRESULT get_ProjectSet(IProjectSet** out) = 0;
    virtual HRESULT get_ActiveProject(IProject** out) = 0;
    virtual HRESULT Login(const string& login, const string& psw) = 0;
    virtual HRESULT OpenAccessDB(const string& fileName) = 0;
    virtual HRESULT get_ActiveProjectID(std::int32_t* out) = 0;
    virtual HRESULT get_ActiveVersion(IVersion** out) = 0;
    virtual HRESULT get_ActiveVersionID(std::int32_t* out) = 0;
    virtual HRESULT get_CurUserID(std::int32_t* out) = 0;
    virtual HRESULT get_Admin(IAdmin** out) = 0;
    virtual HRESULT SetActiveProject(std::int32_t projectID, std::int32_t versionID) = 0;
    virtual HRESULT GetUserClassification(std::int32_t userID, std::int32_t projectID,
                                          IClassificationSet** out) = 0;
    virtual HRESULT AssignUserClassification(std::int32_t userID, const std::int32_t* classIDs,
                                             std::int32_t classCount, std::int32_t projectID) = 0;
    virtual HRESULT get_CurRight(IUserRight** out) = 0;
    virtual HRESULT OpenBugSet(eBugType type, IBugFilterSet* filterSet, IBugSet** out) = 0;
    virtual HRESULT get_BugSeverity(IBugSeverity** out) = 0;
    virtual HRESULT get_BugReproductive(IBugReproductive** out) = 0;
    virtual HRESULT get_BugPriority(IBugPriority** out) = 0;
    virtual HRESULT get_AllBugStatus(IBugStatus** out) = 0;
    virtual HRESULT get_AllUser(IUserSet** out) = 0;
    virtual HRESULT Close() = 0;
    virtual HRESULT Synchronize() = 0;
    virtual HRESULT ChangePsw(const string& oldPsw, const string& newPsw) = 0;
    virtual HRESULT get_CurProjectRight(IRight** out) = 0;
    virtual HRESULT OpenSQLDB(const string& server, const string& database) = 0;
    virtual HRESULT Advise(IExeContextEvents* sink, std::uint32_t* cookie) = 0;
    virtual HRESULT Unadvise(std::uint32_t cookie) = 0;
};

}  // namespace lindor
