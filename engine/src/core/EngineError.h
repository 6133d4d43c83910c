// A failure raised inside the engine that the error log records in a form of
// its own: a database failure keeps its source and the system's message
// beside its description. The exception barrier of the interface members
// (core/Guarded.h) catches it; nothing below the barrier needs to know which
// layer raised it.
#pragma once

#include <stdexcept>
#include <string>

namespace lindor {

class EngineError : public std::runtime_error {
public:
    explicit EngineError(const std::string& description) : std::runtime_error(description) {}

    // The description the error log keeps for this failure.
    virtual std::string LogText() const = 0;
};

}  // namespace lindor
