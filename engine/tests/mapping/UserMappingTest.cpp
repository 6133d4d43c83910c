// User rows and system-information rows to objects and back, with the
// enciphered password.
#include <gtest/gtest.h>

#include "cipher/PasswordBlock.h"
#include "mapping/DBUtil.h"
#include "support/ContextTestSupport.h"
#include "users/CUser.h"
#include "users/CUserSysInfo.h"

namespace lindor {
namespace {

using test::CountRows;
using test::LogWatch;

void OpenUser(db::Recordset& rows, std::int32_t userID)
{
    rows.Open(Format("SELECT * FROM tUser WHERE UserID = %ld", static_cast<long>(userID)),
              db::ProcessConnectionString());
}

void StorePassword(std::int32_t userID, const std::string& password)
{
    PasswordBlock block{};
    ASSERT_TRUE(EncipherPassword(password, &block, nullptr));
    db::Recordset rows;
    OpenUser(rows, userID);
    rows.Fields("Password").AppendChunk(std::vector<std::uint8_t>(block.begin(), block.end()));
    rows.Update();
}

ComPtr<CUser> ReadUser(std::int32_t userID)
{
    db::Recordset rows;
    OpenUser(rows, userID);
    ComPtr<CUser> user = MakeObject<CUser>();
    EXPECT_EQ(CDBUtil::GetUserData(rows, user.get()), S_OK);
    return user;
}

TEST(UserMapping, ReadsEveryColumnIntoItsField)
{
    test::NewDatabase();
    test::InsertRow("tUser", {{"UserID", Variant::I4(2)},
                              {"UserRightID", Variant::I4(4)},
                              {"UserName", Variant::Text("Quinn")},
                              {"LoginName", Variant::Text("quinn")},
                              {"UserDescrp", Variant::Text("tester")},
                              {"EMail", Variant::Text("q@example.org")},
                              {"Position", Variant::Text("lead")},
                              {"Department", Variant::Text("QA")},
                              {"Address", Variant::Text("Main St")},
                              {"Phone", Variant::Text("555")}});
    StorePassword(2, std::string(63, 'k'));
    ComPtr<CUser> user = ReadUser(2);
    EXPECT_EQ(user->ID(), 2);
    EXPECT_EQ(user->RoleID(), 4);
    EXPECT_EQ(user->UserName(), "Quinn");
    EXPECT_EQ(user->LoginName(), "quinn");
    EXPECT_EQ(user->Description(), "tester");
    EXPECT_EQ(user->EMail(), "q@example.org");
    EXPECT_EQ(user->Position(), "lead");
    EXPECT_EQ(user->Department(), "QA");
    EXPECT_EQ(user->Address(), "Main St");
    EXPECT_EQ(user->Phone(), "555");
    EXPECT_EQ(user->Password(), std::string(63, 'k')) << "63 characters read back whole";
}

TEST(UserMapping, NullColumnsReadAsEmptyTexts)
{
    test::NewDatabase();
    ComPtr<CUser> admin = ReadUser(1);
    EXPECT_EQ(admin->Password(), "");
    EXPECT_EQ(admin->EMail(), "");
    EXPECT_EQ(admin->RoleID(), 0);
}

TEST(UserMapping, WritesEmptyTextsAsNullAndThePasswordEnciphered)
{
    test::NewDatabase();
    ComPtr<CUser> user = MakeObject<CUser>();
    user->SetID(9);
    user->SetRoleID(3);
    user->put_LoginName("rose");
    user->put_UserName("Rose");
    user->put_Password("pw");
    db::Recordset rows;
    OpenUser(rows, 0);
    rows.AddNew();
    ASSERT_EQ(CDBUtil::SaveUserData(rows, user.get()), S_OK);
    rows.Update();
    rows.Close();
    EXPECT_EQ(CountRows("SELECT * FROM tUser WHERE UserID = 9 AND UserRightID = 3 AND EMail IS "
                        "NULL AND UserDescrp IS NULL"),
              1);
    db::Recordset stored;
    OpenUser(stored, 9);
    EXPECT_EQ(stored.Fields("Password").ActualSize(), 64);
    const std::vector<std::uint8_t> block = stored.Fields("Password").GetChunk(64);
    EXPECT_NE(std::string(block.begin(), block.begin() + 2), "pw") << "never in clear";
    stored.Close();
    EXPECT_EQ(ReadUser(9)->Password(), "pw");
}

TEST(UserMapping, AnUnchangedIdentifierIsNotWritten)
{
    test::NewDatabase();
    test::RefuseChange("no_id_writes", "UPDATE OF UserID ON tUser", "the identifier was written");
    ComPtr<CUser> admin = ReadUser(1);
    admin->put_Phone("123");
    db::Recordset rows;
    OpenUser(rows, 1);
    ASSERT_EQ(CDBUtil::SaveUserData(rows, admin.get()), S_OK);
    EXPECT_NO_THROW(rows.Update());
}

TEST(UserMapping, APasswordThatCannotBeStoredLeavesTheRowUntouched)
{
    test::NewDatabase();
    ComPtr<CUser> admin = ReadUser(1);
    admin->put_UserName("changed");
    admin->put_Password(std::string(64, 'p'));
    db::Recordset rows;
    OpenUser(rows, 1);
    LogWatch watch;
    EXPECT_EQ(CDBUtil::SaveUserData(rows, admin.get()), E_FAIL);
    EXPECT_TRUE(watch.Has(0, "CDBUtil::SaveUserData", "Password is too long"));
    EXPECT_FALSE(rows.EditPending());
}

TEST(SysInfoMapping, ReadsAndWritesTheNineTexts)
{
    test::NewDatabase();
    ComPtr<CUserSysInfo> info = MakeObject<CUserSysInfo>();
    info->SetID(3);
    info->put_OS("Linux");
    info->put_ServicePack("SP1");
    info->put_IEVersion("11");
    info->put_NetEnvironment("LAN");
    info->put_CPU("x86");
    info->put_Memory("8G");
    info->put_OSBuild("6.1");
    info->put_HardDisk("1T");
    db::Recordset rows;
    rows.Open("SELECT * FROM tUserSystemInfo", db::ProcessConnectionString());
    rows.AddNew();
    ASSERT_EQ(CDBUtil::SaveUserSysInfoData(rows, info.get(), 1), S_OK);
    rows.Update();
    rows.Close();
    EXPECT_EQ(CountRows("SELECT * FROM tUserSystemInfo WHERE UserSystemInfoID = 3 AND UserID = 1 "
                        "AND [IE version] = '11' AND Note IS NULL"),
              1);
    rows.Open("SELECT * FROM tUserSystemInfo", db::ProcessConnectionString());
    ComPtr<CUserSysInfo> read = MakeObject<CUserSysInfo>();
    ASSERT_EQ(CDBUtil::GetUserSysInfoData(rows, read.get()), S_OK);
    std::string text;
    EXPECT_EQ(read->ID(), 3);
    for (auto [get, expected] :
         std::vector<std::pair<HRESULT (IUserSysInfo::*)(std::string*), std::string>>{
             {&IUserSysInfo::get_OS, "Linux"},
             {&IUserSysInfo::get_ServicePack, "SP1"},
             {&IUserSysInfo::get_IEVersion, "11"},
             {&IUserSysInfo::get_NetEnvironment, "LAN"},
             {&IUserSysInfo::get_CPU, "x86"},
             {&IUserSysInfo::get_Memory, "8G"},
             {&IUserSysInfo::get_OSBuild, "6.1"},
             {&IUserSysInfo::get_HardDisk, "1T"},
             {&IUserSysInfo::get_Note, ""}}) {
        (read.get()->*get)(&text);
        EXPECT_EQ(text, expected);
    }
}

TEST(SysInfoMapping, AnExistingRowKeepsItsOwnerAndIdentifier)
{
    test::NewDatabase();
    test::AddUser(2, "sam");
    test::InsertRow("tUserSystemInfo",
                    {{"UserSystemInfoID", Variant::I4(4)}, {"UserID", Variant::I4(1)}});
    ComPtr<CUserSysInfo> info = MakeObject<CUserSysInfo>();
    info->SetID(8);
    info->put_Note("rewritten");
    db::Recordset rows;
    rows.Open("SELECT * FROM tUserSystemInfo", db::ProcessConnectionString());
    ASSERT_EQ(CDBUtil::SaveUserSysInfoData(rows, info.get(), 2), S_OK);
    rows.Update();
    rows.Close();
    EXPECT_EQ(CountRows("SELECT * FROM tUserSystemInfo WHERE UserSystemInfoID = 4 AND UserID = 1 "
                        "AND Note = 'rewritten'"),
              1);
}

}  // namespace
}  // namespace lindor
