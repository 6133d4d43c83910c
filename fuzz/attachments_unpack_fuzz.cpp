// Fuzz entry point for the attachment unpacker: arbitrary bytes are written as
// an archive and unpacked into a folder. Besides the sanitizers' checks, every
// run must leave either nothing (failure) or exactly the reported plain files
// (success) in the target folder, and nothing anywhere else.
//
// fuzz/run.sh builds it with clang (CMake option NIMBRA_FUZZ) and runs it.

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "attachments/ZipArchive.h"

namespace {

struct Workspace {
    std::string root;     // a private folder for this process
    std::string archive;  // root + "input.zip"
    std::string target;   // root + "out/"
};

[[noreturn]] void Fault(const std::string& what)
{
    std::fprintf(stderr, "attachments_unpack_fuzz: %s\n", what.c_str());
    std::abort();
}

// Names in a folder, without "." and "..".
std::vector<std::string> Listing(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) Fault("cannot list " + folder);
    while (const dirent* item = readdir(dir)) {
        const std::string name = item->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveFiles(const std::string& folder)
{
    for (const std::string& name : Listing(folder)) {
        if (unlink((folder + name).c_str()) != 0)
            Fault("unpack left something not a file: " + name);
    }
}

const Workspace& TheWorkspace()
{
    static const Workspace workspace = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
                              "/attachments-unpack-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) Fault("cannot make " + pattern);
        Workspace made{pattern + "/", pattern + "/input.zip", pattern + "/out/"};
        if (mkdir(made.target.c_str(), 0700) != 0) Fault("cannot make " + made.target);
        return made;
    }();
    return workspace;
}

void CheckOutcome(const Workspace& w, const lindor::FileOutcome<std::vector<std::string>>& unpacked)
{
    const std::vector<std::string> rootNames = Listing(w.root);
    if (rootNames != std::vector<std::string>{"input.zip", "out"}) {
        Fault("unpack wrote outside its target folder");
    }
    std::vector<std::string> expected = unpacked.ok() ? unpacked.value : std::vector<std::string>{};
    std::sort(expected.begin(), expected.end());
    if (Listing(w.target) != expected) {
        Fault(unpacked.ok() ? "target folder differs from the names reported"
                            : "failed unpack left files behind: " + unpacked.error);
    }
    if (!unpacked.ok() && unpacked.error.empty()) Fault("failure without a description");
    for (const std::string& name : expected) {
        struct stat info {};
        if (lstat((w.target + name).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            Fault("unpacked name is not a plain file: " + name);
        }
    }
}

void RemoveWorkspace()
{
    const Workspace& w = TheWorkspace();
    RemoveFiles(w.target);
    rmdir(w.target.c_str());
    unlink(w.archive.c_str());
    rmdir(w.root.c_str());
}

}  // namespace

// Registered after the workspace exists, so it runs before the workspace is destroyed.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    TheWorkspace();
    std::atexit(&RemoveWorkspace);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Workspace& w = TheWorkspace();
    const lindor::FileStatus written = lindor::WriteFileBytes(w.archive, data, size);
    if (!written.ok()) Fault(written.error);

    const lindor::FileOutcome<std::vector<std::string>> unpacked =
        lindor::UnpackArchive(w.archive, w.target);
    CheckOutcome(w, unpacked);

    RemoveFiles(w.target);
    unlink(w.archive.c_str());
    return 0;
}
