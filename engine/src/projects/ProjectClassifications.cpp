// The project's classifications, read once and kept for the project's
// lifetime. The set carries no context: a caller that changes it attaches
// one first.
#include <exception>

#include "classifications/CClassification.h"
#include "classifications/CClassificationSet.h"
#include "core/ClassRegistry.h"
#include "core/ErrorReport.h"
#include "core/Guarded.h"
#include "db/Recordset.h"
#include "mapping/DBUtil.h"
#include "projects/CProject.h"
#include "stores/ClassificationStore.h"

namespace lindor {
namespace {

constexpr const char* kSource = "IProject::ClassificationSet";
constexpr const char* kFailed = "Get ClassificationSet failded!";

const Reporter& Report()
{
    static const Reporter reporter(ExternalClassName("Project"));
    return reporter;
}

}  // namespace

HRESULT CProject::get_ClassificationSet(IClassificationSet** out)
{
    if (out == nullptr) return Report().FailQuietly(kFailed);
    *out = nullptr;
    if (classificationSet_) {
        classificationSet_.CopyTo(out);
        return S_OK;
    }
    if (id_ == 0)
        return Report().Fail("ProjectID is 0, cannot perform this action", kLogGeneral, kSource);
    return Guarded(Report(), Failure{kFailed, kSource, kLogGeneral, kLogGeneral}, [&] {
        ComPtr<CClassificationSet> set = MakeObject<CClassificationSet>();
        db::Connection connection(db::ProcessConnectionString());
        db::Recordset rows;
        stores::OpenClassificationsOfProject(rows, connection, id_);
        for (; !rows.IsEOF(); rows.MoveNext()) {
            ComPtr<CClassification> classification = MakeObject<CClassification>();
            // The reader has logged why it failed.
            if (CDBUtil::GetClassData(rows, classification.get()) != S_OK)
                return Report().FailQuietly(kFailed);
            set->Append(classification.get());
        }
        set->SetProjectID(id_);
        classificationSet_ = set;
        HandOut(set, out);
        return S_OK;
    });
}

}  // namespace lindor
