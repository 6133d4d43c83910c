// Bug sets opened through the context, so that every read and write stays
// within the user's scope and rights.
#pragma once

#include <cstdint>
#include <vector>

#include "engine.h"
#include "session.h"

namespace cli {

struct FoundBug {
    ComPtr<lindor::IBugSet> set;
    ComPtr<lindor::IBug> bug;
};

// The bugs of one type in scope that the filter (may be null) lets through.
ComPtr<lindor::IBugSet> OpenScopedSet(const Session& session, lindor::eBugType type,
                                      lindor::IBugFilterSet* filter);

// Bug `id`, of either type, through a set that holds only it; a refusal when
// the user's scope has no such bug.
FoundBug FindBug(const Session& session, std::int32_t id);

// A set that holds nothing, to add bugs of a type to.
ComPtr<lindor::IBugSet> OpenSetForAdding(const Session& session, lindor::eBugType type);

// The set's bugs from its first row on, at most `limit` of them (0: all).
std::vector<ComPtr<lindor::IBug>> ReadBugs(lindor::IBugSet* set, std::size_t limit);

}  // namespace cli
