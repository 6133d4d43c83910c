#include "users/CUser.h"

#include "core/ClassRegistry.h"
#include "core/ErrorReport.h"
#include "core/OutParam.h"
#include "db/DatabaseError.h"
#include "db/NextID.h"
#include "db/Recordset.h"
#include "mapping/DBUtil.h"
#include "mapping/ValueConversion.h"
#include "projects/CProject.h"
#include "projects/CProjectSet.h"
#include "projects/ProjectReading.h"
#include "projects/RowDeletion.h"
#include "users/CRight.h"
#include "users/CUserRight.h"
#include "users/CUserSysInfo.h"

namespace lindor {
namespace {

const ClassRegistration registration("User", &CreateInstance<CUser>);
const Reporter kReport(ExternalClassName("User"));

long AsLong(std::int32_t value)
{
    return static_cast<long>(value);
}

void ReadAvailableStatuses(db::Connection& connection, CRight& right)
{
    ComPtr<CBugStatus> statuses = right.AvailableStatusList();
    db::Recordset names;
    names.Open(Format("SELECT * FROM tAvailableStatus WHERE RightID = %ld", AsLong(right.ID())),
               connection, db::CursorType::Static, db::LockType::ReadOnly);
    for (; !names.IsEOF(); names.MoveNext())
        statuses->Add(mapping::ReadText(names.Fields("StatusName").Value()));
}

// Reads the role's rights rows, then the statuses each may set. False
// (logged by the mapping) when a row cannot be read.
bool ReadRights(db::Connection& connection, CUserRight& role)
{
    std::vector<ComPtr<CRight>> loaded;
    db::Recordset rows;
    rows.Open(Format("SELECT * FROM tRight WHERE UserRightID = %ld", AsLong(role.ID())), connection,
              db::CursorType::Static, db::LockType::ReadOnly);
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
    row.Open(Format("SELECT * FROM tUserRight WHERE UserRightID = %ld", AsLong(roleID_)),
             connection, db::CursorType::Static, db::LockType::ReadOnly);
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
    try {
        ComPtr<CUserRight> role = ReadRole();
        if (!role) return kReport.FailQuietly(failed);
        HandOut(role, out);
        return S_OK;
    } catch (const DatabaseError& error) {
        return kReport.FailDatabase(failed, "CUser::get_Right", error);
    }
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
    try {
        db::Recordset row;
        row.Open(Format("SELECT * FROM tUserSystemInfo WHERE UserID = %ld", AsLong(id_)),
                 db::ProcessConnectionString(), db::CursorType::ForwardOnly,
                 db::LockType::ReadOnly);
        if (row.IsEOF()) return S_OK;
        ComPtr<CUserSysInfo> info = MakeObject<CUserSysInfo>();
        if (Failed(CDBUtil::GetUserSysInfoData(row, info.get())))
            return kReport.Fail(failed, kLogGeneral, source);
        info->SetUserID(id_);
        HandOut(info, out);
        return S_OK;
    } catch (const DatabaseError& error) {
        return kReport.FailDatabase(failed, source, error);
    }
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
    const std::int32_t previousID = info->ID();
    const std::int32_t previousUser = info->UserID();
    try {
        db::Connection connection(db::ProcessConnectionString());
        db::Transaction transaction(connection);
        const std::vector<std::int32_t> stored = ReadIdentifiers(
            connection,
            Format("SELECT UserSystemInfoID FROM tUserSystemInfo WHERE UserID = %ld", AsLong(id_)));
        const bool isNew = stored.empty();
        const std::int32_t recordID = isNew ? GetNextID("NextSysInfoID") : stored.front();
        if (recordID == 0)
            return kReport.Fail(failed, kLogGeneral, source,
                                "GetNextID returns 0, can't add new system infomation");
        db::Recordset row;
        row.Open(
            Format("SELECT * FROM tUserSystemInfo WHERE UserSystemInfoID=%ld", AsLong(recordID)),
            connection, db::CursorType::Keyset, db::LockType::Optimistic);
        if (isNew) row.AddNew();
        info->SetID(recordID);
        info->SetUserID(id_);
        if (Failed(CDBUtil::SaveUserSysInfoData(row, info, id_))) {
            row.CancelUpdate();
            info->SetID(previousID);
            info->SetUserID(previousUser);
            return kReport.FailQuietly(failed);
        }
        row.Update();
        row.Close();
        transaction.Commit();
        return S_OK;
    } catch (const DatabaseError& error) {
        info->SetID(previousID);
        info->SetUserID(previousUser);
        return kReport.FailDatabase(failed, source, error);
    }
}

HRESULT CUser::get_ProjectSet(IProjectSet** out)
{
    const char* const failed = "Get user's Project failed.";
    const char* const source = "CUser::get_ProjectSet";
    if (out == nullptr) return E_FAIL;
    *out = nullptr;
    if (id_ == 0) return kReport.Fail(failed, kLogDatabase, source, "User id is 0.");
    try {
        ComPtr<CProjectSet> projects = MakeObject<CProjectSet>();
        db::Recordset rows;
        rows.Open(Format("SELECT tProject.* FROM (tUserRight INNER JOIN tUser ON "
                         "tUserRight.UserRightID = tUser.UserRightID) INNER JOIN (tProject INNER "
                         "JOIN tRight ON tProject.ProjectID = tRight.ProjectID) ON "
                         "tUserRight.UserRightID = tRight.UserRightID WHERE tUser.UserID=%ld",
                         AsLong(id_)),
                  db::ProcessConnectionString(), db::CursorType::ForwardOnly,
                  db::LockType::ReadOnly);
        for (; !rows.IsEOF(); rows.MoveNext()) {
            ComPtr<CProject> project = MakeObject<CProject>();
            if (Failed(ReadProjectWithVersions(rows, project.get())))
                return kReport.FailQuietly(failed);
            projects->Append(project.get());
        }
        HandOut(projects, out);
        return S_OK;
    } catch (const DatabaseError& error) {
        return kReport.FailDatabase(failed, source, error);
    }
}

}  // namespace lindor
