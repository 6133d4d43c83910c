// Writing users: adding (with the login-name check), removing with the rows
// that hang on them, and rewriting. Failures are logged here; the user set
// reports them to its caller.
#pragma once

#include <cstdint>
#include <string>

#include "users/CUser.h"

namespace lindor::userwrites {

enum class AddResult {
    Added,
    LoginNameTaken,  // reported to the caller already
    Failed,
};

// Why the password cannot be stored ("Password is too long (at most 63
// bytes)." ...), or an empty text when it can.
std::string PasswordRefusal(const std::string& password);

// Takes a new identifier, then looks the login name up and inserts the row in
// one write transaction. On failure the user keeps its previous ID.
AddResult RealAddUser(CUser& user);
// Deletes the user's system information, classification assignments and row
// in one transaction.
bool RealRemove(std::int32_t id);
enum class UpdateResult {
    Updated,
    LoginNameTaken,  // reported to the caller already
    Failed,
};

// Rewrites the user's row, refusing a login name another user has (in any
// letter case); the look-up and the write form one write transaction.
// Failed for no user, ID 0 or no stored row.
UpdateResult RealUpdate(CUser* user);

}  // namespace lindor::userwrites
