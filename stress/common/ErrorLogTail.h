// The entries a process's engine appended to its error log since a mark, so
// that a journal can say why an operation failed beyond the caller's text.
#pragma once

#include <cstdint>
#include <string>

namespace stress {

class ErrorLogTail {
public:
    explicit ErrorLogTail(std::string path) : path_(std::move(path)) {}

    void Mark();
    // "source: description" of each entry since the mark, joined by " | ".
    std::string Appended() const;

private:
    std::string path_;
    std::int64_t mark_ = 0;
};

// The cause inside a logged database failure: its description without the
// "(Source=..., Message=...)" tail, so that failures can be grouped by it.
std::string CauseOf(const std::string& logText);

}  // namespace stress
