// How a record-mapping operation fails: one log entry under
// "CDBUtil::<operation>", then E_FAIL.
#pragma once

#include <string>

#include <lindor/Types.h>

#include "core/ErrorReport.h"
#include "db/DatabaseError.h"

namespace lindor::mapping {

// A missing cursor or object, or a value that cannot be stored.
inline HRESULT MappingFailed(const char* operation, const std::string& text)
{
    LogMessage(kLogGeneral, std::string("CDBUtil::") + operation, text);
    return E_FAIL;
}

inline HRESULT MappingFailed(const char* operation, const DatabaseError& error)
{
    LogDatabaseError(kLogDatabase, std::string("CDBUtil::") + operation, error);
    return E_FAIL;
}

}  // namespace lindor::mapping
