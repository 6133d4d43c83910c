#include "core/OutParam.h"
#include "users/CRightSet.h"

#include "core/ClassRegistry.h"
#include "core/ErrorReport.h"

namespace lindor {
namespace {

const ClassRegistration registration("RightSet", &CreateInstance<CRightSet>);

const Reporter kReport(ExternalClassName("RightSet"));

const char* const kAppendFailed = "Append right failed";

}  // namespace

ComPtr<IRight> CRightSet::FindByProjectID(std::int32_t projectID) const
{
    for (const ComPtr<IRight>& right : rights_) {
        std::int32_t itemProject = 0;
        if (Succeeded(right->get_ProjectID(&itemProject)) && itemProject == projectID) return right;
    }
    return nullptr;
}

HRESULT CRightSet::get_Count(std::int32_t* out)
{
    return GiveOut(static_cast<std::int32_t>(rights_.size()), out);
}

HRESULT CRightSet::get_Item(std::int32_t index, IRight** out)
{
    if (out == nullptr) return E_FAIL;
    *out = nullptr;
    if (index < 0 || static_cast<std::size_t>(index) >= rights_.size())
        return kReport.FailBounds("IClassificationSet::Item");
    rights_[static_cast<std::size_t>(index)].CopyTo(out);
    return S_OK;
}

HRESULT CRightSet::Append(IRight* right)
{
    if (right == nullptr)
        return kReport.Fail(kAppendFailed, kLogGeneral, "CRightSet::Append", "Invalid Pointer");
    std::int32_t projectID = 0;
    if (Failed(right->get_ProjectID(&projectID)))
        return kReport.Fail(kAppendFailed, kLogGeneral, "CRightSet::Append",
                            "get_ProjectID failed!");
    if (!FindByProjectID(projectID)) rights_.emplace_back(right);
    return S_OK;
}

HRESULT CRightSet::GetByProjectID(std::int32_t projectID, IRight** out)
{
    if (out == nullptr) return E_FAIL;
    FindByProjectID(projectID).CopyTo(out);
    return S_OK;
}

HRESULT CRightSet::RemoveAll()
{
    rights_.clear();
    return S_OK;
}

}  // namespace lindor
