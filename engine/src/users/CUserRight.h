// A role: the project-independent right to add projects and one rights row
// per project. Lives in memory; the role number ties it to its stored row.
#pragma once

#include <cstdint>

#include <lindor/Interfaces.h>

#include "core/ComObject.h"
#include "users/CRightSet.h"

namespace lindor {

class CUserRight final : public ComObject<IUserRight> {
public:
    // Does nothing and succeeds: roles are copied by the administration object.
    HRESULT Copy(IUserRight* source) override;
    HRESULT get_AddProject(std::int32_t* out) override;
    // Stores 1 for any non-zero value.
    HRESULT put_AddProject(std::int32_t value) override;
    // The set is made empty on the first request and kept.
    HRESULT get_RightSet(IRightSet** out) override;

    std::int32_t ID() const { return id_; }
    void SetID(std::int32_t id) { id_ = id; }
    ComPtr<CRightSet> Rights();

private:
    ~CUserRight() override = default;

    std::int32_t id_ = 0;
    std::int32_t addProject_ = 0;
    ComPtr<CRightSet> rightSet_;
};

}  // namespace lindor
