#include "gridjobs/PJStringGrid.h"

#include "platform/core/ClassRegistry.h"
#include "platform/core/ComponentRegistry.h"

namespace Vellaro {

VELLARO_REGISTER_CLASS(TStringGridPrintJob)

void TCustomStringGridPrintJob::SetStringGrid(TStringGrid* Value)
{
    if (Value == FStringGrid)
        return;
    if (FStringGrid)
        RemoveFreeNotification(FStringGrid);
    FStringGrid = Value;
    // Told when the grid goes away, whoever owns it.
    if (FStringGrid)
        FreeNotification(FStringGrid);
    Update();
}

void TCustomStringGridPrintJob::Notification(TComponent* AComponent, TOperation Operation)
{
    TSpecialTextGridPrintJob::Notification(AComponent, Operation);
    if (Operation == opRemove && FStringGrid && AComponent == static_cast<TComponent*>(FStringGrid))
        FStringGrid = nullptr;
}

void TCustomStringGridPrintJob::Update()
{
    // A count setter that changes its count re-enters here; the inner call finds the counts set.
    if (FStringGrid) {
        SetColCount(FStringGrid->ColCount());
        SetRowCount(FStringGrid->RowCount() - (Options().Contains(joHeader) ? 1 : 0));
    } else {
        SetColCount(0);
        SetRowCount(0);
    }
    TSpecialTextGridPrintJob::Update();
}

int TCustomStringGridPrintJob::GetColWidth(TCanvas* Canvas, int ACol)
{
    if (!FStringGrid)
        return 100;
    TStringGrid* grid = FStringGrid;
    return ProportionalColWidth(Canvas, ACol, grid->ColCount(), [grid](int col) { return grid->ColWidths(col); });
}

QString TCustomStringGridPrintJob::GetCellText(int PageIndex, int ACol, int ARow)
{
    if (!FStringGrid)
        // Without a grid only the page number is left to show.
        return ARow == FooterRow ? TSpecialTextGridPrintJob::GetCellText(PageIndex, ACol, ARow) : QString();
    if (ACol == IndexCol || ARow == FooterRow)
        return TSpecialTextGridPrintJob::GetCellText(PageIndex, ACol, ARow);
    if (ARow == HeaderRow)
        return FStringGrid->Cells(ACol, 0);
    // With the header on, grid row 0 holds the titles and the data starts below it; a grid
    // without that row answers an empty text.
    const qint64 gridRow = qint64(ARow) + (Options().Contains(joHeader) ? 1 : 0);
    return gridRow <= INT_MAX ? FStringGrid->Cells(ACol, int(gridRow)) : QString();
}

void RegisterPJStringGrid()
{
    RegisterComponents(QStringLiteral("Print Jobs"), {QStringLiteral("TStringGridPrintJob")});
}

} // namespace Vellaro
