#include "conditions.h"

#include <cctype>

#include "datetext.h"
#include "fieldvalues.h"

namespace cli {
namespace {

struct Operator {
    const char* text;
    lindor::eLogCondition comparison;
};

// Two-character operators first, so that "<=" is not read as "<".
const Operator kOperators[] = {{"<=", lindor::LessEqual}, {">=", lindor::LargerEqual},
                               {"<>", lindor::NotEqual},  {"=", lindor::Equal},
                               {"<", lindor::LessThan},   {">", lindor::LargerThan}};

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A value between quotes loses them; two single quotes inside single quotes
// stand for one.
std::string Unquoted(const std::string& value)
{
    if (value.size() < 2) return value;
    const char quote = value.front();
    if ((quote != '\'' && quote != '"') || value.back() != quote) return value;
    std::string inner = value.substr(1, value.size() - 2);
    const std::string doubled(2, quote);
    for (std::size_t at = inner.find(doubled); at != std::string::npos;
         at = inner.find(doubled, at + 1))
        inner.erase(at, 1);
    return inner;
}

[[noreturn]] void BadCondition(const std::string& text)
{
    UsageError("The condition \"" + text +
               "\" is not FIELD OP VALUE with OP one of = <> < <= > >= like");
}

bool TakeOperator(const std::string& rest, lindor::eLogCondition* comparison, std::size_t* length)
{
    for (const Operator& op : kOperators) {
        const std::size_t n = std::char_traits<char>::length(op.text);
        if (rest.compare(0, n, op.text) == 0) {
            *comparison = op.comparison;
            *length = n;
            return true;
        }
    }
    if (rest.size() > 4 && SameText(rest.substr(0, 4), "like") &&
        (rest[4] == ' ' || rest[4] == '\t')) {
        *comparison = lindor::Like;
        *length = 4;
        return true;
    }
    return false;
}

lindor::Variant ConditionValue(const Condition& condition, Catalog& catalog, std::string* column)
{
    const BugField& field = *condition.field;
    *column = field.filterColumn;
    switch (field.kind) {
        case FieldKind::Id:
            try {
                return lindor::Variant::I4(std::stoi(condition.value));
            } catch (const std::exception&) {
                UsageError("ID " + condition.value + ": a number is needed");
            }
        case FieldKind::Type:
            return lindor::Variant::UI1(static_cast<std::uint8_t>(ParseType(condition.value)));
        case FieldKind::Date: {
            const std::optional<double> date = ParseDateText(condition.value);
            if (!date)
                UsageError(std::string(field.name) + " " + condition.value +
                           ": a date YYYY-MM-DD is needed");
            return lindor::Variant::Date(*date);
        }
        case FieldKind::User:
            if (condition.comparison == lindor::Equal || condition.comparison == lindor::NotEqual) {
                *column = field.filterIdColumn;
                return lindor::Variant::I4(
                    condition.value.empty() ? 0 : catalog.User(condition.value).id);
            }
            return lindor::Variant::Text(condition.value);
        default:
            return lindor::Variant::Text(condition.value);
    }
}

}  // namespace

Condition ParseCondition(const std::string& text)
{
    std::size_t at = 0;
    while (at < text.size() &&
           (std::isalnum(static_cast<unsigned char>(text[at])) || text[at] == '_'))
        ++at;
    if (at == 0) BadCondition(text);
    Condition condition;
    condition.field = &FindBugField(text.substr(0, at));
    const std::string rest = Trimmed(text.substr(at));
    std::size_t length = 0;
    if (!TakeOperator(rest, &condition.comparison, &length)) BadCondition(text);
    condition.value = Unquoted(Trimmed(rest.substr(length)));
    if (condition.field->filterColumn == nullptr)
        UsageError(std::string(condition.field->name) + " cannot be used in a condition");
    return condition;
}

ComPtr<lindor::IBugFilter> MakeFilter(const std::string& column, lindor::eLogCondition comparison,
                                      const lindor::Variant& value)
{
    const ComPtr<lindor::IBugFilter> filter =
        CreateEngineObject<lindor::IBugFilter>("Lindor.BugFilter.1");
    Check(filter->put_Field(column), "Setting a condition failed");
    Check(filter->put_Condition(comparison), "Setting a condition failed");
    Check(filter->put_AndOr(lindor::LogAnd), "Setting a condition failed");
    Check(filter->put_Value(value), "The value does not suit the column " + column);
    return filter;
}

ComPtr<lindor::IBugFilterSet> BuildFilter(const std::vector<Condition>& conditions,
                                          Catalog& catalog)
{
    if (conditions.empty()) return nullptr;
    const ComPtr<lindor::IBugFilterSet> set =
        CreateEngineObject<lindor::IBugFilterSet>("Lindor.BugFilterSet.1");
    for (const Condition& condition : conditions) {
        std::string column;
        const lindor::Variant value = ConditionValue(condition, catalog, &column);
        Check(set->Add(MakeFilter(column, condition.comparison, value).get()),
              "Adding a condition failed");
    }
    return set;
}

}  // namespace cli
