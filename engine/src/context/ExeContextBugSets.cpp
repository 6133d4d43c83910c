#include "bugs/ScopedBugSet.h"
#include "context/CExeContext.h"

namespace lindor {

HRESULT CExeContext::OpenBugSet(eBugType type, IBugFilterSet* filterSet, IBugSet** out)
{
    return OpenScopedBugSet(this, type, filterSet, out);
}

}  // namespace lindor
