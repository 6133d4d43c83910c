#include "widgets/textdocumentconverter.h"

#include <QColor>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include "richtext/plaintext.h"
#include "richtext/rtfreader.h"

namespace nimbra {

namespace {

Qt::Alignment AlignmentOf(richtext::Alignment alignment)
{
    switch (alignment) {
        case richtext::Alignment::Center:
            return Qt::AlignHCenter;
        case richtext::Alignment::Right:
            return Qt::AlignRight;
        case richtext::Alignment::Justify:
            return Qt::AlignJustify;
        case richtext::Alignment::Left:
            break;
    }
    return Qt::AlignLeft;
}

QTextCharFormat CharFormatOf(const richtext::CharFormat& source)
{
    QTextCharFormat format;
    if (!source.font.empty()) format.setFontFamilies({QString::fromStdString(source.font)});
    if (source.halfPoints > 0) format.setFontPointSize(source.halfPoints / 2.0);
    if (source.color)
        format.setForeground(QColor(source.color->red, source.color->green, source.color->blue));
    format.setFontWeight(source.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(source.italic);
    format.setFontUnderline(source.underline);
    return format;
}

}  // namespace

void TextDocumentConverter::fill(const richtext::Document& source, QTextDocument* target)
{
    target->clear();
    QTextCursor cursor(target);
    QTextList* list = nullptr;
    bool first = true;
    for (const richtext::Paragraph& paragraph : source.paragraphs) {
        QTextBlockFormat block;
        block.setAlignment(AlignmentOf(paragraph.alignment));
        if (first)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block);
        first = false;
        if (!paragraph.bullet) {
            list = nullptr;
        } else if (list == nullptr) {
            list = cursor.createList(QTextListFormat::ListDisc);
        } else {
            list->add(cursor.block());
        }
        for (const richtext::Run& run : paragraph.runs)
            cursor.insertText(QString::fromStdString(run.text), CharFormatOf(run.format));
    }
}

void TextDocumentConverter::fillFromStoredText(const std::string& stored, QTextDocument* target)
{
    fill(richtext::IsRtf(stored) ? richtext::ReadRtf(stored)
                                 : richtext::DocumentFromPlainText(stored),
         target);
}

}  // namespace nimbra
