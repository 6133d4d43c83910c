// A bug's field values as the command line shows them (JSON values: texts,
// numbers, null for a date not set) and as it takes them (texts).
#pragma once

#include <nlohmann/json.hpp>

#include "bugfields.h"
#include "catalog.h"

namespace cli {

using Json = nlohmann::ordered_json;

enum class DateStyle { Iso, Short };

struct ReadStyle {
    bool rtf = false;  // the long texts as stored instead of plain text
    DateStyle dates = DateStyle::Iso;
};

Json ReadField(lindor::IBug* bug, const BugField& field, const ReadStyle& style);

// A value as one line of text (tables and CSV): texts as they are, numbers
// in decimal, null as the empty text, a list joined by ", ".
std::string ValueText(const Json& value);

// "Bug" or "Feature"; the number for any other type.
std::string TypeName(lindor::eBugType type);
// Bug, Feature (letter case aside), 0 or 1; a usage error otherwise.
lindor::eBugType ParseType(const std::string& text);

// Writes a typed value into the bug: look-ups by name, dates from
// YYYY-MM-DD[ HH:MM[:SS]], minutes as a whole number, plain text of the long
// texts as RTF (RTF as it is). A value that cannot be read is a usage error,
// one the engine refuses a refusal.
class FieldWriter {
public:
    explicit FieldWriter(Catalog& catalog) : catalog_(catalog) {}

    void Write(lindor::IBug* bug, const BugField& field, const std::string& text);

private:
    Catalog& catalog_;
};

}  // namespace cli
