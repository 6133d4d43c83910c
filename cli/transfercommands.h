// export and import: the bugs in scope to a file and back.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "catalog.h"
#include "options.h"
#include "session.h"

namespace cli {

// One record of an exported file: field name and value as text.
using ImportedRecord = std::vector<std::pair<std::string, std::string>>;

// The records of an exported file in CSV (a header row of field names) or
// JSON (an array of objects); a usage error for a file of another shape.
std::vector<ImportedRecord> ReadExportedRecords(const std::string& text, const std::string& format);

class TransferCommands {
public:
    // Opens the database, logs in and enters the project.
    explicit TransferCommands(const Options& options);

    int Export();
    // Adds every record as a new report, or none: each record is checked
    // before the first is added, and the added ones are removed again when
    // the engine refuses a later one.
    int Import();

private:
    std::vector<ComPtr<lindor::IBug>> PrepareBugs(const std::vector<ImportedRecord>& records);
    std::vector<std::int32_t> AddAll(const std::vector<ComPtr<lindor::IBug>>& bugs);

    const Options& options_;
    Session session_;
    Catalog catalog_;
};

}  // namespace cli
