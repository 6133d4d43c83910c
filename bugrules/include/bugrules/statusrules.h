// What the status of a bug means for the people and dates of its
// resolution and verification.
#pragma once

#include <string>

namespace bugrules {

// The status every new report starts in.
inline constexpr char kNewStatus[] = "New";

enum class StatusKind { New, Resolved, Verified, Other };

// "New" and "Resolved" are recognised without regard to letter case,
// "Verified" only as written.
StatusKind KindOfStatus(const std::string& status);

enum class PersonChange {
    Keep,   // the stored person (and date) stay
    Stamp,  // the current user, now
    Clear   // nobody, no date
};

struct StatusEffect {
    PersonChange resolver;
    PersonChange verifier;
};
bool operator==(const StatusEffect& a, const StatusEffect& b);

// What saving a bug in status `chosen` does to who resolved and who verified
// it, when it was read in status `loaded`. Only a change of status names the
// current user: a bug that stays "Resolved" or "Verified" keeps the person
// who did it. "Verified" keeps the resolution; "Resolved" has not been
// verified yet; any other status has neither.
StatusEffect EffectOfStatus(const std::string& loaded, const std::string& chosen);

}  // namespace bugrules
