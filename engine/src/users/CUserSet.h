// An ordered set of users. Add, the removals and Update write through to the
// database; Append and the deletions work in memory only. A set handed out by
// a context lets only the administrator add users or change and remove
// anyone but himself; the sets of the administration object are not guarded.
#pragma once

#include <cstdint>
#include <vector>

#include <lindor/Interfaces.h>

#include "core/ComObject.h"
#include "core/ItemList.h"
#include "users/UserChangeGuard.h"

namespace lindor {

class CUser;

class CUserSet final : public ComObject<IUserSet> {
public:
    HRESULT get_Count(std::int32_t* out) override;
    // Also makes the item the current user (the one Update writes).
    HRESULT get_Item(std::int32_t index, IUser** out) override;
    HRESULT get_ExeContext(IExeContext** out) override;
    // Stores the user under a new ID, refusing a login name already taken.
    HRESULT Add(IUser* user) override;
    HRESULT RemoveByID(std::int32_t id) override;
    HRESULT RemoveByIndex(std::int32_t index) override;
    HRESULT Update() override;
    HRESULT Append(IUser* user) override;
    HRESULT DeleteByID(std::int32_t id) override;
    HRESULT DeleteByIndex(std::int32_t index) override;

    // Takes a new reference to the context and releases any previous one.
    void AttachExeContext(IExeContext* context) { context_ = ComPtr<IExeContext>(context); }
    // Guards the writes on behalf of the user logged in to `context`.
    void GuardFor(IExeContext* context) { guard_.Attach(context); }

private:
    ~CUserSet() override = default;

    void DropEveryItemWithID(std::int32_t id);

    ItemList<IUser> items_;
    ComPtr<IUser> current_;
    ComPtr<IExeContext> context_;
    UserChangeGuard guard_;
};

}  // namespace lindor
