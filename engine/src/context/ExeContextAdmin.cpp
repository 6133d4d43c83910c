#include "context/CExeContext.h"

namespace lindor {

HRESULT CExeContext::get_Admin(IAdmin** out)
{
    if (out != nullptr) *out = nullptr;
    return NotBuiltYet("Admin");
}

HRESULT CExeContext::GetUserClassification(std::int32_t, std::int32_t, IClassificationSet** out)
{
    if (out != nullptr) *out = nullptr;
    return NotBuiltYet("GetUserClassification");
}

HRESULT CExeContext::AssignUserClassification(std::int32_t, const std::int32_t*, std::int32_t,
                                              std::int32_t)
{
    return NotBuiltYet("AssignUserClassification");
}

}  // namespace lindor
