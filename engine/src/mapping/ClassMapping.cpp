// Classifications: "ClassificationID" <-> ID, "ClassName" <-> Name. The
// classification's project is not part of the row mapping; the set decides it.
#include "core/ErrorReport.h"
#include "db/DatabaseError.h"
#include "mapping/DBUtil.h"
#include "mapping/MappingFailure.h"
#include "mapping/ValueConversion.h"

namespace lindor::CDBUtil {
namespace {

constexpr const char* kGetSource = "CDBUtil::GetClassData";
constexpr const char* kSaveSource = "CDBUtil::SaveClassData";

HRESULT MissingObject(const char* source)
{
    LogMessage(kLogDatabase, source, "Invalid Pointer");
    return E_FAIL;
}

// The identifier column is written only when the row does not already hold
// it, so an update never rewrites a key another table may refer to.
void WriteIDIfChanged(db::Recordset& row, std::int32_t id)
{
    db::Field field = row.Fields("ClassificationID");
    const Variant stored = field.Value();
    if (stored.vt() != VT_I4 || stored.i4() != id) mapping::WriteWholeNumber(field, id);
}

}  // namespace

HRESULT GetClassData(db::Recordset& row, IClassification* classification)
{
    if (classification == nullptr) return MissingObject(kGetSource);
    return mapping::MapRow("GetClassData", [&] {
        classification->put_ID(mapping::ReadWholeNumber(row.Fields("ClassificationID").Value()));
        classification->put_Name(mapping::ReadText(row.Fields("ClassName").Value()));
    });
}

HRESULT SaveClassData(db::Recordset& row, IClassification* classification)
{
    if (classification == nullptr) return MissingObject(kSaveSource);
    return mapping::MapRow("SaveClassData", [&] {
        std::int32_t id = 0;
        std::string name;
        classification->get_ID(&id);
        classification->get_Name(&name);
        WriteIDIfChanged(row, id);
        mapping::WriteText(row.Fields("ClassName"), name);
    });
}

}  // namespace lindor::CDBUtil
