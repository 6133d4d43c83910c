#include "core/ErrorInfo.h"

#include "core/Export.h"

namespace lindor {
namespace {

struct ThreadErrorInfo {
    bool set = false;
    std::string description;
    std::string source;
};

ThreadErrorInfo& Current()
{
    thread_local ThreadErrorInfo info;
    return info;
}

}  // namespace

void SetErrorInfo(const std::string& description, const std::string& source)
{
    ThreadErrorInfo& info = Current();
    info.set = true;
    info.description = description;
    info.source = source;
}

bool GetThreadErrorInfo(std::string* description, std::string* source)
{
    const ThreadErrorInfo& info = Current();
    if (!info.set) return false;
    if (description != nullptr) *description = info.description;
    if (source != nullptr) *source = info.source;
    return true;
}

}  // namespace lindor

extern "C" LINDOR_EXPORT bool LindorGetErrorInfo(std::string* description, std::string* source)
{
    return lindor::GetThreadErrorInfo(description, source);
}
