#include "core/Folders.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace lindor {
namespace {

std::string WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string ExecutableFolder()
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0) return std::string();
    const std::string exe(path, static_cast<std::size_t>(n));
    return exe.substr(0, exe.rfind('/') + 1);
}

std::string UserDataFolder()
{
    std::string base = Env("XDG_DATA_HOME");
    if (base.empty()) base = Env("HOME") + "/.local/share";
    return WithSlash(base) + "Nimbra/";
}

std::string FindProgramDataFolder()
{
    const std::string home = Env("NIMBRA_HOME");
    if (!home.empty()) {
        MakeFolders(home);
        return WithSlash(home);
    }
    const std::string exeFolder = ExecutableFolder();
    if (!exeFolder.empty() && access(exeFolder.c_str(), W_OK) == 0) return exeFolder;
    const std::string userFolder = UserDataFolder();
    MakeFolders(userFolder);
    return userFolder;
}

std::string MakePrivateTempFolder()
{
    std::string base = Env("TMPDIR");
    if (base.empty()) base = "/tmp";
    std::string pattern = WithSlash(base) + "lindor-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) return std::string();
    return WithSlash(pattern);
}

}  // namespace

bool MakeFolders(const std::string& path)
{
    if (path.empty()) return false;
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0700);
    }
    mkdir(path.c_str(), 0700);
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

const std::string& ProgramDataFolder()
{
    static const std::string folder = FindProgramDataFolder();
    return folder;
}

const std::string& PrivateTempFolder()
{
    static const std::string folder = MakePrivateTempFolder();
    return folder;
}

}  // namespace lindor
