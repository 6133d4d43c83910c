#include "fieldvalues.h"

#include <richtext/plaintext.h>

#include "datetext.h"
#include "engine.h"

namespace cli {
namespace {

std::string Context(const BugField& field, const std::string& text)
{
    return std::string(field.name) + "=" + text + ": ";
}

std::int32_t WholeNumber(const BugField& field, const std::string& text)
{
    std::size_t used = 0;
    long value = -1;
    try {
        value = std::stol(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || value < 0 || value > 0x7FFFFFFF)
        UsageError(Context(field, text) + "a whole number of minutes is needed");
    return static_cast<std::int32_t>(value);
}

double DateValue(const BugField& field, const std::string& text)
{
    if (text.empty()) return 0.0;
    const std::optional<double> date = ParseDateText(text);
    if (!date) UsageError(Context(field, text) + "a date YYYY-MM-DD[ HH:MM[:SS]] is needed");
    return *date;
}

std::string StoredRichText(const std::string& text)
{
    if (text.empty() || richtext::IsRtf(text)) return text;
    return richtext::PlainTextToRtf(text);
}

const char* const kWriteFailed = "Writing a field of the bug failed";

}  // namespace

std::string TypeName(lindor::eBugType type)
{
    if (type == lindor::eBug) return "Bug";
    if (type == lindor::eFeature) return "Feature";
    return std::to_string(static_cast<int>(type));
}

lindor::eBugType ParseType(const std::string& text)
{
    if (SameText(text, "bug") || text == "0") return lindor::eBug;
    if (SameText(text, "feature") || text == "1") return lindor::eFeature;
    UsageError("BugType=" + text + ": Bug or Feature is needed");
}

Json ReadField(lindor::IBug* bug, const BugField& field, const ReadStyle& style)
{
    switch (field.kind) {
        case FieldKind::Id:
        case FieldKind::Minutes:
            return NumberOf(bug, field.getNumber);
        case FieldKind::Type: {
            lindor::eBugType type = lindor::eBug;
            Check(bug->get_BugType(&type), "Reading the bug's type failed");
            return TypeName(type);
        }
        case FieldKind::RichText: {
            const std::string stored = TextOf(bug, field.getText);
            return style.rtf ? stored : richtext::RtfToPlainText(stored);
        }
        case FieldKind::Date: {
            lindor::Date date = 0.0;
            Check((bug->*field.getDate)(&date), "Reading a date of the bug failed");
            if (date == 0.0) return nullptr;
            return style.dates == DateStyle::Iso ? IsoDateText(date) : ShortDateText(date);
        }
        default:
            return TextOf(bug, field.getText);
    }
}

std::string ValueText(const Json& value)
{
    if (value.is_null()) return std::string();
    if (value.is_string()) return value.get<std::string>();
    if (value.is_array()) {
        std::string joined;
        for (const Json& item : value) joined += (joined.empty() ? "" : ", ") + ValueText(item);
        return joined;
    }
    return value.dump();
}

void FieldWriter::Write(lindor::IBug* bug, const BugField& field, const std::string& text)
{
    switch (field.kind) {
        case FieldKind::Type:
            return Check(bug->put_BugType(ParseType(text)), kWriteFailed);
        case FieldKind::Text:
            return Check((bug->*field.setText)(text), kWriteFailed);
        case FieldKind::RichText:
            return Check((bug->*field.setText)(StoredRichText(text)), kWriteFailed);
        case FieldKind::Listed:
            return Check((bug->*field.setText)(catalog_.ListName(field.list, text)), kWriteFailed);
        case FieldKind::Classification:
            return Check((bug->*field.setNumber)(catalog_.ClassificationID(text)), kWriteFailed);
        case FieldKind::Version:
            return Check((bug->*field.setNumber)(catalog_.VersionID(text)), kWriteFailed);
        case FieldKind::User:
            return Check((bug->*field.setNumber)(text.empty() ? 0 : catalog_.User(text).id),
                         kWriteFailed);
        case FieldKind::Date:
            return Check((bug->*field.setDate)(DateValue(field, text)), kWriteFailed);
        case FieldKind::Minutes:
            return Check((bug->*field.setNumber)(WholeNumber(field, text)), kWriteFailed);
        case FieldKind::Id:
        case FieldKind::Project:
            break;
    }
    UsageError(std::string(field.name) + " cannot be given");
}

}  // namespace cli
