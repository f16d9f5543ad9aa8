#pragma once
// The table of the PDF cost comparison, twice: as a simple text grid job, and drawn by hand
// with QPainter on a QPdfWriter the way an application programmer would (one line per row and
// column edge, one drawText per cell). The hand-drawn version takes its geometry from the job,
// so both show the same table.

#include "gridjobs/PJSimpleTextGrid.h"
#include "platform/printing/Printers.h"

#include <QPainter>
#include <QPdfWriter>
#include <set>

namespace Vellaro::Testing {

constexpr int TableCols = 6;
constexpr int TableRowsPerPage = 60;

inline QString TableCellText(int page, int col, int row)
{
    if (row == HeaderRow)
        return QStringLiteral("Column %1").arg(col + 1);
    if (row == FooterRow)
        return QStringLiteral("Page %1").arg(page);
    return QStringLiteral("Row %1, cell %2").arg(row + 1).arg(col + 1);
}

/// A 6-column table of rows, 60 rows a page, with every border, on the selected printer.
inline void SetUpTableJob(TSimpleTextGridPrintJob& job, int rows)
{
    job.SetColCount(TableCols);
    job.SetRowCount(rows);
    job.SetRowsPerPage(TableRowsPerPage);
    job.SetIndexColumn(false);
    const TCellBorders all{cbTop, cbLeft, cbRight, cbBottom};
    job.SetTableBorders(all);
    job.SetHeaderCellBorders(all);
    job.SetPageCellBorders(all);
    job.SetFooterCellBorders(all);
    job.SetOptions({joMargins, joHeader, joFooter});
    job.SetMarginsUnits(unMillimeters);
    TMargins margins;
    margins.SetLeft(15);
    margins.SetTop(15);
    margins.SetRight(15);
    margins.SetBottom(15);
    job.SetMargins(&margins);
    job.SetHeader(4);
    job.SetHeaderUnits(unPercents);
    job.SetFooter(4);
    job.SetFooterUnits(unPercents);
    TFont font;
    font.SetName(QStringLiteral("Arial"));
    font.SetSize(9);
    job.SetHeaderFont(&font);
    job.SetPageFont(&font);
    job.SetFooterFont(&font);
    // The page is laid out now, on the selected printer: the width is worked out once.
    const int colWidth = job.GetPageRect().Width() / TableCols;
    job.SetOnColWidth([colWidth](TComponent*, TCanvas*, int, int& width) { width = colWidth; });
    job.SetOnCellText([](TComponent*, int page, int col, int row, QString& text) { text = TableCellText(page, col, row); });
    job.SetOnCellAlign([](TComponent*, int, int, TAlignment& alignment) { alignment = taLeftJustify; });
}

/// Prints pages first..last of the job's table by hand into a PDF at path, as the PDF printer
/// would lay the page out (its paper and resolution, no margins).
inline void PrintTableByHand(TSimpleTextGridPrintJob& job, const QString& path, int first, int last)
{
    const int dpi = TPdfPrinterDevice::Resolution;
    QPdfWriter writer(path);
    writer.setResolution(dpi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter(&writer);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(qRound(job.PageFont()->Size() * dpi / 72.0));
    font.setHintingPreference(QFont::PreferNoHinting);
    painter.setFont(font);
    painter.setPen(QPen(Qt::black, 0));
    const TRect header = job.GetHeaderRect();
    const TRect footer = job.GetFooterRect();
    const int colWidth = job.GetPageRect().Width() / TableCols;
    const int inset = QFontMetrics(font).horizontalAdvance(QStringLiteral("  "));
    for (int page = first; page <= last; ++page) {
        if (page > first)
            writer.newPage();
        std::set<int> edges{header.Top, header.Bottom, footer.Top, footer.Bottom};
        const auto drawRow = [&](int row, int top, int bottom) {
            for (int col = 0; col < TableCols; ++col) {
                const int left = header.Left + col * colWidth;
                const QRect box(left + inset, top + 2, colWidth - 1 - 2 * inset + 2, bottom - top - 2);
                painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, TableCellText(page, col, row));
            }
            edges.insert(top);
            edges.insert(bottom);
        };
        drawRow(HeaderRow, header.Top, header.Bottom);
        const int firstRow = (page - 1) * TableRowsPerPage;
        const int lastRow = std::min(page * TableRowsPerPage, job.RowCount());
        for (int row = firstRow; row < lastRow; ++row)
            drawRow(row, job.GetRowTop(page, row), job.GetRowTop(page, row + 1));
        drawRow(FooterRow, footer.Top, footer.Bottom);
        const int right = header.Left + TableCols * colWidth;
        for (const int y : edges)
            painter.drawLine(header.Left, y, right + 1, y);
        for (int col = 0; col <= TableCols; ++col)
            painter.drawLine(header.Left + col * colWidth, header.Top, header.Left + col * colWidth, footer.Bottom + 1);
    }
}

} // namespace Vellaro::Testing
