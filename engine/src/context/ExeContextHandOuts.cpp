// The context's project, version and user lists, and the password change of
// the logged-in user. Every list is read afresh on every call.
#include "context/CExeContext.h"

#include <vector>

#include "core/Guarded.h"
#include "db/DatabaseError.h"
#include "db/Recordset.h"
#include "mapping/DBUtil.h"
#include "projects/CProject.h"
#include "projects/CProjectSet.h"
#include "projects/CVersion.h"
#include "projects/ProjectReading.h"
#include "stores/ProjectStore.h"
#include "stores/UserStore.h"
#include "users/CUser.h"
#include "users/CUserSet.h"
#include "users/UserWrites.h"

namespace lindor {
namespace {

constexpr const char* kProjectsFailed = "Get current user's Project failded";

// The projects of the role's rights rows, in the order of its rights set.
std::vector<std::int32_t> ProjectsOfRole(const ComPtr<IUserRight>& role)
{
    std::vector<std::int32_t> projects;
    ComPtr<IRightSet> rights;
    if (!role || Failed(role->get_RightSet(rights.put())) || !rights) return projects;
    std::int32_t count = 0;
    rights->get_Count(&count);
    for (std::int32_t i = 0; i < count; ++i) {
        ComPtr<IRight> right;
        std::int32_t projectID = 0;
        if (Succeeded(rights->get_Item(i, right.put())) &&
            Succeeded(right->get_ProjectID(&projectID)))
            projects.push_back(projectID);
    }
    return projects;
}

// A project filled from the cursor's current row, or null (logged by the
// mapping) when the row cannot be read.
ComPtr<CProject> ReadProject(db::Recordset& row)
{
    ComPtr<CProject> project = MakeObject<CProject>();
    if (Failed(ReadProjectWithVersions(row, project.get()))) return nullptr;
    return project;
}

// Appends the project of the cursor's current row; false when it cannot be read.
bool AppendCurrentProject(db::Recordset& row, CProjectSet& projects)
{
    ComPtr<CProject> project = ReadProject(row);
    if (!project) return false;
    projects.Append(project.get());
    return true;
}

}  // namespace

HRESULT CExeContext::get_CurUserProjectSet(IProjectSet** out)
{
    if (out == nullptr) return E_FAIL;
    *out = nullptr;
    return Guarded(kProjectsFailed, "CExeContext::get_CurUserProjectSet", [&] {
        ComPtr<CProjectSet> projects = MakeObject<CProjectSet>();
        projects->AttachExeContext(this);
        const std::vector<std::int32_t> wanted = ProjectsOfRole(curRight_);
        // Before any login there is no role, and so no project.
        if (wanted.empty()) {
            HandOut(projects, out);
            return S_OK;
        }
        db::Recordset rows;
        stores::OpenProjects(rows, connection_);
        for (std::int32_t projectID : wanted) {
            rows.SetFilter(Format("ProjectID = %d", projectID));
            // A rights row may outlive its project; such a row is passed over.
            if (rows.IsEOF()) continue;
            if (!AppendCurrentProject(rows, *projects))
                return Report().FailQuietly(kProjectsFailed);
        }
        HandOut(projects, out);
        return S_OK;
    });
}

HRESULT CExeContext::get_ProjectSet(IProjectSet** out)
{
    if (out == nullptr) return E_FAIL;
    *out = nullptr;
    return Guarded(kProjectsFailed, "CExeContext::get_ProjectSet", [&] {
        ComPtr<CProjectSet> projects = MakeObject<CProjectSet>();
        projects->AttachExeContext(this);
        db::Recordset rows;
        stores::OpenProjects(rows, connection_);
        for (; !rows.IsEOF(); rows.MoveNext())
            if (!AppendCurrentProject(rows, *projects))
                return Report().FailQuietly(kProjectsFailed);
        HandOut(projects, out);
        return S_OK;
    });
}

HRESULT CExeContext::get_ActiveProject(IProject** out)
{
    const char* const source = "CExeContext::get_ActiveProject";
    if (out == nullptr) return E_FAIL;
    *out = nullptr;
    if (activeProjectID_ == 0) return S_OK;
    return Guarded(kProjectsFailed, source, [&] {
        db::Recordset row;
        stores::OpenProject(row, connection_, activeProjectID_);
        if (row.IsEOF())
            return Report().Fail(kProjectsFailed, kLogDatabase, source,
                                 "Current Project does not exist");
        ComPtr<CProject> project = ReadProject(row);
        if (!project) return Report().FailQuietly(kProjectsFailed);
        HandOut(project, out);
        return S_OK;
    });
}

HRESULT CExeContext::get_ActiveVersion(IVersion** out)
{
    const char* const failed = "Get current version failded";
    const char* const source = "CExeContext::get_ActiveVersion";
    if (out == nullptr) return E_FAIL;
    *out = nullptr;
    if (activeVersionID_ == 0) return S_OK;
    return Guarded(failed, source, [&] {
        db::Recordset row;
        stores::OpenVersion(row, connection_, activeVersionID_);
        if (row.IsEOF())
            return Report().Fail(failed, kLogDatabase, source, "Current version does not exist");
        ComPtr<CVersion> version = MakeObject<CVersion>();
        if (Failed(CDBUtil::GetVersionData(row, version.get())))
            return Report().FailQuietly(failed);
        HandOut(version, out);
        return S_OK;
    });
}

HRESULT CExeContext::get_AllUser(IUserSet** out)
{
    const char* const failed = "Get User failed";
    if (out == nullptr) return E_FAIL;
    *out = nullptr;
    return Guarded(failed, "CExeContext::get_AllUser", [&] {
        ComPtr<CUserSet> users = MakeObject<CUserSet>();
        users->GuardFor(this);
        db::Recordset rows;
        stores::OpenAllUsers(rows, connection_);
        for (; !rows.IsEOF(); rows.MoveNext()) {
            ComPtr<CUser> user = MakeObject<CUser>();
            if (Failed(CDBUtil::GetUserData(rows, user.get()))) return Report().FailQuietly(failed);
            user->GuardFor(this);
            // Only the administrator sees the passwords of others.
            if (!administrator_ && user->ID() != curUserID_) user->put_Password("");
            users->Append(user.get());
        }
        HandOut(users, out);
        return S_OK;
    });
}

HRESULT CExeContext::ChangePsw(const std::string& oldPsw, const std::string& newPsw)
{
    const char* const source = "CExeContext::ChangePsw";
    const std::string refusal = userwrites::PasswordRefusal(newPsw);
    if (!refusal.empty()) return Report().Fail(refusal, kLogGeneral, source);
    ComPtr<IUserSet> users;
    if (Failed(get_AllUser(users.put())))
        return Report().Fail("Change password failed!", kLogGeneral, source);
    std::int32_t count = 0;
    users->get_Count(&count);
    for (std::int32_t i = 0; i < count; ++i) {
        ComPtr<IUser> user;
        std::int32_t id = 0;
        users->get_Item(i, user.put());
        if (!user || Failed(user->get_ID(&id)) || id != curUserID_) continue;
        std::string stored;
        user->get_Password(&stored);
        if (stored != oldPsw)
            return Report().Fail("original password doesn't match", kLogGeneral, source);
        user->put_Password(newPsw);
        if (Failed(users->Update()))
            return Report().Fail("Change password failed!", kLogGeneral, source);
        return S_OK;
    }
    return S_OK;
}

}  // namespace lindor
