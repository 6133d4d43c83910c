// How an engine operation fails: error information for the caller first, then
// one entry in the error log.
#pragma once

#include <cstdint>
#include <string>

#include <lindor/Types.h>

namespace lindor {

class EngineError;

// Log codes of the error log.
constexpr std::int32_t kLogGeneral = 0;
constexpr std::int32_t kLogBounds = 1;
constexpr std::int32_t kLogDatabase = 2;
constexpr std::int32_t kLogRight = 3;
constexpr std::int32_t kLogFile = 4;
constexpr std::int32_t kLogNextID = 9;

// What the caller sees for an index outside a set's bounds.
extern const char* const kBoundsMessage;

// "You have no right to <action>, please contact your manager!"
std::string RightsMessage(const std::string& action);

// Appends one entry to "Err.log"; a failure to write is ignored.
void LogMessage(std::int32_t code, const std::string& source, const std::string& text);
// Logs a failure raised inside the engine in its own form (a database
// failure as its description, "\t(Source=", source, ",\tMessage=", system
// message, ")").
void LogDatabaseError(std::int32_t code, const std::string& source, const EngineError& error);

// printf-style formatting into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Reports failures on behalf of one engine class (its external class name is
// the source of the error information). Every method returns E_FAIL.
class Reporter {
public:
    explicit Reporter(std::string externalClassName) : className_(std::move(externalClassName)) {}

    // The caller gets `callerText`; the log gets (code, logSource, logText).
    HRESULT Fail(const std::string& callerText, std::int32_t code, const std::string& logSource,
                 const std::string& logText) const;
    // The same text for the caller and the log.
    HRESULT Fail(const std::string& text, std::int32_t code, const std::string& logSource) const;
    // The bounds failure: kBoundsMessage for the caller, code 1 in the log.
    HRESULT FailBounds(const std::string& logSource, const std::string& logText = "") const;
    // A refused right; logged only when `logSource` is not empty.
    HRESULT FailRight(const std::string& action, const std::string& logSource = "",
                      const std::string& logText = "") const;
    // Error information only, no log entry (refusals that are not logged).
    HRESULT FailQuietly(const std::string& callerText) const;

    const std::string& className() const { return className_; }

private:
    std::string className_;
};

}  // namespace lindor
