// The demo's source of chance: a fixed generator, so that the same seed
// always gives the same database.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace cli {

class DemoRandom {
public:
    explicit DemoRandom(unsigned seed) : engine_(seed) {}

    // A whole number from 0 to n - 1 (0 when n is 0).
    std::size_t Below(std::size_t n) { return n == 0 ? 0 : engine_() % n; }
    // A whole number from low to high, both included.
    int Between(int low, int high) { return low + static_cast<int>(Below(high - low + 1)); }
    // True with the given probability.
    bool Chance(double probability) { return engine_() < probability * 4294967296.0; }
    // An index chosen by weights.
    std::size_t Weighted(const std::vector<int>& weights);

    template <class T>
    const T& Pick(const std::vector<T>& items)
    {
        return items[Below(items.size())];
    }

private:
    // The generator's sequence is fixed by the language; the standard
    // distributions are not, so none is used.
    std::mt19937 engine_;
};

}  // namespace cli
