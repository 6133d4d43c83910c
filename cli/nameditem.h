// Records known by a number and a name (projects, versions, classifications),
// and finding one by what a user types.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cli {

struct NamedItem {
    std::int32_t id = 0;
    std::string name;
};

// The item whose name equals the text without regard to letter case, else
// the item whose number the text is; null when none.
const NamedItem* FindNamed(const std::vector<NamedItem>& items, const std::string& nameOrID);

// "A, B, C" (or "none"), for messages that say what could have been given.
std::string NamesOf(const std::vector<NamedItem>& items);
std::string JoinTexts(const std::vector<std::string>& texts);

}  // namespace cli
