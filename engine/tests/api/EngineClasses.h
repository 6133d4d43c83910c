// The engine's classes by name; each exposes the interface "I" + its name.
#pragma once

#include <string>
#include <vector>

namespace lindor::test {

inline const std::vector<std::string> kEngineClasses = {"Admin",
                                                        "Bug",
                                                        "BugFilter",
                                                        "BugFilterSet",
                                                        "BugPriority",
                                                        "BugReproductive",
                                                        "BugSet",
                                                        "BugSeverity",
                                                        "BugStatus",
                                                        "Classification",
                                                        "ClassificationSet",
                                                        "ExeContext",
                                                        "File",
                                                        "FileSet",
                                                        "Project",
                                                        "ProjectSet",
                                                        "Right",
                                                        "RightSet",
                                                        "SysLog",
                                                        "User",
                                                        "UserRight",
                                                        "UserSet",
                                                        "UserSysInfo",
                                                        "Version"};

}  // namespace lindor::test
