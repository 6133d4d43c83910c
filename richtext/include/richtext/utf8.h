// UTF-8 encoding and decoding of code points.
#pragma once

#include <string>

namespace richtext {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// Appends the UTF-8 form of a code point; surrogates and values beyond
// U+10FFFF become the replacement character.
void AppendUtf8(char32_t codePoint, std::string* out);

// The code points of a UTF-8 text; each byte that does not start a valid
// sequence becomes one replacement character.
std::u32string DecodeUtf8(const std::string& text);

}  // namespace richtext
