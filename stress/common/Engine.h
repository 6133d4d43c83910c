// How the stress programs reach the engine: its public interfaces, with
// objects created by class name from the engine objects linked into the
// program (so that the access layer's busy-wait counter is this process's).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include <lindor/ComPtr.h>
#include <lindor/Interfaces.h>

#include "common/RolePlan.h"

namespace stress {

using lindor::ComPtr;
using lindor::HRESULT;

struct EngineError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Creates an engine object by class name: "Bug" creates "Lindor.Bug.1".
lindor::HRESULT CreateByName(const std::string& className, const char* iid, void** out);

template <class I>
ComPtr<I> Create(const std::string& className)
{
    ComPtr<I> object;
    if (lindor::Failed(CreateByName(className, I::IID, object.put_void())) || !object)
        throw EngineError("the engine cannot create a " + className);
    return object;
}

// The description the last failing engine call on this thread left for its
// caller; it is cleared, so that a later failure never shows a stale text.
std::string TakeErrorText();
void ClearErrorText();

// How often this process's database handle waited on a file that another
// program had locked.
std::uint64_t BusyWaits();

// Throws EngineError naming `what` and the engine's description when hr failed.
void Require(HRESULT hr, const std::string& what);

template <class I, class T>
T Read(I* object, HRESULT (I::*getter)(T*), const std::string& what)
{
    T value{};
    Require((object->*getter)(&value), what);
    return value;
}

// Builds a role object from its description.
ComPtr<lindor::IUserRight> MakeRole(const RolePlan& plan);

// Opens the file, logs in and (when project is not 0) makes it active.
ComPtr<lindor::IExeContext> OpenSession(const std::string& path, const std::string& login,
                                        const std::string& password, std::int32_t project);

// Adds a user through the context's user list; returns its new identifier.
std::int32_t AddUser(lindor::IExeContext& context, const std::string& login,
                     const std::string& name, const std::string& password);

// A new database file with the administration object; fails when it exists.
void CreateDatabase(const std::string& path);

}  // namespace stress
