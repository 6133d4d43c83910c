// The printed list: page breaks that keep rows whole, the header, columns and
// footers read back from PDF files with pdftotext, and the preview window
// with its own "Save as PDF".
#include <QAction>
#include <QFileDialog>
#include <QImage>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QToolBar>

#include <memory>

#include "client/buglistmodel.h"
#include "client/buglistview.h"
#include "client/bugtabview.h"
#include "client/listreport.h"
#include "client/mainwindow.h"
#include "client/reportprinter.h"
#include "clienttestcase.h"
#include "widgets/testsupport/messagerecorder.h"
#include "widgets/testsupport/modaldialogs.h"
#include "widgets/testsupport/testdatabase.h"
#include "widgets/testsupport/testenvironment.h"

using nimbra::ListReport;
using nimbra::ReportPrinter;
using nimbra::ReportRow;
using nimbra::test::ModalDialogs;

namespace {

const QString kDate = QStringLiteral("30.06.2024");

ReportRow Row(int id, const QString& description, const QString& classification = "Printing")
{
    ReportRow row;
    row.id = id;
    row.description = description;
    row.status = QStringLiteral("Active");
    row.priority = QStringLiteral("High");
    row.severity = QStringLiteral("Normal");
    row.reproductive = QStringLiteral("Always");
    row.classification = classification;
    return row;
}

QList<ReportRow> NumberedRows(int count)
{
    QList<ReportRow> rows;
    for (int i = 1; i <= count; ++i)
        rows.append(Row(i, QStringLiteral("Row %1 of the list").arg(i, 3, 10, QLatin1Char('0'))));
    return rows;
}

// A report over fixed rows; the rows in `unreadable` cannot be read.
ListReport ReportOf(const QList<ReportRow>& rows, const QList<int>& unreadable = {})
{
    return ListReport(
        static_cast<int>(rows.size()),
        [rows, unreadable](int row, ReportRow* out) {
            if (unreadable.contains(row)) return false;
            *out = rows.at(row);
            return true;
        },
        kDate);
}

// The text of a PDF file, one form feed after each page; `page` 0 for all.
QString PdfText(const QString& path, int page = 0)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty()) qFatal("pdftotext (Debian poppler-utils) is needed");
    QStringList arguments{QStringLiteral("-layout")};
    if (page > 0)
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
                  << QString::number(page);
    arguments << path << QStringLiteral("-");
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

qsizetype PageCount(const QString& text)
{
    return text.count(QLatin1Char('\f'));
}

}  // namespace

class ReportTest : public nimbra::test::ClientTestCase {
    Q_OBJECT
private slots:
    void init() { environment = std::make_unique<nimbra::test::TestEnvironment>(); }

    void cleanup()
    {
        releaseAll();
        QCOMPARE(ModalDialogs::missed(), 0);
    }

    void pageBreaksKeepRowsWhole_data()
    {
        QTest::addColumn<std::vector<int>>("heights");
        QTest::addColumn<std::vector<int>>("pages");
        // The usable height is 100 throughout.
        QTest::newRow("rows that fit") << std::vector{30, 30, 30} << std::vector{3};
        QTest::newRow("exactly full") << std::vector{50, 50} << std::vector{2};
        QTest::newRow("last overflows") << std::vector{40, 40, 30} << std::vector{2, 1};
        QTest::newRow("tall row between") << std::vector{10, 150, 10} << std::vector{1, 1, 1};
        QTest::newRow("tall row first") << std::vector{150, 10, 10} << std::vector{1, 2};
        QTest::newRow("no rows") << std::vector<int>{} << std::vector{0};
    }

    void pageBreaksKeepRowsWhole()
    {
        QFETCH(std::vector<int>, heights);
        QFETCH(std::vector<int>, pages);
        QCOMPARE(ListReport::paginate(heights, 100), pages);
    }

    void rowsAreAsTallAsTheirWrappedTexts()
    {
        QImage page(630, 891, QImage::Format_RGB32);
        QPainter painter(&page);
        const QString words = QStringLiteral("words that wrap ").repeated(20);
        ListReport report = ReportOf({Row(1, QStringLiteral("short")), Row(2, words),
                                      Row(3, QStringLiteral("short"), words)});
        report.begin(painter);
        const int unit = report.rowUnit();
        QCOMPARE(report.pageHeight(), 891);
        QCOMPARE(unit, QFontMetrics(ListReport::bodyFont()).height() + 4);
        QCOMPARE(report.usableHeight(), 891 - unit - 86);
        QCOMPARE(report.rowHeights().at(0), unit + 4);
        // 320 characters take several lines in 196 units, more in 86.
        QVERIFY(report.rowHeights().at(1) > 3 * unit);
        QVERIFY(report.rowHeights().at(2) > report.rowHeights().at(1));
    }

    void threeShortRowsPrintOnePage()
    {
        ListReport report =
            ReportOf({Row(7, QStringLiteral("First row")),
                      Row(8, QStringLiteral("Second row"), QStringLiteral("Setup")),
                      Row(9, QStringLiteral("Third row"), QStringLiteral("Import"))});
        const QString text = writePdf(report);
        QCOMPARE(PageCount(text), 1);
        for (const char* expected :
             {"Report", "ID", "Description", "Status", "Priority", "Severity", "Reproductive",
              "Classification", "1/1", "Third row", "Import", "Setup", "Printing"})
            QVERIFY2(text.contains(QLatin1String(expected)), expected);
        QVERIFY(text.contains(kDate));
        QVERIFY(text.contains(
            QRegularExpression(QStringLiteral("\\b9\\s+Third row\\s+Active\\s+High\\s+"
                                              "Normal\\s+Always\\s+Import"))));
    }

    void aLastRowThatDoesNotFitGoesAloneOnTheNextPage()
    {
        // How many one-line rows fill a PDF page exactly.
        ListReport probe = ReportOf(NumberedRows(1));
        writePdf(probe);
        const int perPage = probe.usableHeight() / probe.rowHeights().at(0);
        QVERIFY(perPage > 10);

        const QList<ReportRow> rows = NumberedRows(perPage + 1);
        ListReport report = ReportOf(rows);
        QCOMPARE(PageCount(writePdf(report)), 2);
        QCOMPARE(report.rowsPerPage(), (std::vector{perPage, 1}));
        const QString first = PdfText(pdfPath(), 1);
        const QString second = PdfText(pdfPath(), 2);
        QVERIFY(first.contains(QStringLiteral("1/2")));
        QVERIFY(first.contains(rows.at(perPage - 1).description));
        QVERIFY(!first.contains(rows.last().description));
        QVERIFY(second.contains(QStringLiteral("2/2")));
        QVERIFY(second.contains(rows.last().description));
        QVERIFY(!second.contains(rows.at(perPage - 1).description));
        QVERIFY(second.contains(QStringLiteral("Classification")));  // every page has the headings
    }

    void aRowTallerThanAPageGetsAPageOfItsOwn()
    {
        const QString tall = QStringLiteral("A very long description. ").repeated(400);
        ListReport report = ReportOf({Row(1, QStringLiteral("Before the long one")), Row(2, tall),
                                      Row(3, QStringLiteral("After the long one"))});
        const QString text = writePdf(report);
        QVERIFY(report.rowHeights().at(1) > report.usableHeight());
        QCOMPARE(report.rowsPerPage(), (std::vector{1, 1, 1}));
        QCOMPARE(PageCount(text), 3);
        QVERIFY(PdfText(pdfPath(), 1).contains(QStringLiteral("Before the long one")));
        const QString middle = PdfText(pdfPath(), 2);
        QVERIFY(middle.contains(QStringLiteral("A very long description.")));
        QVERIFY(middle.contains(QStringLiteral("2/3")));  // the row stops above the footer
        QVERIFY(PdfText(pdfPath(), 3).contains(QStringLiteral("After the long one")));
    }

    void anUnreadableRowEndsTheRowsOfItsPage()
    {
        ListReport report = ReportOf(NumberedRows(3), {1});
        const QString text = writePdf(report);
        QCOMPARE(PageCount(text), 1);
        QVERIFY(text.contains(QStringLiteral("Row 001")));
        QVERIFY(!text.contains(QStringLiteral("Row 003")));
    }

    void previewHidesTheWindowAndSavesThePdf()
    {
        openWindowWithClassifiedBugs();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(window->action(nimbra::Command::PrintPreview)->isEnabled());
        window->action(nimbra::Command::PrintPreview)->trigger();
        QPrintPreviewDialog* preview = window->reports()->previewWindow();
        QVERIFY(preview != nullptr);
        QVERIFY(preview->isVisible());
        QVERIFY(!window->isVisible());
        QCOMPARE(preview->windowTitle(), QStringLiteral("Nimbra Print Preview"));
        window->action(nimbra::Command::PrintPreview)->trigger();  // brings the same one forward
        QCOMPARE(window->reports()->previewWindow(), preview);

        QAction* close = preview->findChild<QAction*>(QStringLiteral("previewClose"));
        QVERIFY(close != nullptr);
        QCOMPARE(close->statusTip(), QStringLiteral("Close print preview mode"));
        QCOMPARE(close->toolTip(), QStringLiteral("Cancel Preview"));
        const QString path = environment->path(QStringLiteral("from-preview.pdf"));
        ModalDialogs::answerFileDialog(path);
        preview->findChild<QAction*>(QStringLiteral("previewSavePdf"))->trigger();
        const QString text = PdfText(path);
        QCOMPARE(PageCount(text), 1);
        // The seventh column shows each bug's classification.
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("Crash on save.*User Interface"))));
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("Slow start.*Storage"))));

        close->trigger();
        QTRY_VERIFY(window->isVisible());
        QTRY_VERIFY(window->reports()->previewWindow() == nullptr);
        QVERIFY(messages->texts().isEmpty());
    }

    void printingWithoutAPrinterSaysSoAndPrintsNothing()
    {
        if (!QPrinterInfo::availablePrinterNames().isEmpty()) QSKIP("this machine has a printer");
        openWindowWithClassifiedBugs();
        window->action(nimbra::Command::Print)->trigger();
        QVERIFY(messages->last().startsWith(QStringLiteral("No printer is installed.")));
    }

    void databaseMenuSavesTheActiveListAsPdf()
    {
        openWindowWithClassifiedBugs();
        window->views()->setCurrentWidget(window->views()->features());
        const QString path = environment->path(QStringLiteral("features.pdf"));
        ModalDialogs::answerFileDialog(path);
        window->action(nimbra::Command::SaveAsPdf)->trigger();
        const QString text = PdfText(path);
        QVERIFY(text.contains(QStringLiteral("Export to CSV")));
        QVERIFY(!text.contains(QStringLiteral("Crash on save")));
    }

private:
    QString pdfPath() const { return environment->path(QStringLiteral("report.pdf")); }

    QString writePdf(ListReport& report)
    {
        QString error;
        if (!ReportPrinter::writePdf(report, pdfPath(), &error)) qFatal("%s", qPrintable(error));
        return PdfText(pdfPath());
    }

    void openWindowWithClassifiedBugs()
    {
        database = std::make_unique<nimbra::test::TestDatabase>(
            environment->path(QStringLiteral("team.mdb")));
        QVERIFY2(database->isValid(), qPrintable(database->error()));
        const int ui = database->addClassification(1, QStringLiteral("User Interface"));
        const int storage = database->addClassification(1, QStringLiteral("Storage"));
        QVERIFY2(ui > 0 && storage > 0, qPrintable(database->error()));
        nimbra::test::NewBug bug;
        bug.description = QStringLiteral("Crash on save");
        bug.classificationId = ui;
        QVERIFY(database->addBug(bug) > 0);
        bug.description = QStringLiteral("Slow start");
        bug.classificationId = storage;
        QVERIFY(database->addBug(bug) > 0);
        bug.type = lindor::eFeature;
        bug.description = QStringLiteral("Export to CSV");
        QVERIFY(database->addBug(bug) > 0);

        messages = std::make_unique<nimbra::test::MessageRecorder>();
        window = std::make_unique<nimbra::MainWindow>();
        QVERIFY(window->openDatabase(database->path()));
        QVERIFY(!window->action(nimbra::Command::Print)->isEnabled());
        QCOMPARE(window->context()->Login("Admin", ""), lindor::S_OK);
        QCOMPARE(window->context()->SetActiveProject(1, 0), lindor::S_OK);
        QCOMPARE(window->views()->bugs()->bugModel()->rowCount(), 2);
        QVERIFY(window->action(nimbra::Command::SaveAsPdf)->isEnabled());
    }
};

QTEST_MAIN(ReportTest)
#include "tst_report.moc"
