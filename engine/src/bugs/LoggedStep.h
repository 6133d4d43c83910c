// A step of a bug or attachment operation whose failures end up in the error
// log only: the operation reports to its caller in its own words afterwards.
#pragma once

#include <exception>
#include <string>

#include "core/ErrorReport.h"
#include "db/DatabaseError.h"

namespace lindor {

// Runs `step` (which returns whether it succeeded); a failure raised inside
// it is logged with code 2 under `source` and gives false.
template <class Step>
bool RunLoggedStep(const std::string& source, Step&& step)
{
    try {
        return step();
    } catch (const DatabaseError& error) {
        LogDatabaseError(kLogDatabase, source, error);
    } catch (const std::exception& error) {
        LogMessage(kLogDatabase, source, error.what());
    }
    return false;
}

}  // namespace lindor
