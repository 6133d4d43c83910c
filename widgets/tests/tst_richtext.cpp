// Rich text shown in Qt: alignment, bullets and character formats survive the
// way from the document model (and from stored RTF) into a QTextDocument.
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

#include "richtext/rtfwriter.h"
#include "widgets/textdocumentconverter.h"

using nimbra::TextDocumentConverter;

namespace {

richtext::Document Sample()
{
    richtext::CharFormat plain;
    richtext::CharFormat bold = plain;
    bold.bold = true;
    richtext::CharFormat red = plain;
    red.color = richtext::Color{200, 0, 0};
    red.italic = true;
    richtext::CharFormat mono = plain;
    mono.font = "Courier New";
    mono.halfPoints = 32;
    mono.underline = true;

    richtext::Document document;
    richtext::Paragraph title;
    title.alignment = richtext::Alignment::Center;
    title.Append("Steps", bold);
    document.paragraphs.push_back(title);
    for (const char* step : {"open the list", "sort by ID"}) {
        richtext::Paragraph item;
        item.bullet = true;
        item.Append(step, plain);
        document.paragraphs.push_back(item);
    }
    richtext::Paragraph last;
    last.alignment = richtext::Alignment::Right;
    last.Append("then ", plain);
    last.Append("it fails", red);
    last.Append(std::string(" at") + richtext::kLineSeparator + "once", mono);
    document.paragraphs.push_back(last);
    return document;
}

QTextCharFormat FormatAt(const QTextBlock& block, const QString& text)
{
    const int at = static_cast<int>(block.text().indexOf(text));
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
        const QTextFragment piece = fragment.fragment();
        const int start = piece.position() - block.position();
        if (at >= start && at < start + piece.length()) return piece.charFormat();
    }
    return {};
}

}  // namespace

class RichTextTest : public QObject {
    Q_OBJECT
private slots:
    void paragraphsAndRunsKeepTheirFormat()
    {
        QTextDocument document;
        TextDocumentConverter::fill(Sample(), &document);
        QCOMPARE(document.blockCount(), 4);
        const QTextBlock title = document.firstBlock();
        QCOMPARE(title.text(), QStringLiteral("Steps"));
        QVERIFY(title.blockFormat().alignment() & Qt::AlignHCenter);
        QCOMPARE(FormatAt(title, QStringLiteral("Steps")).fontWeight(), int(QFont::Bold));
        QVERIFY(title.textList() == nullptr);

        const QTextBlock one = title.next();
        const QTextBlock two = one.next();
        QVERIFY(one.textList() != nullptr);
        QCOMPARE(one.textList(), two.textList());
        QCOMPARE(one.textList()->format().style(), QTextListFormat::ListDisc);
        QCOMPARE(two.text(), QStringLiteral("sort by ID"));

        const QTextBlock last = two.next();
        QVERIFY(last.textList() == nullptr);
        QVERIFY(last.blockFormat().alignment() & Qt::AlignRight);
        const QTextCharFormat red = FormatAt(last, QStringLiteral("it fails"));
        QCOMPARE(red.foreground().color(), QColor(200, 0, 0));
        QVERIFY(red.fontItalic());
        QCOMPARE(red.fontWeight(), int(QFont::Normal));
        const QTextCharFormat mono = FormatAt(last, QStringLiteral("once"));
        QCOMPARE(mono.fontFamilies().toStringList(), QStringList{"Courier New"});
        QCOMPARE(mono.fontPointSize(), 16.0);
        QVERIFY(mono.fontUnderline());
        QVERIFY(last.text().contains(QChar::LineSeparator));
    }

    void storedTextIsReadAsRtfOrAsPlainText()
    {
        QTextDocument document;
        TextDocumentConverter::fillFromStoredText(richtext::WriteRtf(Sample()), &document);
        QCOMPARE(document.blockCount(), 4);
        QVERIFY(document.firstBlock().blockFormat().alignment() & Qt::AlignHCenter);
        QCOMPARE(document.firstBlock().next().text(), QStringLiteral("open the list"));

        TextDocumentConverter::fillFromStoredText("first line\nsecond {line}", &document);
        QCOMPARE(document.toPlainText(), QStringLiteral("first line\nsecond {line}"));
        TextDocumentConverter::fillFromStoredText("", &document);
        QVERIFY(document.isEmpty());
    }
};

QTEST_MAIN(RichTextTest)
#include "tst_richtext.moc"
