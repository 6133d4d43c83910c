// Who may change which users through the sets a context hands out: the
// administrator every user, anyone else only himself. The sets of the
// administration object, which only the administrator obtains, carry no
// guard and allow everything.
#pragma once

#include <cstdint>

#include <lindor/Interfaces.h>

#include "core/ComObject.h"
#include "core/ErrorReport.h"

namespace lindor {

class UserChangeGuard {
public:
    // Guards on behalf of the user logged in to `context` (null: no guard).
    void Attach(IExeContext* context) { context_ = ComPtr<IExeContext>(context); }
    bool IsAttached() const { return static_cast<bool>(context_); }
    // Whether user `userID` may be added (0), changed or removed. A context
    // the engine did not make allows nothing.
    bool MayChange(std::int32_t userID) const;
    // The refusal: the rights message for `action`, logged with code 3 under
    // `source`; reported as `reporter` reports. Returns E_FAIL.
    HRESULT Refuse(const Reporter& reporter, const char* action, const char* source) const;

private:
    ComPtr<IExeContext> context_;
};

}  // namespace lindor
