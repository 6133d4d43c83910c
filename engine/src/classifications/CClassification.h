// A named category of bugs inside one project (a row of tClassification).
#pragma once

#include <lindor/Interfaces.h>

#include "core/ComObject.h"

namespace lindor {

class CClassification final : public ComObject<IClassification> {
public:
    HRESULT get_Name(std::string* out) override;
    HRESULT put_Name(const std::string& value) override;
    HRESULT get_ID(std::int32_t* out) override;
    HRESULT put_ID(std::int32_t value) override;
    HRESULT get_ProjectID(std::int32_t* out) override;

    // The project is not settable through the interface: the set that stores
    // or hands out the classification decides it.
    void SetProjectID(std::int32_t projectID) { projectID_ = projectID; }

private:
    std::string name_;
    std::int32_t id_ = 0;
    std::int32_t projectID_ = 0;
};

}  // namespace lindor
