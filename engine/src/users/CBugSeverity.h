// The list of severity names.
#pragma once

#include <lindor/Interfaces.h>

#include "users/NameList.h"

namespace lindor {

class CBugSeverity final : public NameListObject<IBugSeverity> {
private:
    ~CBugSeverity() override = default;
};

}  // namespace lindor
