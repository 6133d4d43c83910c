#include "users/CRight.h"
#include "core/OutParam.h"

#include "core/ClassRegistry.h"
#include "core/ErrorReport.h"

namespace lindor {
namespace {

const ClassRegistration registration("Right", &CreateInstance<CRight>);

const Reporter kReport(ExternalClassName("Right"));

constexpr bool TableFollowsTheEnum()
{
    for (std::size_t i = 0; i < kRightFlags.size(); ++i) {
        if (static_cast<std::size_t>(kRightFlags[i].flag) != i) return false;
    }
    return true;
}
static_assert(TableFollowsTheEnum(), "kRightFlags must be indexed by RightFlag");
static_assert(static_cast<std::size_t>(RightFlag::DeleteProject) + 1 == kRightFlagCount,
              "every flag has a table entry");

std::size_t IndexOf(RightFlag flag)
{
    return static_cast<std::size_t>(flag);
}

}  // namespace

std::int32_t CRight::Flag(RightFlag flag) const
{
    return flags_[IndexOf(flag)];
}

void CRight::SetFlag(RightFlag flag, bool on)
{
    flags_[IndexOf(flag)] = on ? 1 : 0;
}

void CRight::SetAllFlags(bool on)
{
    flags_.fill(on ? 1 : 0);
}

HRESULT CRight::GetFlag(RightFlag flag, std::int32_t* out) const
{
    return GiveOut(Flag(flag), out);
}

HRESULT CRight::PutFlag(RightFlag flag, std::int32_t value)
{
    SetFlag(flag, value != 0);
    return S_OK;
}

HRESULT CRight::get_ID(std::int32_t* out)
{
    return GiveOut(id_, out);
}

HRESULT CRight::get_ProjectID(std::int32_t* out)
{
    return GiveOut(projectID_, out);
}

HRESULT CRight::put_ProjectID(std::int32_t value)
{
    projectID_ = value;
    return S_OK;
}

ComPtr<CBugStatus> CRight::AvailableStatusList()
{
    if (!availableStatus_) availableStatus_ = MakeObject<CBugStatus>();
    return availableStatus_;
}

HRESULT CRight::get_AvailableStatus(IBugStatus** out)
{
    if (out == nullptr) return E_FAIL;
    HandOut(AvailableStatusList(), out);
    return S_OK;
}

HRESULT CRight::Copy(IRight* source)
{
    const char* const failed = "Copy right failed";
    if (source == nullptr)
        return kReport.Fail(failed, kLogGeneral, "CRight::Copy", "Invalid Pointer");
    // Read everything first, so a source that fails half-way changes nothing.
    std::int32_t projectID = 0;
    std::array<std::int32_t, kRightFlagCount> values{};
    bool read = Succeeded(source->get_ProjectID(&projectID));
    for (std::size_t i = 0; read && i < kRightFlagCount; ++i)
        read = Succeeded((source->*kRightFlags[i].get)(&values[i]));
    if (!read)
        return kReport.Fail(failed, kLogGeneral, "CRight::Copy", "Reading the source right failed");
    projectID_ = projectID;
    for (std::size_t i = 0; i < kRightFlagCount; ++i) flags_[i] = values[i] != 0 ? 1 : 0;
    id_ = 0;
    return S_OK;
}

bool CRight::AnyFlag(bool editsBugOnly) const
{
    for (const RightFlagInfo& info : kRightFlags) {
        if ((!editsBugOnly || info.editsBug) && Flag(info.flag) != 0) return true;
    }
    return false;
}

HRESULT CRight::get_IsAllFalse(std::int32_t* out)
{
    return GiveOut(AnyFlag(false) ? 0 : 1, out);
}

HRESULT CRight::get_EditBug(std::int32_t* out)
{
    return GiveOut(AnyFlag(true) ? 1 : 0, out);
}

}  // namespace lindor
