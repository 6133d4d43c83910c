// One version of a project. Lives in memory; the project set stores it with
// its owner and gives it its identifier.
#pragma once

#include <cstdint>
#include <string>

#include <lindor/Interfaces.h>

#include "core/ComObject.h"

namespace lindor {

class CVersion final : public ComObject<IVersion> {
public:
    HRESULT get_ID(std::int32_t* out) override;
    HRESULT get_Name(std::string* out) override;
    HRESULT put_Name(const std::string& value) override;
    HRESULT get_Description(std::string* out) override;
    HRESULT put_Description(const std::string& value) override;
    HRESULT get_ReleaseDate(Date* out) override;
    HRESULT put_ReleaseDate(Date value) override;

    std::int32_t ID() const { return id_; }
    void SetID(std::int32_t id) { id_ = id; }
    const std::string& Name() const { return name_; }
    const std::string& Description() const { return description_; }
    Date ReleaseDate() const { return releaseDate_; }

private:
    ~CVersion() override = default;

    std::int32_t id_ = 0;
    std::string name_;
    std::string description_;
    Date releaseDate_ = 0.0;
};

}  // namespace lindor
