#include "gridjobs/PJSimpleGrid.h"

#include "platform/core/ClassRegistry.h"
#include "platform/core/ComponentRegistry.h"

namespace Vellaro {

VELLARO_REGISTER_CLASS(TSimpleGridPrintJob)

int TCustomSimpleGridPrintJob::GetColWidth(TCanvas* Canvas, int ACol)
{
    int width = TCustomGridPrintJob::GetColWidth(Canvas, ACol);
    if (FOnColWidth)
        FOnColWidth(this, Canvas, ACol, width);
    return width;
}

void TCustomSimpleGridPrintJob::DrawCell(TCanvas* Canvas, const TRect& Rect, int PageIndex, int ACol, int ARow, TDrawTarget Target)
{
    // The canvas is handed over as the previous cell left it; nothing clips the handler.
    if (FOnDrawCell)
        FOnDrawCell(this, Canvas, Rect, PageIndex, ACol, ARow, Target);
}

void RegisterPJSimpleGrid()
{
    RegisterComponents(QStringLiteral("Print Jobs"), {QStringLiteral("TSimpleGridPrintJob")});
}

} // namespace Vellaro
