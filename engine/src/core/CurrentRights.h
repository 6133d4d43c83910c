// What the engine's own checks before a write ask of the context they work
// for: the logged-in user's rights as they are stored now, so that rights the
// administrator withdrew stop working at once, not at the next login. The
// role handed out by the context (CurRight) keeps the values of the login.
#pragma once

#include <cstdint>

#include <lindor/Interfaces.h>

#include "core/ComObject.h"

namespace lindor {

class CurrentRights {
public:
    // The rights in `projectID`: every flag for the administrator, else the
    // stored rights row of the user's role, or null (no such row, nobody
    // logged in, or the rows could not be read, which is logged).
    virtual ComPtr<IRight> StoredProjectRight(std::int32_t projectID) = 0;
    // The same for the active project; null when none is active (except for
    // the administrator, who holds every right anywhere).
    virtual ComPtr<IRight> StoredActiveProjectRight() = 0;
    // Whether the user's role may add projects now.
    virtual bool StoredMayAddProjects() = 0;
    virtual bool IsAdministrator() const = 0;
    // The logged-in user, 0 for nobody.
    virtual std::int32_t LoggedInUserID() const = 0;

protected:
    CurrentRights() = default;
    ~CurrentRights() = default;
    CurrentRights(const CurrentRights&) = default;
    CurrentRights& operator=(const CurrentRights&) = default;
};

// The checks of a context this engine made; null for any other object, whose
// answers about rights are not to be trusted.
inline CurrentRights* CurrentRightsOf(IExeContext* context)
{
    return dynamic_cast<CurrentRights*>(context);
}

// Whether `right` is given and has the flag set.
inline bool HasFlag(IRight* right, HRESULT (IRight::*flag)(std::int32_t*))
{
    std::int32_t value = 0;
    return right != nullptr && Succeeded((right->*flag)(&value)) && value != 0;
}

}  // namespace lindor
