#include "users/CUserRight.h"
#include "core/OutParam.h"

#include "core/ClassRegistry.h"

namespace lindor {
namespace {

const ClassRegistration registration("UserRight", &CreateInstance<CUserRight>);

}  // namespace

HRESULT CUserRight::Copy(IUserRight* /*source*/)
{
    return S_OK;
}

HRESULT CUserRight::get_AddProject(std::int32_t* out)
{
    return GiveOut(addProject_, out);
}

HRESULT CUserRight::put_AddProject(std::int32_t value)
{
    addProject_ = value != 0 ? 1 : 0;
    return S_OK;
}

ComPtr<CRightSet> CUserRight::Rights()
{
    if (!rightSet_) rightSet_ = MakeObject<CRightSet>();
    return rightSet_;
}

HRESULT CUserRight::get_RightSet(IRightSet** out)
{
    if (out == nullptr) return E_FAIL;
    HandOut(Rights(), out);
    return S_OK;
}

}  // namespace lindor
