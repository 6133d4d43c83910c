// Opening a bug set within the scope of the logged-in user: the versions he
// may see (the active version, the active project's versions, or those of all
// his projects), narrowed by the caller's conditions and the bug type.
#pragma once

#include <lindor/Interfaces.h>

namespace lindor {

// The body of ExeContext.OpenBugSet, reached through the context's interface.
// The caller's conditions form one bracketed group joined by AND to the scope
// group, so they can only narrow what the user may see; the set keeps the
// scope for every later Open. A scope without any version matches no bug.
// Failures are reported as the context's own.
HRESULT OpenScopedBugSet(IExeContext* context, eBugType type, IBugFilterSet* callerFilter,
                         IBugSet** out);

}  // namespace lindor
