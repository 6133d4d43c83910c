#include "bugquery.h"

#include <algorithm>

#include "bugsets.h"
#include "conditions.h"
#include "fieldvalues.h"

namespace cli {
namespace {

struct SortOrder {
    const BugField* field = nullptr;  // null: by ID, the engine's own order
    bool descending = false;
};

SortOrder ParseSort(const std::string& text)
{
    SortOrder order;
    if (text.empty()) return order;
    std::string name = text;
    const std::size_t colon = text.find(':');
    if (colon != std::string::npos) {
        const std::string direction = text.substr(colon + 1);
        if (!SameText(direction, "desc") && !SameText(direction, "asc"))
            UsageError("--sort " + text + ": FIELD, FIELD:asc or FIELD:desc is needed");
        order.descending = SameText(direction, "desc");
        name = text.substr(0, colon);
    }
    order.field = &FindBugField(name);
    return order;
}

std::vector<lindor::eBugType> TypesOf(const std::string& type)
{
    if (type == "bug") return {lindor::eBug};
    if (type == "feature") return {lindor::eFeature};
    return {lindor::eBug, lindor::eFeature};
}

// A bug with the value it is sorted by.
struct Keyed {
    ComPtr<lindor::IBug> bug;
    Json key;
    std::int32_t id = 0;
};

// Orders values as the database does: nothing first, numbers by value,
// texts without regard to letter case.
int CompareValues(const Json& a, const Json& b)
{
    if (a.is_null() || b.is_null()) return a.is_null() == b.is_null() ? 0 : (a.is_null() ? -1 : 1);
    if (a.is_number() && b.is_number()) return a < b ? -1 : (b < a ? 1 : 0);
    const std::string left = Lowercase(ValueText(a));
    const std::string right = Lowercase(ValueText(b));
    return left.compare(right);
}

std::vector<Keyed> KeyedBugs(const std::vector<ComPtr<lindor::IBug>>& bugs, const SortOrder& order)
{
    const BugField& idField = FindBugField("ID");
    const BugField& keyField = order.field != nullptr ? *order.field : idField;
    std::vector<Keyed> keyed;
    for (const ComPtr<lindor::IBug>& bug : bugs)
        keyed.push_back({bug, ReadField(bug.get(), keyField, ReadStyle()),
                         NumberOf(bug.get(), &lindor::IBug::get_ID)});
    return keyed;
}

}  // namespace

std::vector<ComPtr<lindor::IBug>> RunQuery(const Session& session, Catalog& catalog,
                                           const QueryOptions& query)
{
    std::vector<Condition> conditions;
    for (const std::string& text : query.conditions) conditions.push_back(ParseCondition(text));
    const SortOrder order = ParseSort(query.sort);
    const ComPtr<lindor::IBugFilterSet> filter = BuildFilter(conditions, catalog);
    const std::size_t limit = static_cast<std::size_t>(query.limit);

    std::vector<Keyed> merged;
    for (const lindor::eBugType type : TypesOf(query.type)) {
        const ComPtr<lindor::IBugSet> set = OpenScopedSet(session, type, filter.get());
        if (order.field != nullptr)
            Check(
                set->Sort(order.field->sortColumn, order.descending ? lindor::eDesc : lindor::eAsc),
                "Set sort order failed!");
        const std::vector<Keyed> more = KeyedBugs(ReadBugs(set.get(), limit), order);
        merged.insert(merged.end(), more.begin(), more.end());
    }
    std::stable_sort(merged.begin(), merged.end(), [&](const Keyed& a, const Keyed& b) {
        const int compared = CompareValues(a.key, b.key);
        if (compared != 0) return order.descending ? compared > 0 : compared < 0;
        return a.id < b.id;
    });
    if (limit != 0 && merged.size() > limit) merged.resize(limit);
    std::vector<ComPtr<lindor::IBug>> bugs;
    for (Keyed& item : merged) bugs.push_back(std::move(item.bug));
    return bugs;
}

}  // namespace cli
