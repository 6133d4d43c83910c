// A role's rights rows, at most one per project. Lives in memory only.
#pragma once

#include <vector>

#include <lindor/Interfaces.h>

#include "core/ComObject.h"
#include "core/ItemList.h"

namespace lindor {

class CRightSet final : public ComObject<IRightSet> {
public:
    HRESULT get_Count(std::int32_t* out) override;
    HRESULT get_Item(std::int32_t index, IRight** out) override;
    // Keeps a new reference to the right unless one for the same project is
    // already there (then nothing happens); a null right is refused.
    HRESULT Append(IRight* right) override;
    // The first right for the project, or null (still success).
    HRESULT GetByProjectID(std::int32_t projectID, IRight** out) override;
    HRESULT RemoveAll() override;

private:
    ~CRightSet() override = default;

    ComPtr<IRight> FindByProjectID(std::int32_t projectID) const;

    ItemList<IRight> rights_;
};

}  // namespace lindor
