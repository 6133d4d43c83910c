// Where the password of a login comes from.
#pragma once

#include <string>

namespace cli {

// NIMBRA_PASSWORD when it is set; else, when a terminal is at hand, what the
// user types at a prompt without echo; else the empty password.
std::string ObtainPassword(const std::string& login);

}  // namespace cli
