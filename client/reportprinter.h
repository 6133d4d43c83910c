// Printing, preview and PDF export of the active bug list. The pages come
// from ListReport, so the three show the same report. While the preview
// window "Nimbra Print Preview" is open the main window is hidden; closing
// the preview brings it back.
#pragma once

#include <QObject>
#include <QPointer>
#include <QPrintPreviewDialog>

#include <memory>

#include "client/listreport.h"

class QMainWindow;
class QPrinter;
class QWidget;

namespace nimbra {

class BugTabView;
class ClientOptions;

class ReportPrinter : public QObject {
    Q_OBJECT
public:
    ReportPrinter(QMainWindow* window, BugTabView* lists, const ClientOptions& options);
    ~ReportPrinter() override;

    // The report of the active list as it is now, dated today.
    ListReport makeReport() const;

    // The system's print dialog (without a selection, a page range or a
    // file to print to), then every page; cancelling prints nothing.
    void print();
    // Opens the preview, or brings an open one forward.
    void preview();
    // Asks for a file name, then writes the report there as PDF.
    void saveAsPdf(QWidget* parent);

    // Every page of `report` on `printer`, each on its own sheet. A page
    // that cannot be finished aborts the document; false then.
    static bool printOn(QPrinter& printer, ListReport& report);
    // Writes `report` as a PDF file; false with the reason in `error`.
    static bool writePdf(ListReport& report, const QString& path, QString* error);

    QPrintPreviewDialog* previewWindow() const { return preview_; }

private:
    void addPreviewCommands();
    void previewClosed();

    QMainWindow* window_;
    BugTabView* lists_;
    const ClientOptions& options_;
    std::unique_ptr<QPrinter> previewPrinter_;
    QPointer<QPrintPreviewDialog> preview_;
};

}  // namespace nimbra
