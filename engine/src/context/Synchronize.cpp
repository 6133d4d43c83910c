#include "context/CExeContext.h"

namespace lindor {

HRESULT CExeContext::Synchronize() { return NotBuiltYet("Synchronize"); }

}  // namespace lindor
