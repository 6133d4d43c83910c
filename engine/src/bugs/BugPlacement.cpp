#include "bugs/BugPlacement.h"

#include "core/CurrentRights.h"
#include "db/Connection.h"
#include "stores/BugStore.h"
#include "stores/ProjectStore.h"

namespace lindor {
namespace {

// The project a bug belongs to: the one it names, else the project of the
// version it was reported in; 0 for none.
std::int32_t ProjectOfBug(db::Connection& connection, std::int32_t projectID,
                          std::int32_t reportedVersionID)
{
    if (projectID != 0 || reportedVersionID == 0) return projectID;
    return stores::ProjectOfVersion(connection, reportedVersionID);
}

}  // namespace

ComPtr<IRight> BugPlacement::ActiveRight() const
{
    CurrentRights* rights = CurrentRightsOf(context_);
    return rights != nullptr ? rights->StoredActiveProjectRight() : nullptr;
}

ComPtr<IRight> BugPlacement::RightIn(std::int32_t projectID) const
{
    CurrentRights* rights = CurrentRightsOf(context_);
    return rights != nullptr ? rights->StoredProjectRight(projectID) : nullptr;
}

HRESULT BugPlacement::CheckBug(const BugRecord& bug, EditRightGetter flag, const char* action,
                               const char* source) const
{
    db::Connection connection(db::ProcessConnectionString());
    const std::int32_t project =
        ProjectOfBug(connection, bug.reportedInProjectID, bug.reportedInVersionID);
    const ComPtr<IRight> right = RightIn(project);
    if (!right || (flag != nullptr && !HasFlag(right.get(), flag)))
        return report_.FailRight(action, source,
                                 Format("No right in Project(ID=%ld)", static_cast<long>(project)));
    for (const std::int32_t version : {bug.reportedInVersionID, bug.fixedInVersionID}) {
        if (version == 0 || stores::ProjectOfVersion(connection, version) == project) continue;
        return report_.Fail(Format("Version(ID=%ld) is not a version of Project(ID=%ld)",
                                   static_cast<long>(version), static_cast<long>(project)),
                            kLogGeneral, source);
    }
    return S_OK;
}

HRESULT BugPlacement::CheckMayDelete(std::int32_t id) const
{
    db::Connection connection(db::ProcessConnectionString());
    std::int32_t named = 0;
    std::int32_t reportedIn = 0;
    if (!stores::ReadBugPlacement(connection, id, &named, &reportedIn)) return S_OK;
    const std::int32_t project = ProjectOfBug(connection, named, reportedIn);
    if (!HasFlag(RightIn(project).get(), &IRight::get_Delete))
        return report_.FailRight("delete bug", "CBugSet::Remove",
                                 "No right to perform this action");
    return S_OK;
}

}  // namespace lindor
