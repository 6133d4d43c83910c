// The printed form of a bug list: a header with "Report" and today's date, a
// table of seven columns whose rows never break across pages, and "n/N" at
// the foot of every page. Everything is laid out in logical units on a page
// 630 units wide whose height follows the device's proportions, so that a
// preview, a printer and a PDF file show the same pages.
#pragma once

#include <QString>

#include <functional>
#include <vector>

#include "client/reportrow.h"

class QFont;
class QPagedPaintDevice;
class QPainter;
class QRectF;

namespace nimbra {

class ListReport {
public:
    static constexpr int kPageWidth = 630;

    // Reads row `row` (0-based); false when the row cannot be read.
    using RowReader = std::function<bool(int row, ReportRow* out)>;

    ListReport(int rowCount, RowReader reader, const QString& dateText);

    // Maps the page onto the painter's device, measures the fonts and every
    // row, and breaks the rows into pages. Call it with the painter active,
    // before pageCount() and printPage().
    void begin(QPainter& painter);
    int pageCount() const { return static_cast<int>(rowsPerPage_.size()); }
    // Draws page `page` (1 to pageCount()).
    void printPage(QPainter& painter, int page) const;
    // begin(), then every page, each after the first on a new sheet. False
    // when the device refuses a new page; the caller then abandons the document.
    bool render(QPainter& painter, QPagedPaintDevice& device);

    // The page's height H in units, the row unit U, the height the rows of
    // one page may fill, and the outcome of the page breaks.
    int pageHeight() const { return pageHeight_; }
    int rowUnit() const { return rowUnit_; }
    int usableHeight() const;
    const std::vector<int>& rowsPerPage() const { return rowsPerPage_; }
    const std::vector<int>& rowHeights() const { return rowHeights_; }

    // How many rows go on each page: rows are added while their heights add
    // up to at most `usableHeight`; the row that overflows starts the next
    // page, and a row taller than a page has one of its own. At least one
    // page, even for no rows.
    static std::vector<int> paginate(const std::vector<int>& heights, int usableHeight);

    static QFont bodyFont();
    static QFont headingFont();

private:
    void mapPage(QPainter& painter) const;
    int rowHeight(QPainter& painter, const ReportRow& row) const;
    int wrappedHeight(QPainter& painter, const QString& text, int width) const;
    void drawHeader(QPainter& painter) const;
    void drawHeadingBand(QPainter& painter) const;
    void drawRows(QPainter& painter, int page) const;
    void drawRow(QPainter& painter, const ReportRow& row, int top, int bottom) const;
    void drawFooter(QPainter& painter, int page) const;
    int firstRowOf(int page) const;
    int footerTop() const;

    int rowCount_;
    RowReader reader_;
    QString dateText_;
    int pageHeight_ = 0;
    int rowUnit_ = 0;
    std::vector<int> rowHeights_;
    std::vector<int> rowsPerPage_;
};

}  // namespace nimbra
