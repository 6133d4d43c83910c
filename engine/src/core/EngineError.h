// A failure raised inside the engine that the error log records in a form of
// its own: a database failure keeps its source and the system's message
// beside its description. The exception barrier of the interface members
// (core/Guarded.h) catches it; nothing below the barrier needs to know which
// layer raised it.
#pragma once

#include <stdexcept>
#include <string>

namespace lindor {

// How the error log records a failure raised inside the engine: whole (with
// where it came from), its description alone, or its description, "{", its
// source, "}" and the system's message.
enum class LogForm { Whole, Description, Braced };

class EngineError : public std::runtime_error {
public:
    explicit EngineError(const std::string& description) : std::runtime_error(description) {}

    // The description the error log keeps for this failure.
    virtual std::string LogText() const = 0;
    virtual std::string BracedText() const = 0;

    std::string TextFor(LogForm form) const
    {
        switch (form) {
            case LogForm::Description:
                return what();
            case LogForm::Braced:
                return BracedText();
            default:
                return LogText();
        }
    }
};

}  // namespace lindor
