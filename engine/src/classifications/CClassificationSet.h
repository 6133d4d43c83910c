// The classifications of one project. Remove, RemoveByIndex and RemoveByID
// delete from the database; DeleteByID and DeleteByIndex only drop an item
// from the array; Append only adds to it.
#pragma once

#include <vector>

#include <lindor/Interfaces.h>

#include "core/ComObject.h"
#include "core/ItemList.h"

namespace lindor {

class CClassificationSet final : public ComObject<IClassificationSet> {
public:
    HRESULT Add(IClassification* classification) override;
    HRESULT Remove(const std::string& name) override;
    HRESULT get_Item(std::int32_t index, IClassification** out) override;
    HRESULT get_Count(std::int32_t* out) override;
    HRESULT RemoveByIndex(std::int32_t index) override;
    HRESULT RemoveByID(std::int32_t id) override;
    HRESULT Update() override;
    HRESULT Append(IClassification* classification) override;
    HRESULT DeleteByID(std::int32_t id) override;
    HRESULT DeleteByIndex(std::int32_t index) override;
    HRESULT get_ProjectID(std::int32_t* out) override;
    HRESULT put_ExeContext(IExeContext* context) override;

    // Set by whoever fills the set for a project.
    void SetProjectID(std::int32_t projectID) { projectID_ = projectID; }

private:
    // Whether the current user may add, rename and remove classifications
    // of the set's project.
    bool GetRight() const;
    // The index of the first item with that name or ID, or -1 when none.
    std::int32_t IndexOfName(const std::string& name) const;
    std::int32_t IndexOfID(std::int32_t id) const;
    // Adds the stored row for a new classification; false after a report.
    bool StoreNew(IClassification* classification, std::int32_t id);

    ItemList<IClassification> items_;
    std::int32_t projectID_ = 0;
    ComPtr<IExeContext> context_;
    ComPtr<IClassification> current_;
};

}  // namespace lindor
