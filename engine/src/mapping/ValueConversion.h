// How the record mapping reads stored values (a NULL or a value of another
// type never fails) and how it writes them.
#pragma once

#include <cstdint>
#include <string>

#include <lindor/Types.h>
#include <lindor/Variant.h>

#include "db/Recordset.h"

namespace lindor::mapping {

std::string ReadText(const Variant& value);          // text, else empty
std::int32_t ReadWholeNumber(const Variant& value);  // 32-bit integer, else 0
std::uint8_t ReadSmallNumber(const Variant& value);  // low 8 bits of an integer or byte, else 0
bool ReadYesNo(const Variant& value);                // boolean, true when non-zero
Date ReadDate(const Variant& value);                 // date, else 0.0

// An empty text is written as no value (NULL).
void WriteTextOrNull(db::Field field, const std::string& text);
// The text unchanged; an empty text is written as a zero-length text.
void WriteText(db::Field field, const std::string& text);
// An empty text leaves the column unchanged (NULL on a new row).
void WriteTextUnlessEmpty(db::Field field, const std::string& text);
void WriteWholeNumber(db::Field field, std::int32_t value);
void WriteYesNo(db::Field field, bool value);
void WriteDate(db::Field field, Date value);
void WriteSmallNumber(db::Field field, std::uint8_t value);

}  // namespace lindor::mapping
