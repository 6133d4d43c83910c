// Rights rows to Right objects and back: every flag in its own column.
#include <gtest/gtest.h>

#include "mapping/DBUtil.h"
#include "support/ContextTestSupport.h"
#include "users/CRight.h"

namespace lindor {
namespace {

using test::LogWatch;

db::Recordset& OpenRight(db::Recordset& rows, std::int32_t rightID)
{
    rows.Open(Format("SELECT * FROM tRight WHERE RightID = %ld", static_cast<long>(rightID)),
              db::ProcessConnectionString());
    return rows;
}

TEST(RightMapping, ReadsTheIdentifierProjectAndEachFlagFromItsOwnColumn)
{
    test::NewDatabase();
    test::AddRole(1, false);
    // Every second flag set, so a flag read from a neighbouring column shows.
    for (std::size_t i = 0; i < kRightFlags.size(); ++i) {
        const std::int32_t rightID = static_cast<std::int32_t>(100 + i);
        test::AddRight(rightID, 1, 1, {kRightFlags[i].column});
        db::Recordset rows;
        ComPtr<CRight> right = MakeObject<CRight>();
        ASSERT_EQ(CDBUtil::GetRightData(OpenRight(rows, rightID), right.get()), S_OK);
        EXPECT_EQ(right->ID(), rightID);
        std::int32_t projectID = 0;
        right->get_ProjectID(&projectID);
        EXPECT_EQ(projectID, 1);
        for (const RightFlagInfo& flag : kRightFlags)
            EXPECT_EQ(right->Flag(flag.flag), flag.flag == kRightFlags[i].flag ? 1 : 0)
                << "row with " << kRightFlags[i].column << ", flag " << flag.property;
        test::ExecuteSql(
            Format("DELETE FROM tRight WHERE RightID = %ld", static_cast<long>(rightID)));
    }
}

TEST(RightMapping, WritesEachFlagIntoItsOwnColumn)
{
    test::NewDatabase();
    test::AddRole(1, false);
    for (std::size_t i = 0; i < kRightFlags.size(); ++i) {
        ComPtr<CRight> right = MakeObject<CRight>();
        right->SetID(7);
        right->put_ProjectID(2);
        right->SetFlag(kRightFlags[i].flag, true);
        db::Recordset rows;
        rows.Open("SELECT * FROM tRight WHERE RightID = 0", db::ProcessConnectionString());
        rows.AddNew();
        rows.Fields("UserRightID").SetValue(Variant::I4(1));
        ASSERT_EQ(CDBUtil::SaveRightData(rows, right.get()), S_OK);
        rows.Update();
        db::Recordset stored;
        OpenRight(stored, 7);
        EXPECT_EQ(stored.Fields("ProjectID").Value().i4(), 2);
        for (const RightFlagInfo& flag : kRightFlags)
            EXPECT_EQ(stored.Fields(flag.column).Value().boolVal(),
                      flag.flag == kRightFlags[i].flag)
                << "saved " << kRightFlags[i].property << ", column " << flag.column;
        stored.Close();
        test::ExecuteSql("DELETE FROM tRight");
    }
}

TEST(RightMapping, AMissingColumnOrObjectFailsWithALogEntry)
{
    test::NewDatabase();
    test::AddRole(1, false);
    test::AddRight(5, 1, 1, {"Read"});
    db::Recordset rows;
    rows.Open("SELECT RightID, ProjectID FROM tRight", db::ProcessConnectionString());
    LogWatch watch;
    ComPtr<CRight> right = MakeObject<CRight>();
    EXPECT_EQ(CDBUtil::GetRightData(rows, right.get()), E_FAIL);
    EXPECT_TRUE(watch.Has(2, "CDBUtil::GetRightData"));
    EXPECT_EQ(right->ID(), 5) << "fields before the failing column keep their values";
    EXPECT_EQ(CDBUtil::GetRightData(rows, nullptr), E_FAIL);
    EXPECT_EQ(CDBUtil::SaveRightData(rows, nullptr), E_FAIL);
}

}  // namespace
}  // namespace lindor
