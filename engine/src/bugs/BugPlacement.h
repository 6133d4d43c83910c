// Where a bug belongs, and whether the user logged in to a context may put a
// bug there or take one away, by his rights as they are stored now.
#pragma once

#include <cstdint>

#include <lindor/Interfaces.h>

#include "core/ComObject.h"
#include "core/ErrorReport.h"
#include "mapping/BugFieldTable.h"
#include "mapping/BugRecord.h"

namespace lindor {

class BugPlacement {
public:
    // `report` reports the refusals for the bug set.
    BugPlacement(IExeContext* context, const Reporter& report) : context_(context), report_(report)
    {
    }

    // The rights in the active project, or null (none active, or a context
    // the engine did not make).
    ComPtr<IRight> ActiveRight() const;
    // Refuses a bug whose project is one where the user lacks `flag` (any
    // rights row when null), or whose reported or resolved version is not a
    // version of that project. Throws DatabaseError.
    HRESULT CheckBug(const BugRecord& bug, EditRightGetter flag, const char* action,
                     const char* source) const;
    // Refuses to delete stored bug `id` of a project where the user may not
    // delete bugs; a bug not stored passes (its delete reports it missing).
    // Throws DatabaseError.
    HRESULT CheckMayDelete(std::int32_t id) const;

private:
    ComPtr<IRight> RightIn(std::int32_t projectID) const;

    IExeContext* context_;
    const Reporter& report_;
};

}  // namespace lindor
