#include "filters/CBugFilter.h"
#include "core/OutParam.h"

#include <cmath>

#include "core/ClassRegistry.h"
#include "core/DateTime.h"
#include "core/ErrorReport.h"
#include "filters/BugColumns.h"

namespace lindor {
namespace {

const ClassRegistration registration("BugFilter", &CreateInstance<CBugFilter>);

const char* const kTypeMismatch = "Type mismatch";

// The comparison word with a blank on either side, or null for an unknown one.
const char* ComparisonText(eLogCondition condition)
{
    switch (condition) {
        case Equal:
            return " = ";
        case NotEqual:
            return " <> ";
        case LargerThan:
            return " > ";
        case LargerEqual:
            return " >= ";
        case LessThan:
            return " < ";
        case LessEqual:
            return " <= ";
        case Not:
            return " NOT ";
        case Like:
            return " LIKE ";
    }
    return nullptr;
}

bool HasNoValue(const Variant& value)
{
    return value.IsEmpty() || value.IsNull();
}

// Doubling every quote keeps the value inside its literal, so a value cannot
// end the literal early and add conditions of its own.
std::string QuotedText(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    quoted += '\'';
    return quoted;
}

// The calendar day the value falls on. Only the day part is converted: the
// conversion rounds to the second, which would move a time in a day's last
// half second onto the next day.
std::string MonthDayYear(Date date)
{
    const CivilTime civil = CivilFromDate(std::trunc(date));
    return Format("%d/%d/%d", civil.month, civil.day, civil.year);
}

// The value as SQL text for a column of `columnType`. A value never set (or
// null) holds zero and the empty text, so it is written as the type's empty
// value. False when the column has no type or the value another type.
bool ValueText(const Variant& value, VarType columnType, std::string* text)
{
    if (!HasNoValue(value) && value.vt() != columnType) return false;
    switch (columnType) {
        case VT_I4:
            *text = Format("%ld", static_cast<long>(value.i4()));
            return true;
        case VT_UI1:
            *text = Format("%u", static_cast<unsigned>(value.ui1()));
            return true;
        case VT_BSTR:
            *text = QuotedText(value.text());
            return true;
        case VT_DATE:
            *text = MonthDayYear(value.date());
            return true;
        default:
            return false;
    }
}

HRESULT FailGetSQL(const char* why)
{
    LogMessage(kLogGeneral, "CBugFilter::GetSQL", why);
    return E_FAIL;
}

}  // namespace

HRESULT CBugFilter::get_Field(std::string* out)
{
    return GiveOut(field_, out);
}

HRESULT CBugFilter::put_Field(const std::string& value)
{
    field_ = value;
    return S_OK;
}

HRESULT CBugFilter::get_Condition(eLogCondition* out)
{
    return GiveOut(condition_, out);
}

HRESULT CBugFilter::put_Condition(eLogCondition value)
{
    condition_ = value;
    return S_OK;
}

HRESULT CBugFilter::get_AndOr(eLogOperation* out)
{
    return GiveOut(andOr_, out);
}

HRESULT CBugFilter::put_AndOr(eLogOperation value)
{
    andOr_ = value;
    return S_OK;
}

HRESULT CBugFilter::get_Bracket(eBracket* out)
{
    return GiveOut(bracket_, out);
}

HRESULT CBugFilter::put_Bracket(eBracket value)
{
    bracket_ = value;
    return S_OK;
}

HRESULT CBugFilter::get_Value(Variant* out)
{
    return GiveOut(value_, out);
}

HRESULT CBugFilter::put_Value(const Variant& value)
{
    const VarType columnType = BugColumnValueType(field_);
    const bool accepted = columnType == VT_NULL ? HasNoValue(value) : value.vt() == columnType;
    if (!accepted) {
        LogMessage(kLogGeneral, "CBugFilter::put_Value", kTypeMismatch);
        return E_FAIL;
    }
    value_ = value;
    return S_OK;
}

HRESULT CBugFilter::GetSQL(std::string* out)
{
    if (out == nullptr) return E_FAIL;
    out->clear();
    const char* comparison = ComparisonText(condition_);
    if (comparison == nullptr) return FailGetSQL("Filter's parameter error");
    std::string value;
    if (!ValueText(value_, BugColumnValueType(field_), &value)) return FailGetSQL(kTypeMismatch);
    *out = field_ + comparison + value;
    return S_OK;
}

HRESULT CBugFilter::GetAndOrStr(std::string* out)
{
    return GiveOut(andOr_ == LogAnd ? "And" : "Or", out);
}

HRESULT CBugFilter::GetConditionStr(std::string* out)
{
    if (out == nullptr) return E_FAIL;
    out->clear();
    return S_OK;
}

HRESULT CBugFilter::CopyConditionFrom(IBugFilter* source)
{
    if (source == nullptr) return E_FAIL;
    std::string field;
    eLogCondition condition = Equal;
    Variant value;
    eLogOperation andOr = LogAnd;
    if (Failed(source->get_Field(&field)) || Failed(source->get_Condition(&condition)) ||
        Failed(source->get_Value(&value)) || Failed(source->get_AndOr(&andOr)))
        return E_FAIL;
    field_ = std::move(field);
    condition_ = condition;
    value_ = std::move(value);
    andOr_ = andOr;
    return S_OK;
}

}  // namespace lindor
