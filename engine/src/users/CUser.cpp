#include "users/CUser.h"

#include "core/ClassRegistry.h"
#include "core/ErrorReport.h"
#include "core/Guarded.h"
#include "core/OutParam.h"
#include "db/NextID.h"
#include "db/Recordset.h"
#include "mapping/DBUtil.h"
#include "mapping/ValueConversion.h"
#include "projects/CProject.h"
#include "projects/CProjectSet.h"
#include "projects/ProjectReading.h"
#include "stores/UserStore.h"
#include "users/CRight.h"
#include "users/CUserRight.h"
#include "users/CUserSysInfo.h"

namespace lindor {
namespace {

const ClassRegistration registration("User", &CreateInstance<CUser>);
const Reporter kReport(ExternalClassName("User"));

// Runs a member's body through the engine's exception barrier, reported as
// the user reports.
template <class Body>
HRESULT Guarded(const char* callerText, const char* logSource, Body body)
{
    return lindor::Guarded(kReport, Failure{callerText, logSource}, body);
}

void ReadAvailableStatuses(db::Connection& connection, CRight& right)
{
    ComPtr<CBugStatus> statuses = right.AvailableStatusList();
    db::Recordset names;
    stores::OpenAvailableStatuses(names, connection, right.ID());
    for (; !names.IsEOF(); names.MoveNext())
        statuses->Add(mapping::ReadText(names.Fields("StatusName").Value()));
}

// Reads the role's rights rows, then the statuses each may set. False
// (logged by the mapping) when a row cannot be read.
bool ReadRights(db::Connection& connection, CUserRight& role)
{
    std::vector<ComPtr<CRight>> loaded;
    db::Recordset rows;
    stores::OpenRightsOfRole(rows, connection, role.ID());
    for (; !rows.IsEOF(); rows.MoveNext()) {
        ComPtr<CRight> right = MakeObject<CRight>();
        if (Failed(CDBUtil::GetRightData(rows, right.get()))) return false;
        role.Rights()->Append(right.get());
        loaded.push_back(right);
    }
    rows.Close();
    for (const ComPtr<CRight>& right : loaded) ReadAvailableStatuses(connection, *right);
    return true;
}

// Puts the system information back as it was when writing it failed.
class SysInfoRestore {
public:
    explicit SysInfoRestore(CUserSysInfo& info)
        : info_(info), id_(info.ID()), userID_(info.UserID())
    {
    }
    ~SysInfoRestore()
    {
        if (kept_) return;
        info_.SetID(id_);
        info_.SetUserID(userID_);
    }
    SysInfoRestore(const SysInfoRestore&) = delete;
    SysInfoRestore& operator=(const SysInfoRestore&) = delete;
    void Keep() { kept_ = true; }

private:
    CUserSysInfo& info_;
    std::int32_t id_;
    std::int32_t userID_;
    bool kept_ = false;
};

}  // namespace

HRESULT CUser::get_ID(std::int32_t* out)
{
    return GiveOut(id_, out);
}
HRESULT CUser::get_LoginName(std::string* out)
{
    return GiveOut(loginName_, out);
}
HRESULT CUser::put_LoginName(const std::string& value)
{
    return TakeIn(value, &loginName_);
}
HRESULT CUser::get_UserName(std::string* out)
{
    return GiveOut(userName_, out);
}
HRESULT CUser::put_UserName(const std::string& value)
{
    return TakeIn(value, &userName_);
}
HRESULT CUser::get_Description(std::string* out)
{
    return GiveOut(description_, out);
}
HRESULT CUser::put_Description(const std::string& value)
{
    return TakeIn(value, &description_);
}
HRESULT CUser::get_Password(std::string* out)
{
    return GiveOut(password_, out);
}
HRESULT CUser::put_Password(const std::string& value)
{
    return TakeIn(value, &password_);
}
HRESULT CUser::get_EMail(std::string* out)
{
    return GiveOut(email_, out);
}
HRESULT CUser::put_EMail(const std::string& value)
{
    return TakeIn(value, &email_);
}
HRESULT CUser::get_Position(std::string* out)
{
    return GiveOut(position_, out);
}
HRESULT CUser::put_Position(const std::string& value)
{
    return TakeIn(value, &position_);
}
HRESULT CUser::get_Address(std::string* out)
{
    return GiveOut(address_, out);
}
HRESULT CUser::put_Address(const std::string& value)
{
    return TakeIn(value, &address_);
}
HRESULT CUser::get_Phone(std::string* out)
{
    return GiveOut(phone_, out);
}
HRESULT CUser::put_Phone(const std::string& value)
{
    return TakeIn(value, &phone_);
}
HRESULT CUser::get_Department(std::string* out)
{
    return GiveOut(department_, out);
}
HRESULT CUser::put_Department(const std::string& value)
{
    return TakeIn(value, &department_);
}

HRESULT CUser::get_ClassSet(IClassificationSet** out)
{
    if (out != nullptr) *out = nullptr;
    return S_OK;
}

HRESULT CUser::put_ClassSet(IClassificationSet*)
{
    return S_OK;
}

// Null when a rights row cannot be read (already logged).
ComPtr<CUserRight> CUser::ReadRole() const
{
    ComPtr<CUserRight> role = MakeObject<CUserRight>();
    db::Connection connection(db::ProcessConnectionString());
    db::Recordset row;
    stores::OpenRole(row, connection, roleID_);
    if (row.IsEOF()) {
        LogMessage(kLogDatabase, "CUser::get_Right",
                   "This user's right is not found in database or the right id is invalid");
        return role;
    }
    role->SetID(roleID_);
    role->put_AddProject(mapping::ReadYesNo(row.Fields("AddProject").Value()) ? 1 : 0);
    row.Close();
    if (!ReadRights(connection, *role)) return nullptr;
    return role;
}

HRESULT CUser::get_Right(IUserRight** out)
{
    const char* const failed = "Get user's right failed";
    if (out == nullptr) return E_FAIL;
    *out = nullptr;
    if (id_ == 0)
        return kReport.Fail(failed, kLogGeneral, "CUser::get_Right",
                            "UserID is is 0, cannot get it's right");
    return Guarded(failed, "CUser::get_Right", [&] {
        ComPtr<CUserRight> role = ReadRole();
        if (!role) return kReport.FailQuietly(failed);
        HandOut(role, out);
        return S_OK;
    });
}

HRESULT CUser::get_SysInfo(IUserSysInfo** out)
{
    const char* const failed = "Get user's system infomation failed";
    const char* const source = "CUser::get_SysInfo";
    if (out == nullptr) return E_FAIL;
    *out = nullptr;
    if (id_ == 0)
        return kReport.Fail(failed, kLogGeneral, source,
                            "User is is 0, cannot retrieve it's system infomation");
    return Guarded(failed, source, [&] {
        db::Connection connection(db::ProcessConnectionString());
        db::Recordset row;
        stores::OpenSysInfoOfUser(row, connection, id_);
        if (row.IsEOF()) return S_OK;
        ComPtr<CUserSysInfo> info = MakeObject<CUserSysInfo>();
        if (Failed(CDBUtil::GetUserSysInfoData(row, info.get())))
            return kReport.Fail(failed, kLogGeneral, source);
        info->SetUserID(id_);
        HandOut(info, out);
        return S_OK;
    });
}

HRESULT CUser::put_SysInfo(IUserSysInfo* value)
{
    const char* const failed = "Set user's system infomation failed";
    const char* const source = "CUser::put_SysInfo";
    CUserSysInfo* info = ImplOf<CUserSysInfo>(value);
    if (info == nullptr) return kReport.Fail(failed, kLogGeneral, source, "Invalid Pointer");
    if (id_ == 0)
        return kReport.Fail(failed, kLogGeneral, source,
                            "User is is 0, cannot set it's system infomation");
    if (!guard_.MayChange(id_)) return guard_.Refuse(kReport, "update user", source);
    SysInfoRestore restore(*info);
    return Guarded(failed, source, [&] {
        db::Connection connection(db::ProcessConnectionString());
        db::Transaction transaction(connection);
        const std::vector<std::int32_t> stored = stores::SysInfoIDsOfUser(connection, id_);
        const bool isNew = stored.empty();
        const std::int32_t recordID = isNew ? GetNextID("NextSysInfoID") : stored.front();
        if (recordID == 0)
            return kReport.Fail(failed, kLogGeneral, source,
                                "GetNextID returns 0, can't add new system infomation");
        db::Recordset row;
        stores::OpenSysInfoForWriting(row, connection, recordID);
        if (isNew) row.AddNew();
        info->SetID(recordID);
        info->SetUserID(id_);
        if (Failed(CDBUtil::SaveUserSysInfoData(row, info, id_))) {
            row.CancelUpdate();
            return kReport.FailQuietly(failed);
        }
        row.Update();
        row.Close();
        transaction.Commit();
        restore.Keep();
        return S_OK;
    });
}

HRESULT CUser::get_ProjectSet(IProjectSet** out)
{
    const char* const failed = "Get user's Project failed.";
    const char* const source = "CUser::get_ProjectSet";
    if (out == nullptr) return E_FAIL;
    *out = nullptr;
    if (id_ == 0) return kReport.Fail(failed, kLogDatabase, source, "User id is 0.");
    return Guarded(failed, source, [&] {
        ComPtr<CProjectSet> projects = MakeObject<CProjectSet>();
        db::Connection connection(db::ProcessConnectionString());
        db::Recordset rows;
        stores::OpenProjectsOfUser(rows, connection, id_);
        for (; !rows.IsEOF(); rows.MoveNext()) {
            ComPtr<CProject> project = MakeObject<CProject>();
            if (Failed(ReadProjectWithVersions(rows, project.get())))
                return kReport.FailQuietly(failed);
            projects->Append(project.get());
        }
        HandOut(projects, out);
        return S_OK;
    });
}

}  // namespace lindor
