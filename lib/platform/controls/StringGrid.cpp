#include "platform/controls/StringGrid.h"

#include "platform/core/ClassRegistry.h"

#include <algorithm>

#include <QHeaderView>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TStringGrid)

TStringGrid::TStringGrid(TComponent* AOwner, QWidget* parent)
    : QTableWidget(parent)
    , TControl(AOwner)
{
    horizontalHeader()->setDefaultSectionSize(64);
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

int TStringGrid::ColWidths(int ACol) const
{
    CheckColumn(ACol);
    return columnWidth(ACol);
}

void TStringGrid::SetColWidths(int ACol, int Width)
{
    CheckColumn(ACol);
    setColumnWidth(ACol, std::max(Width, 0));
}

QString TStringGrid::Cells(int ACol, int ARow) const
{
    const QTableWidgetItem* cell = (ACol >= 0 && ARow >= 0) ? item(ARow, ACol) : nullptr;
    return cell ? cell->text() : QString();
}

void TStringGrid::SetCells(int ACol, int ARow, const QString& Text)
{
    CheckColumn(ACol);
    if (ARow < 0 || ARow >= rowCount())
        throw EInvalidOperation(QStringLiteral("Grid row %1 out of range").arg(ARow));
    if (QTableWidgetItem* cell = item(ARow, ACol))
        cell->setText(Text);
    else
        setItem(ARow, ACol, new QTableWidgetItem(Text));
}

} // namespace Vellaro
