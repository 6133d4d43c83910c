#include "projects/ProjectReading.h"

#include "mapping/DBUtil.h"
#include "stores/ProjectStore.h"

namespace lindor {

HRESULT ReadProjectWithVersions(db::Recordset& row, IProject* project)
{
    return CDBUtil::GetProjectData(row, project, &stores::OpenVersionsOfProject);
}

}  // namespace lindor
