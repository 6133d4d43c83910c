#include "richtext/document.h"

namespace richtext {

const char* const kLineSeparator = "\xE2\x80\xA8";

bool operator==(const Color& a, const Color& b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

bool operator!=(const Color& a, const Color& b)
{
    return !(a == b);
}

bool operator==(const CharFormat& a, const CharFormat& b)
{
    return a.font == b.font && a.halfPoints == b.halfPoints && a.color == b.color &&
           a.bold == b.bold && a.italic == b.italic && a.underline == b.underline;
}

bool operator!=(const CharFormat& a, const CharFormat& b)
{
    return !(a == b);
}

bool operator==(const Run& a, const Run& b)
{
    return a.text == b.text && a.format == b.format;
}

bool operator==(const Paragraph& a, const Paragraph& b)
{
    return a.alignment == b.alignment && a.bullet == b.bullet && a.runs == b.runs;
}

bool operator==(const Document& a, const Document& b)
{
    return a.paragraphs == b.paragraphs;
}

std::string Paragraph::Text() const
{
    std::string text;
    for (const Run& run : runs) text += run.text;
    return text;
}

void Paragraph::Append(const std::string& text, const CharFormat& format)
{
    if (text.empty()) return;
    if (!runs.empty() && runs.back().format == format) {
        runs.back().text += text;
        return;
    }
    runs.push_back(Run{text, format});
}

}  // namespace richtext
