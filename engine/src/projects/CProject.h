// A project with its ordered versions. Version edits stay in memory until the
// project set stores the project.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <lindor/Interfaces.h>

#include "core/ComObject.h"
#include "projects/CVersion.h"

namespace lindor {

class CProject final : public ComObject<IProject> {
public:
    HRESULT get_ID(std::int32_t* out) override;
    HRESULT get_Version(std::int32_t index, IVersion** out) override;
    HRESULT get_VersionCount(std::int32_t* out) override;
    // Appends a new version (ID 0) and hands it out.
    HRESULT AddVersion(const std::string& name, const std::string& description, Date releaseDate,
                       IVersion** out) override;
    // Drops the first version whose name is equal (case-sensitive).
    HRESULT RemoveVersion(const std::string& name) override;
    HRESULT RemoveVersionAt(std::int32_t index) override;
    // Defined with the classifications (ProjectClassifications.cpp).
    HRESULT get_ClassificationSet(IClassificationSet** out) override;
    HRESULT get_Name(std::string* out) override;
    HRESULT put_Name(const std::string& value) override;
    HRESULT get_Description(std::string* out) override;
    HRESULT put_Description(const std::string& value) override;

    std::int32_t ID() const { return id_; }
    void SetID(std::int32_t id) { id_ = id; }
    const std::string& Name() const { return name_; }
    const std::string& Description() const { return description_; }
    const std::vector<ComPtr<CVersion>>& Versions() const { return versions_; }

private:
    ~CProject() override = default;

    bool HasIndex(std::int32_t index) const;

    std::int32_t id_ = 0;
    std::string name_;
    std::string description_;
    std::vector<ComPtr<CVersion>> versions_;
    // Built on the first request and kept for the project's lifetime.
    ComPtr<IClassificationSet> classificationSet_;
};

}  // namespace lindor
