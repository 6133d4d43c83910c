#include "core/SysLog.h"
#include "core/OutParam.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "core/ClassRegistry.h"
#include "core/ErrorInfo.h"
#include "core/Folders.h"

namespace lindor {
namespace {

const ClassRegistration registration("SysLog", &CreateInstance<CSysLog>);

const char* const kClassName = "Lindor.SysLog.1";

std::string LocalTimeAndDate()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[128];
    const std::size_t n = std::strftime(text, sizeof(text), "%X,%x", &local);
    return std::string(text, n);
}

std::string DescriptionOrDefault(std::int32_t errCode, const std::string& description)
{
    if (!description.empty()) return description;
    if (errCode == 0) return "Unknown Error";
    if (errCode == 1) return "Exceed Array's bound";
    return description;
}

// Append while the file is within the limit; otherwise start it anew.
const char* OpenModeFor(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && info.st_size <= kLogFileLimit) return "ab";
    return "wb";
}

HRESULT FailWithSystemMessage(int err)
{
    SetErrorInfo(std::strerror(err), kClassName);
    return E_FAIL;
}

}  // namespace

std::string FormatLogEntry(std::int32_t errCode, const std::string& source,
                           const std::string& description)
{
    std::string entry = "--------------------------------------------\r\n";
    entry += "[Time]: " + LocalTimeAndDate() + "\r\n";
    entry += "[ErrCode]: " + std::to_string(errCode) + "\r\n";
    entry += "[Source]: " + source + "\r\n";
    entry += "[Description]: " + DescriptionOrDefault(errCode, description) + "\r\n\r\n";
    return entry;
}

HRESULT CSysLog::get_LogFileName(std::string* out)
{
    return GiveOut(logFileName_, out);
}

HRESULT CSysLog::put_LogFileName(const std::string& value)
{
    logFileName_ = value;
    return S_OK;
}

std::string CSysLog::FullPath() const
{
    return ProgramDataFolder() + logFileName_;
}

HRESULT CSysLog::Log(std::int32_t errCode, const std::string& source,
                     const std::string& description)
{
    const std::string path = FullPath();
    std::FILE* file = std::fopen(path.c_str(), OpenModeFor(path));
    if (file == nullptr) return FailWithSystemMessage(errno);
    const std::string entry = FormatLogEntry(errCode, source, description);
    const bool written = std::fwrite(entry.data(), 1, entry.size(), file) == entry.size();
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) return FailWithSystemMessage(written ? errno : writeError);
    return S_OK;
}

HRESULT CSysLog::Clear()
{
    const std::string path = FullPath();
    if (access(path.c_str(), F_OK) != 0) {
        SetErrorInfo("Can't open " + path, kClassName);
        return E_FAIL;
    }
    if (unlink(path.c_str()) != 0) return FailWithSystemMessage(errno);
    return S_OK;
}

}  // namespace lindor
