// A list of status names: all statuses, or those a right may set.
#pragma once

#include <lindor/Interfaces.h>

#include "users/NameList.h"

namespace lindor {

class CBugStatus final : public NameListObject<IBugStatus> {
public:
    HRESULT Clear() override;

private:
    ~CBugStatus() override = default;
};

}  // namespace lindor
