#pragma once
// Pop-up menus: TPopupMenu over a QMenu, holding TMenuItems (caption, shortcut, checked,
// enabled, visible, OnClick, sub-items) over QActions. Items are components of their own
// owner; the menu only refers to them, and an item leaving goes out of its menu.

#include "platform/core/Component.h"

#include <QObject>
#include <memory>
#include <vector>

class QAction;
class QMenu;

namespace Vellaro {

class TPopupMenu;

/// One menu command, or a sub-menu when it holds items.
class VELLARO_EXPORT TMenuItem : public QObject, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QString ShortCut READ ShortCut WRITE SetShortCut)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(Vellaro::TNotifyEvent OnClick READ OnClick WRITE SetOnClick)
public:
    explicit TMenuItem(TComponent* AOwner = nullptr);
    ~TMenuItem() override;

    /// The caption; "&" marks the accelerator, "-" alone makes a separator.
    QString Caption() const;
    void SetCaption(const QString& Value);
    bool Checked() const;
    /// A checked item shows a check mark.
    void SetChecked(bool Value);
    bool Enabled() const;
    void SetEnabled(bool Value);
    /// The key sequence in its portable text form, such as "Ctrl+P"; a bad text raises EInvalidOperation.
    QString ShortCut() const;
    void SetShortCut(const QString& Value);
    bool Visible() const;
    void SetVisible(bool Value);
    TNotifyEvent OnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent Value) { FOnClick = std::move(Value); }

    int Count() const { return int(FItems.size()); }
    /// Raises EComponentError outside 0..Count()-1.
    TMenuItem* Items(int Index) const;
    void Add(TMenuItem* Item);
    /// Inserts before Index (0..Count()); an item in another menu leaves it first.
    void Insert(int Index, TMenuItem* Item);
    void Remove(TMenuItem* Item);
    int IndexOf(const TMenuItem* Item) const;
    /// The item this one is a sub-item of (nullptr for a top-level one).
    TMenuItem* Parent() const { return FParent; }
    /// Raises OnClick (a checked item keeps its state: the handler decides).
    virtual void Click();

    QAction* Action() const { return FAction.get(); }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Parent) override;

private:
    friend class TPopupMenu;
    /// The menu holding this item's sub-items, made on first need.
    QMenu* SubMenu();

    std::unique_ptr<QAction> FAction;
    std::unique_ptr<QMenu> FSubMenu;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParent = nullptr;
    /// Set on a pop-up menu's own root item.
    TPopupMenu* FMenu = nullptr;
    TNotifyEvent FOnClick;
};

/// A menu that opens at a point, as a control's context menu.
class VELLARO_EXPORT TPopupMenu : public QObject, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(Vellaro::TNotifyEvent OnPopup READ OnPopup WRITE SetOnPopup)
public:
    explicit TPopupMenu(TComponent* AOwner = nullptr);
    ~TPopupMenu() override;

    /// The top-level items (an item owned by the menu, never stored itself).
    TMenuItem* Items() const { return FItems.get(); }
    void Add(TMenuItem* Item) { FItems->Add(Item); }
    /// Raises OnPopup, then opens the menu at the screen point (X, Y).
    void Popup(int X, int Y);
    QMenu* Menu() const { return FMenu.get(); }
    TNotifyEvent OnPopup() const { return FOnPopup; }
    void SetOnPopup(TNotifyEvent Value) { FOnPopup = std::move(Value); }

private:
    std::unique_ptr<QMenu> FMenu;
    std::unique_ptr<TMenuItem> FItems;
    TNotifyEvent FOnPopup;
};

} // namespace Vellaro
