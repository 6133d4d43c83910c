// A description of the computer a user works on (one per user at most).
#pragma once

#include <cstdint>
#include <string>

#include <lindor/Interfaces.h>

#include "core/ComObject.h"

namespace lindor {

class CUserSysInfo final : public ComObject<IUserSysInfo> {
public:
    HRESULT get_ID(std::int32_t* out) override;
    HRESULT get_OS(std::string* out) override;
    HRESULT put_OS(const std::string& value) override;
    HRESULT get_ServicePack(std::string* out) override;
    HRESULT put_ServicePack(const std::string& value) override;
    HRESULT get_IEVersion(std::string* out) override;
    HRESULT put_IEVersion(const std::string& value) override;
    HRESULT get_NetEnvironment(std::string* out) override;
    HRESULT put_NetEnvironment(const std::string& value) override;
    HRESULT get_CPU(std::string* out) override;
    HRESULT put_CPU(const std::string& value) override;
    HRESULT get_Memory(std::string* out) override;
    HRESULT put_Memory(const std::string& value) override;
    HRESULT get_OSBuild(std::string* out) override;
    HRESULT put_OSBuild(const std::string& value) override;
    HRESULT get_HardDisk(std::string* out) override;
    HRESULT put_HardDisk(const std::string& value) override;
    HRESULT get_Note(std::string* out) override;
    HRESULT put_Note(const std::string& value) override;

    std::int32_t ID() const { return id_; }
    void SetID(std::int32_t id) { id_ = id; }
    std::int32_t UserID() const { return userID_; }
    void SetUserID(std::int32_t id) { userID_ = id; }

private:
    ~CUserSysInfo() override = default;

    std::int32_t id_ = 0;
    std::int32_t userID_ = 0;
    std::string os_, servicePack_, ieVersion_, netEnvironment_, cpu_, memory_, osBuild_, hardDisk_,
        note_;
};

}  // namespace lindor
