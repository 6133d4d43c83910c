#include "common/Options.h"

#include <cstdlib>

namespace stress {

Options::Options(int argc, char** argv, int first, const std::set<std::string>& flags)
{
    for (int i = first; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0) throw UsageError("unexpected argument: " + arg);
        const std::string name = arg.substr(2);
        if (flags.count(name) != 0) {
            values_[name] = "1";
            continue;
        }
        if (i + 1 >= argc) throw UsageError("--" + name + " needs a value");
        values_[name] = argv[++i];
    }
}

bool Options::Has(const std::string& name) const
{
    return values_.count(name) != 0;
}

std::string Options::Text(const std::string& name, const std::string& fallback) const
{
    const auto found = values_.find(name);
    return found == values_.end() ? fallback : found->second;
}

long Options::Number(const std::string& name, long fallback) const
{
    const auto found = values_.find(name);
    if (found == values_.end()) return fallback;
    char* end = nullptr;
    const long value = std::strtol(found->second.c_str(), &end, 10);
    if (end == found->second.c_str() || *end != '\0')
        throw UsageError("--" + name + " needs a number, not " + found->second);
    return value;
}

void Options::RequireOnly(const std::set<std::string>& known) const
{
    for (const auto& entry : values_)
        if (known.count(entry.first) == 0) throw UsageError("unknown option --" + entry.first);
}

}  // namespace stress
