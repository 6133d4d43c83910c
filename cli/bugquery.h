// The bugs a listing or an export covers: of one type or both, filtered by
// the --where conditions, sorted, limited.
#pragma once

#include <vector>

#include "catalog.h"
#include "options.h"
#include "session.h"

namespace cli {

// Runs the query. Each type's set is sorted by the engine; for both types
// the two sorted lists are merged in the same order (texts without regard to
// letter case, ties by ID).
std::vector<ComPtr<lindor::IBug>> RunQuery(const Session& session, Catalog& catalog,
                                           const QueryOptions& query);

}  // namespace cli
