// The failures a command ends with, and the exit codes they give.
#pragma once

#include <stdexcept>
#include <string>

namespace cli {

constexpr int kExitSuccess = 0;
constexpr int kExitRefused = 1;  // the engine (or the file system) refused the work
constexpr int kExitUsage = 2;    // the command line or the input asks for something impossible

class CliError : public std::runtime_error {
public:
    CliError(int exitCode, const std::string& message)
        : std::runtime_error(message), exitCode_(exitCode)
    {
    }
    int exitCode() const { return exitCode_; }

private:
    int exitCode_;
};

// A refusal: rights, validation by the engine, a busy or unreadable database.
[[noreturn]] inline void Refuse(const std::string& message)
{
    throw CliError(kExitRefused, message);
}

// A usage error: an unknown field, a malformed value, a missing option.
[[noreturn]] inline void UsageError(const std::string& message)
{
    throw CliError(kExitUsage, message);
}

}  // namespace cli
