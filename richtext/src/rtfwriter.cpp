#include "richtext/rtfwriter.h"

#include <algorithm>

#include "richtext/utf8.h"

namespace richtext {
namespace {

template <class T>
int IndexOf(const std::vector<T>& items, const T& item)
{
    return static_cast<int>(std::find(items.begin(), items.end(), item) - items.begin());
}

class Writer {
public:
    explicit Writer(const Document& document) : document_(document) { CollectTables(); }

    std::string Write();

private:
    void CollectTables();
    void WriteHeader();
    void WriteParagraph(const Paragraph& paragraph);
    void WriteRun(const Run& run);
    void WriteFormat(const CharFormat& format);
    void WriteText(const std::string& text);
    void WriteUnicodeUnit(char32_t unit);

    const Document& document_;
    std::vector<std::string> fonts_;
    std::vector<Color> colors_;
    std::string out_;
};

void Writer::CollectTables()
{
    for (const Paragraph& paragraph : document_.paragraphs) {
        for (const Run& run : paragraph.runs) {
            const CharFormat& format = run.format;
            if (!format.font.empty() &&
                IndexOf(fonts_, format.font) == static_cast<int>(fonts_.size()))
                fonts_.push_back(format.font);
            if (format.color && IndexOf(colors_, *format.color) == static_cast<int>(colors_.size()))
                colors_.push_back(*format.color);
        }
    }
}

std::string Writer::Write()
{
    WriteHeader();
    for (const Paragraph& paragraph : document_.paragraphs) WriteParagraph(paragraph);
    out_ += "}\n";
    return std::move(out_);
}

void Writer::WriteHeader()
{
    out_ = "{\\rtf1\\ansi\\ansicpg1252\\uc1";
    if (!fonts_.empty()) {
        out_ += "{\\fonttbl";
        for (std::size_t i = 0; i < fonts_.size(); ++i) {
            out_ += "{\\f" + std::to_string(i) + "\\fnil\\fcharset0 ";
            WriteText(fonts_[i]);
            out_ += ";}";
        }
        out_ += "}";
    }
    if (!colors_.empty()) {
        out_ += "\n{\\colortbl ;";  // entry 0 is the automatic colour
        for (const Color& color : colors_)
            out_ += "\\red" + std::to_string(color.red) + "\\green" + std::to_string(color.green) +
                    "\\blue" + std::to_string(color.blue) + ";";
        out_ += "}";
    }
    out_ += "\n\\viewkind4\n";
}

void Writer::WriteParagraph(const Paragraph& paragraph)
{
    out_ += "\\pard";
    switch (paragraph.alignment) {
        case Alignment::Left:
            break;
        case Alignment::Center:
            out_ += "\\qc";
            break;
        case Alignment::Right:
            out_ += "\\qr";
            break;
        case Alignment::Justify:
            out_ += "\\qj";
            break;
    }
    // The bullet as older readers draw it (\pntext), and as a list level.
    if (paragraph.bullet)
        out_ +=
            "{\\pntext\\bullet\\tab}{\\*\\pn\\pnlvlblt\\pnindent360{\\pntxtb\\bullet}}"
            "\\fi-360\\li360";
    out_ += ' ';
    for (const Run& run : paragraph.runs) WriteRun(run);
    out_ += "\\par\n";
}

void Writer::WriteRun(const Run& run)
{
    if (run.format == CharFormat()) return WriteText(run.text);
    out_ += '{';
    WriteFormat(run.format);
    out_ += ' ';
    WriteText(run.text);
    out_ += '}';
}

void Writer::WriteFormat(const CharFormat& format)
{
    if (!format.font.empty()) out_ += "\\f" + std::to_string(IndexOf(fonts_, format.font));
    if (format.halfPoints > 0) out_ += "\\fs" + std::to_string(format.halfPoints);
    if (format.color) out_ += "\\cf" + std::to_string(IndexOf(colors_, *format.color) + 1);
    if (format.bold) out_ += "\\b";
    if (format.italic) out_ += "\\i";
    if (format.underline) out_ += "\\ul";
}

void Writer::WriteText(const std::string& text)
{
    for (char32_t c : DecodeUtf8(text)) {
        if (c == '\\' || c == '{' || c == '}') {
            out_ += '\\';
            out_ += static_cast<char>(c);
        } else if (c == '\t') {
            out_ += "\\tab ";
        } else if (c == 0x2028) {
            out_ += "\\line ";
        } else if (c >= 0x20 && c < 0x7F) {
            out_ += static_cast<char>(c);
        } else if (c >= 0x80) {
            if (c < 0x10000) {
                WriteUnicodeUnit(c);
            } else {
                WriteUnicodeUnit(0xD800 + ((c - 0x10000) >> 10));
                WriteUnicodeUnit(0xDC00 + ((c - 0x10000) & 0x3FF));
            }
        }
        // Other control characters have no place in a paragraph's text.
    }
}

// \uN takes a signed 16-bit number.
void Writer::WriteUnicodeUnit(char32_t unit)
{
    const int value = unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit);
    out_ += "\\u" + std::to_string(value) + "?";
}

}  // namespace

std::string WriteRtf(const Document& document)
{
    return Writer(document).Write();
}

}  // namespace richtext
