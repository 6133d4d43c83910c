#include "rtftokenizer.h"

#include <climits>
#include <cstdlib>

namespace richtext {
namespace {

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

int HexValue(char c)
{
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

Token Simple(TokenKind kind)
{
    Token token;
    token.kind = kind;
    return token;
}

}  // namespace

Token RtfTokenizer::Next()
{
    while (at_ < rtf_.size() && IsLineBreak(rtf_[at_])) ++at_;
    if (at_ >= rtf_.size()) return Simple(TokenKind::End);
    const char c = rtf_[at_];
    if (c == '{') {
        ++at_;
        return Simple(TokenKind::GroupStart);
    }
    if (c == '}') {
        ++at_;
        return Simple(TokenKind::GroupEnd);
    }
    if (c == '\\') {
        ++at_;
        return ControlAfterBackslash();
    }
    return TextRun();
}

Token RtfTokenizer::ControlAfterBackslash()
{
    if (at_ >= rtf_.size()) return Simple(TokenKind::End);
    const char c = rtf_[at_];
    if (IsLetter(c)) return ControlWord();
    ++at_;
    if (IsLineBreak(c)) {
        Token token = Simple(TokenKind::ControlWord);
        token.word = "par";
        return token;
    }
    if (c == '\'') {
        const int high = at_ < rtf_.size() ? HexValue(rtf_[at_]) : -1;
        const int low = at_ + 1 < rtf_.size() ? HexValue(rtf_[at_ + 1]) : -1;
        if (high < 0 || low < 0) return Simple(TokenKind::Text);  // a broken escape is dropped
        at_ += 2;
        Token token = Simple(TokenKind::HexByte);
        token.byte = static_cast<unsigned char>(high * 16 + low);
        return token;
    }
    Token token = Simple(TokenKind::ControlSymbol);
    token.symbol = c;
    return token;
}

int RtfTokenizer::Parameter(bool* present)
{
    *present = false;
    bool negative = false;
    std::size_t start = at_;
    if (at_ < rtf_.size() && rtf_[at_] == '-' && at_ + 1 < rtf_.size() && IsDigit(rtf_[at_ + 1])) {
        negative = true;
        ++at_;
    }
    long long value = 0;
    while (at_ < rtf_.size() && IsDigit(rtf_[at_])) {
        *present = true;
        if (value <= INT_MAX) value = value * 10 + (rtf_[at_] - '0');
        ++at_;
    }
    if (!*present) {
        at_ = start;
        return 0;
    }
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(negative ? -value : value);
}

Token RtfTokenizer::ControlWord()
{
    Token token = Simple(TokenKind::ControlWord);
    while (at_ < rtf_.size() && IsLetter(rtf_[at_])) token.word += rtf_[at_++];
    token.parameter = Parameter(&token.hasParameter);
    if (at_ < rtf_.size() && rtf_[at_] == ' ') ++at_;  // the delimiter belongs to the word
    if (token.word == "bin" && token.parameter > 0) {
        const std::size_t skip = static_cast<std::size_t>(token.parameter);
        at_ = skip > rtf_.size() - at_ ? rtf_.size() : at_ + skip;
    }
    return token;
}

Token RtfTokenizer::TextRun()
{
    Token token = Simple(TokenKind::Text);
    const std::size_t start = at_;
    while (at_ < rtf_.size()) {
        const char c = rtf_[at_];
        if (c == '{' || c == '}' || c == '\\' || IsLineBreak(c)) break;
        ++at_;
    }
    token.word.assign(rtf_, start, at_ - start);
    return token;
}

}  // namespace richtext
