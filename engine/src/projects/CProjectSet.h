// An ordered set of projects. Add, Update and the deletions write through to
// the database (each in one transaction), checked against the rights of the
// user logged in to the attached context; the other members work in memory.
#pragma once

#include <cstdint>
#include <vector>

#include <lindor/Interfaces.h>

#include "core/ComObject.h"
#include "core/ItemList.h"

namespace lindor {

class CProject;

class CProjectSet final : public ComObject<IProjectSet> {
public:
    HRESULT get_Count(std::int32_t* out) override;
    // Also makes the item the current project (the one Update writes).
    HRESULT get_Item(std::int32_t index, IProject** out) override;
    // The attached context, or null (no error) when there is none.
    HRESULT get_ExeContext(IExeContext** out) override;
    HRESULT Add(IProject* project) override;
    HRESULT Remove(std::int32_t index) override;
    HRESULT Update() override;
    HRESULT Refresh() override;
    // Ignores a null project and a stored one whose ID is already in the set.
    HRESULT Append(IProject* project) override;
    HRESULT DeleteByID(std::int32_t id) override;
    HRESULT DeleteByIndex(std::int32_t index) override;

    // Takes a new reference to the context and releases any previous one.
    void AttachExeContext(IExeContext* context) { context_ = ComPtr<IExeContext>(context); }

private:
    ~CProjectSet() override = default;

    // The current user's rights in the project, as stored now, or null.
    ComPtr<IRight> GetRight(std::int32_t projectID);
    bool MayDeleteProject(std::int32_t id);
    bool RealDeleteProject(std::int32_t id);
    HRESULT CheckMayAddProjects();

    ItemList<IProject> items_;
    ComPtr<IProject> current_;
    ComPtr<IExeContext> context_;
};

}  // namespace lindor
