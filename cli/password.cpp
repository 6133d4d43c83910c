#include "password.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>

namespace cli {
namespace {

// The terminal of the process, opened for the prompt; closed again at the end.
class Terminal {
public:
    Terminal() : fd_(isatty(STDIN_FILENO) ? open("/dev/tty", O_RDWR | O_CLOEXEC) : -1) {}
    ~Terminal()
    {
        if (fd_ >= 0) close(fd_);
    }
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    bool IsOpen() const { return fd_ >= 0; }

    void Write(const std::string& text)
    {
        if (write(fd_, text.data(), text.size()) < 0)
            return;  // a prompt that cannot show is no error
    }

    // One line typed without echo; the echo comes back even when reading fails.
    std::string ReadHidden()
    {
        termios saved{};
        const bool canHide = tcgetattr(fd_, &saved) == 0;
        if (canHide) {
            termios hidden = saved;
            hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            tcsetattr(fd_, TCSAFLUSH, &hidden);
        }
        std::string line;
        char c = 0;
        while (read(fd_, &c, 1) == 1 && c != '\n') line += c;
        if (canHide) tcsetattr(fd_, TCSAFLUSH, &saved);
        Write("\n");
        return line;
    }

private:
    int fd_;
};

}  // namespace

std::string ObtainPassword(const std::string& login)
{
    if (const char* fromEnvironment = std::getenv("NIMBRA_PASSWORD")) return fromEnvironment;
    Terminal terminal;
    if (!terminal.IsOpen()) return std::string();
    terminal.Write("Password for " + login + ": ");
    return terminal.ReadHidden();
}

}  // namespace cli
