#include "dispatcher.h"

#include <functional>
#include <iostream>
#include <map>

#include "attachmentcommands.h"
#include "bugcommands.h"
#include "catalogcommands.h"
#include "clierror.h"
#include "databasecommands.h"
#include "transfercommands.h"

namespace cli {
namespace {

using Handler = std::function<int(const Options&)>;

const std::map<std::string, Handler>& Handlers()
{
    static const std::map<std::string, Handler> handlers = {
        {"create", [](const Options& o) { return DatabaseCommands(o).Create(); }},
        {"demo", [](const Options& o) { return DatabaseCommands(o).Demo(); }},
        {"sync", [](const Options& o) { return DatabaseCommands(o).Sync(); }},
        {"projects", [](const Options& o) { return CatalogCommands(o).Projects(); }},
        {"users", [](const Options& o) { return CatalogCommands(o).Users(); }},
        {"list", [](const Options& o) { return BugCommands(o).List(); }},
        {"show", [](const Options& o) { return BugCommands(o).Show(); }},
        {"add", [](const Options& o) { return BugCommands(o).Add(); }},
        {"update", [](const Options& o) { return BugCommands(o).Update(); }},
        {"delete", [](const Options& o) { return BugCommands(o).Delete(); }},
        {"attach", [](const Options& o) { return AttachmentCommands(o).Attach(); }},
        {"attachments", [](const Options& o) { return AttachmentCommands(o).List(); }},
        {"get-attachment", [](const Options& o) { return AttachmentCommands(o).Get(); }},
        {"export", [](const Options& o) { return TransferCommands(o).Export(); }},
        {"import", [](const Options& o) { return TransferCommands(o).Import(); }},
    };
    return handlers;
}

}  // namespace

int RunCommand(const Options& options)
{
    const auto handler = Handlers().find(options.command);
    if (handler == Handlers().end()) {
        std::cerr << "nimbra-cli: no command " << options.command << '\n';
        return kExitUsage;
    }
    try {
        return handler->second(options);
    } catch (const CliError& error) {
        std::cerr << "nimbra-cli: " << error.what() << '\n';
        return error.exitCode();
    } catch (const std::exception& error) {
        std::cerr << "nimbra-cli: " << error.what() << '\n';
        return kExitRefused;
    }
}

}  // namespace cli
