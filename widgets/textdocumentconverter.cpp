#include "widgets/textdocumentconverter.h"

#include <cmath>

#include <QColor>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include "richtext/plaintext.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

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

richtext::Alignment ModelAlignmentOf(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignHCenter) return richtext::Alignment::Center;
    if (alignment & Qt::AlignJustify) return richtext::Alignment::Justify;
    if (alignment & Qt::AlignRight) return richtext::Alignment::Right;
    return richtext::Alignment::Left;
}

std::string FontFamilyOf(const QTextCharFormat& format)
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty()) return families.first().toStdString();
    return format.property(QTextFormat::FontFamily).toString().toStdString();
}

richtext::CharFormat ModelFormatOf(const QTextCharFormat& format)
{
    richtext::CharFormat model;
    model.font = FontFamilyOf(format);
    if (format.hasProperty(QTextFormat::FontPointSize))
        model.halfPoints = static_cast<int>(std::lround(format.fontPointSize() * 2.0));
    if (format.hasProperty(QTextFormat::ForegroundBrush) &&
        format.foreground().style() != Qt::NoBrush) {
        const QColor color = format.foreground().color();
        model.color = richtext::Color{static_cast<std::uint8_t>(color.red()),
                                      static_cast<std::uint8_t>(color.green()),
                                      static_cast<std::uint8_t>(color.blue())};
    }
    model.bold = format.fontWeight() > QFont::Medium;
    model.italic = format.fontItalic();
    model.underline = format.fontUnderline();
    return model;
}

// A fragment's text without the object characters that stand for pictures.
std::string FragmentText(const QTextFragment& fragment)
{
    QString text = fragment.text();
    text.remove(QChar::ObjectReplacementCharacter);
    return text.toStdString();
}

richtext::Paragraph ParagraphOf(const QTextBlock& block)
{
    richtext::Paragraph paragraph;
    paragraph.alignment = ModelAlignmentOf(block.blockFormat().alignment());
    paragraph.bullet = block.textList() != nullptr;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.isValid())
            paragraph.Append(FragmentText(fragment), ModelFormatOf(fragment.charFormat()));
    }
    return paragraph;
}

bool IsEmptyDocument(const QTextDocument& document)
{
    return document.blockCount() == 1 &&
           ParagraphOf(document.firstBlock()) == richtext::Paragraph();
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

richtext::Document TextDocumentConverter::toModel(const QTextDocument& source)
{
    richtext::Document document;
    if (IsEmptyDocument(source)) return document;
    for (QTextBlock block = source.begin(); block.isValid(); block = block.next())
        document.paragraphs.push_back(ParagraphOf(block));
    return document;
}

std::string TextDocumentConverter::toRtf(const QTextDocument& source)
{
    return richtext::WriteRtf(toModel(source));
}

}  // namespace nimbra
