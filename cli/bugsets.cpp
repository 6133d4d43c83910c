#include "bugsets.h"

#include "conditions.h"

namespace cli {
namespace {

ComPtr<lindor::IBugFilterSet> OnlyBug(std::int32_t id)
{
    const ComPtr<lindor::IBugFilterSet> set =
        CreateEngineObject<lindor::IBugFilterSet>("Lindor.BugFilterSet.1");
    Check(set->Add(MakeFilter("BugID", lindor::Equal, lindor::Variant::I4(id)).get()),
          "Adding a condition failed");
    return set;
}

}  // namespace

ComPtr<lindor::IBugSet> OpenScopedSet(const Session& session, lindor::eBugType type,
                                      lindor::IBugFilterSet* filter)
{
    ComPtr<lindor::IBugSet> set;
    Check(session.context()->OpenBugSet(type, filter, set.put()), "Open bug failed!");
    return set;
}

FoundBug FindBug(const Session& session, std::int32_t id)
{
    const ComPtr<lindor::IBugFilterSet> filter = OnlyBug(id);
    for (const lindor::eBugType type : {lindor::eBug, lindor::eFeature}) {
        FoundBug found;
        found.set = OpenScopedSet(session, type, filter.get());
        if (NumberOf(found.set.get(), &lindor::IBugSet::get_Count) == 0) continue;
        Check(found.set->First(), "Move First Failed");
        found.bug = ObjectOf(found.set.get(), &lindor::IBugSet::get_CurItem);
        if (found.bug) return found;
    }
    Refuse("There is no bug " + std::to_string(id) + " in the project " + session.projectName() +
           (session.versionID() != 0 ? " and version" : ""));
}

ComPtr<lindor::IBugSet> OpenSetForAdding(const Session& session, lindor::eBugType type)
{
    // No bug has the number 0, so the set reads no row before the adding.
    return OpenScopedSet(session, type, OnlyBug(0).get());
}

std::vector<ComPtr<lindor::IBug>> ReadBugs(lindor::IBugSet* set, std::size_t limit)
{
    std::vector<ComPtr<lindor::IBug>> bugs;
    Check(set->First(), "Move First Failed");
    std::int32_t atEnd = 0;
    for (Check(set->IsEnd(&atEnd), "Reading the bugs failed"); atEnd == 0;
         Check(set->IsEnd(&atEnd), "Reading the bugs failed")) {
        if (limit != 0 && bugs.size() >= limit) break;
        bugs.push_back(ObjectOf(set, &lindor::IBugSet::get_CurItem));
        Check(set->Next(), "Move Next Failed");
    }
    return bugs;
}

}  // namespace cli
