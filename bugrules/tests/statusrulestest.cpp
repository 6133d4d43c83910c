// Who resolved and who verified a bug, as a status change leaves them.
#include <gtest/gtest.h>

#include "bugrules/statusrules.h"

namespace bugrules {
namespace {

constexpr PersonChange kKeep = PersonChange::Keep;
constexpr PersonChange kStamp = PersonChange::Stamp;
constexpr PersonChange kClear = PersonChange::Clear;

TEST(StatusRules, NewAndResolvedIgnoreLetterCaseVerifiedDoesNot)
{
    EXPECT_EQ(KindOfStatus("new"), StatusKind::New);
    EXPECT_EQ(KindOfStatus("RESOLVED"), StatusKind::Resolved);
    EXPECT_EQ(KindOfStatus("Verified"), StatusKind::Verified);
    EXPECT_EQ(KindOfStatus("verified"), StatusKind::Other);
    EXPECT_EQ(KindOfStatus("Resolved "), StatusKind::Other);
    EXPECT_EQ(KindOfStatus(""), StatusKind::Other);
}

TEST(StatusRules, OnlyAChangeOfStatusNamesTheCurrentUser)
{
    EXPECT_EQ(EffectOfStatus("Active", "Resolved"), (StatusEffect{kStamp, kClear}));
    EXPECT_EQ(EffectOfStatus("resolved", "Resolved"), (StatusEffect{kKeep, kClear}));
    EXPECT_EQ(EffectOfStatus("Resolved", "Verified"), (StatusEffect{kKeep, kStamp}));
    EXPECT_EQ(EffectOfStatus("Verified", "Verified"), (StatusEffect{kKeep, kKeep}));
    EXPECT_EQ(EffectOfStatus("Verified", "Resolved"), (StatusEffect{kStamp, kClear}));
}

TEST(StatusRules, AnyOtherStatusHasNeitherResolverNorVerifier)
{
    for (const char* status : {"New", "Active", "Will Not Fix", "verified"}) {
        EXPECT_EQ(EffectOfStatus("Verified", status), (StatusEffect{kClear, kClear})) << status;
        EXPECT_EQ(EffectOfStatus(status, status), (StatusEffect{kClear, kClear})) << status;
    }
}

}  // namespace
}  // namespace bugrules
