#include "platform/controls/ListView.h"

#include "platform/core/Application.h"
#include "platform/core/ClassRegistry.h"

#include <QHeaderView>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TListView)

namespace {
/// Sub-items are kept whole on the item; the columns only show them.
constexpr int SubItemsRole = Qt::UserRole + 1;
constexpr int DataRole = Qt::UserRole + 2;

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

void* TListItem::Data() const
{
    return reinterpret_cast<void*>(FItem->data(0, DataRole).value<quintptr>());
}

void TListItem::SetData(void* Value)
{
    FItem->setData(0, DataRole, QVariant::fromValue(reinterpret_cast<quintptr>(Value)));
}

int TListItem::Index() const
{
    return FItem->treeWidget() ? FItem->treeWidget()->indexOfTopLevelItem(FItem) : -1;
}

bool TListItem::Selected() const
{
    return FItem->isSelected();
}

void TListItem::SetSelected(bool Value)
{
    FItem->setSelected(Value);
}

bool TListItem::Focused() const
{
    return FItem->treeWidget() && FItem->treeWidget()->currentItem() == FItem;
}

void TListItem::SetFocused(bool Value)
{
    QTreeWidget* view = FItem->treeWidget();
    if (!view)
        return;
    if (Value)
        view->setCurrentItem(FItem, 0, QItemSelectionModel::NoUpdate);
    else if (view->currentItem() == FItem)
        view->setCurrentItem(nullptr, 0, QItemSelectionModel::NoUpdate);
}

void TListItem::Assign(const TListItem& Source)
{
    if (Source.FItem == FItem)
        return;
    SetCaption(Source.Caption());
    SetSubItems(Source.SubItems());
    SetData(Source.Data());
}

void TListItem::Delete()
{
    delete FItem;
    FItem = nullptr;
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
    auto* item = new QTreeWidgetItem(FView);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    return TListItem(item);
}

// ---- Column collection ------------------------------------------------------------------

QString TListColumnItem::Caption() const { return TListColumn(FView, FIndex).Caption(); }
void TListColumnItem::SetCaption(const QString& Value) { TListColumn(FView, FIndex).SetCaption(Value); }
int TListColumnItem::Width() const { return TListColumn(FView, FIndex).Width(); }
void TListColumnItem::SetWidth(int Value) { TListColumn(FView, FIndex).SetWidth(Value); }

TListColumnCollection::~TListColumnCollection() = default;

int TListColumnCollection::Count() const
{
    return FView->Columns().Count();
}

QObject* TListColumnCollection::Item(int Index)
{
    if (Index < 0 || Index >= Count())
        throw EInvalidOperation(QStringLiteral("List column index %1 out of bounds").arg(Index));
    while (int(FItems.size()) <= Index)
        FItems.push_back(std::make_unique<TListColumnItem>(FView, int(FItems.size())));
    return FItems[size_t(Index)].get();
}

void TListColumnCollection::Clear()
{
    FView->Columns().Clear();
    FItems.clear();
}

QObject* TListColumnCollection::Add()
{
    FView->Columns().Add();
    return Item(Count() - 1);
}

void TListItems::Clear()
{
    FView->clear();
}

// ---- View -------------------------------------------------------------------------------

TListView::TListView(TComponent* AOwner, QWidget* parent)
    : QTreeWidget(parent)
    , TWinControl(AOwner)
    , FColumnCollection(std::make_unique<TListColumnCollection>(this))
{
    // Report layout: a flat list with a header of column captions.
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    header()->setStretchLastSection(false);
    setColumnCount(0);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] { ItemChanged(Selected() ? topLevelItem(Selected().Index()) : currentItem()); });
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) { ItemChanged(current); });
}

void TListView::ItemChanged(QTreeWidgetItem* item)
{
    if (item && FOnChange)
        GuardEvent([&] { FOnChange(this, TListItem(item)); });
}

bool TListView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (FReadOnly)
        return false;
    if (trigger != QAbstractItemView::AllEditTriggers && !(editTriggers() & trigger))
        return QTreeWidget::edit(index, trigger, event);
    bool allow = true;
    if (FOnEditing && index.isValid())
        GuardEvent([&] { FOnEditing(this, TListItem(itemFromIndex(index.siblingAtColumn(0))), allow); });
    return allow && QTreeWidget::edit(index, trigger, event);
}

void TListView::SetColumnCollection(TCollection* Value)
{
    if (!Value || Value == FColumnCollection.get())
        return;
    FColumnCollection->Clear();
    for (int i = 0; i < Value->Count(); ++i) {
        QObject* source = Value->Item(i);
        QObject* target = FColumnCollection->Add();
        target->setProperty("Caption", source->property("Caption"));
        target->setProperty("Width", source->property("Width"));
    }
}

TListItem TListView::Selected() const
{
    const QList<QTreeWidgetItem*> items = selectedItems();
    if (items.isEmpty())
        return TListItem();
    // The first in list order, whatever order they were selected in.
    QTreeWidgetItem* first = items.front();
    for (QTreeWidgetItem* item : items)
        if (indexOfTopLevelItem(item) < indexOfTopLevelItem(first))
            first = item;
    return TListItem(first);
}

int TListView::SelCount() const
{
    return int(selectedItems().size());
}

void TListView::SetHideSelection(bool Value)
{
    FHideSelection = Value;
    QPalette p = palette();
    const QPalette::ColorGroup shown = QPalette::Active;
    p.setColor(QPalette::Inactive, QPalette::Highlight, Value ? p.color(shown, QPalette::Base) : p.color(shown, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, Value ? p.color(shown, QPalette::Text) : p.color(shown, QPalette::HighlightedText));
    setPalette(p);
}

bool TListView::MultiSelect() const
{
    return selectionMode() == QAbstractItemView::ExtendedSelection;
}

void TListView::SetMultiSelect(bool Value)
{
    setSelectionMode(Value ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

void TListView::SetReadOnly(bool Value)
{
    FReadOnly = Value;
}

bool TListView::RowSelect() const
{
    return selectionBehavior() == QAbstractItemView::SelectRows && allColumnsShowFocus();
}

void TListView::SetRowSelect(bool Value)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(Value);
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
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FLargeImages)
        FLargeImages = nullptr;
    if (AComponent == FSmallImages)
        FSmallImages = nullptr;
}

} // namespace Vellaro
