#include "platform/controls/RtfTableBuilder.h"

#include "platform/controls/RtfReader.h"

#include <QTextTable>
#include <algorithm>

namespace Vellaro {

namespace {

double Pixels(int twips)
{
    return twips / TwipsPerDocumentPixel;
}

/// The padding of one side: the cell's own, the row's, or the gap between cells on the left
/// and right.
double Padding(const TRtfRowDefinition& row, const TRtfCellDefinition& cell, TRtfRowDefinition::TSide side)
{
    if (cell.Padding[side] >= 0)
        return Pixels(cell.Padding[side]);
    if (row.Padding[side] >= 0)
        return Pixels(row.Padding[side]);
    return side == TRtfRowDefinition::Left || side == TRtfRowDefinition::Right ? Pixels(row.Gap) : 0;
}

} // namespace

void TRtfTableBuilder::StartDefinition()
{
    FDefinition = {};
    FPendingCell = {};
}

void TRtfTableBuilder::AddCell(int right)
{
    if (int(FDefinition.Cells.size()) <= MaxColumns) {
        FPendingCell.Right = right;
        FDefinition.Cells.push_back(FPendingCell);
    }
    FPendingCell = {};
}

void TRtfTableBuilder::StartRow()
{
    const int columns = std::clamp(int(FDefinition.Cells.size()), 1, MaxColumns + 1);
    if (!FTable) {
        QTextTableFormat format;
        format.setBorderCollapse(true);
        format.setBorder(0);
        format.setCellSpacing(0);
        format.setCellPadding(0);
        // Word processors line the first cell's text up with \trleft: the cells' edge lies the
        // gap between cells further left, into the page margin when \trleft is 0.
        format.setLeftMargin(Pixels(FDefinition.LeftEdge - FDefinition.Gap));
        FTable = FCursor.insertTable(1, columns, format);
        FRow = 0;
        FWidthsSet = false;
        FVerticalStart.assign(size_t(columns), -1);
    } else {
        FTable->appendRows(1);
        FRow = FTable->rows() - 1;
        if (FTable->columns() < columns)
            FTable->appendColumns(columns - FTable->columns());
    }
    FVerticalStart.resize(size_t(FTable->columns()), -1);
    FInRow = true;
    FCell = 0;
    FCellEntered = false;
}

void TRtfTableBuilder::MoveToCell(int column)
{
    FCursor = FTable->cellAt(FRow, column).firstCursorPosition();
}

void TRtfTableBuilder::EnterCell()
{
    if (!FTable || !FInRow || FCellEntered)
        return;
    if (FCell >= FTable->columns()) {
        FTable->appendColumns(FCell + 1 - FTable->columns());
        FVerticalStart.resize(size_t(FTable->columns()), -1);
    }
    MoveToCell(FCell);
    FCellEntered = true;
}

void TRtfTableBuilder::NextCell()
{
    // Past the most columns a table takes, the rest of the row goes into its last cell.
    if (!FTable || !FInRow || FCell >= MaxColumns)
        return;
    ++FCell;
    FCellEntered = false;
}

void TRtfTableBuilder::EndRow()
{
    if (!FTable || !FInRow)
        return;
    FInRow = false;
    if (FDefinition.Cells.empty())
        return;
    if (int(FDefinition.Cells.size()) > FTable->columns()) {
        FTable->appendColumns(int(FDefinition.Cells.size()) - FTable->columns());
        FVerticalStart.resize(size_t(FTable->columns()), -1);
        FWidthsSet = false;
    }
    ApplyColumnWidths();
    ApplyCellFormats();
    MergeCells();
    // The cursor stays at the end of the row's last cell until the next row or text.
    FCursor = FTable->cellAt(FRow, FTable->columns() - 1).lastCursorPosition();
}

void TRtfTableBuilder::ApplyColumnWidths()
{
    // Qt keeps one width per column: the first row that defines them all sets them.
    if (FWidthsSet || int(FDefinition.Cells.size()) != FTable->columns())
        return;
    QList<QTextLength> widths;
    int left = FDefinition.LeftEdge;
    for (const TRtfCellDefinition& cell : FDefinition.Cells) {
        widths << QTextLength(QTextLength::FixedLength, Pixels(std::max(cell.Right - left, 0)));
        left = std::max(left, cell.Right);
    }
    QTextTableFormat format = FTable->format();
    format.setColumnWidthConstraints(widths);
    FTable->setFormat(format);
    FWidthsSet = true;
}

void TRtfTableBuilder::ApplyCellFormats()
{
    using TSide = TRtfRowDefinition::TSide;
    const int count = std::min(int(FDefinition.Cells.size()), FTable->columns());
    for (int column = 0; column < count; ++column) {
        const TRtfCellDefinition& cell = FDefinition.Cells[size_t(column)];
        QTextTableCell tableCell = FTable->cellAt(FRow, column);
        if (tableCell.row() != FRow || tableCell.column() != column)
            continue;
        QTextTableCellFormat format = tableCell.format().toTableCellFormat();
        format.setLeftPadding(Padding(FDefinition, cell, TSide::Left));
        format.setRightPadding(Padding(FDefinition, cell, TSide::Right));
        format.setTopPadding(Padding(FDefinition, cell, TSide::Top));
        format.setBottomPadding(Padding(FDefinition, cell, TSide::Bottom));
        // A cell without a border of its own takes the row's on that side.
        const auto border = [&](TSide side) {
            return cell.Borders[side].Width > 0 ? cell.Borders[side] : FDefinition.Borders[side];
        };
        const auto brush = [](const TRtfBorder& b) { return QBrush(b.Color.isValid() ? b.Color : QColor(Qt::black)); };
        const TRtfBorder top = border(TSide::Top), left = border(TSide::Left), bottom = border(TSide::Bottom),
                         right = border(TSide::Right);
        format.setTopBorder(Pixels(top.Width));
        format.setTopBorderBrush(brush(top));
        format.setTopBorderStyle(top.Width > 0 ? QTextFrameFormat::BorderStyle_Solid : QTextFrameFormat::BorderStyle_None);
        format.setLeftBorder(Pixels(left.Width));
        format.setLeftBorderBrush(brush(left));
        format.setLeftBorderStyle(left.Width > 0 ? QTextFrameFormat::BorderStyle_Solid : QTextFrameFormat::BorderStyle_None);
        format.setBottomBorder(Pixels(bottom.Width));
        format.setBottomBorderBrush(brush(bottom));
        format.setBottomBorderStyle(bottom.Width > 0 ? QTextFrameFormat::BorderStyle_Solid : QTextFrameFormat::BorderStyle_None);
        format.setRightBorder(Pixels(right.Width));
        format.setRightBorderBrush(brush(right));
        format.setRightBorderStyle(right.Width > 0 ? QTextFrameFormat::BorderStyle_Solid : QTextFrameFormat::BorderStyle_None);
        if (cell.VAlign & Qt::AlignVCenter)
            format.setVerticalAlignment(QTextCharFormat::AlignMiddle);
        else if (cell.VAlign & Qt::AlignBottom)
            format.setVerticalAlignment(QTextCharFormat::AlignBottom);
        if (cell.Shading.isValid())
            format.setBackground(cell.Shading);
        tableCell.setFormat(format);
    }
}

void TRtfTableBuilder::MergeCells()
{
    const int count = std::min(int(FDefinition.Cells.size()), FTable->columns());
    // Across: a first cell and the merged ones after it.
    for (int column = 0; column < count;) {
        int span = 1;
        if (FDefinition.Cells[size_t(column)].MergeFirst)
            while (column + span < count && FDefinition.Cells[size_t(column + span)].Merged)
                ++span;
        if (span > 1)
            FTable->mergeCells(FRow, column, 1, span);
        column += span;
    }
    // Down: a merged cell joins the first one above it in its column.
    for (int column = 0; column < count; ++column) {
        const TRtfCellDefinition& cell = FDefinition.Cells[size_t(column)];
        int& start = FVerticalStart[size_t(column)];
        if (cell.VMergeFirst)
            start = FRow;
        else if (cell.VMerged && start >= 0)
            FTable->mergeCells(start, column, FRow - start + 1, 1);
        else
            start = -1;
    }
}

void TRtfTableBuilder::Leave()
{
    if (!FTable)
        return;
    if (FInRow)
        EndRow();
    FCursor = FTable->lastCursorPosition();
    FCursor.movePosition(QTextCursor::NextBlock);
    FTable = nullptr;
    FInRow = false;
}

} // namespace Vellaro
