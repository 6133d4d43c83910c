#include "users/CUserSysInfo.h"

#include "core/ClassRegistry.h"
#include "core/OutParam.h"

namespace lindor {
namespace {

const ClassRegistration registration("UserSysInfo", &CreateInstance<CUserSysInfo>);

}  // namespace

HRESULT CUserSysInfo::get_ID(std::int32_t* out)
{
    return GiveOut(id_, out);
}
HRESULT CUserSysInfo::get_OS(std::string* out)
{
    return GiveOut(os_, out);
}
HRESULT CUserSysInfo::put_OS(const std::string& value)
{
    return TakeIn(value, &os_);
}
HRESULT CUserSysInfo::get_ServicePack(std::string* out)
{
    return GiveOut(servicePack_, out);
}
HRESULT CUserSysInfo::put_ServicePack(const std::string& value)
{
    return TakeIn(value, &servicePack_);
}
HRESULT CUserSysInfo::get_IEVersion(std::string* out)
{
    return GiveOut(ieVersion_, out);
}
HRESULT CUserSysInfo::put_IEVersion(const std::string& value)
{
    return TakeIn(value, &ieVersion_);
}
HRESULT CUserSysInfo::get_NetEnvironment(std::string* out)
{
    return GiveOut(netEnvironment_, out);
}
HRESULT CUserSysInfo::put_NetEnvironment(const std::string& value)
{
    return TakeIn(value, &netEnvironment_);
}
HRESULT CUserSysInfo::get_CPU(std::string* out)
{
    return GiveOut(cpu_, out);
}
HRESULT CUserSysInfo::put_CPU(const std::string& value)
{
    return TakeIn(value, &cpu_);
}
HRESULT CUserSysInfo::get_Memory(std::string* out)
{
    return GiveOut(memory_, out);
}
HRESULT CUserSysInfo::put_Memory(const std::string& value)
{
    return TakeIn(value, &memory_);
}
HRESULT CUserSysInfo::get_OSBuild(std::string* out)
{
    return GiveOut(osBuild_, out);
}
HRESULT CUserSysInfo::put_OSBuild(const std::string& value)
{
    return TakeIn(value, &osBuild_);
}
HRESULT CUserSysInfo::get_HardDisk(std::string* out)
{
    return GiveOut(hardDisk_, out);
}
HRESULT CUserSysInfo::put_HardDisk(const std::string& value)
{
    return TakeIn(value, &hardDisk_);
}
HRESULT CUserSysInfo::get_Note(std::string* out)
{
    return GiveOut(note_, out);
}
HRESULT CUserSysInfo::put_Note(const std::string& value)
{
    return TakeIn(value, &note_);
}

}  // namespace lindor
