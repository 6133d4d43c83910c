// The command line of the stress programs: "--name value" pairs and flags.
#pragma once

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace stress {

class Options {
public:
    // `flags` are the names that take no value; every other "--name" takes one.
    Options(int argc, char** argv, int first, const std::set<std::string>& flags);

    bool Has(const std::string& name) const;
    std::string Text(const std::string& name, const std::string& fallback = "") const;
    long Number(const std::string& name, long fallback) const;
    // Fails when a name was given that the program does not know.
    void RequireOnly(const std::set<std::string>& known) const;

private:
    std::map<std::string, std::string> values_;
};

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace stress
