#pragma once
// TListView: a list of items with sub-items shown in columns (report layout) on a Qt tree
// widget, with the members the list view print job reads: columns (Width, Alignment, Caption),
// items (Caption, SubItems) and the image lists LargeImages and SmallImages.

#include "platform/controls/Alignment.h"
#include "platform/controls/Control.h"
#include "platform/graphics/ImageList.h"

#include <QStringList>
#include <QTreeWidget>

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

/// One item of a list view: its caption in the first column, its sub-items in the others.
class VELLARO_EXPORT TListItem {
public:
    explicit TListItem(QTreeWidgetItem* Item) : FItem(Item) {}
    QString Caption() const;
    void SetCaption(const QString& Value);
    QStringList SubItems() const;
    void SetSubItems(const QStringList& Value);

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

/// A list view in report layout: one row per item, one column per list column.
class VELLARO_EXPORT TListView : public QTreeWidget, public TControl {
    Q_OBJECT
public:
    explicit TListView(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TListView() override;

    TListColumns Columns() { return TListColumns(this); }
    TListItems Items() { return TListItems(this); }
    /// Image lists, not owned; cleared when the list goes away.
    TImageList* LargeImages() const { return FLargeImages; }
    void SetLargeImages(TImageList* Value);
    TImageList* SmallImages() const { return FSmallImages; }
    void SetSmallImages(TImageList* Value);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void Link(TImageList*& field, TImageList* Value);

    TImageList* FLargeImages = nullptr;
    TImageList* FSmallImages = nullptr;
};

} // namespace Vellaro
