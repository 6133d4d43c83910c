// Other processes of a run: this program started again (fork + exec of its
// own executable) with a sub-command, as another team member's program.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace stress {

struct ExitStatus {
    bool exited = false;  // false: ended by a signal
    int code = 0;
    int signal = 0;
    bool Clean() const { return exited && code == 0; }
    std::string Text() const;
};

class ChildProcess {
public:
    // `environment` holds extra "NAME=value" entries. With `captureOutput`
    // the child's standard output comes through a pipe (ReadLine).
    ChildProcess(const std::vector<std::string>& arguments,
                 const std::vector<std::string>& environment, bool captureOutput);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    bool Running() const { return pid_ > 0; }

    // One line of the child's output without its line break; false at the
    // end of the output or when nothing came within timeoutMs.
    bool ReadLine(std::string* line, int timeoutMs);
    void Signal(int signal) const;
    ExitStatus Wait();
    // Reaps the child if it has ended; false while it runs.
    bool TryWait(ExitStatus* status);

private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string buffer_;
};

// The path of the running program.
std::string OwnExecutable();

}  // namespace stress
