// How a record-mapping operation fails: one log entry under
// "CDBUtil::<operation>", then E_FAIL.
#pragma once

#include <string>

#include <lindor/Types.h>

#include "core/ErrorReport.h"
#include "core/Guarded.h"
#include "db/DatabaseError.h"

namespace lindor::mapping {

// A missing cursor or object, or a value that cannot be stored.
inline HRESULT MappingFailed(const char* operation, const std::string& text)
{
    LogMessage(kLogGeneral, std::string("CDBUtil::") + operation, text);
    return E_FAIL;
}

// Runs a row read or write: whatever it raises becomes one log entry under
// "CDBUtil::<operation>" (a database failure with its own text) and E_FAIL.
template <class Step>
HRESULT MapRow(const char* operation, Step&& step) noexcept
{
    const bool done = RunLoggedStep(std::string("CDBUtil::") + operation, [&] {
        step();
        return true;
    });
    return done ? S_OK : E_FAIL;
}

}  // namespace lindor::mapping
