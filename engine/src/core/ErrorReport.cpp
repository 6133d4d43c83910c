#include "core/ErrorReport.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "core/EngineError.h"
#include "core/ErrorInfo.h"
#include "core/SysLog.h"

namespace lindor {

const char* const kBoundsMessage = "Some error has occured, please see err.log!";

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (needed > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        out.assign(buffer.data(), static_cast<std::size_t>(needed));
    }
    va_end(args);
    return out;
}

std::string RightsMessage(const std::string& action)
{
    return "You have no right to " + action + ", please contact your manager!";
}

void LogMessage(std::int32_t code, const std::string& source, const std::string& text)
{
    // A log that cannot be written must not replace the description the
    // failing call has just left for its caller.
    std::string description;
    std::string reporter;
    const bool reported = GetThreadErrorInfo(&description, &reporter);
    ComPtr<CSysLog> log = MakeObject<CSysLog>();
    log->put_LogFileName("Err.log");
    if (Failed(log->Log(code, source, text)) && reported) SetErrorInfo(description, reporter);
}

void LogDatabaseError(std::int32_t code, const std::string& source, const EngineError& error)
{
    LogMessage(code, source, error.LogText());
}

HRESULT Reporter::Fail(const std::string& callerText, std::int32_t code,
                       const std::string& logSource, const std::string& logText) const
{
    SetErrorInfo(callerText, className_);
    LogMessage(code, logSource, logText);
    return E_FAIL;
}

HRESULT Reporter::Fail(const std::string& text, std::int32_t code,
                       const std::string& logSource) const
{
    return Fail(text, code, logSource, text);
}

HRESULT Reporter::FailBounds(const std::string& logSource, const std::string& logText) const
{
    return Fail(kBoundsMessage, kLogBounds, logSource, logText);
}

HRESULT Reporter::FailRight(const std::string& action, const std::string& logSource,
                            const std::string& logText) const
{
    SetErrorInfo(RightsMessage(action), className_);
    if (!logSource.empty()) LogMessage(kLogRight, logSource, logText);
    return E_FAIL;
}

HRESULT Reporter::FailQuietly(const std::string& callerText) const
{
    SetErrorInfo(callerText, className_);
    return E_FAIL;
}

}  // namespace lindor
