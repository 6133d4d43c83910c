// The made-up products and texts of the demo database: two products, their
// versions and classifications, and bug and feature reports that read like
// a real team's.
#pragma once

#include <string>
#include <vector>

#include "demorandom.h"

namespace cli {

struct DemoVersion {
    std::string name;
    std::string description;
    int releasedDaysAgo;  // negative: planned for the future
};

struct DemoProduct {
    std::string name;
    std::string description;
    std::vector<DemoVersion> versions;
    std::vector<std::string> classifications;
    std::vector<std::string> areas;  // parts of the product a report is about
};

// The texts of one report; the long texts are plain text with line breaks.
struct DemoStory {
    std::string description;
    std::string report;
    std::string recreateSteps;
    std::string workaround;
    std::string resolution;
    std::size_t classification = 0;  // index into the product's classifications
};

const std::vector<DemoProduct>& DemoProducts();

DemoStory MakeBugStory(const DemoProduct& product, const std::string& version, DemoRandom& random);
DemoStory MakeFeatureStory(const DemoProduct& product, DemoRandom& random);

}  // namespace cli
