// The operations a stress worker journals, by name, and the names of the
// people the run prepares; shared by the workers, the reader and the checker.
#pragma once

#include <string>

namespace stress::op {

constexpr const char* kSetupUser = "setupUser";
constexpr const char* kAddBug = "addBug";
constexpr const char* kUpdateBug = "updateBug";
constexpr const char* kDeleteBug = "deleteBug";
constexpr const char* kAddAttachment = "addAttachment";
constexpr const char* kRemoveAttachment = "removeAttachment";
constexpr const char* kAddProject = "addProject";
constexpr const char* kUpdateProject = "updateProject";
constexpr const char* kDeleteProject = "deleteProject";
constexpr const char* kAddClassification = "addClassification";
constexpr const char* kAddUser = "addUser";
constexpr const char* kSetRole = "setRole";
constexpr const char* kSynchronize = "synchronize";
constexpr const char* kRefresh = "refresh";
constexpr const char* kSummary = "summary";
// The reader's records.
constexpr const char* kRead = "read";
constexpr const char* kPause = "pause";
// The lock holder's one record.
constexpr const char* kHold = "hold";

constexpr const char* kDone = "done";
constexpr const char* kFailed = "failed";

inline std::string WorkerLogin(int index)
{
    return "stress-w" + std::to_string(index);
}
inline std::string WorkerName(int index)
{
    return "Worker " + std::to_string(index);
}
inline std::string WorkerPassword(int index)
{
    return "pw-" + std::to_string(index);
}
constexpr const char* kReaderLogin = "stress-reader";
constexpr const char* kReaderName = "List Reader";
constexpr const char* kReaderPassword = "pw-reader";

}  // namespace stress::op
