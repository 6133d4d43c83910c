#include "demorandom.h"

#include <numeric>

namespace cli {

std::size_t DemoRandom::Weighted(const std::vector<int>& weights)
{
    const int total = std::accumulate(weights.begin(), weights.end(), 0);
    int drawn = static_cast<int>(Below(static_cast<std::size_t>(total)));
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (drawn < weights[i]) return i;
        drawn -= weights[i];
    }
    return weights.size() - 1;
}

}  // namespace cli
