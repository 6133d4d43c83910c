#include "projects/CProject.h"

#include "core/ClassRegistry.h"
#include "core/ErrorReport.h"
#include "core/OutParam.h"

namespace lindor {
namespace {

const ClassRegistration registration("Project", &CreateInstance<CProject>);
const Reporter kReport(ExternalClassName("Project"));

}  // namespace

HRESULT CProject::get_ID(std::int32_t* out)
{
    return GiveOut(id_, out);
}

bool CProject::HasIndex(std::int32_t index) const
{
    return index >= 0 && static_cast<std::size_t>(index) < versions_.size();
}

HRESULT CProject::get_Version(std::int32_t index, IVersion** out)
{
    if (out == nullptr) return E_FAIL;
    *out = nullptr;
    if (!HasIndex(index)) return kReport.FailBounds("IProject::Version");
    HandOut(versions_[static_cast<std::size_t>(index)], out);
    return S_OK;
}

HRESULT CProject::get_VersionCount(std::int32_t* out)
{
    return GiveOut(static_cast<std::int32_t>(versions_.size()), out);
}

HRESULT CProject::AddVersion(const std::string& name, const std::string& description,
                             Date releaseDate, IVersion** out)
{
    if (out == nullptr)
        return kReport.Fail("Add version Failed", kLogGeneral, "IProject::AddVersion",
                            "Add version failed");
    ComPtr<CVersion> version = MakeObject<CVersion>();
    version->put_Name(name);
    version->put_Description(description);
    version->put_ReleaseDate(releaseDate);
    versions_.push_back(version);
    HandOut(version, out);
    return S_OK;
}

HRESULT CProject::RemoveVersion(const std::string& name)
{
    for (auto it = versions_.begin(); it != versions_.end(); ++it) {
        if ((*it)->Name() != name) continue;
        versions_.erase(it);
        return S_OK;
    }
    return kReport.Fail("Remove Failed", kLogGeneral, "IProject::RemoveVersion");
}

HRESULT CProject::RemoveVersionAt(std::int32_t index)
{
    if (!HasIndex(index))
        return kReport.Fail(kBoundsMessage, kLogGeneral, "IProject::RemoveVersionAt",
                            "Remove version failed");
    versions_.erase(versions_.begin() + index);
    return S_OK;
}

HRESULT CProject::get_Name(std::string* out)
{
    return GiveOut(name_, out);
}

HRESULT CProject::put_Name(const std::string& value)
{
    return TakeIn(value, &name_);
}

HRESULT CProject::get_Description(std::string* out)
{
    return GiveOut(description_, out);
}

HRESULT CProject::put_Description(const std::string& value)
{
    return TakeIn(value, &description_);
}

}  // namespace lindor
