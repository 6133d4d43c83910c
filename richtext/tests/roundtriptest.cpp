// Writing a document and reading it back gives the same document; plain
// text survives the way through RTF unchanged.
#include <gtest/gtest.h>

#include "richtext/plaintext.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

namespace richtext {
namespace {

CharFormat Format(const std::string& font, int halfPoints, bool bold, bool italic, bool underline)
{
    CharFormat format;
    format.font = font;
    format.halfPoints = halfPoints;
    format.bold = bold;
    format.italic = italic;
    format.underline = underline;
    return format;
}

TEST(RoundTrip, FormattedDocumentComesBackEqual)
{
    Document document;
    Paragraph heading;
    heading.alignment = Alignment::Center;
    CharFormat red = Format("Times New Roman", 32, true, false, false);
    red.color = Color{200, 10, 20};
    heading.Append("Crash on start", red);
    document.paragraphs.push_back(heading);

    Paragraph body;
    body.alignment = Alignment::Justify;
    body.Append("Plain, ", CharFormat());
    body.Append("italic", Format("Arial", 20, false, true, false));
    body.Append(" and ", CharFormat());
    body.Append("underlined {braces} \\ back", Format("Courier New", 18, false, false, true));
    body.Append(std::string("line one") + kLineSeparator + "line\ttwo", CharFormat());
    document.paragraphs.push_back(body);

    Paragraph empty;
    empty.alignment = Alignment::Right;
    document.paragraphs.push_back(empty);

    Paragraph item;
    item.bullet = true;
    CharFormat green;
    green.color = Color{0, 128, 0};
    item.Append("Grüße, € 日本語 😀", green);
    document.paragraphs.push_back(item);

    const std::string rtf = WriteRtf(document);
    EXPECT_EQ(rtf.find_first_of("\x80\xff"), std::string::npos) << "the RTF text is ASCII only";
    EXPECT_EQ(ReadRtf(rtf), document) << rtf;
}

TEST(RoundTrip, PlainTextSurvivesRtf)
{
    for (const std::string text :
         {"", "one line", "two\nlines", "ends with a break\n", "\n\n", "tab\there",
          "{braces} and \\backslash\\", "é ü ß € ‘quotes’ — 日本 😀", "  leading and trailing  "}) {
        const std::string rtf = PlainTextToRtf(text);
        EXPECT_TRUE(IsRtf(rtf));
        EXPECT_EQ(RtfToPlainText(rtf), text) << rtf;
    }
}

TEST(RoundTrip, CarriageReturnsOfWindowsLinesAreDropped)
{
    EXPECT_EQ(RtfToPlainText(PlainTextToRtf("first\r\nsecond\r\n")), "first\nsecond\n");
}

TEST(RoundTrip, TextThatIsNotRtfIsKeptAsItIs)
{
    EXPECT_EQ(RtfToPlainText("stored as plain {text}"), "stored as plain {text}");
}

}  // namespace
}  // namespace richtext
