#include "csv.h"

#include "clierror.h"

namespace cli {
namespace {

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace

void WriteCsvRow(const std::vector<std::string>& fields, std::ostream& out)
{
    for (std::size_t i = 0; i < fields.size(); ++i)
        out << (i > 0 ? "," : "") << CsvField(fields[i]);
    out << '\n';
}

std::vector<std::vector<std::string>> ParseCsv(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    bool rowHasContent = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
            continue;
        }
        if (c == '"') {
            quoted = true;
            rowHasContent = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
            rowHasContent = true;
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            if (rowHasContent || !field.empty()) {
                row.push_back(std::move(field));
                rows.push_back(std::move(row));
            }
            row.clear();
            field.clear();
            rowHasContent = false;
        } else {
            field += c;
        }
    }
    if (quoted) UsageError("The CSV text ends inside a quoted field");
    if (rowHasContent || !field.empty()) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace cli
