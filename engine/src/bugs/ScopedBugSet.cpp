#include "bugs/ScopedBugSet.h"

#include <vector>

#include "bugs/CBugSet.h"
#include "core/ClassRegistry.h"
#include "core/CurrentRights.h"
#include "core/ErrorReport.h"
#include "filters/CBugFilter.h"
#include "filters/CBugFilterSet.h"

namespace lindor {
namespace {

const Reporter kReport(ExternalClassName("ExeContext"));
const char* const kSource = "CExeContext::OpenBugSet";
const char* const kOpenFailed = "Open bug failed!";
// A version number no version has: the scope of a user without versions.
constexpr std::int32_t kNoVersion = -1;

std::int32_t NumberOf(HRESULT (IExeContext::*getter)(std::int32_t*), IExeContext* context)
{
    std::int32_t value = 0;
    if (Failed((context->*getter)(&value))) return 0;
    return value;
}

bool AppendVersionsOf(IProject* project, std::vector<std::int32_t>* versions)
{
    std::int32_t count = 0;
    if (Failed(project->get_VersionCount(&count))) return false;
    for (std::int32_t i = 0; i < count; ++i) {
        ComPtr<IVersion> version;
        std::int32_t id = 0;
        if (Failed(project->get_Version(i, version.put())) || !version ||
            Failed(version->get_ID(&id)))
            return false;
        versions->push_back(id);
    }
    return true;
}

ComPtr<IProject> FindProject(IProjectSet* projects, std::int32_t id)
{
    std::int32_t count = 0;
    if (Failed(projects->get_Count(&count))) return nullptr;
    for (std::int32_t i = 0; i < count; ++i) {
        ComPtr<IProject> project;
        std::int32_t projectID = 0;
        if (Succeeded(projects->get_Item(i, project.put())) && project &&
            Succeeded(project->get_ID(&projectID)) && projectID == id)
            return project;
    }
    return nullptr;
}

// The versions of every project the user's role may read and that his own
// project list holds, in the order of the role's rights. Before a login
// there is neither a role nor a user, and so no version.
bool VersionsOfUsersProjects(IExeContext* context, std::vector<std::int32_t>* versions)
{
    ComPtr<IUserRight> role;
    ComPtr<IRightSet> rights;
    if (Failed(context->get_CurRight(role.put()))) return false;
    if (!role) return true;
    if (Failed(role->get_RightSet(rights.put())) || !rights) return false;
    ComPtr<IUser> user;
    ComPtr<IProjectSet> projects;
    if (Failed(context->get_CurUser(user.put()))) return false;
    if (!user) return true;
    if (Failed(user->get_ProjectSet(projects.put())) || !projects) return false;
    std::int32_t count = 0;
    if (Failed(rights->get_Count(&count))) return false;
    for (std::int32_t i = 0; i < count; ++i) {
        ComPtr<IRight> right;
        std::int32_t projectID = 0;
        if (Failed(rights->get_Item(i, right.put())) || !right ||
            Failed(right->get_ProjectID(&projectID)))
            return false;
        // A project whose bugs the role may not read adds none of them.
        if (!HasFlag(right.get(), &IRight::get_Read)) continue;
        const ComPtr<IProject> project = FindProject(projects.get(), projectID);
        if (project && !AppendVersionsOf(project.get(), versions)) return false;
    }
    return true;
}

// The versions whose bugs the user may see now.
bool ScopeVersions(IExeContext* context, std::vector<std::int32_t>* versions)
{
    const std::int32_t projectID = NumberOf(&IExeContext::get_ActiveProjectID, context);
    const std::int32_t versionID = NumberOf(&IExeContext::get_ActiveVersionID, context);
    if (projectID == 0) return VersionsOfUsersProjects(context, versions);
    if (versionID != 0) {
        versions->push_back(versionID);
        return true;
    }
    ComPtr<IProject> project;
    if (Failed(context->get_ActiveProject(project.put()))) return false;
    return !project || AppendVersionsOf(project.get(), versions);
}

ComPtr<IBugFilter> Condition(const char* field, const Variant& value, eLogOperation andOr)
{
    ComPtr<CBugFilter> condition = MakeObject<CBugFilter>();
    condition->put_Field(field);
    condition->put_Condition(Equal);
    condition->put_AndOr(andOr);
    if (Failed(condition->put_Value(value))) return nullptr;
    return ComPtr<IBugFilter>(condition.get());
}

// One "ReportedInVersionID = v" per version, joined by OR inside the group;
// the group itself joins what comes before it by AND. No version at all gives
// the one condition that matches nothing.
ComPtr<IBugFilterSet> ScopeGroup(std::vector<std::int32_t> versions)
{
    if (versions.empty()) versions.push_back(kNoVersion);
    ComPtr<CBugFilterSet> group = MakeObject<CBugFilterSet>();
    for (std::size_t i = 0; i < versions.size(); ++i) {
        const ComPtr<IBugFilter> condition =
            Condition("ReportedInVersionID", Variant::I4(versions[i]), i == 0 ? LogAnd : LogOr);
        if (!condition || Failed(group->Add(condition.get()))) return nullptr;
    }
    return ComPtr<IBugFilterSet>(group.get());
}

// The refusal when the active project's rights do not let the user read bugs.
HRESULT CheckReadRight(IExeContext* context)
{
    if (NumberOf(&IExeContext::get_ActiveProjectID, context) == 0) return S_OK;
    ComPtr<IRight> right;
    if (Failed(context->get_CurProjectRight(right.put())) || !right)
        return kReport.FailRight("view bug", kSource, "No right returned");
    std::int32_t read = 0;
    if (Failed(right->get_Read(&read)) || read == 0)
        return kReport.FailRight("view bug", kSource, "No right to perform this action");
    return S_OK;
}

// The caller's group, the scope group and the bug type, in that order; the
// scope group's own text goes to `scopeText`.
ComPtr<IBugFilterSet> ScopedFilter(IExeContext* context, eBugType type, IBugFilterSet* callerFilter,
                                   std::string* scopeText)
{
    ComPtr<CBugFilterSet> filter = MakeObject<CBugFilterSet>();
    if (callerFilter != nullptr && Failed(filter->AddBatch(callerFilter))) return nullptr;
    std::vector<std::int32_t> versions;
    if (!ScopeVersions(context, &versions)) return nullptr;
    const ComPtr<IBugFilterSet> scope = ScopeGroup(std::move(versions));
    if (!scope || Failed(scope->GetSQL(scopeText)) || Failed(filter->AddBatch(scope.get())))
        return nullptr;
    const ComPtr<IBugFilter> bugType =
        Condition("BugType", Variant::UI1(static_cast<std::uint8_t>(type)), LogAnd);
    if (!bugType || Failed(filter->Add(bugType.get()))) return nullptr;
    return ComPtr<IBugFilterSet>(filter.get());
}

}  // namespace

HRESULT OpenScopedBugSet(IExeContext* context, eBugType type, IBugFilterSet* callerFilter,
                         IBugSet** out)
{
    if (out == nullptr) return E_FAIL;
    *out = nullptr;
    const HRESULT allowed = CheckReadRight(context);
    if (Failed(allowed)) return allowed;
    ComPtr<CBugSet> bugs = MakeObject<CBugSet>();
    bugs->AttachContext(context);
    std::string scope;
    const ComPtr<IBugFilterSet> filter = ScopedFilter(context, type, callerFilter, &scope);
    if (!filter)
        return kReport.Fail(kOpenFailed, kLogGeneral, kSource, "The bug filter could not be built");
    if (Failed(bugs->Open(filter.get()))) return kReport.FailQuietly(kOpenFailed);
    // Every reopening of the set stays within what the user may see.
    bugs->KeepScope(scope);
    HandOut(bugs, out);
    return S_OK;
}

}  // namespace lindor
