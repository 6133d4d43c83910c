#include "db/DatabaseError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace lindor {
namespace {

constexpr std::uint32_t kFacilityWin32 = 0x80070000u;
constexpr std::uint32_t kAutomationFirst = 0x80040200u;
constexpr std::uint32_t kAutomationLast = 0x8004FFFFu;

// A code that wraps an operating-system error number carries that system's text.
bool WrapsSystemError(std::uint32_t code)
{
    return (code & 0xFFFF0000u) == kFacilityWin32;
}

std::string Trimmed(std::string text)
{
    if (!text.empty() && text.back() == '\n') text.pop_back();
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
}

}  // namespace

std::string SystemMessageFor(HRESULT code)
{
    const auto value = static_cast<std::uint32_t>(code);
    char buffer[64];
    if (WrapsSystemError(value)) {
        const int err = static_cast<int>(value & 0xFFFFu);
        return Trimmed(std::strerror(err));
    }
    if (value >= kAutomationFirst && value <= kAutomationLast) {
        std::snprintf(buffer, sizeof(buffer), "IDispatch error #%d",
                      static_cast<int>(static_cast<std::uint16_t>(value - 0x200u)));
        return buffer;
    }
    std::snprintf(buffer, sizeof(buffer), "Unknown error 0x%0lX",
                  static_cast<unsigned long>(value));
    return buffer;
}

std::string DescribeDatabaseError(const DatabaseError& error)
{
    return error.description() + "\t(Source=" + error.source() +
           ",\tMessage=" + error.systemMessage() + ")";
}

}  // namespace lindor
