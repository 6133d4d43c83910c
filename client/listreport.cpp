#include "client/listreport.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace nimbra {

namespace {

// The table spans x = 15 to 615; the header ends with a line at y = 35, the
// heading band starts at y = 43, and the footer line lies 43 units above
// the bottom of the page.
constexpr int kLeft = 15;
constexpr int kRight = 615;
constexpr int kHeaderTop = 15;
constexpr int kHeaderLine = 35;
constexpr int kTitleLeft = 20;
constexpr int kBandTop = 43;
constexpr int kFooterGap = 43;
constexpr int kFooterEdge = 15;
constexpr int kCellInset = 2;
constexpr int kIdInset = 3;
constexpr int kRowPadding = 4;
constexpr int kGridWidth = 2;
const QColor kBandColor(192, 192, 192);

enum class Cell { Number, Wrapped, Line };

struct Column {
    const char* heading;
    int width;
    Cell cell;
    QString ReportRow::*text;
};

const Column kColumns[] = {
    {"ID", 50, Cell::Number, nullptr},
    {"Description", 200, Cell::Wrapped, &ReportRow::description},
    {"Status", 55, Cell::Line, &ReportRow::status},
    {"Priority", 60, Cell::Line, &ReportRow::priority},
    {"Severity", 65, Cell::Line, &ReportRow::severity},
    {"Reproductive", 80, Cell::Line, &ReportRow::reproductive},
    {"Classification", 90, Cell::Wrapped, &ReportRow::classification},
};

// A wrapped cell's text fills a box two units inside each side of its column.
int BoxWidth(const Column& column)
{
    return column.width - 2 * kCellInset;
}

// Word-wrapped, breaking inside a word only when it is wider than the box,
// with unhinted advances so that every device breaks the lines alike.
QTextOption WrappedText()
{
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setUseDesignMetrics(true);
    return option;
}

QTextOption LineText(Qt::Alignment alignment)
{
    QTextOption option(alignment);
    option.setWrapMode(QTextOption::NoWrap);
    option.setUseDesignMetrics(true);
    return option;
}

QFont ReportFont(int height)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(height);
    font.setWeight(QFont::Normal);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QPen GridPen()
{
    return QPen(QBrush(Qt::black), kGridWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

// A one-line cell: the text as far as the cell is wide.
void DrawLine(QPainter& painter, const QString& text, const QRectF& box)
{
    const QString shown =
        painter.fontMetrics().elidedText(text, Qt::ElideRight, static_cast<int>(box.width()));
    painter.drawText(box, shown, LineText(Qt::AlignLeft | Qt::AlignTop));
}

}  // namespace

ListReport::ListReport(int rowCount, RowReader reader, const QString& dateText)
    : rowCount_(std::max(rowCount, 0)), reader_(std::move(reader)), dateText_(dateText)
{
}

QFont ListReport::bodyFont()
{
    return ReportFont(9);
}

QFont ListReport::headingFont()
{
    return ReportFont(12);
}

int ListReport::usableHeight() const
{
    return pageHeight_ - rowUnit_ - 2 * kFooterGap;
}

int ListReport::footerTop() const
{
    return pageHeight_ - kFooterGap;
}

void ListReport::mapPage(QPainter& painter) const
{
    const QPaintDevice* device = painter.device();
    painter.setViewport(0, 0, device->width(), device->height());
    painter.setWindow(0, 0, kPageWidth, pageHeight_);
}

void ListReport::begin(QPainter& painter)
{
    const QPaintDevice* device = painter.device();
    pageHeight_ = device->width() > 0
                      ? static_cast<int>(std::lround(static_cast<double>(kPageWidth) *
                                                     device->height() / device->width()))
                      : 0;
    mapPage(painter);
    painter.setFont(bodyFont());
    rowUnit_ = painter.fontMetrics().height() + kRowPadding;
    rowHeights_.clear();
    rowHeights_.reserve(static_cast<std::size_t>(rowCount_));
    for (int row = 0; row < rowCount_; ++row) {
        ReportRow cells;
        if (!reader_(row, &cells)) cells = ReportRow();
        rowHeights_.push_back(rowHeight(painter, cells));
    }
    rowsPerPage_ = paginate(rowHeights_, usableHeight());
}

int ListReport::wrappedHeight(QPainter& painter, const QString& text, int width) const
{
    const QRectF needed = painter.boundingRect(QRectF(0, 0, width, 1e6), text, WrappedText());
    return std::max(static_cast<int>(std::ceil(needed.height())), rowUnit_);
}

int ListReport::rowHeight(QPainter& painter, const ReportRow& row) const
{
    return std::max(wrappedHeight(painter, row.description, BoxWidth(kColumns[1])),
                    wrappedHeight(painter, row.classification, BoxWidth(kColumns[6]))) +
           kRowPadding;
}

std::vector<int> ListReport::paginate(const std::vector<int>& heights, int usableHeight)
{
    std::vector<int> pages;
    int onPage = 0;
    int filled = 0;
    for (const int height : heights) {
        if (onPage > 0 && filled + height > usableHeight) {
            pages.push_back(onPage);
            onPage = 0;
            filled = 0;
        }
        filled += height;
        ++onPage;
    }
    pages.push_back(onPage);
    return pages;
}

bool ListReport::render(QPainter& painter, QPagedPaintDevice& device)
{
    begin(painter);
    for (int page = 1; page <= pageCount(); ++page) {
        if (page > 1 && !device.newPage()) return false;
        printPage(painter, page);
    }
    return true;
}

void ListReport::printPage(QPainter& painter, int page) const
{
    if (page < 1 || page > pageCount()) return;
    painter.save();
    mapPage(painter);
    painter.setPen(GridPen());
    drawHeader(painter);
    drawHeadingBand(painter);
    drawRows(painter, page);
    drawFooter(painter, page);
    painter.restore();
}

void ListReport::drawHeader(QPainter& painter) const
{
    const QRectF band(kTitleLeft, kHeaderTop, kRight - kCellInset - kTitleLeft,
                      kHeaderLine - kHeaderTop);
    painter.setFont(headingFont());
    painter.drawText(band, QStringLiteral("Report"), LineText(Qt::AlignLeft | Qt::AlignVCenter));
    painter.drawText(band, dateText_, LineText(Qt::AlignRight | Qt::AlignVCenter));
    painter.drawLine(kLeft, kHeaderLine, kRight, kHeaderLine);
    painter.setFont(bodyFont());
}

void ListReport::drawHeadingBand(QPainter& painter) const
{
    painter.fillRect(QRect(kLeft, kBandTop, kRight - kLeft, rowUnit_), kBandColor);
    int x = kLeft;
    for (const Column& column : kColumns) {
        painter.drawText(QRectF(x + kCellInset, kBandTop + kCellInset, BoxWidth(column), rowUnit_),
                         QString::fromLatin1(column.heading), LineText(Qt::AlignLeft));
        painter.drawLine(x, kBandTop, x, kBandTop + rowUnit_);
        x += column.width;
    }
}

int ListReport::firstRowOf(int page) const
{
    int first = 0;
    for (int p = 1; p < page; ++p) first += rowsPerPage_[static_cast<std::size_t>(p - 1)];
    return first;
}

void ListReport::drawRows(QPainter& painter, int page) const
{
    const int first = firstRowOf(page);
    const int end = first + rowsPerPage_[static_cast<std::size_t>(page - 1)];
    int top = kBandTop + rowUnit_;
    for (int row = first; row < end; ++row) {
        ReportRow cells;
        if (!reader_(row, &cells)) return;  // an unreadable row ends the page's rows
        // A row taller than a page stops at the footer line.
        const int bottom = std::min(top + rowHeights_[static_cast<std::size_t>(row)], footerTop());
        drawRow(painter, cells, top, bottom);
        top = bottom;
    }
}

void ListReport::drawRow(QPainter& painter, const ReportRow& row, int top, int bottom) const
{
    int x = kLeft;
    for (const Column& column : kColumns) {
        painter.drawLine(x, top, x, bottom);
        const QRectF box(x + kCellInset, top + kCellInset, BoxWidth(column),
                         bottom - top - 2 * kCellInset);
        painter.save();
        painter.setClipRect(box.adjusted(0, 0, 0, kCellInset));
        switch (column.cell) {
            case Cell::Number:
                painter.drawText(box.adjusted(kIdInset - kCellInset, 0, 0, 0),
                                 QString::number(row.id), LineText(Qt::AlignLeft));
                break;
            case Cell::Wrapped:
                painter.drawText(box, row.*column.text, WrappedText());
                break;
            case Cell::Line:
                DrawLine(painter, row.*column.text, box);
                break;
        }
        painter.restore();
        x += column.width;
    }
    painter.drawLine(kRight, top, kRight, bottom);
    painter.drawLine(kLeft, bottom, kRight, bottom);
}

void ListReport::drawFooter(QPainter& painter, int page) const
{
    const int top = footerTop();
    painter.drawLine(kLeft, top, kRight, top);
    painter.drawText(QRectF(kLeft, top, kRight - kCellInset - kLeft, kFooterGap - kFooterEdge),
                     QStringLiteral("%1/%2").arg(page).arg(pageCount()),
                     LineText(Qt::AlignRight | Qt::AlignVCenter));
}

}  // namespace nimbra
