#include "engine.h"

#include <algorithm>
#include <cctype>

namespace cli {

std::string EngineMessage(const std::string& fallback)
{
    std::string description;
    if (lindor::GetErrorInfo(&description, nullptr) && !description.empty()) {
        while (!description.empty() && (description.back() == '\n' || description.back() == '\r'))
            description.pop_back();
        return description;
    }
    return fallback;
}

std::string Lowercase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && Lowercase(a) == Lowercase(b);
}

}  // namespace cli
