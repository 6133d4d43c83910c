#include "users/CRightSet.h"
#include "core/OutParam.h"

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
    return rights_.GiveCount(out);
}

HRESULT CRightSet::get_Item(std::int32_t index, IRight** out)
{
    return rights_.GiveItem(index, out, kReport, "IClassificationSet::Item");
}

HRESULT CRightSet::Append(IRight* right)
{
    if (right == nullptr)
        return kReport.Fail(kAppendFailed, kLogGeneral, "CRightSet::Append", "Invalid Pointer");
    std::int32_t projectID = 0;
    if (Failed(right->get_ProjectID(&projectID)))
        return kReport.Fail(kAppendFailed, kLogGeneral, "CRightSet::Append",
                            "get_ProjectID failed!");
    if (!FindByProjectID(projectID)) rights_.Append(right);
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
    rights_.Clear();
    return S_OK;
}

}  // namespace lindor
