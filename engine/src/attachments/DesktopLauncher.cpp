#include "attachments/DesktopLauncher.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

extern char** environ;

namespace lindor {
namespace {

constexpr int kStarted = 0;
constexpr int kNotStarted = 127;

// posix_spawn file actions, released on every path.
class SpawnActions {
public:
    SpawnActions() { ready_ = posix_spawn_file_actions_init(&actions_) == 0; }
    ~SpawnActions()
    {
        if (ready_) posix_spawn_file_actions_destroy(&actions_);
    }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;

    bool ChangeFolder(const std::string& folder)
    {
        return ready_ && posix_spawn_file_actions_addchdir_np(&actions_, folder.c_str()) == 0;
    }
    const posix_spawn_file_actions_t* get() const { return &actions_; }

private:
    posix_spawn_file_actions_t actions_{};
    bool ready_ = false;
};

int WaitForExit(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return kNotStarted;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : kNotStarted;
}

}  // namespace

bool OpenWithDesktop(const std::string& path, const std::string& workingFolder)
{
    // Everything the helper needs is prepared before the fork, so the helper
    // only spawns and exits.
    std::string program = "xdg-open";
    std::string argument = path;
    std::vector<char*> argv = {program.data(), argument.data(), nullptr};
    SpawnActions actions;
    if (!actions.ChangeFolder(workingFolder)) return false;

    const pid_t helper = fork();
    if (helper < 0) return false;
    if (helper == 0) {
        // The program started here is adopted by init when the helper exits,
        // which reaps it; this process never has to wait for it.
        pid_t opener = 0;
        const int rc =
            posix_spawnp(&opener, program.c_str(), actions.get(), nullptr, argv.data(), environ);
        _exit(rc == 0 ? kStarted : kNotStarted);
    }
    return WaitForExit(helper) == kStarted;
}

}  // namespace lindor
