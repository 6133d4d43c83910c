#include "nameditem.h"

#include "engine.h"

namespace cli {

const NamedItem* FindNamed(const std::vector<NamedItem>& items, const std::string& nameOrID)
{
    for (const NamedItem& item : items)
        if (SameText(item.name, nameOrID)) return &item;
    for (const NamedItem& item : items)
        if (std::to_string(item.id) == nameOrID) return &item;
    return nullptr;
}

std::string JoinTexts(const std::vector<std::string>& texts)
{
    if (texts.empty()) return "none";
    std::string joined;
    for (const std::string& text : texts) joined += (joined.empty() ? "" : ", ") + text;
    return joined;
}

std::string NamesOf(const std::vector<NamedItem>& items)
{
    std::vector<std::string> names;
    for (const NamedItem& item : items) names.push_back(item.name);
    return JoinTexts(names);
}

}  // namespace cli
