#include "client/reportprinter.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QStandardPaths>
#include <QToolBar>

#include "client/buglistmodel.h"
#include "client/buglistview.h"
#include "client/bugtabview.h"
#include "client/bugtexts.h"
#include "client/clientoptions.h"
#include "widgets/enginedate.h"
#include "widgets/messages.h"

namespace nimbra {

namespace {

const QString kDocumentName = QStringLiteral("Nimbra");

// Many pages take a while; the cursor says so.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

void NameDocument(QPrinter& printer)
{
    printer.setDocName(kDocumentName);
    printer.setCreator(kDocumentName);
}

}  // namespace

ReportPrinter::ReportPrinter(QMainWindow* window, BugTabView* lists, const ClientOptions& options)
    : QObject(window), window_(window), lists_(lists), options_(options)
{
}

ReportPrinter::~ReportPrinter() = default;

ListReport ReportPrinter::makeReport() const
{
    const BugListModel* model = lists_->activeList()->bugModel();
    return ListReport(
        model->rowCount(),
        [model](int row, ReportRow* out) { return ReportRow::read(model->bugAt(row).get(), out); },
        BugTexts::dateText(EngineDate::now(), options_.dateFormat()));
}

bool ReportPrinter::printOn(QPrinter& printer, ListReport& report)
{
    const WaitCursor busy;
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    if (!report.render(painter, printer)) {
        printer.abort();
        return false;
    }
    return painter.end();
}

bool ReportPrinter::writePdf(ListReport& report, const QString& path, QString* error)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    NameDocument(printer);
    if (printOn(printer, report)) return true;
    *error = tr("The report could not be written to %1.").arg(QDir::toNativeSeparators(path));
    return false;
}

void ReportPrinter::print()
{
    // Without a printer the dialog could only offer an empty choice.
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        Messages::warning(window_, tr("No printer is installed. \"Save as PDF\" keeps the report "
                                      "as a file."));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, window_);
    dialog.setObjectName(QStringLiteral("printDialog"));
    for (const auto option :
         {QAbstractPrintDialog::PrintToFile, QAbstractPrintDialog::PrintSelection,
          QAbstractPrintDialog::PrintPageRange, QAbstractPrintDialog::PrintCurrentPage})
        dialog.setOption(option, false);
    if (dialog.exec() != QDialog::Accepted) return;
    NameDocument(printer);
    ListReport report = makeReport();
    if (!printOn(printer, report)) Messages::error(window_, tr("The report could not be printed."));
}

void ReportPrinter::saveAsPdf(QWidget* parent)
{
    QFileDialog dialog(parent, tr("Save as PDF"),
                       QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                       tr("PDF files (*.pdf)"));
    dialog.setObjectName(QStringLiteral("savePdfDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(QStringLiteral("Nimbra.pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    ListReport report = makeReport();
    QString error;
    if (!writePdf(report, dialog.selectedFiles().first(), &error)) Messages::error(parent, error);
}

void ReportPrinter::preview()
{
    if (preview_) {
        preview_->raise();
        preview_->activateWindow();
        return;
    }
    previewPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    NameDocument(*previewPrinter_);
    preview_ = new QPrintPreviewDialog(previewPrinter_.get(), window_);
    preview_->setObjectName(QStringLiteral("printPreview"));
    preview_->setWindowTitle(QStringLiteral("Nimbra Print Preview"));
    preview_->setAttribute(Qt::WA_DeleteOnClose);
    connect(preview_, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) {
        ListReport report = makeReport();
        printOn(*printer, report);
    });
    connect(preview_, &QDialog::finished, this, &ReportPrinter::previewClosed);
    addPreviewCommands();
    window_->hide();
    if (const QScreen* screen = window_->screen())
        preview_->setGeometry(screen->availableGeometry());
    preview_->showMaximized();
}

// "Save as PDF" and "Close" at the end of the preview's own toolbar.
void ReportPrinter::addPreviewCommands()
{
    QToolBar* bar = preview_->findChild<QToolBar*>();
    if (bar == nullptr) return;
    bar->addSeparator();
    QAction* pdf = bar->addAction(QIcon(QStringLiteral(":/icons/pdf.svg")), tr("Save as PDF"));
    pdf->setObjectName(QStringLiteral("previewSavePdf"));
    connect(pdf, &QAction::triggered, this, [this] { saveAsPdf(preview_); });
    QAction* close = bar->addAction(tr("Close"));
    close->setObjectName(QStringLiteral("previewClose"));
    close->setStatusTip(QStringLiteral("Close print preview mode"));
    close->setToolTip(QStringLiteral("Cancel Preview"));
    connect(close, &QAction::triggered, preview_, &QDialog::reject);
}

void ReportPrinter::previewClosed()
{
    window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace nimbra
