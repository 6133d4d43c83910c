#include "commandline.h"

#include <cstring>
#include <iostream>

#include <nimbra/version.h>

#include "clierror.h"

namespace cli {

CommandLine::CommandLine()
    : app_(
          "Works with a Nimbra tracker database from the shell.\n"
          "The password comes from NIMBRA_PASSWORD, else from a prompt on the terminal.",
          "nimbra-cli")
{
    app_.require_subcommand(1);
    app_.fallthrough();  // the connection options may follow the command
    AddConnectionOptions();
    AddDatabaseCommands();
    AddCatalogCommands();
    AddBugCommands();
    AddAttachmentCommands();
    AddTransferCommands();
}

std::optional<int> CommandLine::Parse(int argc, const char* const* argv)
{
    // "--version" alone asks for the program's version; with a name or an
    // ID after it (and a command) it chooses the version to work in.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "nimbra-cli " << NIMBRA_VERSION << '\n';
        return kExitSuccess;
    }
    try {
        app_.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = app_.exit(error);
        return code == 0 ? kExitSuccess : kExitUsage;
    }
    for (const CLI::App* command : app_.get_subcommands()) options_.command = command->get_name();
    return std::nullopt;
}

CLI::App* CommandLine::Command(const std::string& name, const std::string& description)
{
    return app_.add_subcommand(name, description);
}

void CommandLine::AddConnectionOptions()
{
    ConnectionOptions& connection = options_.connection;
    app_.add_option("--db", connection.database, "The database file (else NIMBRA_DB)");
    app_.add_option("--user", connection.user, "The login name (else NIMBRA_USER)");
    app_.add_option("--project", connection.project,
                    "The project to work in, by name or ID (else the user's only project)");
    app_.add_option("--version", connection.version,
                    "The version to work in, by name or ID (else every version); "
                    "alone, prints the program's version");
}

void CommandLine::AddDatabaseCommands()
{
    CLI::App* create = Command("create", "Creates a new, empty database");
    create->add_option("path", options_.path, "The new database file")->required();

    CLI::App* demo = Command("demo", "Creates a database with a small team and their bugs");
    demo->add_option("path", options_.path, "The new database file")->required();
    demo->add_option("--bugs", options_.bugs, "How many bugs and features to report")
        ->capture_default_str()
        ->check(CLI::Range(0, 100000));
    demo->add_option("--seed", options_.seed, "The seed of the made-up data")
        ->capture_default_str();
    demo->add_option("--today", options_.today,
                     "The day the made-up year ends on, YYYY-MM-DD (default: today)");

    Command("sync",
            "Brings the names stored in bugs up to date with users, versions "
            "and classifications");
}

void CommandLine::AddCatalogCommands()
{
    AddFormatOption(Command("projects", "Lists the projects with their versions"),
                    {"table", "csv", "json"});
    AddFormatOption(Command("users", "Lists the users with their login, name and role"),
                    {"table", "csv", "json"});
}

void CommandLine::AddBugCommands()
{
    CLI::App* list = Command("list", "Lists the bugs and features in scope");
    AddQueryOptions(list);
    AddFormatOption(list, {"table", "csv", "json"});
    list->add_option("--fields", options_.fields, "The fields to show, in order")->delimiter(',');
    list->add_flag("--rtf", options_.rtf, "Give the long texts as stored (RTF)");

    CLI::App* show = Command("show", "Shows every field of one bug");
    AddIdArgument(show);
    AddFormatOption(show, {"text", "json"});
    show->add_flag("--rtf", options_.rtf, "Give the long texts as stored (RTF)");

    CLI::App* add = Command("add", "Reports a new bug or feature; prints its ID");
    add->add_option("--set", options_.assignments, "FIELD=VALUE, as often as needed");

    CLI::App* update = Command("update", "Changes fields of a bug");
    AddIdArgument(update);
    update->add_option("--set", options_.assignments, "FIELD=VALUE, as often as needed")
        ->required();

    AddIdArgument(Command("delete", "Deletes a bug with its attachments"));
}

void CommandLine::AddAttachmentCommands()
{
    CLI::App* attach = Command("attach", "Attaches a file to a bug");
    AddIdArgument(attach);
    attach->add_option("file", options_.file, "The file to attach")
        ->required()
        ->check(CLI::ExistingFile);

    CLI::App* attachments = Command("attachments", "Lists the files attached to a bug");
    AddIdArgument(attachments);
    AddFormatOption(attachments, {"table", "csv", "json"});

    CLI::App* get = Command("get-attachment", "Writes an attached file to disk");
    AddIdArgument(get);
    get->add_option("name", options_.name, "The attachment's file name")->required();
    get->add_option("destination", options_.destination,
                    "The file to write, or a folder to write it into")
        ->required();
}

void CommandLine::AddTransferCommands()
{
    CLI::App* exporting = Command("export", "Writes every field of the bugs in scope");
    AddQueryOptions(exporting);
    AddFormatOption(exporting, {"csv", "json"});
    exporting->get_option("--format")->required();
    exporting->add_option("--output", options_.output, "The file to write (else standard output)");
    exporting->add_flag("--rtf", options_.rtf, "Give the long texts as stored (RTF)");

    CLI::App* importing = Command("import", "Adds the bugs of an export, all or none");
    AddFormatOption(importing, {"csv", "json"});
    importing->get_option("--format")->required();
    importing->add_option("file", options_.file, "The exported file")
        ->required()
        ->check(CLI::ExistingFile);
}

void CommandLine::AddQueryOptions(CLI::App* command)
{
    QueryOptions& query = options_.query;
    command->add_option("--type", query.type, "bug, feature or all")
        ->capture_default_str()
        ->transform(CLI::IsMember({"bug", "feature", "all"}, CLI::ignore_case));
    command->add_option("--where", query.conditions,
                        "'FIELD OP VALUE' with OP one of = <> < <= > >= like; repeatable");
    command->add_option("--sort", query.sort, "FIELD or FIELD:desc");
    command->add_option("--limit", query.limit, "At most this many")->check(CLI::PositiveNumber);
}

void CommandLine::AddFormatOption(CLI::App* command, std::vector<std::string> formats)
{
    const std::string help = "One of: " + CLI::detail::join(formats, ", ");
    command->add_option("--format", options_.format, help)
        ->transform(CLI::IsMember(std::move(formats), CLI::ignore_case));
}

void CommandLine::AddIdArgument(CLI::App* command)
{
    command->add_option("id", options_.id, "The bug's ID")->required()->check(CLI::PositiveNumber);
}

}  // namespace cli
