// The context's database, login, active project, rights and name lists.
#include "context/CExeContext.h"

#include <algorithm>
#include <cctype>

#include "cipher/PasswordBlock.h"
#include "core/ErrorInfo.h"
#include "core/OutParam.h"
#include "db/DatabaseError.h"
#include "db/Recordset.h"
#include "mapping/DBUtil.h"
#include "mapping/ValueConversion.h"
#include "stores/NameListStore.h"
#include "stores/ProjectStore.h"
#include "stores/UserStore.h"
#include "users/CBugPriority.h"
#include "users/CBugReproductive.h"
#include "users/CBugSeverity.h"
#include "users/CBugStatus.h"
#include "users/CRight.h"
#include "users/CUser.h"
#include "users/CUserRight.h"

namespace lindor {
namespace {

const ClassRegistration registration("ExeContext", &CreateInstance<CExeContext>);

constexpr const char* kDatabaseVersion = "2.5";
constexpr const char* kOpenSource = "CExeContext::OpenAcessDB";
constexpr const char* kLoginSource = "CExeContext::Login";
constexpr const char* kWrongLogin = "User Name or password is incorrect!";

bool IsAdministratorName(std::string login)
{
    std::transform(login.begin(), login.end(), login.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return login == "admin";
}

// The administrator may do everything: the role may add projects and every
// rights row has every flag set. In memory only; nothing is written.
void GrantEverything(IUserRight& role)
{
    role.put_AddProject(1);
    ComPtr<IRightSet> rights;
    role.get_RightSet(rights.put());
    std::int32_t count = 0;
    if (rights) rights->get_Count(&count);
    for (std::int32_t i = 0; i < count; ++i) {
        ComPtr<IRight> right;
        rights->get_Item(i, right.put());
        if (CRight* impl = ImplOf<CRight>(right.get())) impl->SetAllFlags(true);
    }
}

// The stored (UserID, password) of a login name, matched literally.
struct StoredLogin {
    bool found = false;
    std::int32_t userID = 0;
    std::string password;
};

StoredLogin FindLogin(const std::string& login)
{
    db::Connection connection(db::ProcessConnectionString());
    db::Recordset row;
    stores::OpenLogin(row, connection, login);
    StoredLogin stored;
    if (row.IsEOF()) return stored;
    stored.found = true;
    const std::vector<std::uint8_t> block = row.Fields("Password").GetChunk(kPasswordBlockSize);
    stored.password = DecipherPassword(block.data(), block.size());
    stored.userID = mapping::ReadWholeNumber(row.Fields("UserID").Value());
    row.Close();
    return stored;
}

// Fills a name list with the first column of every row the opener gives.
template <class List, class Opener>
ComPtr<List> ReadNameList(db::Connection& connection, Opener open)
{
    ComPtr<List> list = MakeObject<List>();
    db::Recordset rows;
    open(rows, connection);
    for (; !rows.IsEOF(); rows.MoveNext()) list->Add(mapping::ReadText(rows.Fields(0).Value()));
    rows.Close();
    return list;
}

template <class List, class Iface, class Opener>
HRESULT HandOutNameList(db::Connection& connection, Opener open, Iface** out, const char* failed,
                        const char* source)
{
    if (out == nullptr) return E_FAIL;
    *out = nullptr;
    return CExeContext::Guarded(failed, source, [&] {
        HandOut(ReadNameList<List>(connection, open), out);
        return S_OK;
    });
}

// The role's rights row for the project, or null.
ComPtr<IRight> RoleRightFor(const ComPtr<IUserRight>& role, std::int32_t projectID)
{
    ComPtr<IRight> right;
    ComPtr<IRightSet> rights;
    if (role && Succeeded(role->get_RightSet(rights.put())) && rights)
        rights->GetByProjectID(projectID, right.put());
    return right;
}

// The administrator's rights: every flag, in any project.
ComPtr<IRight> EveryRight(std::int32_t projectID)
{
    ComPtr<CRight> everything = MakeObject<CRight>();
    everything->SetAllFlags(true);
    everything->put_ProjectID(projectID);
    return everything;
}

// The rights row that the role of user `userID` holds for `projectID` as it
// is stored now (without its statuses), or null when there is none.
ComPtr<IRight> ReadStoredRight(std::int32_t userID, std::int32_t projectID)
{
    db::Connection connection(db::ProcessConnectionString());
    db::Recordset row;
    stores::OpenRightOfUserInProject(row, connection, userID, projectID);
    if (row.IsEOF()) return nullptr;
    ComPtr<CRight> right = MakeObject<CRight>();
    // The mapping has logged why the row could not be read.
    if (Failed(CDBUtil::GetRightData(row, right.get()))) return nullptr;
    return right;
}

// Whether the role of user `userID` may add projects, as stored now.
bool ReadStoredMayAddProjects(std::int32_t userID)
{
    db::Connection connection(db::ProcessConnectionString());
    db::Recordset row;
    stores::OpenMayAddProjectsOfUser(row, connection, userID);
    return !row.IsEOF() && mapping::ReadYesNo(row.Fields(0).Value());
}

// The logged-in user's role, or an empty one (no rights) when it cannot be
// read (the failure is logged where it happened).
ComPtr<IUserRight> ReadCurrentRole(IExeContext& context)
{
    ComPtr<IUser> user;
    ComPtr<IUserRight> role;
    if (Succeeded(context.get_CurUser(user.put())) && user) user->get_Right(role.put());
    if (!role) role = MakeObject<CUserRight>();
    return role;
}

}  // namespace

const Reporter& CExeContext::Report()
{
    static const Reporter reporter(ExternalClassName("ExeContext"));
    return reporter;
}

CExeContext::CExeContext() = default;

CExeContext::~CExeContext()
{
    db::ReleaseProcessConnectionString(this);
}

// ---- database ---------------------------------------------------------------

HRESULT CExeContext::OpenAccessDB(const std::string& fileName)
{
    const std::string connectionString = db::BuildConnectionString(fileName);
    db::ClaimProcessConnectionString(this, connectionString);
    curUserID_ = activeProjectID_ = activeVersionID_ = curProjectRightID_ = 0;
    administrator_ = false;
    const std::string openFailed = Format("Open database %s failed", fileName.c_str());
    const HRESULT opened = Guarded(openFailed.c_str(), kOpenSource, [&] {
        connection_.Close();
        connection_.Open(connectionString);
        return S_OK;
    });
    if (Failed(opened)) return opened;
    const HRESULT checked = Guarded("Open Database failed", kOpenSource, [&] {
        db::Recordset system;
        stores::OpenSystemRow(system, connection_);
        const std::string version = mapping::ReadText(system.Fields(0).Value());
        system.Close();
        if (version != kDatabaseVersion)
            return Report().Fail("version of database is not correct", kLogGeneral, kOpenSource);
        return S_OK;
    });
    // A database of another version (or none) is not kept open.
    if (Failed(checked)) connection_.Close();
    return checked;
}

HRESULT CExeContext::Close()
{
    db::ReleaseProcessConnectionString(this);
    RunLoggedStep("CExeContext::Close", [&] {
        connection_.Close();
        return true;
    });
    return S_OK;
}

HRESULT CExeContext::OpenSQLDB(const std::string&, const std::string&)
{
    return S_OK;
}

// ---- login --------------------------------------------------------------------

HRESULT CExeContext::Login(const std::string& login, const std::string& psw)
{
    // The mark is set only by a login that succeeds: a failed attempt must
    // never leave an earlier user with administrator rights.
    administrator_ = false;
    const auto fireOnLogin = [&](std::int32_t ok) {
        sinks_.FireAll([&](IExeContextEvents* sink) { sink->OnLogin(ok, login, psw); });
    };
    StoredLogin stored;
    // A database failure reaches the caller in its own words.
    const Failure finding{"Login failed!", kLoginSource,   kLogDatabase,
                          kLogGeneral,     LogForm::Whole, true};
    const HRESULT found = lindor::Guarded(Report(), finding, [&] {
        stored = FindLogin(login);
        return S_OK;
    });
    if (Failed(found)) {
        fireOnLogin(0);
        return found;
    }
    if (!stored.found) return Report().Fail(kWrongLogin, kLogGeneral, kLoginSource);
    if (stored.password != psw) {
        Report().Fail(kWrongLogin, kLogGeneral, kLoginSource);
        fireOnLogin(0);
        return E_FAIL;
    }
    LogMessage(kLogGeneral, kLoginSource, Format("%s login successfully!", login.c_str()));
    curUserID_ = stored.userID;
    administrator_ = IsAdministratorName(login);
    curRight_ = ReadCurrentRole(*this);
    if (administrator_) GrantEverything(*curRight_);
    fireOnLogin(1);
    return S_OK;
}

HRESULT CExeContext::get_CurUser(IUser** out)
{
    const char* const failed = "Get current user failded";
    const char* const source = "CExeContext::get_CurUser";
    if (out == nullptr) return E_FAIL;
    *out = nullptr;
    if (curUserID_ == 0) {
        LogMessage(kLogGeneral, source, "Current User's ID is 0");
        return S_OK;
    }
    return Guarded(failed, source, [&] {
        db::Recordset row;
        stores::OpenUser(row, connection_, curUserID_);
        ComPtr<CUser> user = MakeObject<CUser>();
        if (!row.IsEOF() && Failed(CDBUtil::GetUserData(row, user.get())))
            return Report().FailQuietly(failed);
        HandOut(user, out);
        return S_OK;
    });
}

HRESULT CExeContext::get_CurUserID(std::int32_t* out)
{
    return GiveOut(curUserID_, out);
}

HRESULT CExeContext::get_CurRight(IUserRight** out)
{
    if (out == nullptr) return E_FAIL;
    curRight_.CopyTo(out);
    return S_OK;
}

// ---- active project -----------------------------------------------------------

bool CExeContext::CheckVersionInProject(std::int32_t versionID, std::int32_t projectID)
{
    if (versionID == 0 || projectID == 0) return true;
    return RunLoggedStep("CExeContext::CheckVersionInProject", [&] {
        return stores::ProjectOfVersion(connection_, versionID) == projectID;
    });
}

HRESULT CExeContext::SetActiveProject(std::int32_t projectID, std::int32_t versionID)
{
    const auto fireOnActiveProject = [&](std::int32_t ok) {
        sinks_.FireAll([&](IExeContextEvents* sink) {
            sink->OnActiveProject(ok, activeProjectID_, activeVersionID_);
        });
    };
    if (projectID == 0) versionID = 0;
    if (!CheckVersionInProject(versionID, projectID)) {
        // The rights number goes with the project, so nothing of the old
        // project stays in force.
        activeProjectID_ = activeVersionID_ = curProjectRightID_ = 0;
        return Report().Fail("Set Active Project Failed", kLogGeneral,
                             "CExeContext::SetActiveProject",
                             "version doesn't belong to the specified Project.");
    }
    if (!curRight_) return S_OK;
    const ComPtr<IRight> right = RoleRightFor(curRight_, projectID);
    if (!right && projectID != 0) {
        fireOnActiveProject(0);
        return S_OK;
    }
    std::int32_t rightID = 0;
    if (right) right->get_ID(&rightID);
    activeProjectID_ = projectID;
    activeVersionID_ = versionID;
    curProjectRightID_ = projectID == 0 ? 0 : rightID;
    fireOnActiveProject(1);
    return S_OK;
}

HRESULT CExeContext::get_ActiveProjectID(std::int32_t* out)
{
    return GiveOut(activeProjectID_, out);
}
HRESULT CExeContext::get_ActiveVersionID(std::int32_t* out)
{
    return GiveOut(activeVersionID_, out);
}

// ---- rights -------------------------------------------------------------------

ComPtr<IRight> CExeContext::CurrentProjectRight()
{
    if (administrator_) return EveryRight(activeProjectID_);
    if (activeProjectID_ == 0) return nullptr;
    return RoleRightFor(curRight_, activeProjectID_);
}

ComPtr<IRight> CExeContext::StoredProjectRight(std::int32_t projectID)
{
    if (administrator_) return EveryRight(projectID);
    if (curUserID_ == 0) return nullptr;
    ComPtr<IRight> right;
    RunLoggedStep("CExeContext::StoredProjectRight", [&] {
        right = ReadStoredRight(curUserID_, projectID);
        return true;
    });
    return right;
}

ComPtr<IRight> CExeContext::StoredActiveProjectRight()
{
    if (!administrator_ && activeProjectID_ == 0) return nullptr;
    return StoredProjectRight(activeProjectID_);
}

bool CExeContext::StoredMayAddProjects()
{
    if (administrator_) return true;
    if (curUserID_ == 0) return false;
    return RunLoggedStep("CExeContext::StoredMayAddProjects",
                         [&] { return ReadStoredMayAddProjects(curUserID_); });
}

HRESULT CExeContext::get_CurProjectRight(IRight** out)
{
    if (out == nullptr) return E_FAIL;
    CurrentProjectRight().CopyTo(out);
    return S_OK;
}

// ---- name lists ---------------------------------------------------------------

HRESULT CExeContext::get_BugStatus(IBugStatus** out)
{
    const std::int32_t rightID = curProjectRightID_;
    const auto open = [rightID](db::Recordset& rows, db::Connection& connection) {
        stores::OpenAvailableStatuses(rows, connection, rightID);
    };
    return HandOutNameList<CBugStatus>(connection_, open, out, "Get current status failed",
                                       "CExeContext::get_BugStatus");
}

HRESULT CExeContext::get_AllBugStatus(IBugStatus** out)
{
    return HandOutNameList<CBugStatus>(connection_, &stores::OpenStatusNames, out,
                                       "Get all status failed", "CExeContext::get_AllBugStatus");
}

HRESULT CExeContext::get_BugSeverity(IBugSeverity** out)
{
    return HandOutNameList<CBugSeverity>(connection_, &stores::OpenSeverityNames, out,
                                         "Get bug severity failed!", "get_BugSeverity");
}

HRESULT CExeContext::get_BugReproductive(IBugReproductive** out)
{
    return HandOutNameList<CBugReproductive>(connection_, &stores::OpenReproductiveNames, out,
                                             "Get bug reproductive failed!", "get_BugReproductive");
}

HRESULT CExeContext::get_BugPriority(IBugPriority** out)
{
    return HandOutNameList<CBugPriority>(connection_, &stores::OpenPriorityNames, out,
                                         "Get bug priority failed!", "get_BugPriority");
}

// ---- events -------------------------------------------------------------------

HRESULT CExeContext::Advise(IExeContextEvents* sink, std::uint32_t* cookie)
{
    if (sinks_.Advise(sink, cookie)) return S_OK;
    return Report().Fail("Advise failed: no event sink given", kLogGeneral, "CExeContext::Advise");
}

HRESULT CExeContext::Unadvise(std::uint32_t cookie)
{
    if (sinks_.Unadvise(cookie)) return S_OK;
    return Report().Fail(Format("Unadvise failed: no subscription %u", cookie), kLogGeneral,
                         "CExeContext::Unadvise");
}

}  // namespace lindor
