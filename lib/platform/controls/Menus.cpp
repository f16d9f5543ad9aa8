#include "platform/controls/Menus.h"

#include "platform/core/Application.h"
#include "platform/core/ClassRegistry.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TMenuItem)
VELLARO_REGISTER_CLASS(TPopupMenu)

// ---- Items ------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner)
    : TComponent(AOwner)
    , FAction(std::make_unique<QAction>())
{
    QObject::connect(FAction.get(), &QAction::triggered, FAction.get(), [this] { GuardEvent([this] { Click(); }); });
}

TMenuItem::~TMenuItem()
{
    DestroyComponent();
    if (FParent)
        FParent->Remove(this);
    for (TMenuItem* item : FItems)
        item->FParent = nullptr;
    FItems.clear();
}

QString TMenuItem::Caption() const
{
    return FAction->isSeparator() ? QStringLiteral("-") : FAction->text();
}

void TMenuItem::SetCaption(const QString& Value)
{
    FAction->setSeparator(Value == QLatin1String("-"));
    FAction->setText(Value == QLatin1String("-") ? QString() : Value);
}

bool TMenuItem::Checked() const
{
    return FAction->isChecked();
}

void TMenuItem::SetChecked(bool Value)
{
    FAction->setCheckable(Value || FAction->isCheckable());
    FAction->setChecked(Value);
}

bool TMenuItem::Enabled() const { return FAction->isEnabled(); }
void TMenuItem::SetEnabled(bool Value) { FAction->setEnabled(Value); }
bool TMenuItem::Visible() const { return FAction->isVisible(); }
void TMenuItem::SetVisible(bool Value) { FAction->setVisible(Value); }

QString TMenuItem::ShortCut() const
{
    return FAction->shortcut().toString(QKeySequence::PortableText);
}

void TMenuItem::SetShortCut(const QString& Value)
{
    const QKeySequence sequence = QKeySequence::fromString(Value, QKeySequence::PortableText);
    bool known = !sequence.isEmpty();
    for (int i = 0; i < sequence.count(); ++i)
        known = known && sequence[i].key() != Qt::Key_unknown;
    if (!Value.isEmpty() && !known)
        throw EInvalidOperation(QStringLiteral("'%1' is not a shortcut").arg(Value));
    FAction->setShortcut(sequence);
}

TMenuItem* TMenuItem::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EComponentError(QStringLiteral("Menu index out of bounds (%1)").arg(Index));
    return FItems[size_t(Index)];
}

int TMenuItem::IndexOf(const TMenuItem* Item) const
{
    const auto it = std::find(FItems.begin(), FItems.end(), Item);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* Item)
{
    Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item)
{
    if (!Item)
        return;
    for (const TMenuItem* p = this; p; p = p->FParent)
        if (p == Item)
            throw EComponentError(QStringLiteral("A menu item cannot hold itself"));
    if (Index < 0 || Index > Count())
        throw EComponentError(QStringLiteral("Menu index out of bounds (%1)").arg(Index));
    if (Item->FParent)
        Item->FParent->Remove(Item);
    QMenu* menu = SubMenu();
    QAction* before = Index < Count() ? FItems[size_t(Index)]->Action() : nullptr;
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    menu->insertAction(before, Item->Action());
}

void TMenuItem::Remove(TMenuItem* Item)
{
    const int index = IndexOf(Item);
    if (index < 0)
        return;
    FItems.erase(FItems.begin() + index);
    Item->FParent = nullptr;
    if (QMenu* menu = FMenu ? FMenu->Menu() : FSubMenu.get())
        menu->removeAction(Item->Action());
}

QMenu* TMenuItem::SubMenu()
{
    if (FMenu)
        return FMenu->Menu();
    if (!FSubMenu) {
        FSubMenu = std::make_unique<QMenu>();
        FAction->setMenu(FSubMenu.get());
    }
    return FSubMenu.get();
}

void TMenuItem::Click()
{
    if (FOnClick)
        FOnClick(this);
}

TComponent* TMenuItem::GetParentComponent() const
{
    if (!FParent)
        return nullptr;
    return FParent->FMenu ? static_cast<TComponent*>(FParent->FMenu) : FParent;
}

void TMenuItem::SetParentComponent(TComponent* Parent)
{
    if (auto* menu = dynamic_cast<TPopupMenu*>(Parent))
        menu->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(Parent))
        item->Add(this);
}

// ---- Pop-up menu ------------------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* AOwner)
    : TComponent(AOwner)
    , FMenu(std::make_unique<QMenu>())
    , FItems(std::make_unique<TMenuItem>())
{
    FItems->FMenu = this;
}

TPopupMenu::~TPopupMenu()
{
    // Controls showing this menu forget it while it is whole; the items stay their owner's.
    DestroyComponent();
    FItems.reset();
}

void TPopupMenu::Popup(int X, int Y)
{
    if (FOnPopup)
        FOnPopup(this);
    FMenu->popup(QPoint(X, Y));
}

} // namespace Vellaro
