// A user: login name, password (in clear in memory, enciphered when stored),
// contact details and the number of the user's role.
#pragma once

#include <cstdint>
#include <string>

#include <lindor/Interfaces.h>

#include "core/ComObject.h"
#include "users/UserChangeGuard.h"

namespace lindor {

class CUserRight;

class CUser final : public ComObject<IUser> {
public:
    HRESULT get_ID(std::int32_t* out) override;
    HRESULT get_LoginName(std::string* out) override;
    HRESULT put_LoginName(const std::string& value) override;
    HRESULT get_UserName(std::string* out) override;
    HRESULT put_UserName(const std::string& value) override;
    HRESULT get_Description(std::string* out) override;
    HRESULT put_Description(const std::string& value) override;
    HRESULT get_Password(std::string* out) override;
    HRESULT put_Password(const std::string& value) override;
    HRESULT get_EMail(std::string* out) override;
    HRESULT put_EMail(const std::string& value) override;
    HRESULT get_Position(std::string* out) override;
    HRESULT put_Position(const std::string& value) override;
    HRESULT get_Address(std::string* out) override;
    HRESULT put_Address(const std::string& value) override;
    HRESULT get_Phone(std::string* out) override;
    HRESULT put_Phone(const std::string& value) override;
    HRESULT get_Department(std::string* out) override;
    HRESULT put_Department(const std::string& value) override;
    // Both do nothing and succeed; the get hands out nothing.
    HRESULT get_ClassSet(IClassificationSet** out) override;
    HRESULT put_ClassSet(IClassificationSet* value) override;
    // The stored system information, or null when the user has none.
    HRESULT get_SysInfo(IUserSysInfo** out) override;
    // Stores the system information (adding the user's record or rewriting it).
    HRESULT put_SysInfo(IUserSysInfo* value) override;
    // The user's role, read afresh with its rights and available statuses.
    HRESULT get_Right(IUserRight** out) override;
    // The projects in which the user's role has rights (no context attached).
    HRESULT get_ProjectSet(IProjectSet** out) override;

    std::int32_t ID() const { return id_; }
    void SetID(std::int32_t id) { id_ = id; }
    std::int32_t RoleID() const { return roleID_; }
    void SetRoleID(std::int32_t id) { roleID_ = id; }
    // Lets only the administrator, or this user himself, logged in to
    // `context` store the user's system information.
    void GuardFor(IExeContext* context) { guard_.Attach(context); }
    const std::string& LoginName() const { return loginName_; }
    const std::string& UserName() const { return userName_; }
    const std::string& Description() const { return description_; }
    const std::string& Password() const { return password_; }
    const std::string& EMail() const { return email_; }
    const std::string& Position() const { return position_; }
    const std::string& Address() const { return address_; }
    const std::string& Phone() const { return phone_; }
    const std::string& Department() const { return department_; }

private:
    ~CUser() override = default;

    ComPtr<CUserRight> ReadRole() const;

    std::int32_t id_ = 0;
    std::int32_t roleID_ = 0;
    std::string loginName_, userName_, description_, password_, email_, position_, address_, phone_,
        department_;
    UserChangeGuard guard_;
};

}  // namespace lindor
