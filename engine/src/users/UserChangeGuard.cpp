#include "users/UserChangeGuard.h"

#include "core/CurrentRights.h"
#include "core/ErrorReport.h"

namespace lindor {

bool UserChangeGuard::MayChange(std::int32_t userID) const
{
    if (!context_) return true;
    const CurrentRights* rights = CurrentRightsOf(context_.get());
    if (rights == nullptr) return false;
    if (rights->IsAdministrator()) return true;
    return userID != 0 && userID == rights->LoggedInUserID();
}

HRESULT UserChangeGuard::Refuse(const Reporter& reporter, const char* action,
                                const char* source) const
{
    return reporter.FailRight(action, source, "Only the administrator may change other users");
}

}  // namespace lindor
