// Reading RTF written by other programs: what is text, what is skipped, how
// escapes and code pages decode, and how malformed input is survived.
#include <gtest/gtest.h>

#include "richtext/plaintext.h"
#include "richtext/rtfreader.h"

namespace richtext {
namespace {

// What a word processor writes for a short report: tables, generator and
// document information, a bulleted item, a field and a picture.
const char* const kWordProcessorText =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033"
    "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fnil\\fcharset2 Symbol;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
    "{\\stylesheet{\\s0 Normal;}}{\\info{\\author Somebody}{\\title Notes}}\r\n"
    "{\\*\\generator Some Writer 10.0;}{\\*\\unknowndest hidden text}\\viewkind4\\uc1 \r\n"
    "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 Caf\\'e9 \\b crashes\\b0  on "
    "\\cf1 start\\cf0 .\\par\r\n"
    "{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}"
    "\\fi-360\\li720 first step\\par\r\n"
    "\\pard see {\\field{\\*\\fldinst{HYPERLINK \"http://example.invalid\"}}"
    "{\\fldrslt{the log}}} and {\\pict\\wmetafile8\\picw10 0a0b0c0d}\\bin4 {}\\\\x done\\par\r\n"
    "}\r\n";

TEST(RtfReader, WordProcessorTextGivesOnlyTheDocumentText)
{
    EXPECT_EQ(RtfToPlainText(kWordProcessorText),
              "Caf\xC3\xA9 crashes on start.\n\xE2\x80\xA2 first step\nsee the log and x done")
        << "the four bytes after \\bin4 are data";
}

TEST(RtfReader, WordProcessorTextKeepsFormatsAndBullets)
{
    const Document document = ReadRtf(kWordProcessorText);
    ASSERT_EQ(document.paragraphs.size(), 3u);
    const Paragraph& first = document.paragraphs[0];
    ASSERT_EQ(first.runs.size(), 5u);
    EXPECT_EQ(first.runs[0].text, "Caf\xC3\xA9 ");
    EXPECT_EQ(first.runs[0].format.font, "Arial");
    EXPECT_EQ(first.runs[0].format.halfPoints, 22);
    EXPECT_FALSE(first.runs[0].format.bold);
    EXPECT_EQ(first.runs[1].text, "crashes");
    EXPECT_TRUE(first.runs[1].format.bold);
    EXPECT_EQ(first.runs[3].text, "start");
    ASSERT_TRUE(first.runs[3].format.color.has_value());
    EXPECT_EQ(*first.runs[3].format.color, (Color{255, 0, 0}));
    EXPECT_FALSE(first.runs[4].format.color.has_value()) << "\\cf0 is the automatic colour";
    EXPECT_FALSE(first.bullet);
    EXPECT_TRUE(document.paragraphs[1].bullet);
    EXPECT_FALSE(document.paragraphs[2].bullet) << "\\pard ends the list";
}

TEST(RtfReader, ParagraphAndCharacterControls)
{
    const Document document = ReadRtf(
        "{\\rtf1\\pard\\qc centred\\par\\qr right\\par\\pard left{\\i\\ul in}\\plain out"
        "\\line next\\tab col\\par\\qj\\b bold\\i0\\ulnone x\\par}");
    ASSERT_EQ(document.paragraphs.size(), 4u);
    EXPECT_EQ(document.paragraphs[0].alignment, Alignment::Center);
    EXPECT_EQ(document.paragraphs[1].alignment, Alignment::Right) << "alignment lasts until \\pard";
    EXPECT_EQ(document.paragraphs[2].alignment, Alignment::Left);
    EXPECT_EQ(document.paragraphs[3].alignment, Alignment::Justify);
    const Paragraph& mixed = document.paragraphs[2];
    ASSERT_EQ(mixed.runs.size(), 3u);
    EXPECT_TRUE(mixed.runs[1].format.italic);
    EXPECT_TRUE(mixed.runs[1].format.underline);
    EXPECT_EQ(mixed.runs[2].text, std::string("out") + kLineSeparator + "next\tcol");
    EXPECT_EQ(mixed.runs[2].format, CharFormat()) << "the group's end restores the format";
    EXPECT_EQ(PlainTextOf(document), "centred\nright\nleftinout\nnext\tcol\nboldx")
        << "the blank after a control word delimits it";
}

TEST(RtfReader, UnicodeEscapesSkipTheirReplacements)
{
    // \uc1: one replacement byte; \uc2: a two-byte \'hh pair; \uc0: none.
    EXPECT_EQ(RtfToPlainText("{\\rtf1\\uc1 \\u26085?\\u26412?}"), "日本");
    EXPECT_EQ(RtfToPlainText("{\\rtf1{\\uc2\\u26085\\'93\\'fa}x\\u-3998?}"), "日x\xEF\x81\xA2");
    EXPECT_EQ(RtfToPlainText("{\\rtf1\\uc0\\u233 t\\u233 }"), "été");
    EXPECT_EQ(RtfToPlainText("{\\rtf1\\u-10179?\\u-8704?!}"), "😀!") << "a surrogate pair";
    EXPECT_EQ(RtfToPlainText("{\\rtf1\\u-10179?x}"), "\xEF\xBF\xBDx") << "a lone high surrogate";
    EXPECT_EQ(RtfToPlainText("{\\rtf1\\u8364?{}12}"), "€12") << "a group ends the skipping";
}

TEST(RtfReader, EscapesDecodeInTheDocumentCodePage)
{
    EXPECT_EQ(RtfToPlainText("{\\rtf1\\ansi \\'80 \\'93q\\'94 \\'e9}"), "€ “q” é")
        << "1252 by default";
    EXPECT_EQ(RtfToPlainText("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}"),
              "Привет");
    EXPECT_EQ(RtfToPlainText("{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0\\'82\\'a2}"), "あい")
        << "double-byte pairs";
    EXPECT_EQ(RtfToPlainText("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial Cyr;}}"
                             "\\f0\\'e9{\\f1\\'e9}}"),
              "éй")
        << "a font's character set decides its escapes";
    EXPECT_EQ(RtfToPlainText("{\\rtf1 a\\~b\\-c\\_d\\{\\}\\\\\\emdash\\bullet}"),
              "a\xC2\xA0"
              "bc\xE2\x80\x91"
              "d{}\\—•");
}

TEST(RtfReader, MalformedInputIsReadAsFarAsItGoes)
{
    EXPECT_EQ(RtfToPlainText("{\\rtf1 unclosed {\\b group"), "unclosed group");
    EXPECT_EQ(RtfToPlainText("{\\rtf1 extra}} after"), "extra") << "text after the document";
    EXPECT_EQ(RtfToPlainText("{\\rtf1 bad \\'zz escape \\'4"), "bad zz escape 4");
    EXPECT_EQ(RtfToPlainText("{\\rtf1 \\bin999999 x}"), "");
    EXPECT_EQ(RtfToPlainText("{\\rtf1\\fs99999999999999 big}"), "big");
    std::string deep = "{\\rtf1 ";
    for (int i = 0; i < 100000; ++i) deep += '{';
    deep += "deep";
    EXPECT_EQ(RtfToPlainText(deep), "") << "groups past the depth limit are not read";
}

}  // namespace
}  // namespace richtext
