#include "users/CUserSet.h"

#include <algorithm>

#include "core/ClassRegistry.h"
#include "core/ErrorReport.h"
#include "core/OutParam.h"
#include "users/CUser.h"
#include "users/UserWrites.h"

namespace lindor {
namespace {

const ClassRegistration registration("UserSet", &CreateInstance<CUserSet>);
const Reporter kReport(ExternalClassName("UserSet"));

constexpr std::int32_t kAdministratorID = 1;

std::int32_t IDOf(IUser* user)
{
    std::int32_t id = 0;
    if (user != nullptr) user->get_ID(&id);
    return id;
}

std::string PasswordOf(IUser* user)
{
    std::string password;
    if (user != nullptr) user->get_Password(&password);
    return password;
}

HRESULT RefuseAdministrator()
{
    return kReport.Fail("Cannot delete Admin", kLogGeneral, "CUserSet::RemoveByID");
}

}  // namespace

void CUserSet::DropEveryItemWithID(std::int32_t id)
{
    items_.RemoveIf([id](const ComPtr<IUser>& user) { return IDOf(user.get()) == id; });
}

HRESULT CUserSet::get_Count(std::int32_t* out)
{
    return items_.GiveCount(out);
}

HRESULT CUserSet::get_Item(std::int32_t index, IUser** out)
{
    const HRESULT given = items_.GiveItem(index, out, kReport, "CRoleSet::get_Item");
    if (given == S_OK) current_ = items_.At(index);
    return given;
}

HRESULT CUserSet::get_ExeContext(IExeContext** out)
{
    if (out == nullptr) return E_FAIL;
    *out = nullptr;
    if (!context_)
        return kReport.Fail("RoleSet has no execute context object", kLogGeneral,
                            "CRoleSet::get_ExeContext");
    context_.CopyTo(out);
    return S_OK;
}

HRESULT CUserSet::Add(IUser* user)
{
    const char* const failed = "Add user failed";
    if (!guard_.MayChange(0)) return guard_.Refuse(kReport, "add user", "CUserSet::Add");
    CUser* impl = ImplOf<CUser>(user);
    if (impl == nullptr)
        return kReport.Fail(failed, kLogGeneral, "CUserSet::Add", "Invalid Pointer");
    const std::string refusal = userwrites::PasswordRefusal(impl->Password());
    if (!refusal.empty()) return kReport.Fail(refusal, kLogGeneral, "CUserSet::Add");
    switch (userwrites::RealAddUser(*impl)) {
        case userwrites::AddResult::Added:
            items_.Append(user);
            return S_OK;
        case userwrites::AddResult::LoginNameTaken:
            return E_FAIL;
        case userwrites::AddResult::Failed:
            break;
    }
    return kReport.Fail(failed, kLogGeneral, "CUserSet::Add");
}

HRESULT CUserSet::RemoveByID(std::int32_t id)
{
    if (id == kAdministratorID) return RefuseAdministrator();
    if (!guard_.MayChange(id)) return guard_.Refuse(kReport, "delete user", "CUserSet::RemoveByID");
    if (!userwrites::RealRemove(id))
        return kReport.Fail("Delete user failed!", kLogGeneral, "CUserSet::RemoveByID");
    DropEveryItemWithID(id);
    return S_OK;
}

HRESULT CUserSet::RemoveByIndex(std::int32_t index)
{
    if (!items_.Has(index)) return kReport.FailBounds("CUserSet::RemoveByIndex");
    const std::int32_t id = IDOf(items_.At(index).get());
    if (id == kAdministratorID) return RefuseAdministrator();
    if (!guard_.MayChange(id))
        return guard_.Refuse(kReport, "delete user", "CUserSet::RemoveByIndex");
    if (!userwrites::RealRemove(id))
        return kReport.Fail("Delete Role failed", kLogGeneral, "CUserSet::RemoveByIndex",
                            "Delete user failed");
    items_.RemoveAt(index);
    return S_OK;
}

HRESULT CUserSet::Update()
{
    if (current_ && !guard_.MayChange(IDOf(current_.get())))
        return guard_.Refuse(kReport, "update user", "CUserSet::Update");
    const std::string refusal = userwrites::PasswordRefusal(PasswordOf(current_.get()));
    if (!refusal.empty()) return kReport.Fail(refusal, kLogGeneral, "CUserSet::Update");
    switch (userwrites::RealUpdate(ImplOf<CUser>(current_.get()))) {
        case userwrites::UpdateResult::Updated:
            return S_OK;
        case userwrites::UpdateResult::LoginNameTaken:
            return E_FAIL;
        case userwrites::UpdateResult::Failed:
            break;
    }
    return kReport.Fail("Update User failed", kLogGeneral, "CUserSet::Update");
}

HRESULT CUserSet::Append(IUser* user)
{
    if (user == nullptr)
        return kReport.Fail("Append user failed", kLogGeneral, "CUserSet::Append",
                            "Invalid Pointer");
    items_.Append(user);
    return S_OK;
}

HRESULT CUserSet::DeleteByID(std::int32_t id)
{
    const auto matches = [id](const ComPtr<IUser>& user) { return IDOf(user.get()) == id; };
    if (std::none_of(items_.begin(), items_.end(), matches))
        return kReport.Fail(Format("Role(id=%ld) does not exist", static_cast<long>(id)),
                            kLogGeneral, "CUserSet::RemoveByID");
    DropEveryItemWithID(id);
    return S_OK;
}

HRESULT CUserSet::DeleteByIndex(std::int32_t index)
{
    if (!items_.Has(index)) return kReport.FailBounds("CUserSet::RemoveByInde");
    items_.RemoveAt(index);
    return S_OK;
}

}  // namespace lindor
