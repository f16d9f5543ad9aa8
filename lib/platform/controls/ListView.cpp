#include "platform/controls/ListView.h"

#include <QHeaderView>

namespace Vellaro {

namespace {
/// Sub-items are kept whole on the item; the columns only show them.
constexpr int SubItemsRole = Qt::UserRole + 1;

Qt::Alignment ToQtAlignment(TAlignment alignment)
{
    switch (alignment) {
    case taRightJustify: return Qt::AlignRight | Qt::AlignVCenter;
    case taCenter: return Qt::AlignHCenter | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}
} // namespace

// ---- Columns ----------------------------------------------------------------------------

int TListColumn::Width() const
{
    return FView->columnWidth(FIndex);
}

void TListColumn::SetWidth(int Value)
{
    FView->setColumnWidth(FIndex, std::max(Value, 0));
}

TAlignment TListColumn::Alignment() const
{
    const int flags = FView->headerItem()->textAlignment(FIndex);
    if (flags & Qt::AlignRight)
        return taRightJustify;
    if (flags & Qt::AlignHCenter)
        return taCenter;
    return taLeftJustify;
}

void TListColumn::SetAlignment(TAlignment Value)
{
    FView->headerItem()->setTextAlignment(FIndex, ToQtAlignment(Value));
    for (int i = 0; i < FView->topLevelItemCount(); ++i)
        FView->topLevelItem(i)->setTextAlignment(FIndex, ToQtAlignment(Value));
}

QString TListColumn::Caption() const
{
    return FView->headerItem()->text(FIndex);
}

void TListColumn::SetCaption(const QString& Value)
{
    FView->headerItem()->setText(FIndex, Value);
}

int TListColumns::Count() const
{
    return FView->columnCount();
}

TListColumn TListColumns::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EInvalidOperation(QStringLiteral("List column index %1 out of bounds").arg(Index));
    return TListColumn(FView, Index);
}

TListColumn TListColumns::Add()
{
    const int index = Count();
    FView->setColumnCount(index + 1);
    TListColumn column(FView, index);
    column.SetCaption(QString());
    column.SetAlignment(taLeftJustify);
    column.SetWidth(50);
    return column;
}

void TListColumns::Clear()
{
    FView->setColumnCount(0);
}

// ---- Items ------------------------------------------------------------------------------

QString TListItem::Caption() const
{
    return FItem->text(0);
}

void TListItem::SetCaption(const QString& Value)
{
    FItem->setText(0, Value);
}

QStringList TListItem::SubItems() const
{
    return FItem->data(0, SubItemsRole).toStringList();
}

void TListItem::SetSubItems(const QStringList& Value)
{
    const int shown = std::max(FItem->columnCount() - 1, int(Value.size()));
    for (int i = 0; i < shown; ++i)
        FItem->setText(i + 1, i < Value.size() ? Value[i] : QString());
    FItem->setData(0, SubItemsRole, Value);
}

int TListItems::Count() const
{
    return FView->topLevelItemCount();
}

TListItem TListItems::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EInvalidOperation(QStringLiteral("List item index %1 out of bounds").arg(Index));
    return TListItem(FView->topLevelItem(Index));
}

TListItem TListItems::Add()
{
    return TListItem(new QTreeWidgetItem(FView));
}

void TListItems::Clear()
{
    FView->clear();
}

// ---- View -------------------------------------------------------------------------------

TListView::TListView(TComponent* AOwner, QWidget* parent)
    : QTreeWidget(parent)
    , TControl(AOwner)
{
    // Report layout: a flat list with a header of column captions.
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    header()->setStretchLastSection(false);
    setColumnCount(0);
}

TListView::~TListView()
{
    // Jobs printing the view forget it while it is still whole.
    DestroyComponent();
}

void TListView::Link(TImageList*& field, TImageList* Value)
{
    if (field == Value)
        return;
    TImageList* old = field;
    field = Value;
    // Both properties may name one list: keep hearing about it while either still does.
    if (old && old != FLargeImages && old != FSmallImages)
        RemoveFreeNotification(old);
    if (Value)
        FreeNotification(Value);
}

void TListView::SetLargeImages(TImageList* Value)
{
    Link(FLargeImages, Value);
}

void TListView::SetSmallImages(TImageList* Value)
{
    Link(FSmallImages, Value);
}

void TListView::Notification(TComponent* AComponent, TOperation Operation)
{
    TControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FLargeImages)
        FLargeImages = nullptr;
    if (AComponent == FSmallImages)
        FSmallImages = nullptr;
}

} // namespace Vellaro
