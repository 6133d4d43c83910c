// The list of priority names.
#pragma once

#include <lindor/Interfaces.h>

#include "users/NameList.h"

namespace lindor {

class CBugPriority final : public NameListObject<IBugPriority> {
private:
    ~CBugPriority() override = default;
};

}  // namespace lindor
