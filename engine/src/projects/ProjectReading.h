// Reading a project with its versions from a project row.
#pragma once

#include <lindor/Interfaces.h>

#include "db/Recordset.h"

namespace lindor {

// Fills `project` from the cursor's current project row and adds its stored
// versions, read on the row's connection. S_OK, or E_FAIL after the
// mapping's log entry.
HRESULT ReadProjectWithVersions(db::Recordset& row, IProject* project);

}  // namespace lindor
