#include "transfercommands.h"

#include <fstream>
#include <iostream>
#include <set>
#include <sstream>

#include "bugeditor.h"
#include "bugquery.h"
#include "bugrecord.h"
#include "bugsets.h"
#include "csv.h"
#include "records.h"

namespace cli {
namespace {

// What an import takes from the tracker instead of the file: the numbers,
// the dates of the report's history, the last change and the project (the
// active one). The attachments' names come without their files.
const std::set<std::string> kIgnoredOnImport = {"id",
                                                "reporteddate",
                                                "fixeddate",
                                                "verifieddate",
                                                "lastmodifieddate",
                                                "lastmodifiedby",
                                                "reportedinproject",
                                                "attachments"};

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) Refuse("Cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<ImportedRecord> RecordsFromCsv(const std::string& text)
{
    const std::vector<std::vector<std::string>> rows = ParseCsv(text);
    std::vector<ImportedRecord> records;
    if (rows.empty()) return records;
    const std::vector<std::string>& header = rows.front();
    for (std::size_t r = 1; r < rows.size(); ++r) {
        if (rows[r].size() != header.size())
            UsageError("Row " + std::to_string(r) + ": " + std::to_string(rows[r].size()) +
                       " fields where the header has " + std::to_string(header.size()));
        ImportedRecord record;
        for (std::size_t c = 0; c < header.size(); ++c) record.emplace_back(header[c], rows[r][c]);
        records.push_back(std::move(record));
    }
    return records;
}

std::vector<ImportedRecord> RecordsFromJson(const std::string& text)
{
    const Json array = Json::parse(text, nullptr, false);
    if (!array.is_array()) UsageError("The JSON file is not an array of records");
    std::vector<ImportedRecord> records;
    for (std::size_t r = 0; r < array.size(); ++r) {
        if (!array[r].is_object())
            UsageError("Row " + std::to_string(r + 1) + ": not a JSON object");
        ImportedRecord record;
        for (const auto& [key, value] : array[r].items())
            record.emplace_back(key, ValueText(value));
        records.push_back(std::move(record));
    }
    return records;
}

std::vector<Assignment> AssignmentsOf(const ImportedRecord& record)
{
    std::vector<Assignment> assignments;
    for (const auto& [name, value] : record) {
        if (kIgnoredOnImport.count(Lowercase(name)) > 0) continue;
        assignments.push_back({&FindBugField(name), value});
    }
    return assignments;
}

// Runs a step for one record; its failure names the record.
template <class Step>
auto ForRow(std::size_t row, Step step)
{
    try {
        return step();
    } catch (const CliError& error) {
        throw CliError(error.exitCode(),
                       "Row " + std::to_string(row) + ": " + error.what() + "; no bug was added");
    }
}

}  // namespace

std::vector<ImportedRecord> ReadExportedRecords(const std::string& text, const std::string& format)
{
    return format == "json" ? RecordsFromJson(text) : RecordsFromCsv(text);
}

TransferCommands::TransferCommands(const Options& options)
    : options_(options), session_(options.connection), catalog_(session_)
{
    session_.Login();
    session_.EnterProject();
}

int TransferCommands::Export()
{
    ReadStyle style;
    style.rtf = options_.rtf;
    std::vector<Json> records;
    for (const ComPtr<lindor::IBug>& bug : RunQuery(session_, catalog_, options_.query))
        records.push_back(ReadBugRecord(bug.get(), {}, style, true));
    std::vector<std::string> columns = AllFieldNames();
    columns.push_back(kAttachmentsKey);
    if (options_.output.empty()) {
        WriteRecords(records, columns, options_.format, std::cout);
        return kExitSuccess;
    }
    std::ofstream out(options_.output, std::ios::binary | std::ios::trunc);
    if (out) WriteRecords(records, columns, options_.format, out);
    out.close();
    if (!out) Refuse("Cannot write " + options_.output);
    return kExitSuccess;
}

std::vector<ComPtr<lindor::IBug>> TransferCommands::PrepareBugs(
    const std::vector<ImportedRecord>& records)
{
    BugEditor editor(session_, catalog_);
    std::vector<ComPtr<lindor::IBug>> bugs;
    for (std::size_t r = 0; r < records.size(); ++r) {
        bugs.push_back(ForRow(r + 1, [&] {
            ComPtr<lindor::IBug> bug = editor.NewReport();
            editor.Apply(bug.get(), AssignmentsOf(records[r]), EditMode::Import);
            return bug;
        }));
    }
    return bugs;
}

std::vector<std::int32_t> TransferCommands::AddAll(const std::vector<ComPtr<lindor::IBug>>& bugs)
{
    std::map<lindor::eBugType, ComPtr<lindor::IBugSet>> sets;
    std::vector<std::pair<lindor::IBugSet*, std::int32_t>> added;
    for (std::size_t r = 0; r < bugs.size(); ++r) {
        lindor::eBugType type = lindor::eBug;
        Check(bugs[r]->get_BugType(&type), "Reading the bug's type failed");
        ComPtr<lindor::IBugSet>& set = sets[type];
        if (!set) set = OpenSetForAdding(session_, type);
        ComPtr<lindor::IBug> stored;
        if (lindor::Succeeded(set->Add(bugs[r].get(), stored.put()))) {
            added.emplace_back(set.get(), NumberOf(stored.get(), &lindor::IBug::get_ID));
            continue;
        }
        const std::string why = EngineMessage("Add bug failed!");
        std::size_t left = 0;
        for (const auto& [addedTo, id] : added)
            if (lindor::Failed(addedTo->RemoveByID(id))) ++left;
        Refuse("Row " + std::to_string(r + 1) + ": " + why +
               (left == 0
                    ? "; no bug was added"
                    : "; " + std::to_string(left) + " bugs added before it could not be removed"));
    }
    std::vector<std::int32_t> ids;
    for (const auto& entry : added) ids.push_back(entry.second);
    return ids;
}

int TransferCommands::Import()
{
    const std::vector<ImportedRecord> records =
        ReadExportedRecords(ReadWholeFile(options_.file), options_.format);
    for (std::int32_t id : AddAll(PrepareBugs(records))) std::cout << id << '\n';
    return kExitSuccess;
}

}  // namespace cli
