// The engine's exception barrier. No exception may leave an interface member:
// a member runs its body through Guarded, which turns whatever was raised
// into the member's own report, and a step whose failure only the error log
// sees runs through RunLoggedStep.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include <lindor/Types.h>

#include "core/EngineError.h"
#include "core/ErrorReport.h"

namespace lindor {

// What a member reports when its body raises: the caller gets `callerText`
// (or, where `callerGetsDescription`, a failure raised inside the engine
// gives its own description); the log gets `logSource` with `engineCode` and
// the failure's text in `logForm` for a failure raised inside the engine (a
// database failure), or `otherCode` and the exception's message for
// anything else.
struct Failure {
    std::string callerText;
    std::string logSource;
    std::int32_t engineCode = kLogDatabase;
    std::int32_t otherCode = kLogGeneral;
    LogForm logForm = LogForm::Whole;
    bool callerGetsDescription = false;
};

// Runs `body` (which returns the member's HRESULT); an exception raised
// inside it becomes the failure `failure` describes, reported by `report`.
template <class Body>
HRESULT Guarded(const Reporter& report, const Failure& failure, Body&& body) noexcept
{
    try {
        return body();
    } catch (const EngineError& error) {
        return report.Fail(failure.callerGetsDescription ? error.what() : failure.callerText,
                           failure.engineCode, failure.logSource, error.TextFor(failure.logForm));
    } catch (const std::exception& error) {
        return report.Fail(failure.callerText, failure.otherCode, failure.logSource, error.what());
    } catch (...) {
        return report.Fail(failure.callerText, failure.otherCode, failure.logSource,
                           "Unknown exception");
    }
}

// Runs `step` (which returns whether it succeeded) for an operation that
// reports to its caller in its own words afterwards: a failure raised inside
// it is only logged, with code 2 under `source`, and gives false.
template <class Step>
bool RunLoggedStep(const std::string& source, Step&& step) noexcept
{
    try {
        return step();
    } catch (const EngineError& error) {
        LogDatabaseError(kLogDatabase, source, error);
    } catch (const std::exception& error) {
        LogMessage(kLogDatabase, source, error.what());
    } catch (...) {
        LogMessage(kLogDatabase, source, "Unknown exception");
    }
    return false;
}

}  // namespace lindor
