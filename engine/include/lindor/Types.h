// Status codes, shared enumerations and the date value of the engine's interfaces.
#pragma once

#include <cstdint>

namespace lindor {

using HRESULT = std::int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

inline bool Succeeded(HRESULT hr)
{
    return hr >= 0;
}
inline bool Failed(HRESULT hr)
{
    return hr < 0;
}

enum eBugType : std::int32_t { eBug = 0, eFeature = 1, eAll = 2 };

enum eLogCondition : std::int32_t {
    Equal = 1,
    NotEqual = 2,
    LargerThan = 3,
    LargerEqual = 4,
    LessThan = 5,
    LessEqual = 6,
    Not = 7,
    Like = 8
};

enum eLogOperation : std::int32_t { LogAnd = 1, LogOr = 2 };

enum eBracket : std::int32_t { eNone = 0, eOpen = 1, eClose = 2 };

enum eOrder : std::int32_t { eAsc = 0, eDesc = 1 };

enum eBugField : std::int32_t {
    ColID = 0,
    ColSeverity = 1,
    ColStatus = 2,
    ColPriority = 3,
    ColReproductive = 4,
    ColDescription = 5,
    ColReport = 6,
    ColRecreateStep = 7,
    ColWorkaround = 8,
    ColResolution = 9,
    ColReportedBy = 10,
    ColReportedInVer = 11,
    ColReportedDate = 12,
    ColFixedBy = 13,
    ColFixedInVer = 14,
    ColFixedDate = 15,
    ColVerifiedBy = 16,
    ColVerifiedDate = 17,
    ColLastModifiedBy = 18,
    ColLastModifiedDate = 19,
    ColEstimatedTime = 20,
    ColDateDue = 21,
    ColClassification = 22,
    ColFixedByID = 23,
    ColFixedInVerID = 24,
    ColVerifiedByID = 25,
    ColReportedByID = 26,
    ColReportedInVerID = 27,
    ColLastModifiedByID = 28,
    ColReportedInPrjID = 29,
    ColReportedInPrj = 30,
    ColClassID = 31,
    ColBugType = 32
};

// A date is a count of days since 30 December 1899, local time; the fraction
// is the time of day. 0.0 means "not set".
using Date = double;

}  // namespace lindor
