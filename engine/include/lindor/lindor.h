// The engine's public face: status codes, values, interfaces, and the inline
// loader that finds the engine library at run time. A program needs only this
// header and -ldl.
#pragma once

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include <lindor/ComPtr.h>
#include <lindor/Interfaces.h>
#include <lindor/Types.h>
#include <lindor/Unknown.h>
#include <lindor/Variant.h>

namespace lindor {

namespace detail {

using CreateObjectFn = HRESULT (*)(const char*, const char*, void**);
using GetErrorInfoFn = bool (*)(std::string*, std::string*);

struct EngineEntryPoints {
    CreateObjectFn createObject = nullptr;
    GetErrorInfoFn getErrorInfo = nullptr;
    std::string loadError;
};

inline std::string ProgramFolder()
{
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0) return std::string();
    std::string exe(path, static_cast<std::size_t>(n));
    return exe.substr(0, exe.rfind('/') + 1);
}

inline bool TryLoadEngine(const std::string& file, EngineEntryPoints* entry)
{
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        entry->loadError += (why != nullptr ? why : file) + std::string("\n");
        return false;
    }
    entry->createObject = reinterpret_cast<CreateObjectFn>(dlsym(handle, "LindorCreateObject"));
    entry->getErrorInfo = reinterpret_cast<GetErrorInfoFn>(dlsym(handle, "LindorGetErrorInfo"));
    if (entry->createObject != nullptr && entry->getErrorInfo != nullptr) return true;
    entry->loadError += file + ": not the Lindor engine (entry points missing)\n";
    entry->createObject = nullptr;
    entry->getErrorInfo = nullptr;
    dlclose(handle);
    return false;
}

// Looks for the engine at $LINDOR_LIBRARY, then beside the running program
// (a build tree), then in ../lib of it (an installation under any prefix),
// then through the system's library search; the result is kept for the process.
inline const EngineEntryPoints& Engine()
{
    static const EngineEntryPoints entry = [] {
        EngineEntryPoints e;
        if (const char* explicitPath = std::getenv("LINDOR_LIBRARY");
            explicitPath != nullptr && *explicitPath != '\0') {
            if (TryLoadEngine(explicitPath, &e)) return e;
        }
        const std::string folder = ProgramFolder();
        if (TryLoadEngine(folder + "liblindor.so.1", &e)) return e;
        if (TryLoadEngine(folder + "../lib/liblindor.so.1", &e)) return e;
        if (TryLoadEngine("liblindor.so.1", &e)) return e;
        e.loadError = "The Lindor engine could not be loaded:\n" + e.loadError;
        return e;
    }();
    return entry;
}

inline std::string& LoaderError()
{
    thread_local std::string text;
    return text;
}

}  // namespace detail

// Creates an engine object by its external class name ("Lindor.ExeContext.1"
// or "Lindor.ExeContext") and hands out its interface `iid`.
inline HRESULT CreateObject(const char* className, const char* iid, void** out)
{
    if (out != nullptr) *out = nullptr;
    const detail::EngineEntryPoints& engine = detail::Engine();
    if (engine.createObject == nullptr) {
        detail::LoaderError() = engine.loadError;
        return E_FAIL;
    }
    detail::LoaderError().clear();
    return engine.createObject(className, iid, out);
}

template <class I>
HRESULT CreateObject(const char* className, I** out)
{
    return CreateObject(className, I::IID, reinterpret_cast<void**>(out));
}

// The error information of the last failing call on this thread: the
// description for the user and the external class name that reported it.
inline bool GetErrorInfo(std::string* description, std::string* source)
{
    if (!detail::LoaderError().empty()) {
        if (description != nullptr) *description = detail::LoaderError();
        if (source != nullptr) *source = "lindor.h";
        return true;
    }
    const detail::EngineEntryPoints& engine = detail::Engine();
    if (engine.getErrorInfo == nullptr) return false;
    return engine.getErrorInfo(description, source);
}

}  // namespace lindor
