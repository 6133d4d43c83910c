#include "common/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <stdexcept>

#include "common/Clock.h"

extern char** environ;

namespace stress {
namespace {

ExitStatus StatusFrom(int raw)
{
    ExitStatus status;
    status.exited = WIFEXITED(raw);
    status.code = status.exited ? WEXITSTATUS(raw) : 0;
    status.signal = WIFSIGNALED(raw) ? WTERMSIG(raw) : 0;
    return status;
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// The parent's environment with the extra entries replacing same-named ones.
std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extra)
{
    std::vector<std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('=') + 1);
        bool replaced = false;
        for (const std::string& e : extra) replaced = replaced || e.rfind(name, 0) == 0;
        if (!replaced) merged.push_back(text);
    }
    merged.insert(merged.end(), extra.begin(), extra.end());
    return merged;
}

}  // namespace

std::string ExitStatus::Text() const
{
    if (exited) return "exit code " + std::to_string(code);
    return std::string("signal ") + strsignal(signal);
}

std::string OwnExecutable()
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0) throw std::runtime_error("cannot find the running program");
    return std::string(path, static_cast<std::size_t>(n));
}

ChildProcess::ChildProcess(const std::vector<std::string>& arguments,
                           const std::vector<std::string>& environment, bool captureOutput)
{
    std::vector<std::string> args = arguments;
    args.insert(args.begin(), OwnExecutable());
    std::vector<std::string> env = MergedEnvironment(environment);
    std::vector<char*> argv = Pointers(args);
    std::vector<char*> envp = Pointers(env);
    int fds[2] = {-1, -1};
    if (captureOutput && pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (pid_ == 0) {
        if (captureOutput) dup2(fds[1], STDOUT_FILENO);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    if (captureOutput) {
        close(fds[1]);
        output_ = fds[0];
    }
}

ChildProcess::~ChildProcess()
{
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        Wait();
    }
    if (output_ >= 0) close(output_);
}

bool ChildProcess::ReadLine(std::string* line, int timeoutMs)
{
    const std::int64_t until = MonotonicNs() + static_cast<std::int64_t>(timeoutMs) * 1000000;
    while (true) {
        const std::size_t end = buffer_.find('\n');
        if (end != std::string::npos) {
            *line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            return true;
        }
        if (output_ < 0) return false;
        const std::int64_t left = (until - MonotonicNs()) / 1000000;
        if (left <= 0) return false;
        pollfd wait{output_, POLLIN, 0};
        if (poll(&wait, 1, static_cast<int>(left)) <= 0) continue;
        char chunk[4096];
        const ssize_t n = read(output_, chunk, sizeof(chunk));
        if (n <= 0) {
            close(output_);
            output_ = -1;
            continue;
        }
        buffer_.append(chunk, static_cast<std::size_t>(n));
    }
}

void ChildProcess::Signal(int signal) const
{
    if (pid_ > 0) kill(pid_, signal);
}

ExitStatus ChildProcess::Wait()
{
    int raw = 0;
    while (waitpid(pid_, &raw, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return StatusFrom(raw);
}

bool ChildProcess::TryWait(ExitStatus* status)
{
    int raw = 0;
    if (pid_ <= 0 || waitpid(pid_, &raw, WNOHANG) != pid_) return false;
    pid_ = -1;
    *status = StatusFrom(raw);
    return true;
}

}  // namespace stress
