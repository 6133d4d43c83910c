// One filter condition on a bug column: column, comparison, value, how it joins
// the condition before it and a bracket mark. Lives in memory only.
#pragma once

#include <string>

#include <lindor/Interfaces.h>

#include "core/ComObject.h"

namespace lindor {

class CBugFilter final : public ComObject<IBugFilter> {
public:
    HRESULT get_Field(std::string* out) override;
    HRESULT put_Field(const std::string& value) override;
    HRESULT get_Condition(eLogCondition* out) override;
    HRESULT put_Condition(eLogCondition value) override;
    HRESULT get_AndOr(eLogOperation* out) override;
    HRESULT put_AndOr(eLogOperation value) override;
    HRESULT get_Bracket(eBracket* out) override;
    HRESULT put_Bracket(eBracket value) override;
    HRESULT get_Value(Variant* out) override;
    // Stores the value only when its type is exactly the column type of Field;
    // a column without a type takes only a null or empty value.
    HRESULT put_Value(const Variant& value) override;
    // "<Field><comparison><value>"; fails (logged, no caller text) on an
    // unknown comparison or a value that does not suit the column.
    HRESULT GetSQL(std::string* out) override;
    HRESULT GetAndOrStr(std::string* out) override;
    HRESULT GetConditionStr(std::string* out) override;

    // Takes Field, Condition, Value and AndOr of `source` as they are, without
    // the type check of put_Value; the bracket is left alone. Fails, changing
    // nothing, when one of them cannot be read.
    HRESULT CopyConditionFrom(IBugFilter* source);

private:
    ~CBugFilter() override = default;

    std::string field_;
    eLogCondition condition_ = Equal;
    Variant value_;
    eLogOperation andOr_ = LogAnd;
    eBracket bracket_ = eNone;
};

}  // namespace lindor
