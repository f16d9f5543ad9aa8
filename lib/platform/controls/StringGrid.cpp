#include "platform/controls/StringGrid.h"

#include "platform/core/ClassRegistry.h"

#include <algorithm>

#include <QHeaderView>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TStringGrid)

TStringGrid::TStringGrid(TComponent* AOwner, QWidget* parent)
    : QTableWidget(parent)
    , TWinControl(AOwner)
{
    horizontalHeader()->setDefaultSectionSize(64);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setColumnCount(5);
    setRowCount(5);
}

TStringGrid::~TStringGrid()
{
    // Jobs printing the grid forget it while it is still whole.
    DestroyComponent();
}

namespace {
/// The table keeps a pointer per cell: more cells than this would take gigabytes.
constexpr qint64 MaxCells = 10'000'000;
} // namespace

void TStringGrid::SetColCount(int Value)
{
    if (Value < 0 || qint64(Value) * std::max(rowCount(), 1) > MaxCells)
        throw EInvalidOperation(QStringLiteral("Invalid column count %1").arg(Value));
    setColumnCount(Value);
}

void TStringGrid::SetRowCount(int Value)
{
    if (Value < 0 || qint64(Value) * std::max(columnCount(), 1) > MaxCells)
        throw EInvalidOperation(QStringLiteral("Invalid row count %1").arg(Value));
    setRowCount(Value);
}

void TStringGrid::CheckColumn(int ACol) const
{
    if (ACol < 0 || ACol >= columnCount())
        throw EInvalidOperation(QStringLiteral("Grid column %1 out of range").arg(ACol));
}

int TStringGrid::Logical(int ACol) const
{
    return horizontalHeader()->logicalIndex(ACol);
}

void TStringGrid::SetColSizing(bool Value)
{
    FColSizing = Value;
    horizontalHeader()->setSectionResizeMode(Value ? QHeaderView::Interactive : QHeaderView::Fixed);
    ShowHeader();
}

void TStringGrid::SetColMoving(bool Value)
{
    FColMoving = Value;
    horizontalHeader()->setSectionsMovable(Value);
    ShowHeader();
}

void TStringGrid::ShowHeader()
{
    // The header is the only handle the user can drag: it shows while there is something to drag.
    horizontalHeader()->setVisible(FColSizing || FColMoving);
}

int TStringGrid::ColWidths(int ACol) const
{
    CheckColumn(ACol);
    return columnWidth(Logical(ACol));
}

void TStringGrid::SetColWidths(int ACol, int Width)
{
    CheckColumn(ACol);
    setColumnWidth(Logical(ACol), std::max(Width, 0));
}

QString TStringGrid::Cells(int ACol, int ARow) const
{
    if (ACol < 0 || ACol >= columnCount() || ARow < 0)
        return QString();
    const QTableWidgetItem* cell = item(ARow, Logical(ACol));
    return cell ? cell->text() : QString();
}

void TStringGrid::SetCells(int ACol, int ARow, const QString& Text)
{
    CheckColumn(ACol);
    if (ARow < 0 || ARow >= rowCount())
        throw EInvalidOperation(QStringLiteral("Grid row %1 out of range").arg(ARow));
    const int column = Logical(ACol);
    if (QTableWidgetItem* cell = item(ARow, column))
        cell->setText(Text);
    else
        setItem(ARow, column, new QTableWidgetItem(Text));
}

} // namespace Vellaro
