// The list of reproducibility names.
#pragma once

#include <lindor/Interfaces.h>

#include "users/NameList.h"

namespace lindor {

class CBugReproductive final : public NameListObject<IBugReproductive> {
private:
    ~CBugReproductive() override = default;
};

}  // namespace lindor
