#include "gridjobs/PJTextGrid.h"

namespace Vellaro {

TCustomTextGridPrintJob::TCustomTextGridPrintJob(TComponent* AOwner)
    : TCustomGridPrintJob(AOwner)
    , FHeaderFont(std::make_unique<TFont>())
    , FPageFont(std::make_unique<TFont>())
    , FFooterFont(std::make_unique<TFont>())
{
    FHeaderFont->SetName(QStringLiteral("Arial"));
    FHeaderFont->SetSize(12);
    FPageFont->Assign(*FHeaderFont);
    FFooterFont->Assign(*FHeaderFont);
}

TCustomTextGridPrintJob::~TCustomTextGridPrintJob()
{
    BeginDestruction();
    FHeaderFont.reset();
    FPageFont.reset();
    FFooterFont.reset();
}

void TCustomTextGridPrintJob::AssignFont(TFont* target, const TFont* Value)
{
    if (Value)
        target->Assign(*Value);
    // Fonts have no change tracking of their own: assigning always tells the subscribers.
    Update();
}

void TCustomTextGridPrintJob::SetHeaderFont(const TFont* Value)
{
    AssignFont(FHeaderFont.get(), Value);
}

void TCustomTextGridPrintJob::SetPageFont(const TFont* Value)
{
    AssignFont(FPageFont.get(), Value);
}

void TCustomTextGridPrintJob::SetFooterFont(const TFont* Value)
{
    AssignFont(FFooterFont.get(), Value);
}

void TCustomTextGridPrintJob::SetClipMode(TClipMode Value)
{
    if (Value == FClipMode)
        return;
    FClipMode = Value;
    Update();
}

int TCustomTextGridPrintJob::IndexColWidth(TCanvas* Canvas)
{
    // One more than the last row number printed, so the widest number always fits.
    const qint64 widest = qint64(IndexStart()) + RowCount();
    return Canvas->TextWidth(QStringLiteral("    ") + QString::number(widest)) + 2;
}

int TCustomTextGridPrintJob::GetColWidth(TCanvas* Canvas, int ACol)
{
    return ACol == IndexCol ? IndexColWidth(Canvas) : 0;
}

QString TCustomTextGridPrintJob::GetCellText(int PageIndex, int ACol, int ARow)
{
    if (ACol == IndexCol) {
        if (ARow == HeaderRow)
            return QStringLiteral("#");
        if (ARow == FooterRow)
            return {};
        return QString::number(qint64(ARow) + IndexStart());
    }
    if (ACol == ColCount() - 1 && ARow == FooterRow)
        return QStringLiteral("Page %1 from %2").arg(PageIndex).arg(PageCount());
    return {};
}

TAlignment TCustomTextGridPrintJob::GetCellAlignment(int ACol, int ARow)
{
    return ACol == IndexCol || ARow == FooterRow ? taRightJustify : taLeftJustify;
}

void TCustomTextGridPrintJob::DrawCell(TCanvas* Canvas, const TRect& Rect, int PageIndex, int ACol, int ARow, TDrawTarget /*Target*/)
{
    const QString text = GetCellText(PageIndex, ACol, ARow);
    const TFont* font = ARow == HeaderRow ? FHeaderFont.get() : ARow == FooterRow ? FFooterFont.get() : FPageFont.get();
    Canvas->Font()->Assign(*font);
    unsigned format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (FClipMode == cmNone)
        format |= DT_NOCLIP;
    else if (FClipMode == cmEllipsis)
        format |= DT_END_ELLIPSIS;
    switch (GetCellAlignment(ACol, ARow)) {
    case taRightJustify: format |= DT_RIGHT; break;
    case taCenter: format |= DT_CENTER; break;
    default: break;
    }
    // Inset by two spaces at the sides (less 2 at the right) and 2 at the top.
    const int inset = Canvas->TextWidth(QStringLiteral("  "));
    TRect textRect{Rect.Left + inset, Rect.Top + 2, Rect.Right - inset + 2, Rect.Bottom};
    DrawText(Canvas->Handle(), text, &textRect, format);
}

void TSpecialTextGridPrintJob::DrawArea(TCanvas* TheCanvas, int PageIndex, TRect TheRect, TDrawArea Area, TDrawTarget Target)
{
    if (Area == daFooter) {
        DrawCell(TheCanvas, TheRect, PageIndex, ColCount() - 1, FooterRow, Target);
        return;
    }
    TCustomTextGridPrintJob::DrawArea(TheCanvas, PageIndex, TheRect, Area, Target);
}

int TSpecialTextGridPrintJob::ProportionalColWidth(TCanvas* Canvas, int ACol, int SourceCount,
    const std::function<int(int)>& SourceWidth)
{
    const TCanvasFontSaver pageFont(Canvas, *PageFont());
    if (ACol == IndexCol)
        return IndexColWidth(Canvas);
    const TRect page = GetPageRect();
    const std::int64_t available = std::int64_t(page.Right) - page.Left - (IndexColumn() ? IndexColWidth(Canvas) : 0);
    std::int64_t total = 0;
    for (int col = 0; col < SourceCount; ++col)
        total += SourceWidth(col);
    // Widths adding up to 0 leave nothing to share out: every column is then 0 wide.
    if (ACol < 0 || ACol >= SourceCount || total == 0)
        return 0;
    return ClampToInt(SourceWidth(ACol) * available / total);
}

TCanvasFontSaver::TCanvasFontSaver(TCanvas* Canvas, const TFont& Font)
    : FCanvas(Canvas)
{
    FSaved = *Canvas->Font();
    Canvas->Font()->Assign(Font);
}

TCanvasFontSaver::~TCanvasFontSaver()
{
    *FCanvas->Font() = FSaved;
}

} // namespace Vellaro
