// Comma-separated values as spreadsheets and Python's csv module read and
// write them: fields with a comma, a quote or a line break stand between
// double quotes, a quote inside is doubled.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

void WriteCsvRow(const std::vector<std::string>& fields, std::ostream& out);

// The rows of a CSV text; a usage error for a quote that is never closed.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text);

}  // namespace cli
