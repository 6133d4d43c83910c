// The command line of nimbra-cli: its commands and options, read into Options.
#pragma once

#include <optional>

#include <CLI/CLI.hpp>

#include "options.h"

namespace cli {

class CommandLine {
public:
    CommandLine();

    // Reads the arguments. Help is printed and a usage error reported here;
    // the result is the exit code when the program should stop now.
    std::optional<int> Parse(int argc, const char* const* argv);

    const Options& options() const { return options_; }

private:
    void AddConnectionOptions();
    void AddDatabaseCommands();
    void AddCatalogCommands();
    void AddBugCommands();
    void AddAttachmentCommands();
    void AddTransferCommands();
    CLI::App* Command(const std::string& name, const std::string& description);
    void AddQueryOptions(CLI::App* command);
    void AddFormatOption(CLI::App* command, std::vector<std::string> formats);
    void AddIdArgument(CLI::App* command);

    CLI::App app_;
    Options options_;
};

}  // namespace cli
