// The nine texts of a user's system information, in their order, with the
// labels the client shows for them.
#pragma once

#include <lindor/lindor.h>

#include <QString>

namespace nimbra {

struct SysInfoField {
    const char* label;
    lindor::HRESULT (lindor::IUserSysInfo::*get)(std::string*);
    lindor::HRESULT (lindor::IUserSysInfo::*put)(const std::string&);
};

enum SysInfoIndex {
    kCpu,
    kMemory,
    kHardDisk,
    kOs,
    kOsBuild,
    kServicePack,
    kIeVersion,
    kNetwork,
    kNote
};

inline constexpr SysInfoField kSysInfoFields[] = {
    {"CPU", &lindor::IUserSysInfo::get_CPU, &lindor::IUserSysInfo::put_CPU},
    {"Memory", &lindor::IUserSysInfo::get_Memory, &lindor::IUserSysInfo::put_Memory},
    {"Harddisk", &lindor::IUserSysInfo::get_HardDisk, &lindor::IUserSysInfo::put_HardDisk},
    {"OS", &lindor::IUserSysInfo::get_OS, &lindor::IUserSysInfo::put_OS},
    {"OS build", &lindor::IUserSysInfo::get_OSBuild, &lindor::IUserSysInfo::put_OSBuild},
    {"Service Pack", &lindor::IUserSysInfo::get_ServicePack,
     &lindor::IUserSysInfo::put_ServicePack},
    {"IE version", &lindor::IUserSysInfo::get_IEVersion, &lindor::IUserSysInfo::put_IEVersion},
    {"Network condition", &lindor::IUserSysInfo::get_NetEnvironment,
     &lindor::IUserSysInfo::put_NetEnvironment},
    {"Note", &lindor::IUserSysInfo::get_Note, &lindor::IUserSysInfo::put_Note},
};

inline QString SysInfoText(lindor::IUserSysInfo* info, const SysInfoField& field)
{
    std::string value;
    if (info == nullptr || (info->*field.get)(&value) != lindor::S_OK) return QString();
    return QString::fromStdString(value);
}

}  // namespace nimbra
