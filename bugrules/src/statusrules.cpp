#include "bugrules/statusrules.h"

#include <algorithm>
#include <cctype>

namespace bugrules {
namespace {

bool SameLetters(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

PersonChange StampUnlessKept(StatusKind loaded, StatusKind chosen)
{
    return loaded == chosen ? PersonChange::Keep : PersonChange::Stamp;
}

}  // namespace

bool operator==(const StatusEffect& a, const StatusEffect& b)
{
    return a.resolver == b.resolver && a.verifier == b.verifier;
}

StatusKind KindOfStatus(const std::string& status)
{
    if (SameLetters(status, kNewStatus)) return StatusKind::New;
    if (SameLetters(status, "Resolved")) return StatusKind::Resolved;
    if (status == "Verified") return StatusKind::Verified;
    return StatusKind::Other;
}

StatusEffect EffectOfStatus(const std::string& loaded, const std::string& chosen)
{
    const StatusKind before = KindOfStatus(loaded);
    const StatusKind after = KindOfStatus(chosen);
    switch (after) {
        case StatusKind::Resolved:
            return {StampUnlessKept(before, after), PersonChange::Clear};
        case StatusKind::Verified:
            return {PersonChange::Keep, StampUnlessKept(before, after)};
        case StatusKind::New:
        case StatusKind::Other:
            break;
    }
    return {PersonChange::Clear, PersonChange::Clear};
}

}  // namespace bugrules
