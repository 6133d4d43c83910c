// Test doubles for what bug sets, bugs and attachments ask of the context:
// the rights in the active project, the active project and version, the
// user's role and the user's projects. Every member a test does not set up
// fails cleanly.
#pragma once

#include <lindor/Interfaces.h>

#include <vector>

#include "core/ComObject.h"
#include "core/CurrentRights.h"
#include "users/CRight.h"
#include "users/CUserRight.h"

namespace lindor::test {

class FakeVersion final : public ComObject<IVersion> {
public:
    explicit FakeVersion(std::int32_t id) : id_(id) {}
    HRESULT get_ID(std::int32_t* out) override { return *out = id_, S_OK; }
    HRESULT get_Name(std::string*) override { return E_FAIL; }
    HRESULT put_Name(const std::string&) override { return E_FAIL; }
    HRESULT get_Description(std::string*) override { return E_FAIL; }
    HRESULT put_Description(const std::string&) override { return E_FAIL; }
    HRESULT get_ReleaseDate(Date*) override { return E_FAIL; }
    HRESULT put_ReleaseDate(Date) override { return E_FAIL; }

private:
    std::int32_t id_;
};

class FakeProject final : public ComObject<IProject> {
public:
    FakeProject(std::int32_t id, std::vector<std::int32_t> versions)
        : id_(id), versions_(std::move(versions))
    {
    }
    HRESULT get_ID(std::int32_t* out) override { return *out = id_, S_OK; }
    HRESULT get_Version(std::int32_t index, IVersion** out) override
    {
        const ComPtr<IVersion> version(
            MakeObject<FakeVersion>(versions_.at(static_cast<std::size_t>(index))));
        version.CopyTo(out);
        return S_OK;
    }
    HRESULT get_VersionCount(std::int32_t* out) override
    {
        return *out = static_cast<std::int32_t>(versions_.size()), S_OK;
    }
    HRESULT AddVersion(const std::string&, const std::string&, Date, IVersion**) override
    {
        return E_FAIL;
    }
    HRESULT RemoveVersion(const std::string&) override { return E_FAIL; }
    HRESULT RemoveVersionAt(std::int32_t) override { return E_FAIL; }
    HRESULT get_ClassificationSet(IClassificationSet**) override { return E_FAIL; }
    HRESULT get_Name(std::string*) override { return E_FAIL; }
    HRESULT put_Name(const std::string&) override { return E_FAIL; }
    HRESULT get_Description(std::string*) override { return E_FAIL; }
    HRESULT put_Description(const std::string&) override { return E_FAIL; }

private:
    std::int32_t id_;
    std::vector<std::int32_t> versions_;
};

class FakeProjectSet final : public ComObject<IProjectSet> {
public:
    void Push(ComPtr<IProject> project) { projects_.push_back(std::move(project)); }
    HRESULT get_Count(std::int32_t* out) override
    {
        return *out = static_cast<std::int32_t>(projects_.size()), S_OK;
    }
    HRESULT get_Item(std::int32_t index, IProject** out) override
    {
        projects_.at(static_cast<std::size_t>(index)).CopyTo(out);
        return S_OK;
    }
    HRESULT get_ExeContext(IExeContext**) override { return E_FAIL; }
    HRESULT Add(IProject*) override { return E_FAIL; }
    HRESULT Remove(std::int32_t) override { return E_FAIL; }
    HRESULT Update() override { return E_FAIL; }
    HRESULT Refresh() override { return E_FAIL; }
    HRESULT Append(IProject*) override { return E_FAIL; }
    HRESULT DeleteByID(std::int32_t) override { return E_FAIL; }
    HRESULT DeleteByIndex(std::int32_t) override { return E_FAIL; }

private:
    std::vector<ComPtr<IProject>> projects_;
};

// A user whose only working member is his project list.
class FakeUser final : public ComObject<IUser> {
public:
    explicit FakeUser(ComPtr<IProjectSet> projects) : projects_(std::move(projects)) {}
    HRESULT get_ProjectSet(IProjectSet** out) override
    {
        projects_.CopyTo(out);
        return projects_ ? S_OK : E_FAIL;
    }
    HRESULT get_ID(std::int32_t*) override { return E_FAIL; }
    HRESULT get_LoginName(std::string*) override { return E_FAIL; }
    HRESULT put_LoginName(const std::string&) override { return E_FAIL; }
    HRESULT get_UserName(std::string*) override { return E_FAIL; }
    HRESULT put_UserName(const std::string&) override { return E_FAIL; }
    HRESULT get_Description(std::string*) override { return E_FAIL; }
    HRESULT put_Description(const std::string&) override { return E_FAIL; }
    HRESULT get_Password(std::string*) override { return E_FAIL; }
    HRESULT put_Password(const std::string&) override { return E_FAIL; }
    HRESULT get_EMail(std::string*) override { return E_FAIL; }
    HRESULT put_EMail(const std::string&) override { return E_FAIL; }
    HRESULT get_Position(std::string*) override { return E_FAIL; }
    HRESULT put_Position(const std::string&) override { return E_FAIL; }
    HRESULT get_Address(std::string*) override { return E_FAIL; }
    HRESULT put_Address(const std::string&) override { return E_FAIL; }
    HRESULT get_Phone(std::string*) override { return E_FAIL; }
    HRESULT put_Phone(const std::string&) override { return E_FAIL; }
    HRESULT get_Department(std::string*) override { return E_FAIL; }
    HRESULT put_Department(const std::string&) override { return E_FAIL; }
    HRESULT get_ClassSet(IClassificationSet**) override { return E_FAIL; }
    HRESULT put_ClassSet(IClassificationSet*) override { return E_FAIL; }
    HRESULT get_SysInfo(IUserSysInfo**) override { return E_FAIL; }
    HRESULT put_SysInfo(IUserSysInfo*) override { return E_FAIL; }
    HRESULT get_Right(IUserRight**) override { return E_FAIL; }

private:
    ComPtr<IProjectSet> projects_;
};

// The context as the bug classes see it. Rights, the active project and
// version, the role and the user are whatever the test sets.
class FakeContext final : public ComObject<IExeContext>, public CurrentRights {
public:
    ComPtr<IRight> projectRight;  // what CurProjectRight hands out (null: none)
    std::int32_t activeProjectID = 0;
    std::int32_t activeVersionID = 0;
    ComPtr<IProject> activeProject;
    ComPtr<IUserRight> role;  // CurRight
    ComPtr<IUser> user;       // CurUser

    // Gives the role (made when there is none) a rights row for the project,
    // with one flag set or not.
    ComPtr<CRight> GrantInProject(std::int32_t projectID, RightFlag flag, bool on = true)
    {
        if (!role) role = ComPtr<IUserRight>(MakeObject<CUserRight>().get());
        ComPtr<IRightSet> rights;
        role->get_RightSet(rights.put());
        ComPtr<CRight> right = MakeObject<CRight>();
        right->put_ProjectID(projectID);
        right->SetFlag(flag, on);
        rights->Append(right.get());
        return right;
    }

    HRESULT get_CurProjectRight(IRight** out) override { return projectRight.CopyTo(out), S_OK; }

    // The rights the engine checks before a write: the active project's are
    // `projectRight`, any other project's the role's row for it.
    ComPtr<IRight> StoredProjectRight(std::int32_t projectID) override
    {
        if (projectID == activeProjectID && projectRight) return projectRight;
        ComPtr<IRight> right;
        ComPtr<IRightSet> rights;
        if (role && Succeeded(role->get_RightSet(rights.put())) && rights)
            rights->GetByProjectID(projectID, right.put());
        return right;
    }
    ComPtr<IRight> StoredActiveProjectRight() override { return projectRight; }
    bool StoredMayAddProjects() override
    {
        std::int32_t allowed = 0;
        return role && Succeeded(role->get_AddProject(&allowed)) && allowed != 0;
    }
    bool IsAdministrator() const override { return false; }
    std::int32_t LoggedInUserID() const override { return 0; }
    HRESULT get_ActiveProjectID(std::int32_t* out) override { return *out = activeProjectID, S_OK; }
    HRESULT get_ActiveVersionID(std::int32_t* out) override { return *out = activeVersionID, S_OK; }
    HRESULT get_ActiveProject(IProject** out) override { return activeProject.CopyTo(out), S_OK; }
    HRESULT get_CurRight(IUserRight** out) override { return role.CopyTo(out), S_OK; }
    HRESULT get_CurUser(IUser** out) override { return user.CopyTo(out), S_OK; }

    HRESULT get_CurUserProjectSet(IProjectSet**) override { return E_FAIL; }
    HRESULT get_BugStatus(IBugStatus**) override { return E_FAIL; }
    HRESULT get_ProjectSet(IProjectSet**) override { return E_FAIL; }
    HRESULT Login(const std::string&, const std::string&) override { return E_FAIL; }
    HRESULT OpenAccessDB(const std::string&) override { return E_FAIL; }
    HRESULT get_ActiveVersion(IVersion**) override { return E_FAIL; }
    HRESULT get_CurUserID(std::int32_t*) override { return E_FAIL; }
    HRESULT get_Admin(IAdmin**) override { return E_FAIL; }
    HRESULT SetActiveProject(std::int32_t, std::int32_t) override { return E_FAIL; }
    HRESULT GetUserClassification(std::int32_t, std::int32_t, IClassificationSet**) override
    {
        return E_FAIL;
    }
    HRESULT AssignUserClassification(std::int32_t, const std::int32_t*, std::int32_t,
                                     std::int32_t) override
    {
        return E_FAIL;
    }
    HRESULT OpenBugSet(eBugType, IBugFilterSet*, IBugSet**) override { return E_FAIL; }
    HRESULT get_BugSeverity(IBugSeverity**) override { return E_FAIL; }
    HRESULT get_BugReproductive(IBugReproductive**) override { return E_FAIL; }
    HRESULT get_BugPriority(IBugPriority**) override { return E_FAIL; }
    HRESULT get_AllBugStatus(IBugStatus**) override { return E_FAIL; }
    HRESULT get_AllUser(IUserSet**) override { return E_FAIL; }
    HRESULT Close() override { return E_FAIL; }
    HRESULT Synchronize() override { return E_FAIL; }
    HRESULT ChangePsw(const std::string&, const std::string&) override { return E_FAIL; }
    HRESULT OpenSQLDB(const std::string&, const std::string&) override { return E_FAIL; }
    HRESULT Advise(IExeContextEvents*, std::uint32_t*) override { return E_FAIL; }
    HRESULT Unadvise(std::uint32_t) override { return E_FAIL; }
};

// A rights row for `projectID` with every flag on, to be narrowed by the test.
inline ComPtr<CRight> FullRight(std::int32_t projectID = 1)
{
    ComPtr<CRight> right = MakeObject<CRight>();
    right->SetAllFlags(true);
    right->put_ProjectID(projectID);
    return right;
}

// A context whose user may do everything in project 1 (versions 1 and 2).
inline ComPtr<FakeContext> ProjectContext(ComPtr<IRight> right = FullRight())
{
    ComPtr<FakeContext> context = MakeObject<FakeContext>();
    context->projectRight = std::move(right);
    context->activeProjectID = 1;
    context->activeProject =
        ComPtr<IProject>(MakeObject<FakeProject>(1, std::vector<std::int32_t>{1, 2}));
    return context;
}

}  // namespace lindor::test
