// Splits an RTF text into its tokens: group marks, control words with their
// parameter, control symbols, hexadecimal byte escapes and plain text bytes.
#pragma once

#include <string>

namespace richtext {

enum class TokenKind { GroupStart, GroupEnd, ControlWord, ControlSymbol, HexByte, Text, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string word;  // ControlWord: the letters; Text: the bytes
    bool hasParameter = false;
    int parameter = 0;       // ControlWord: the numeric parameter, clamped to int
    char symbol = 0;         // ControlSymbol: the character after the backslash
    unsigned char byte = 0;  // HexByte: the value of \'hh
};

class RtfTokenizer {
public:
    explicit RtfTokenizer(const std::string& rtf) : rtf_(rtf) {}

    // The next token; End at the end of the text. Line breaks of the source
    // are not text; a backslash before a line break is \par; the data of
    // \binN is skipped.
    Token Next();

private:
    Token ControlAfterBackslash();
    Token ControlWord();
    Token TextRun();
    int Parameter(bool* present);

    const std::string& rtf_;
    std::size_t at_ = 0;
};

}  // namespace richtext
