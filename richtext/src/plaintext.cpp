#include "richtext/plaintext.h"

#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

namespace richtext {

CharFormat PlainTextFormat()
{
    CharFormat format;
    format.font = "Arial";
    format.halfPoints = 20;
    return format;
}

Document DocumentFromPlainText(const std::string& text)
{
    Document document;
    const CharFormat format = PlainTextFormat();
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        std::string line =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        Paragraph paragraph;
        paragraph.Append(line, format);
        document.paragraphs.push_back(std::move(paragraph));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return document;
}

std::string PlainTextOf(const Document& document)
{
    std::string text;
    for (std::size_t i = 0; i < document.paragraphs.size(); ++i) {
        if (i > 0) text += '\n';
        const Paragraph& paragraph = document.paragraphs[i];
        if (paragraph.bullet) text += "\xE2\x80\xA2 ";
        std::string line = paragraph.Text();
        for (std::size_t at = line.find(kLineSeparator); at != std::string::npos;
             at = line.find(kLineSeparator, at + 1))
            line.replace(at, 3, "\n");
        text += line;
    }
    return text;
}

bool IsRtf(const std::string& text)
{
    return text.compare(0, 5, "{\\rtf") == 0;
}

std::string RtfToPlainText(const std::string& rtf)
{
    if (!IsRtf(rtf)) return rtf;
    return PlainTextOf(ReadRtf(rtf));
}

std::string PlainTextToRtf(const std::string& text)
{
    return WriteRtf(DocumentFromPlainText(text));
}

}  // namespace richtext
