// A context that knows only the current role: enough for the objects that
// reach the context solely for the current user's rights. Every other member
// fails, so a test notices when the object under test asks for more.
#pragma once

#include <lindor/Interfaces.h>

#include "core/ComObject.h"
#include "users/CRight.h"
#include "users/CUserRight.h"

namespace lindor::test {

class FakeContext final : public ComObject<IExeContext> {
public:
    // The role handed out by CurRight; null until set.
    ComPtr<CUserRight> role;

    // Gives the role a rights row for the project, with one flag set or not.
    ComPtr<CRight> GrantInProject(std::int32_t projectID, RightFlag flag, bool on = true)
    {
        if (!role) role = MakeObject<CUserRight>();
        ComPtr<CRight> right = MakeObject<CRight>();
        right->put_ProjectID(projectID);
        right->SetFlag(flag, on);
        role->Rights()->Append(right.get());
        return right;
    }

    HRESULT get_CurRight(IUserRight** out) override
    {
        if (out == nullptr) return E_FAIL;
        HandOut(role, out);
        return S_OK;
    }

    HRESULT get_CurUser(IUser**) override { return E_FAIL; }
    HRESULT get_CurUserProjectSet(IProjectSet**) override { return E_FAIL; }
    HRESULT get_BugStatus(IBugStatus**) override { return E_FAIL; }
    HRESULT get_ProjectSet(IProjectSet**) override { return E_FAIL; }
    HRESULT get_ActiveProject(IProject**) override { return E_FAIL; }
    HRESULT Login(const std::string&, const std::string&) override { return E_FAIL; }
    HRESULT OpenAccessDB(const std::string&) override { return E_FAIL; }
    HRESULT get_ActiveProjectID(std::int32_t*) override { return E_FAIL; }
    HRESULT get_ActiveVersion(IVersion**) override { return E_FAIL; }
    HRESULT get_ActiveVersionID(std::int32_t*) override { return E_FAIL; }
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
    HRESULT get_CurProjectRight(IRight**) override { return E_FAIL; }
    HRESULT OpenSQLDB(const std::string&, const std::string&) override { return E_FAIL; }
    HRESULT Advise(IExeContextEvents*, std::uint32_t*) override { return E_FAIL; }
    HRESULT Unadvise(std::uint32_t) override { return E_FAIL; }
};

}  // namespace lindor::test
