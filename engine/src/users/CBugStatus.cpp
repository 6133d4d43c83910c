#include "users/CBugStatus.h"

#include "core/ClassRegistry.h"

namespace lindor {
namespace {

const ClassRegistration registration("BugStatus", &CreateInstance<CBugStatus>);

}  // namespace

HRESULT CBugStatus::Clear()
{
    names().Clear();
    return S_OK;
}

}  // namespace lindor
