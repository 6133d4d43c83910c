#include "records.h"

#include <algorithm>

#include <richtext/utf8.h>

#include "csv.h"

namespace cli {
namespace {

constexpr std::size_t kWidestColumn = 60;

// A value on one line, at most `width` characters.
std::u32string TableCell(const Json& value, std::size_t width)
{
    std::u32string text = richtext::DecodeUtf8(ValueText(value));
    std::replace_if(
        text.begin(), text.end(), [](char32_t c) { return c == U'\n' || c == U'\t' || c == U'\r'; },
        U' ');
    if (text.size() > width) {
        text.resize(width - 1);
        text += U'\u2026';
    }
    return text;
}

std::string Utf8(const std::u32string& text)
{
    std::string out;
    for (char32_t c : text) richtext::AppendUtf8(c, &out);
    return out;
}

void WriteTable(const std::vector<Json>& records, const std::vector<std::string>& columns,
                std::ostream& out)
{
    std::vector<std::size_t> widths;
    for (const std::string& column : columns) {
        std::size_t width = column.size();
        for (const Json& record : records)
            width = std::max(width, TableCell(record.value(column, Json()), kWidestColumn).size());
        widths.push_back(width);
    }
    const auto writeRow = [&](const std::vector<std::u32string>& cells) {
        std::string line;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            line += Utf8(cells[i]);
            if (i + 1 < cells.size()) line += std::string(widths[i] - cells[i].size() + 2, ' ');
        }
        out << line << '\n';
    };
    std::vector<std::u32string> header;
    for (const std::string& column : columns) header.push_back(richtext::DecodeUtf8(column));
    writeRow(header);
    for (const Json& record : records) {
        std::vector<std::u32string> cells;
        for (const std::string& column : columns)
            cells.push_back(TableCell(record.value(column, Json()), kWidestColumn));
        writeRow(cells);
    }
}

void WriteCsv(const std::vector<Json>& records, const std::vector<std::string>& columns,
              std::ostream& out)
{
    WriteCsvRow(columns, out);
    for (const Json& record : records) {
        std::vector<std::string> fields;
        for (const std::string& column : columns) {
            const Json value = record.value(column, Json());
            if (value.is_array()) {
                std::string joined;
                for (const Json& item : value)
                    joined += (joined.empty() ? "" : "\n") + ValueText(item);
                fields.push_back(joined);
            } else {
                fields.push_back(ValueText(value));
            }
        }
        WriteCsvRow(fields, out);
    }
}

void WriteJson(const std::vector<Json>& records, const std::vector<std::string>& columns,
               std::ostream& out)
{
    Json array = Json::array();
    for (const Json& record : records) {
        Json object = Json::object();
        for (const std::string& column : columns) object[column] = record.value(column, Json());
        array.push_back(std::move(object));
    }
    out << array.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

}  // namespace

void WriteRecords(const std::vector<Json>& records, const std::vector<std::string>& columns,
                  const std::string& format, std::ostream& out)
{
    if (format == "csv") return WriteCsv(records, columns, out);
    if (format == "json") return WriteJson(records, columns, out);
    WriteTable(records, columns, out);
}

}  // namespace cli
