#pragma once
// TListView: a list of items with sub-items shown in columns (report layout) on a Qt tree
// widget, with the members the list view print job reads: columns (Width, Alignment, Caption),
// items (Caption, SubItems) and the image lists LargeImages and SmallImages.

#include "platform/controls/Alignment.h"
#include "platform/controls/Controls.h"
#include "platform/core/Collection.h"
#include "platform/graphics/ImageList.h"

#include <QStringList>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <vector>

namespace Vellaro {

class TListView;

/// One column of a list view: a handle onto the view's header section.
class VELLARO_EXPORT TListColumn {
public:
    TListColumn(TListView* View, int Index) : FView(View), FIndex(Index) {}
    int Index() const { return FIndex; }
    int Width() const;
    void SetWidth(int Value);
    TAlignment Alignment() const;
    void SetAlignment(TAlignment Value);
    /// The column's caption as shown in the header.
    QString Caption() const;
    void SetCaption(const QString& Value);

private:
    TListView* FView;
    int FIndex;
};

/// The columns of a list view.
class VELLARO_EXPORT TListColumns {
public:
    explicit TListColumns(TListView* View) : FView(View) {}
    int Count() const;
    /// Raises EInvalidOperation for an index outside the columns.
    TListColumn Items(int Index) const;
    /// Appends a column 50 pixels wide, left-aligned, without caption.
    TListColumn Add();
    void Clear();

private:
    TListView* FView;
};

/// One column as an item of the Columns collection that form files store.
class VELLARO_EXPORT TListColumnItem : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
public:
    TListColumnItem(TListView* View, int Index) : FView(View), FIndex(Index) {}
    QString Caption() const;
    void SetCaption(const QString& Value);
    int Width() const;
    void SetWidth(int Value);

private:
    TListView* FView;
    int FIndex;
};

/// The columns of a list view as a collection.
class VELLARO_EXPORT TListColumnCollection : public TCollection {
    Q_OBJECT
public:
    explicit TListColumnCollection(TListView* View) : FView(View) {}
    ~TListColumnCollection() override;
    int Count() const override;
    QObject* Item(int Index) override;
    void Clear() override;
    QObject* Add() override;

private:
    TListView* FView;
    std::vector<std::unique_ptr<TListColumnItem>> FItems;
};

/// One item of a list view: its caption in the first column, its sub-items in the others,
/// a pointer of the application's (Data), and its selected and focused states.
class VELLARO_EXPORT TListItem {
public:
    explicit TListItem(QTreeWidgetItem* Item = nullptr) : FItem(Item) {}
    /// False for the empty handle that Selected() gives when nothing is selected.
    explicit operator bool() const { return FItem != nullptr; }
    friend bool operator==(const TListItem& a, const TListItem& b) { return a.FItem == b.FItem; }
    QString Caption() const;
    void SetCaption(const QString& Value);
    QStringList SubItems() const;
    void SetSubItems(const QStringList& Value);
    void* Data() const;
    void SetData(void* Value);
    int Index() const;
    bool Selected() const;
    void SetSelected(bool Value);
    bool Focused() const;
    /// Makes the item the view's current one (the focus rectangle).
    void SetFocused(bool Value);
    /// Copies caption, sub-items and data of Source.
    void Assign(const TListItem& Source);
    /// Removes the item from its view; the handle is empty afterwards.
    void Delete();

private:
    QTreeWidgetItem* FItem;
};

/// The items of a list view.
class VELLARO_EXPORT TListItems {
public:
    explicit TListItems(TListView* View) : FView(View) {}
    int Count() const;
    /// Raises EInvalidOperation for an index outside the items.
    TListItem Items(int Index) const;
    TListItem Add();
    void Clear();

private:
    TListView* FView;
};

/// An item's state changed (selection or focus).
using TLVChangeEvent = std::function<void(TComponent* Sender, TListItem Item)>;
/// An item's caption is about to be edited in place; AllowEdit false refuses it.
using TLVEditingEvent = std::function<void(TComponent* Sender, TListItem Item, bool& AllowEdit)>;

/// A list view in report layout: one row per item, one column per list column.
class VELLARO_EXPORT TListView : public QTreeWidget, public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vellaro::ControlsTypes::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(Vellaro::TCollection* Columns READ ColumnCollection WRITE SetColumnCollection)
    Q_PROPERTY(bool HideSelection READ HideSelection WRITE SetHideSelection)
    Q_PROPERTY(bool MultiSelect READ MultiSelect WRITE SetMultiSelect)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool RowSelect READ RowSelect WRITE SetRowSelect)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(Vellaro::TLVChangeEvent OnChange READ OnChange WRITE SetOnChange)
    Q_PROPERTY(Vellaro::TLVEditingEvent OnEditing READ OnEditing WRITE SetOnEditing)
public:
    explicit TListView(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TListView() override;
    QWidget* Widget() override { return this; }

    TListColumns Columns() { return TListColumns(this); }
    TListItems Items() { return TListItems(this); }
    TCollection* ColumnCollection() const { return FColumnCollection.get(); }
    /// Copies the captions and widths of another column collection.
    void SetColumnCollection(TCollection* Value);
    /// The first selected item (an empty handle when none is).
    TListItem Selected() const;
    int SelCount() const;
    /// Selected items stay highlighted while the view has no focus when this is false.
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    bool MultiSelect() const;
    void SetMultiSelect(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    /// The whole row highlights, not only the caption.
    bool RowSelect() const;
    void SetRowSelect(bool Value);
    TLVChangeEvent OnChange() const { return FOnChange; }
    void SetOnChange(TLVChangeEvent Value) { FOnChange = std::move(Value); }
    TLVEditingEvent OnEditing() const { return FOnEditing; }
    void SetOnEditing(TLVEditingEvent Value) { FOnEditing = std::move(Value); }
    /// Image lists, not owned; cleared when the list goes away.
    TImageList* LargeImages() const { return FLargeImages; }
    void SetLargeImages(TImageList* Value);
    TImageList* SmallImages() const { return FSmallImages; }
    void SetSmallImages(TImageList* Value);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    void Link(TImageList*& field, TImageList* Value);
    void ItemChanged(QTreeWidgetItem* item);

    std::unique_ptr<TListColumnCollection> FColumnCollection;
    bool FHideSelection = true;
    bool FReadOnly = false;
    TLVChangeEvent FOnChange;
    TLVEditingEvent FOnEditing;
    TImageList* FLargeImages = nullptr;
    TImageList* FSmallImages = nullptr;
};

} // namespace Vellaro

Q_DECLARE_METATYPE(Vellaro::TLVChangeEvent)
Q_DECLARE_METATYPE(Vellaro::TLVEditingEvent)
