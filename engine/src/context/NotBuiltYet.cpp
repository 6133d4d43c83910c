#include "context/CExeContext.h"

namespace lindor {

HRESULT NotBuiltYet(const char* member)
{
    const std::string text =
        std::string("ExeContext.") + member + " is not available in this version of the engine.";
    return Reporter(ExternalClassName("ExeContext"))
        .Fail(text, kLogGeneral, std::string("CExeContext::") + member);
}

}  // namespace lindor
