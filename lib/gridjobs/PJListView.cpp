#include "gridjobs/PJListView.h"

#include "platform/core/ClassRegistry.h"
#include "platform/core/ComponentRegistry.h"

#include <cstdlib>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TListViewPrintJob)

void TCustomListViewPrintJob::SetListView(TListView* Value)
{
    if (Value == FListView)
        return;
    if (FListView)
        RemoveFreeNotification(FListView);
    FListView = Value;
    // Told when the list goes away, whoever owns it.
    if (FListView)
        FreeNotification(FListView);
    Update();
}

void TCustomListViewPrintJob::SetDrawIcons(bool Value)
{
    if (Value == FDrawIcons)
        return;
    FDrawIcons = Value;
    Update();
}

void TCustomListViewPrintJob::Notification(TComponent* AComponent, TOperation Operation)
{
    TSpecialTextGridPrintJob::Notification(AComponent, Operation);
    if (Operation == opRemove && FListView && AComponent == static_cast<TComponent*>(FListView))
        FListView = nullptr;
}

int TCustomListViewPrintJob::ListColumnCount() const
{
    return FListView ? FListView->Columns().Count() : 0;
}

void TCustomListViewPrintJob::Update()
{
    // A count setter that changes its count re-enters here; the inner call finds the counts set.
    SetColCount(ListColumnCount());
    SetRowCount(FListView ? FListView->Items().Count() : 0);
    TSpecialTextGridPrintJob::Update();
}

int TCustomListViewPrintJob::GetColWidth(TCanvas* Canvas, int ACol)
{
    if (!FListView)
        return 100;
    TListView* view = FListView;
    // A list without columns has no widths to share: its one printed column is 0 wide.
    return ProportionalColWidth(Canvas, ACol, ListColumnCount(), [view](int col) { return view->Columns().Items(col).Width(); });
}

QString TCustomListViewPrintJob::GetCellText(int PageIndex, int ACol, int ARow)
{
    if (!FListView || ARow == FooterRow)
        return {};
    if (ACol == IndexCol)
        return TSpecialTextGridPrintJob::GetCellText(PageIndex, ACol, ARow);
    if (ARow == HeaderRow)
        return ACol >= 0 && ACol < ListColumnCount() ? FListView->Columns().Items(ACol).Caption() : QString();
    if (ARow < 0 || ARow >= FListView->Items().Count() || ACol < 0)
        return {};
    const TListItem item = FListView->Items().Items(ARow);
    if (ACol == 0)
        return item.Caption();
    const QStringList subItems = item.SubItems();
    return ACol - 1 < subItems.size() ? subItems[ACol - 1] : QString();
}

TAlignment TCustomListViewPrintJob::GetCellAlignment(int ACol, int /*ARow*/)
{
    if (!FListView)
        return taLeftJustify;
    if (ACol == IndexCol)
        return taRightJustify;
    // A column the list does not have is left-aligned.
    return ACol >= 0 && ACol < ListColumnCount() ? FListView->Columns().Items(ACol).Alignment() : taLeftJustify;
}

TImageList* TCustomListViewPrintJob::Images() const
{
    if (!FListView)
        return nullptr;
    return FListView->LargeImages() ? FListView->LargeImages() : FListView->SmallImages();
}

void TCustomListViewPrintJob::DrawCell(TCanvas* Canvas, const TRect& Rect, int PageIndex, int ACol, int ARow, TDrawTarget Target)
{
    TImageList* images = Images();
    if (!FDrawIcons || !images || ACol != 0 || ARow == HeaderRow || ARow == FooterRow) {
        TSpecialTextGridPrintJob::DrawCell(Canvas, Rect, PageIndex, ACol, ARow, Target);
        return;
    }
    // The image of the row's number, not the item's own image, in a square as tall as the
    // font the previous cell left on the canvas, centred vertically and inset as much from the left.
    TBitmap bitmap;
    images->GetBitmap(ARow, &bitmap);
    const int side = std::abs(Canvas->Font()->Height());
    TRect image;
    image.Top = int((std::int64_t(Rect.Top) + Rect.Bottom - side) / 2);
    image.Bottom = image.Top + side;
    image.Left = Rect.Left + (image.Top - Rect.Top);
    image.Right = image.Left + side;
    DrawBitmap(Canvas, image, bitmap, Target);
    TRect textRect = Rect;
    textRect.Left = image.Right;
    TSpecialTextGridPrintJob::DrawCell(Canvas, textRect, PageIndex, ACol, ARow, Target);
}

void RegisterPJListView()
{
    RegisterComponents(QStringLiteral("Print Jobs"), {QStringLiteral("TListViewPrintJob")});
}

} // namespace Vellaro
