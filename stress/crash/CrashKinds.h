// The operations the crash test interrupts, and the people it prepares.
#pragma once

#include <array>

namespace stress::crash {

constexpr const char* kAddProject = "addProject";        // a project with many versions
constexpr const char* kDeleteProject = "deleteProject";  // with versions, bugs, rights...
constexpr const char* kDeleteBug = "deleteBug";          // a bug with its attachments
constexpr const char* kSetUserRight = "setUserRight";    // a whole role
constexpr const char* kSynchronize = "synchronize";      // stored names in many bugs
constexpr const char* kAddAttachment = "addAttachment";  // a large file

constexpr std::array<const char*, 6> kKinds = {kAddProject,   kDeleteProject, kDeleteBug,
                                               kSetUserRight, kSynchronize,   kAddAttachment};

constexpr const char* kCrashLogin = "crash";
constexpr const char* kCrashPassword = "crash-pw";
constexpr const char* kVictimLogin = "crash-victim";
constexpr const char* kSyncLogin = "crash-sync";

}  // namespace stress::crash
