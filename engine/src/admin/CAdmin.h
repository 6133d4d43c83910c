// The administration object: every user and project regardless of rights,
// new database files, and writing a whole role for a user.
#pragma once

#include <lindor/Interfaces.h>

#include "core/ComObject.h"
#include "core/EventSinks.h"

namespace lindor {

class CAdmin final : public ComObject<IAdmin> {
public:
    HRESULT get_UserSet(IUserSet** out) override;
    HRESULT get_ProjectSet(IProjectSet** out) override;
    HRESULT NewMDB(const std::string& fileName) override;
    HRESULT SetUserRight(std::int32_t userID, IUserRight* userRight) override;
    HRESULT NewSQLDB(const std::string& server, const std::string& database) override;
    HRESULT Advise(IAdminEvents* sink, std::uint32_t* cookie) override;
    HRESULT Unadvise(std::uint32_t cookie) override;

private:
    EventSinks<IAdminEvents> sinks_;
};

}  // namespace lindor
