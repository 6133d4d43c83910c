// What a checker found wrong, grouped by check, with a few examples each.
#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace stress {

class Findings {
public:
    void Add(const std::string& check, const std::string& detail)
    {
        problems_[check].push_back(detail);
    }
    // Adds another's findings, each detail prefixed with `where`.
    void Merge(const Findings& other, const std::string& where)
    {
        for (const auto& [check, details] : other.problems_)
            for (const std::string& detail : details) Add(check, where + ": " + detail);
    }
    bool Clean() const { return problems_.empty(); }
    bool Has(const std::string& check) const { return problems_.count(check) != 0; }
    std::size_t Count(const std::string& check) const
    {
        const auto found = problems_.find(check);
        return found == problems_.end() ? 0 : found->second.size();
    }
    std::size_t Count() const
    {
        std::size_t n = 0;
        for (const auto& entry : problems_) n += entry.second.size();
        return n;
    }
    void Print(std::FILE* out, std::size_t examples = 5) const
    {
        for (const auto& [check, details] : problems_) {
            std::fprintf(out, "  FAILED %s: %zu\n", check.c_str(), details.size());
            for (std::size_t i = 0; i < details.size() && i < examples; ++i)
                std::fprintf(out, "      %s\n", details[i].c_str());
        }
    }

private:
    std::map<std::string, std::vector<std::string>> problems_;
};

}  // namespace stress
