#include "gridjobs/PJSimpleTextGrid.h"

#include "platform/core/ClassRegistry.h"
#include "platform/core/ComponentRegistry.h"

namespace Vellaro {

VELLARO_REGISTER_CLASS(TSimpleTextGridPrintJob)

int TCustomSimpleTextGridPrintJob::GetColWidth(TCanvas* Canvas, int ACol)
{
    int width = 0;
    if (FOnColWidth)
        FOnColWidth(this, Canvas, ACol, width);
    return width;
}

QString TCustomSimpleTextGridPrintJob::GetCellText(int PageIndex, int ACol, int ARow)
{
    QString text;
    if (FOnCellText)
        FOnCellText(this, PageIndex, ACol, ARow, text);
    return text;
}

TAlignment TCustomSimpleTextGridPrintJob::GetCellAlignment(int ACol, int ARow)
{
    TAlignment alignment = taCenter;
    if (FOnCellAlign)
        FOnCellAlign(this, ACol, ARow, alignment);
    return alignment;
}

void RegisterPJSimpleTextGrid()
{
    RegisterComponents(QStringLiteral("Print Jobs"), {QStringLiteral("TSimpleTextGridPrintJob")});
}

} // namespace Vellaro
