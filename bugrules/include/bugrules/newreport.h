// What a new report starts with, besides the status "New", the reporting
// user and the active project and version.
#pragma once

#include <cstddef>

namespace bugrules {

struct NewReport {
    static constexpr int kEstimateMinutes = 60;
    // Entries of the name lists and of the project's classifications.
    static constexpr std::size_t kPriorityIndex = 2;
    static constexpr std::size_t kReproductiveIndex = 0;
    static constexpr std::size_t kSeverityIndex = 3;
    static constexpr std::size_t kClassificationIndex = 0;
};

// Why a report cannot be stored as it is.
inline constexpr char kEnterDescription[] = "Please enter description.";
inline constexpr char kSelectReportedVersion[] = "Please select a version in which it's reported!";
inline constexpr char kSelectResolvedVersion[] = "Please select a version in which it's resolved!";

}  // namespace bugrules
