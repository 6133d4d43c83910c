// Printing records (JSON objects with the same keys) as a table, CSV or JSON.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "fieldvalues.h"

namespace cli {

// `columns` are the keys to print, in order. A table cuts long values and
// shows each on one line; CSV and JSON keep them whole.
void WriteRecords(const std::vector<Json>& records, const std::vector<std::string>& columns,
                  const std::string& format, std::ostream& out);

}  // namespace cli
