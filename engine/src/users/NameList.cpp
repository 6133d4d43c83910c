#include "users/NameList.h"

#include <algorithm>

namespace lindor {

std::int32_t NameList::Count() const
{
    return static_cast<std::int32_t>(names_.size());
}

std::string NameList::Item(std::int32_t index) const
{
    if (index < 0 || index >= Count()) return std::string();
    return names_[static_cast<std::size_t>(index)];
}

bool NameList::Contains(const std::string& name) const
{
    return std::find(names_.begin(), names_.end(), name) != names_.end();
}

void NameList::Add(const std::string& name)
{
    if (!Contains(name)) names_.push_back(name);
}

void NameList::Remove(const std::string& name)
{
    names_.erase(std::remove(names_.begin(), names_.end(), name), names_.end());
}

void NameList::Clear()
{
    names_.clear();
}

}  // namespace lindor
