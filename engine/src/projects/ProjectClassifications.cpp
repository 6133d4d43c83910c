#include "core/ClassRegistry.h"
#include "core/ErrorReport.h"
#include "projects/CProject.h"

namespace lindor {

// The project's classification set comes with the classifications; until
// then the member fails cleanly.
HRESULT CProject::get_ClassificationSet(IClassificationSet** out)
{
    if (out != nullptr) *out = nullptr;
    return Reporter(ExternalClassName("Project"))
        .Fail("Project.ClassificationSet is not available in this version of the engine.",
              kLogGeneral, "IProject::ClassificationSet");
}

}  // namespace lindor
