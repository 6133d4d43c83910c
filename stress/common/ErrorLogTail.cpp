#include "common/ErrorLogTail.h"

#include <sys/stat.h>

#include <fstream>
#include <sstream>

namespace stress {
namespace {

std::int64_t FileSize(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<std::int64_t>(info.st_size) : 0;
}

std::string WithoutCarriageReturn(std::string line)
{
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.rfind(prefix, 0) == 0;
}

}  // namespace

void ErrorLogTail::Mark()
{
    mark_ = FileSize(path_);
}

std::string ErrorLogTail::Appended() const
{
    std::ifstream in(path_, std::ios::binary);
    if (!in) return std::string();
    // The log starts again when it grows too large; then all of it is new.
    if (FileSize(path_) >= mark_) in.seekg(mark_);
    std::string entries, source, description;
    bool inDescription = false;
    const auto finish = [&] {
        if (source.empty() && description.empty()) return;
        while (!description.empty() && description.back() == '\n') description.pop_back();
        entries += (entries.empty() ? "" : " | ") + source + ": " + description;
        source.clear();
        description.clear();
    };
    for (std::string line; std::getline(in, line);) {
        line = WithoutCarriageReturn(line);
        if (StartsWith(line, "-----")) {
            finish();
            inDescription = false;
        } else if (StartsWith(line, "[Source]: ")) {
            source = line.substr(10);
        } else if (StartsWith(line, "[Description]: ")) {
            description = line.substr(15);
            inDescription = true;
        } else if (inDescription && !line.empty()) {
            description += "\n" + line;
        }
    }
    finish();
    return entries;
}

std::string CauseOf(const std::string& logText)
{
    const std::size_t tail = logText.find("\t(Source=");
    return tail == std::string::npos ? logText : logText.substr(0, tail);
}

}  // namespace stress
