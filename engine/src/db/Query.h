// A statement text with the values its `?` placeholders stand for, in order.
// Values that come from callers travel bound by the driver, never spliced
// into the text, so no quoting can go wrong and the text stays the same
// statement for every value.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <lindor/Variant.h>

namespace lindor::db {

inline Variant Parameter(std::int32_t value)
{
    return Variant::I4(value);
}
inline Variant Parameter(const std::string& value)
{
    return Variant::Text(value);
}
inline Variant Parameter(const char* value)
{
    return Variant::Text(value);
}
inline Variant Parameter(const Variant& value)
{
    return value;
}

struct Query {
    Query(const char* sql) : text(sql) {}
    Query(std::string sql) : text(std::move(sql)) {}
    template <class First, class... Rest>
    Query(std::string sql, const First& first, const Rest&... rest)
        : text(std::move(sql)), parameters{Parameter(first), Parameter(rest)...}
    {
    }

    std::string text;
    std::vector<Variant> parameters;
};

}  // namespace lindor::db
