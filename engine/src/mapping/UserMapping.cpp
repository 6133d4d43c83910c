// Users (tUser) and their system information (tUserSystemInfo).
#include "cipher/PasswordBlock.h"
#include "mapping/DBUtil.h"
#include "mapping/MappingFailure.h"
#include "mapping/ValueConversion.h"
#include "users/CUser.h"
#include "users/CUserSysInfo.h"

namespace lindor::CDBUtil {
namespace {

using namespace mapping;

std::string ReadPassword(db::Recordset& row)
{
    const std::vector<std::uint8_t> stored = row.Fields("Password").GetChunk(kPasswordBlockSize);
    return DecipherPassword(stored.data(), stored.size());
}

void ReadUserFields(db::Recordset& row, CUser& user)
{
    user.SetID(ReadWholeNumber(row.Fields(0).Value()));
    user.put_UserName(ReadText(row.Fields("UserName").Value()));
    user.SetRoleID(ReadWholeNumber(row.Fields("UserRightID").Value()));
    user.put_LoginName(ReadText(row.Fields("LoginName").Value()));
    user.put_Description(ReadText(row.Fields("UserDescrp").Value()));
    user.put_EMail(ReadText(row.Fields("Email").Value()));
    user.put_Position(ReadText(row.Fields("Position").Value()));
    user.put_Department(ReadText(row.Fields("Department").Value()));
    user.put_Address(ReadText(row.Fields("Address").Value()));
    user.put_Phone(ReadText(row.Fields("phone").Value()));
    user.put_Password(ReadPassword(row));
}

void WriteUserFields(db::Recordset& row, const CUser& user, const PasswordBlock& password)
{
    const Variant storedID = row.Fields(0).Value();
    if (storedID.IsNull() || ReadWholeNumber(storedID) != user.ID())
        WriteWholeNumber(row.Fields(0), user.ID());
    WriteWholeNumber(row.Fields("UserRightID"), user.RoleID());
    WriteTextOrNull(row.Fields("UserName"), user.UserName());
    WriteTextOrNull(row.Fields("UserDescrp"), user.Description());
    WriteTextOrNull(row.Fields("LoginName"), user.LoginName());
    row.Fields("Password").AppendChunk(std::vector<std::uint8_t>(password.begin(), password.end()));
    WriteTextOrNull(row.Fields("Email"), user.EMail());
    WriteTextOrNull(row.Fields("Position"), user.Position());
    WriteTextOrNull(row.Fields("Department"), user.Department());
    WriteTextOrNull(row.Fields("Address"), user.Address());
    WriteTextOrNull(row.Fields("phone"), user.Phone());
}

// The nine texts in the order the writer stores them.
struct SysInfoText {
    const char* column;
    HRESULT (IUserSysInfo::*get)(std::string*);
    HRESULT (IUserSysInfo::*put)(const std::string&);
};

constexpr SysInfoText kSysInfoTexts[] = {
    {"CPU", &IUserSysInfo::get_CPU, &IUserSysInfo::put_CPU},
    {"IE Version", &IUserSysInfo::get_IEVersion, &IUserSysInfo::put_IEVersion},
    {"Memory", &IUserSysInfo::get_Memory, &IUserSysInfo::put_Memory},
    {"NetEnvironment", &IUserSysInfo::get_NetEnvironment, &IUserSysInfo::put_NetEnvironment},
    {"OS", &IUserSysInfo::get_OS, &IUserSysInfo::put_OS},
    {"ServicePack", &IUserSysInfo::get_ServicePack, &IUserSysInfo::put_ServicePack},
    {"HardDisk", &IUserSysInfo::get_HardDisk, &IUserSysInfo::put_HardDisk},
    {"OSBuild", &IUserSysInfo::get_OSBuild, &IUserSysInfo::put_OSBuild},
    {"Note", &IUserSysInfo::get_Note, &IUserSysInfo::put_Note},
};

}  // namespace

HRESULT GetUserData(db::Recordset& row, IUser* user)
{
    CUser* impl = ImplOf<CUser>(user);
    if (impl == nullptr) return MappingFailed("GetUserData", "Invalid Pointer");
    return MapRow("GetUserData", [&] { ReadUserFields(row, *impl); });
}

HRESULT SaveUserData(db::Recordset& row, IUser* user)
{
    CUser* impl = ImplOf<CUser>(user);
    if (impl == nullptr) return MappingFailed("SaveUserData", "Invalid Pointer");
    // Enciphered before any column is written, so a password that cannot be
    // stored leaves the row untouched.
    PasswordBlock password{};
    std::string refusal;
    if (!EncipherPassword(impl->Password(), &password, &refusal))
        return MappingFailed("SaveUserData", refusal);
    return MapRow("SaveUserData", [&] { WriteUserFields(row, *impl, password); });
}

HRESULT GetUserSysInfoData(db::Recordset& row, IUserSysInfo* info)
{
    CUserSysInfo* impl = ImplOf<CUserSysInfo>(info);
    if (impl == nullptr) return MappingFailed("GetUserSysInfoData", "Invalid Pointer");
    return MapRow("GetUserSysInfoData", [&] {
        impl->SetID(ReadWholeNumber(row.Fields("UserSystemInfoID").Value()));
        for (const SysInfoText& text : kSysInfoTexts)
            (impl->*text.put)(ReadText(row.Fields(text.column).Value()));
    });
}

HRESULT SaveUserSysInfoData(db::Recordset& row, IUserSysInfo* info, std::int32_t userID)
{
    if (info == nullptr) return MappingFailed("SaveUserSysInfoData", "Invalid Pointer");
    return MapRow("SaveUserSysInfoData", [&] {
        if (row.Fields("UserID").IsNull()) {
            std::int32_t id = 0;
            info->get_ID(&id);
            WriteWholeNumber(row.Fields("UserSystemInfoID"), id);
            WriteWholeNumber(row.Fields("UserID"), userID);
        }
        for (const SysInfoText& text : kSysInfoTexts) {
            std::string value;
            (info->*text.get)(&value);
            WriteTextOrNull(row.Fields(text.column), value);
        }
    });
}

}  // namespace lindor::CDBUtil
