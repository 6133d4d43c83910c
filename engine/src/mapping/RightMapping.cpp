// Rights rows (tRight): the ID from the first column, then the project and
// the 33 flags by name in their storage order.
#include "mapping/DBUtil.h"
#include "mapping/MappingFailure.h"
#include "mapping/ValueConversion.h"
#include "users/CRight.h"

namespace lindor::CDBUtil {

HRESULT GetRightData(db::Recordset& row, IRight* right)
{
    CRight* impl = ImplOf<CRight>(right);
    if (impl == nullptr) return mapping::MappingFailed("GetRightData", "Invalid Pointer");
    return mapping::MapRow("GetRightData", [&] {
        impl->SetID(mapping::ReadWholeNumber(row.Fields(0).Value()));
        impl->put_ProjectID(mapping::ReadWholeNumber(row.Fields("ProjectID").Value()));
        for (const RightFlagInfo& flag : kRightFlags)
            impl->SetFlag(flag.flag, mapping::ReadYesNo(row.Fields(flag.column).Value()));
    });
}

HRESULT SaveRightData(db::Recordset& row, IRight* right)
{
    CRight* impl = ImplOf<CRight>(right);
    if (impl == nullptr) return mapping::MappingFailed("SaveRightData", "Invalid Pointer");
    return mapping::MapRow("SaveRightData", [&] {
        std::int32_t projectID = 0;
        impl->get_ProjectID(&projectID);
        mapping::WriteWholeNumber(row.Fields(0), impl->ID());
        mapping::WriteWholeNumber(row.Fields("ProjectID"), projectID);
        for (const RightFlagInfo& flag : kRightFlags)
            mapping::WriteYesNo(row.Fields(flag.column), impl->Flag(flag.flag) != 0);
    });
}

}  // namespace lindor::CDBUtil
