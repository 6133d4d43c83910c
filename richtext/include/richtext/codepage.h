// Decoding of the 8-bit (and double-byte) code pages an RTF text declares.
#pragma once

#include <string>

namespace richtext {

constexpr int kDefaultCodePage = 1252;

// Turns bytes of a Windows code page into UTF-8. Code page 1252 is built in;
// others go through the C library's converter, and a code page it does not
// know is read as 1252. A byte sequence that the code page does not define
// becomes the replacement character.
std::string DecodeCodePage(const std::string& bytes, int codePage);

// The code page of an RTF font character set (\fcharsetN); 0 when the
// character set names none (the document's code page applies).
int CodePageOfCharset(int charset);

}  // namespace richtext
