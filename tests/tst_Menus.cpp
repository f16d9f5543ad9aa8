// Pop-up menus and buttons: items over actions with sub-menus, the PopupMenu property of the
// preview controls opening on a context-menu request and forgotten when the menu goes, and a
// button ending its form's modal showing.
#include "platform/controls/Buttons.h"
#include "platform/controls/Menus.h"
#include "platform/core/DataModule.h"
#include "preview/VLCombo.h"
#include "preview/VLLabel.h"
#include "preview/VLStatusBar.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

using namespace Vellaro;

namespace {

TMenuItem* Item(TComponent* owner, const QString& caption)
{
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    return item;
}

TEST(Menus, ItemsBuildTheMenuAndSubMenusAndClickRaisesOnClick)
{
    TDataModule form;
    TPopupMenu menu(&form);
    TMenuItem* zoom = Item(&form, "&Zoom");
    TMenuItem* in = Item(&form, "In");
    TMenuItem* out = Item(&form, "Out");
    TMenuItem* print = Item(&form, "&Print");
    menu.Add(zoom);
    menu.Add(print);
    zoom->Add(in);
    zoom->Insert(0, out);
    print->SetShortCut("Ctrl+P");
    print->SetChecked(true);
    in->SetEnabled(false);
    ASSERT_EQ(menu.Menu()->actions().size(), 2);
    EXPECT_EQ(menu.Menu()->actions()[0]->text(), QStringLiteral("&Zoom"));
    ASSERT_NE(zoom->Action()->menu(), nullptr);
    EXPECT_EQ(zoom->Action()->menu()->actions(), (QList<QAction*>{out->Action(), in->Action()}));
    EXPECT_EQ(print->Action()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_TRUE(print->Action()->isChecked());
    EXPECT_THROW(print->SetShortCut("Ctrl+Bogus"), EInvalidOperation);
    EXPECT_THROW(in->Add(zoom), EComponentError);

    QStringList clicked;
    out->SetOnClick([&](TComponent* sender) { clicked << dynamic_cast<TMenuItem*>(sender)->Caption(); });
    out->Action()->trigger();
    EXPECT_EQ(clicked, QStringList{"Out"});

    delete out; // leaves its menu
    EXPECT_EQ(zoom->Count(), 1);
    EXPECT_EQ(zoom->Action()->menu()->actions(), QList<QAction*>{in->Action()});
    EXPECT_EQ(in->GetParentComponent(), zoom);
    EXPECT_EQ(zoom->GetParentComponent(), &menu);
}

TEST(Menus, ItemsOutliveTheirMenuAsComponentsOfTheirOwner)
{
    TDataModule form;
    auto* menu = new TPopupMenu(&form);
    TMenuItem* item = Item(&form, "Kept");
    menu->Add(item);
    delete menu;
    EXPECT_EQ(item->Parent(), nullptr);
    EXPECT_EQ(item->GetParentComponent(), nullptr);
    EXPECT_EQ(form.ComponentCount(), 1);
    item->SetCaption("Still usable");
}

/// Each preview control with a PopupMenu property, made fresh.
const std::vector<std::pair<const char*, std::function<TWinControl*(TComponent*)>>>& ControlsWithMenus()
{
    static const std::vector<std::pair<const char*, std::function<TWinControl*(TComponent*)>>> makers = {
        {"zoom box", [](TComponent* o) -> TWinControl* { return new TPreviewComboBox(o); }},
        {"status bar", [](TComponent* o) -> TWinControl* { return new TPreviewStatusBar(o); }},
        {"label", [](TComponent* o) -> TWinControl* { return new TPreviewLabel(o); }},
    };
    return makers;
}

TEST(Menus, PreviewControlsOpenTheirPopupMenuOnAContextMenuRequest)
{
    for (const auto& [name, make] : ControlsWithMenus()) {
        SCOPED_TRACE(name);
        TDataModule form;
        TWinControl* control = make(&form);
        TPopupMenu menu(&form);
        menu.Add(Item(&form, "Zoom"));
        int popups = 0;
        menu.SetOnPopup([&](TComponent*) { ++popups; });
        control->SetPopupMenu(&menu);
        control->Widget()->show();
        emit control->Widget()->customContextMenuRequested(QPoint(3, 4));
        EXPECT_EQ(popups, 1);
        EXPECT_TRUE(menu.Menu()->isVisible());
        menu.Menu()->hide();
        // The zoom box's text field opens the same menu, not its own.
        if (auto* edit = control->Widget()->findChild<QLineEdit*>()) {
            EXPECT_EQ(edit->contextMenuPolicy(), Qt::CustomContextMenu);
            emit edit->customContextMenuRequested(QPoint(2, 2));
            EXPECT_EQ(popups, 2);
            menu.Menu()->hide();
        }
        // Through the published property as well: the form files' way.
        auto* object = dynamic_cast<QObject*>(control);
        EXPECT_EQ(object->property("PopupMenu").value<TPopupMenu*>(), &menu);
    }
}

TEST(Menus, ControlForgetsAMenuThatGoesAwayWhateverItsOwner)
{
    for (const auto& [name, make] : ControlsWithMenus()) {
        SCOPED_TRACE(name);
        TDataModule form, other;
        TWinControl* control = make(&form);
        auto* menu = new TPopupMenu(&other);
        control->SetPopupMenu(menu);
        delete menu;
        EXPECT_EQ(control->PopupMenu(), nullptr);
        EXPECT_EQ(control->Widget()->contextMenuPolicy(), Qt::DefaultContextMenu);
        emit control->Widget()->customContextMenuRequested(QPoint(1, 1)); // reaches no freed menu
    }
}

TEST(Buttons, ClickGivesTheFormItsModalResultAndRaisesOnClick)
{
    TForm form;
    auto* ok = new TButton(&form);
    ok->SetParent(&form);
    ok->SetModalResult(mrOk);
    int clicks = 0;
    ok->SetOnClick([&](TComponent*) { ++clicks; });
    QTimer::singleShot(0, [ok] { ok->click(); });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_EQ(clicks, 1);

    auto* plain = new TButton(&form);
    plain->SetParent(&form);
    form.SetModalResult(mrNone);
    plain->click();
    EXPECT_EQ(form.ModalResult(), mrNone);
}

TEST(Buttons, EnterAndEscapeClickTheDefaultAndCancelButtonsOnlyWhenEnabled)
{
    TForm form;
    auto* ok = new TButton(&form);
    ok->SetParent(&form);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* cancel = new TButton(&form);
    cancel->SetParent(&form);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    const struct {
        int Key;
        bool OkEnabled;
        TModalResult Expected;
    } cases[] = {{Qt::Key_Return, true, mrOk}, {Qt::Key_Escape, true, mrCancel}, {Qt::Key_Return, false, mrNone}};
    for (const auto& c : cases) {
        form.SetModalResult(mrNone);
        ok->SetEnabled(c.OkEnabled);
        QKeyEvent press(QEvent::KeyPress, c.Key, Qt::NoModifier);
        QApplication::sendEvent(&form, &press);
        EXPECT_EQ(form.ModalResult(), c.Expected) << c.Key;
    }
}

} // namespace
