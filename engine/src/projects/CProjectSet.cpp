#include "projects/CProjectSet.h"

#include "core/ClassRegistry.h"
#include "core/CurrentRights.h"
#include "core/ErrorReport.h"
#include "core/OutParam.h"
#include "projects/CProject.h"
#include "projects/ProjectWrites.h"

namespace lindor {
namespace {

const ClassRegistration registration("ProjectSet", &CreateInstance<CProjectSet>);
const Reporter kReport(ExternalClassName("ProjectSet"));

std::int32_t IDOf(IProject* project)
{
    std::int32_t id = 0;
    if (project != nullptr) project->get_ID(&id);
    return id;
}

}  // namespace

HRESULT CProjectSet::get_Count(std::int32_t* out)
{
    return items_.GiveCount(out);
}

HRESULT CProjectSet::get_Item(std::int32_t index, IProject** out)
{
    const HRESULT given = items_.GiveItem(index, out, kReport, "IProjectSet::Item");
    if (given == S_OK) current_ = items_.At(index);
    return given;
}

HRESULT CProjectSet::get_ExeContext(IExeContext** out)
{
    if (out == nullptr) return E_FAIL;
    context_.CopyTo(out);
    return S_OK;
}

ComPtr<IRight> CProjectSet::GetRight(std::int32_t projectID)
{
    if (!context_) return nullptr;
    CurrentRights* rights = CurrentRightsOf(context_.get());
    if (rights == nullptr) {
        LogMessage(kLogRight, "CProjectSet::GetRight", "get right failed");
        return nullptr;
    }
    return rights->StoredProjectRight(projectID);
}

bool CProjectSet::MayDeleteProject(std::int32_t id)
{
    return HasFlag(GetRight(id).get(), &IRight::get_DeleteProject);
}

HRESULT CProjectSet::CheckMayAddProjects()
{
    CurrentRights* rights = CurrentRightsOf(context_.get());
    if (rights == nullptr || !rights->StoredMayAddProjects())
        return kReport.FailRight("add Project");
    return S_OK;
}

HRESULT CProjectSet::Add(IProject* project)
{
    const char* const failed = "Add Project failed.";
    if (!context_)
        return kReport.Fail(failed, kLogGeneral, "IProjectSet::Add", "ExeContext is NULL");
    if (Failed(CheckMayAddProjects())) return E_FAIL;
    CProject* impl = ImplOf<CProject>(project);
    if (impl == nullptr)
        return kReport.Fail(failed, kLogGeneral, "IProjectSet::Add", "Invalid Pointer");
    if (!projectwrites::RealAddProject(*impl))
        return kReport.Fail(failed, kLogGeneral, "IProjectSet::Add");
    items_.Append(project);
    return S_OK;
}

HRESULT CProjectSet::Remove(std::int32_t index)
{
    if (!items_.Has(index)) return kReport.FailBounds("IProjectSet::Remove");
    items_.RemoveAt(index);
    return S_OK;
}

HRESULT CProjectSet::Update()
{
    // Without a current project there is nothing to check; the write fails.
    if (current_) {
        const ComPtr<IRight> right = GetRight(IDOf(current_.get()));
        if (!right) return kReport.FailRight("edit Project");
        if (!HasFlag(right.get(), &IRight::get_EditProject))
            return kReport.FailRight("update Project");
    }
    if (!projectwrites::RealUpdateProject(ImplOf<CProject>(current_.get())))
        return kReport.FailQuietly("Update Project failed!\n");
    return S_OK;
}

HRESULT CProjectSet::Refresh()
{
    return S_OK;
}

HRESULT CProjectSet::Append(IProject* project)
{
    if (project == nullptr) return S_OK;
    // New projects all have ID 0 and are different projects all the same.
    const std::int32_t id = IDOf(project);
    for (const ComPtr<IProject>& item : items_)
        if (id != 0 && IDOf(item.get()) == id) return S_OK;
    items_.Append(project);
    return S_OK;
}

bool CProjectSet::RealDeleteProject(std::int32_t id)
{
    if (!MayDeleteProject(id)) {
        kReport.FailRight("delete Project");
        return false;
    }
    return projectwrites::RealDeleteProject(id);
}

HRESULT CProjectSet::DeleteByID(std::int32_t id)
{
    if (!MayDeleteProject(id)) return kReport.FailRight("delete Project");
    const std::int32_t index =
        items_.IndexWhere([id](const ComPtr<IProject>& item) { return IDOf(item.get()) == id; });
    if (index >= 0) {
        if (!RealDeleteProject(id)) return kReport.FailQuietly("Delete Project failed");
        items_.RemoveAt(index);
        return S_OK;
    }
    return kReport.Fail(Format("Project(ID=%ld) is not in this set", static_cast<long>(id)),
                        kLogGeneral, "CCProjectSet::DeleteByID");
}

HRESULT CProjectSet::DeleteByIndex(std::int32_t index)
{
    if (!items_.Has(index)) return kReport.FailBounds("CProjectSet::DeleteByIndex");
    if (!RealDeleteProject(IDOf(items_.At(index).get())))
        return kReport.FailQuietly("Delelte Project failed");
    items_.RemoveAt(index);
    return S_OK;
}

}  // namespace lindor
