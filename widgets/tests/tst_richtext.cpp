// Rich text in Qt: alignment, bullets and character formats survive the way
// from the document model (and from stored RTF) into a QTextDocument, and
// everything the editor's toolbar makes survives the way back through RTF.
// A stored text the user did not edit is given back as it was.
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>

#include <memory>

#include "richtext/plaintext.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"
#include "widgets/richtextpage.h"
#include "widgets/textdocumentconverter.h"

using nimbra::RichTextPage;
using nimbra::TextDocumentConverter;
using Tool = nimbra::RichTextPage::Tool;

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

// What WordPad-like writers store: a table, a picture, colours and fonts
// this editor would write differently.
const std::string kForeignRtf =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
    "{\\*\\generator Msftedit 5.41.21.2510;}\\viewkind4\\uc1\r\n"
    "\\trowd\\trgaph108\\cellx1500\\cellx3000\\pard\\intbl\\f0\\fs20 Step\\cell "
    "Result\\cell\\row\r\n"
    "\\trowd\\trgaph108\\cellx1500\\cellx3000\\pard\\intbl Open\\cell Crash\\cell\\row\r\n"
    "\\pard{\\pict\\wmetafile8\\picw529\\pich529 0100090000035000000000002700}\\par\r\n"
    "\\cf1\\b Red bold after the picture\\b0\\cf0\\par\r\n}\r\n";

// Selects `text` in the page's editor, as a user drags over it.
void Select(RichTextPage& page, const QString& text)
{
    QTextEdit* editor = page.editor();
    QTextCursor cursor = editor->document()->find(text);
    QVERIFY2(!cursor.isNull(), qPrintable(text));
    editor->setTextCursor(cursor);
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

    void everyToolbarFormatSurvivesRtf()
    {
        RichTextPage page;
        page.load("");
        QVERIFY(!page.isEdited());
        page.editor()->setPlainText(QStringLiteral(
            "Bold Italic Underline\nRed Large Courier\nfirst item\nsecond item\nback left"));
        Select(page, QStringLiteral("Bold"));
        page.action(Tool::Bold)->trigger();
        Select(page, QStringLiteral("Italic"));
        page.action(Tool::Italic)->trigger();
        Select(page, QStringLiteral("Underline"));
        page.action(Tool::Underline)->trigger();
        page.action(Tool::Center)->trigger();
        Select(page, QStringLiteral("Red"));
        page.applyColor(QColor(200, 0, 0));
        Select(page, QStringLiteral("Large"));
        emit page.findChild<QComboBox*>(QStringLiteral("fontSize"))
            ->textActivated(QStringLiteral("18"));
        Select(page, QStringLiteral("Courier"));
        page.applyFont(QFont(QStringLiteral("Courier New"), 12));
        page.action(Tool::Right)->trigger();
        QTextCursor items = page.editor()->document()->find(QStringLiteral("first item"));
        items.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
        items.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        page.editor()->setTextCursor(items);
        page.action(Tool::Bullet)->trigger();
        Select(page, QStringLiteral("back left"));
        page.action(Tool::Center)->trigger();
        page.action(Tool::Left)->trigger();
        QVERIFY(page.isEdited());

        const richtext::Document shown = TextDocumentConverter::toModel(*page.editor()->document());
        QCOMPARE(shown.paragraphs.size(), std::size_t(5));
        const richtext::Paragraph& first = shown.paragraphs[0];
        QCOMPARE(first.alignment, richtext::Alignment::Center);
        QCOMPARE(first.runs.size(), std::size_t(5));
        QVERIFY(first.runs[0].format.bold && first.runs[0].text == "Bold");
        QVERIFY(first.runs[2].format.italic && !first.runs[2].format.bold);
        QVERIFY(first.runs[4].format.underline);
        const richtext::Paragraph& second = shown.paragraphs[1];
        QCOMPARE(second.alignment, richtext::Alignment::Right);
        QVERIFY(second.runs[0].format.color == richtext::Color({200, 0, 0}));
        QCOMPARE(second.runs[2].format.halfPoints, 36);
        QCOMPARE(second.runs[4].format.font, std::string("Courier New"));
        QCOMPARE(second.runs[4].format.halfPoints, 24);
        QVERIFY(shown.paragraphs[2].bullet && shown.paragraphs[3].bullet);
        QVERIFY(!shown.paragraphs[4].bullet);
        QCOMPARE(shown.paragraphs[4].alignment, richtext::Alignment::Left);
        QCOMPARE(shown.paragraphs[4].runs[0].format, richtext::CharFormat());

        const std::string rtf = page.storedText();
        QVERIFY(richtext::IsRtf(rtf));
        QVERIFY(richtext::ReadRtf(rtf) == shown);
        QTextDocument again;
        TextDocumentConverter::fillFromStoredText(rtf, &again);
        QVERIFY(TextDocumentConverter::toModel(again) == shown);
    }

    void bulletsGoAgainAndAnEmptyTextIsNoParagraph()
    {
        RichTextPage page;
        page.load("");
        QVERIFY(TextDocumentConverter::toModel(*page.editor()->document()).paragraphs.empty());
        page.editor()->setPlainText(QStringLiteral("only line"));
        page.action(Tool::Bullet)->trigger();
        QVERIFY(page.editor()->textCursor().currentList() != nullptr);
        page.action(Tool::Bullet)->trigger();
        QVERIFY(page.editor()->textCursor().currentList() == nullptr);
        QVERIFY(!TextDocumentConverter::toModel(*page.editor()->document()).paragraphs[0].bullet);
        QCOMPARE(page.editor()->textCursor().blockFormat().indent(), 0);
    }

    void foreignRtfIsGivenBackUntilTheUserEditsIt()
    {
        RichTextPage page;
        page.load(kForeignRtf);
        QVERIFY(page.editor()->toPlainText().contains(QStringLiteral("Step\tResult")));
        QVERIFY(
            page.editor()->toPlainText().contains(QStringLiteral("Red bold after the picture")));
        QCOMPARE(page.storedText(), kForeignRtf);  // byte for byte

        // A change of format alone is an edit too.
        Select(page, QStringLiteral("Crash"));
        page.action(Tool::Italic)->trigger();
        QVERIFY(page.isEdited());
        const std::string rewritten = page.storedText();
        QVERIFY(rewritten != kForeignRtf);
        QVERIFY(richtext::RtfToPlainText(rewritten).find("Open\tCrash") != std::string::npos);

        page.load("stored as plain text");
        QCOMPARE(page.storedText(), std::string("stored as plain text"));
        page.editor()->moveCursor(QTextCursor::End);
        page.editor()->insertPlainText(QStringLiteral("!"));
        QCOMPARE(richtext::RtfToPlainText(page.storedText()), std::string("stored as plain text!"));
    }

    void aReadOnlyPageOffersOnlyCopy()
    {
        RichTextPage page;
        page.load(richtext::PlainTextToRtf("read me"));
        page.setReadOnly(true);
        page.editor()->selectAll();
        QVERIFY(page.action(Tool::Copy)->isEnabled());
        for (Tool tool : {Tool::Font, Tool::Color, Tool::Cut, Tool::Paste, Tool::Bold, Tool::Bullet,
                          Tool::Center})
            QVERIFY(!page.action(tool)->isEnabled());
        const std::unique_ptr<QMenu> menu(page.createContextMenu());
        QStringList texts;
        for (QAction* action : menu->actions())
            if (!action->isSeparator()) texts.append(action->text());
        QCOMPARE(texts, QStringList({"Cut", "Copy", "Paste", "Font..."}));
    }
};

QTEST_MAIN(RichTextTest)
#include "tst_richtext.moc"
