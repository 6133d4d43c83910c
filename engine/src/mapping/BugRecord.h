// The stored fields of one bug, as the bug object keeps them in memory.
#pragma once

#include <cstdint>
#include <string>

#include <lindor/Types.h>

namespace lindor {

// Dates are day counts (0.0 = not set); an ID of 0 names nothing and goes
// with an empty name. `estimatedTime` is in whole minutes; `bugType` holds
// any number the caller set (an eBugType value normally).
struct BugRecord {
    std::int32_t id = 0;
    std::string description;
    std::string report;
    std::string recreateStep;
    std::string workaround;
    std::string resolution;
    std::string status;
    std::string priority;
    std::string severity;
    std::string reproductive;
    std::int32_t classificationID = 0;
    std::string classification;
    std::int32_t reportedByID = 0;
    std::string reportedBy;
    Date reportedDate = 0.0;
    std::int32_t reportedInProjectID = 0;
    std::string reportedInProject;
    std::int32_t reportedInVersionID = 0;
    std::string reportedInVersion;
    std::int32_t fixedByID = 0;
    std::string fixedBy;
    Date fixedDate = 0.0;
    std::int32_t fixedInVersionID = 0;
    std::string fixedInVersion;
    std::int32_t verifiedByID = 0;
    std::string verifiedBy;
    Date verifiedDate = 0.0;
    std::int32_t lastModifiedByID = 0;
    std::string lastModifiedBy;
    Date lastModifiedDate = 0.0;
    std::int32_t estimatedTime = 0;
    Date actualTime = 0.0;
    Date dateDue = 0.0;
    std::int32_t bugType = eBug;
};

}  // namespace lindor
