#include "bugcommands.h"

#include <iostream>

#include "bugeditor.h"
#include "bugquery.h"
#include "bugrecord.h"
#include "bugsets.h"
#include "records.h"

namespace cli {
namespace {

// What a table shows when no --fields are given.
const std::vector<std::string> kTableColumns = {"ID",       "BugType",    "Status",  "Priority",
                                                "Severity", "ReportedBy", "DateDue", "Description"};

std::vector<std::string> ListColumns(const Options& options)
{
    if (options.fields.empty())
        return options.format == "csv" || options.format == "json" ? AllFieldNames()
                                                                   : kTableColumns;
    std::vector<std::string> columns;
    for (const std::string& name : options.fields) columns.push_back(FindBugField(name).name);
    return columns;
}

// Prints a long text indented under its name, one line each.
void PrintBlock(const std::string& name, const std::string& text)
{
    std::cout << name << ":\n";
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find('\n', start);
        std::cout << "    " << text.substr(start, end == std::string::npos ? end : end - start)
                  << '\n';
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

}  // namespace

BugCommands::BugCommands(const Options& options)
    : options_(options), session_(options.connection), catalog_(session_)
{
    session_.Login();
    session_.EnterProject();
}

int BugCommands::List()
{
    const std::vector<std::string> columns = ListColumns(options_);
    ReadStyle style;
    style.rtf = options_.rtf;
    const bool table = options_.format != "csv" && options_.format != "json";
    style.dates = table ? DateStyle::Short : DateStyle::Iso;
    std::vector<Json> records;
    for (const ComPtr<lindor::IBug>& bug : RunQuery(session_, catalog_, options_.query))
        records.push_back(ReadBugRecord(bug.get(), columns, style, false));
    WriteRecords(records, columns, table ? "table" : options_.format, std::cout);
    return kExitSuccess;
}

void BugCommands::ShowAsText(lindor::IBug* bug)
{
    ReadStyle style;
    style.rtf = options_.rtf;
    style.dates = DateStyle::Short;
    for (const BugField& field : BugFields()) {
        const std::string value = ValueText(ReadField(bug, field, style));
        if (field.kind == FieldKind::RichText) {
            if (!value.empty()) PrintBlock(field.name, value);
            continue;
        }
        std::cout << field.name << ": " << std::string(18 - std::string(field.name).size(), ' ')
                  << value << '\n';
    }
    const std::vector<std::string> files = AttachmentNames(bug);
    if (!files.empty()) PrintBlock(kAttachmentsKey, ValueText(Json(files)));
}

int BugCommands::Show()
{
    const FoundBug found = FindBug(session_, options_.id);
    if (options_.format == "json") {
        ReadStyle style;
        style.rtf = options_.rtf;
        const Json record = ReadBugRecord(found.bug.get(), {}, style, true);
        std::vector<std::string> columns = AllFieldNames();
        columns.push_back(kAttachmentsKey);
        WriteRecords({record}, columns, "json", std::cout);
        return kExitSuccess;
    }
    ShowAsText(found.bug.get());
    return kExitSuccess;
}

int BugCommands::Add()
{
    BugEditor editor(session_, catalog_);
    const ComPtr<lindor::IBug> bug = editor.NewReport();
    editor.Apply(bug.get(), ParseAssignments(options_.assignments), EditMode::NewReport);
    lindor::eBugType type = lindor::eBug;
    Check(bug->get_BugType(&type), "Reading the bug's type failed");
    const ComPtr<lindor::IBugSet> set = OpenSetForAdding(session_, type);
    ComPtr<lindor::IBug> added;
    Check(set->Add(bug.get(), added.put()), "Add bug failed!");
    std::cout << NumberOf(added.get(), &lindor::IBug::get_ID) << '\n';
    return kExitSuccess;
}

int BugCommands::Update()
{
    const FoundBug found = FindBug(session_, options_.id);
    BugEditor editor(session_, catalog_);
    editor.Apply(found.bug.get(), ParseAssignments(options_.assignments), EditMode::Edit);
    Check(found.set->Update(found.bug.get()), "Update bug failed!");
    return kExitSuccess;
}

int BugCommands::Delete()
{
    const FoundBug found = FindBug(session_, options_.id);
    Check(found.set->RemoveByID(options_.id), "Delete bug failed!");
    return kExitSuccess;
}

}  // namespace cli
