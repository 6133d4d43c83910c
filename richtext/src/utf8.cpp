#include "richtext/utf8.h"

namespace richtext {
namespace {

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the sequence a lead byte starts, and the smallest code point
// that length may encode (shorter forms are invalid); 0 for no lead byte.
int SequenceLength(unsigned char lead, char32_t* minimum, char32_t* initial)
{
    if (lead < 0x80) {
        *minimum = 0;
        *initial = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        *minimum = 0x80;
        *initial = lead & 0x1F;
        return 2;
    }
    if ((lead & 0xF0) == 0xE0) {
        *minimum = 0x800;
        *initial = lead & 0x0F;
        return 3;
    }
    if ((lead & 0xF8) == 0xF0) {
        *minimum = 0x10000;
        *initial = lead & 0x07;
        return 4;
    }
    return 0;
}

bool IsValidScalar(char32_t c)
{
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

}  // namespace

void AppendUtf8(char32_t c, std::string* out)
{
    if (!IsValidScalar(c)) c = kReplacementCharacter;
    if (c < 0x80) {
        out->push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (c >> 6)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | (c >> 12)));
        out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | (c >> 18)));
        out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::u32string DecodeUtf8(const std::string& text)
{
    std::u32string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t minimum = 0;
        char32_t c = 0;
        const int length = SequenceLength(static_cast<unsigned char>(text[i]), &minimum, &c);
        bool valid = length > 0 && i + length <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const unsigned char byte = static_cast<unsigned char>(text[i + k]);
            valid = IsContinuation(byte);
            c = (c << 6) | (byte & 0x3F);
        }
        if (valid && c >= minimum && IsValidScalar(c)) {
            out.push_back(c);
            i += length;
        } else {
            out.push_back(kReplacementCharacter);
            ++i;
        }
    }
    return out;
}

}  // namespace richtext
