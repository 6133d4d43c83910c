#include "context/CExeContext.h"

namespace lindor {

HRESULT CExeContext::OpenBugSet(eBugType, IBugFilterSet*, IBugSet** out)
{
    if (out != nullptr) *out = nullptr;
    return NotBuiltYet("OpenBugSet");
}

}  // namespace lindor
