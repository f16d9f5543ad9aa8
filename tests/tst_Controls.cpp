// The platform's controls: scroll bars with the framework's range and clamping, alignment,
// panel borders, speed button glyphs, forms with modal results, close actions and key preview.
#include "platform/controls/Controls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/StdControls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using namespace Vellaro;

TEST(Controls, ScrollBarsShowWhenTheRangeExceedsTheClientAndClampTheirPosition)
{
    TScrollBox box(nullptr);
    box.resize(200, 100); // one-pixel border: 198 x 98 inside
    const int bar = GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(box.ClientWidth(), 198);
    box.VertScrollBar()->SetRange(300);
    EXPECT_TRUE(box.VertScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(box.ClientWidth(), 198 - bar);
    EXPECT_EQ(box.ClientHeight(), 98);
    for (auto [given, expected] : {std::pair{1000, 202}, {-5, 0}, {50, 50}}) {
        box.VertScrollBar()->SetPosition(given);
        EXPECT_EQ(box.VertScrollBar()->Position(), expected) << given;
    }
    box.HorzScrollBar()->SetRange(198 - bar); // fits exactly: no bar
    EXPECT_FALSE(box.HorzScrollBar()->IsScrollBarVisible());
    box.HorzScrollBar()->SetRange(199 - bar); // one pixel more: the bar shows and narrows the height
    EXPECT_TRUE(box.HorzScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(box.ClientHeight(), 98 - GetSystemMetrics(SM_CYHSCROLL));
    box.VertScrollBar()->SetPosition(box.VertScrollBar()->Range());
    EXPECT_EQ(box.VertScrollBar()->Position(), 300 - box.ClientHeight());
    box.VertScrollBar()->SetRange(0);
    EXPECT_EQ(box.VertScrollBar()->Position(), 0);
    box.VertScrollBar()->SetIncrement(8);
    box.VertScrollBar()->SetTracking(true);
    EXPECT_TRUE(box.VertScrollBar()->Tracking());
    EXPECT_EQ(box.verticalScrollBar()->singleStep(), 8);
}

TEST(Controls, AlignedControlsShareTheParentsArea)
{
    TCustomPanel parent(nullptr);
    parent.SetBevelOuter(bvNone);
    parent.resize(300, 200);
    TCustomPanel top(nullptr), bottom(nullptr), client(nullptr);
    for (TCustomPanel* p : {&top, &bottom, &client})
        p->SetParent(&parent);
    top.SetHeight(26);
    bottom.SetHeight(19);
    client.SetAlign(alClient);
    bottom.SetAlign(alBottom);
    top.SetAlign(alTop);
    EXPECT_EQ(top.geometry(), QRect(0, 0, 300, 26));
    EXPECT_EQ(bottom.geometry(), QRect(0, 181, 300, 19));
    EXPECT_EQ(client.geometry(), QRect(0, 26, 300, 155));
    parent.resize(400, 300);
    parent.show();
    QApplication::processEvents();
    EXPECT_EQ(client.geometry(), QRect(0, 26, 400, 255));
    top.Hide();
    EXPECT_EQ(client.geometry(), QRect(0, 0, 400, 281));
}

TEST(Controls, PanelClientAreaLiesInsideBorderAndBevels)
{
    TCustomPanel panel(nullptr);
    panel.SetBounds(0, 0, 50, 40);
    struct Case { TBorderStyle border; TBevelCut outer, inner; int inset; };
    for (const Case& c : {Case{bsNone, bvNone, bvNone, 0}, Case{bsSingle, bvNone, bvNone, 1}, Case{bsNone, bvRaised, bvNone, 1}, Case{bsSingle, bvRaised, bvLowered, 3}}) {
        panel.SetBorderStyle(c.border);
        panel.SetBevelOuter(c.outer);
        panel.SetBevelInner(c.inner);
        EXPECT_EQ(panel.ClientWidth(), 50 - 2 * c.inset);
        EXPECT_EQ(panel.ClientHeight(), 40 - 2 * c.inset);
    }
    panel.SetClientWidth(100);
    EXPECT_EQ(panel.Width(), 106);
    EXPECT_THROW(panel.Canvas(), EInvalidOperation); // only while painting
}

TEST(Controls, SpeedButtonTakesTheLowerLeftColourAsTransparent)
{
    TSpeedButton button(nullptr);
    TBitmap glyph(16, 16);
    glyph.Canvas()->Brush()->SetColor(clPurple);
    glyph.Canvas()->FillRect({0, 0, 16, 16});
    glyph.Canvas()->Brush()->SetColor(clBlack);
    glyph.Canvas()->FillRect({4, 4, 12, 12});
    button.SetGlyph(&glyph);
    const QImage icon = button.icon().pixmap(16, 16).toImage();
    EXPECT_EQ(qAlpha(icon.pixel(0, 15)), 0);
    EXPECT_EQ(icon.pixelColor(8, 8), QColor(Qt::black));
    int clicks = 0;
    button.SetOnClick([&](TComponent* sender) { EXPECT_EQ(sender, &button); ++clicks; });
    button.Click();
    button.SetEnabled(false);
    button.Click();
    EXPECT_EQ(clicks, 1);
}

TEST(Controls, ModalFormReturnsItsResultAndRaisesOnCloseOnce)
{
    TCustomForm form(nullptr);
    int closes = 0;
    form.SetOnClose([&](TComponent*, TCloseAction&) { ++closes; });
    QTimer::singleShot(0, [&] { form.SetModalResult(mrOk); });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(form.isVisible());
    QTimer::singleShot(0, [&] { form.Close(); });
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_EQ(closes, 2);
}

TEST(Controls, CloseActionDecidesWhetherTheFormHides)
{
    TCustomForm form(nullptr);
    TCloseAction action = caNone;
    form.SetOnClose([&](TComponent*, TCloseAction& a) { a = action; });
    form.ShowForm();
    form.Close();
    EXPECT_TRUE(form.isVisible());
    action = caHide;
    form.Close();
    EXPECT_FALSE(form.isVisible());
    form.ShowForm();
    EXPECT_THROW(form.ShowModal(), EInvalidOperation);
}

namespace {
class PreviewingForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
    std::vector<int> Keys;

protected:
    void KeyDown(int& Key, Qt::KeyboardModifiers) override
    {
        Keys.push_back(Key);
        if (Key == VK_ESCAPE)
            Key = 0;
    }
};
} // namespace

TEST(Controls, KeyPreviewShowsTheFormItsControlsKeysFirstAndOnce)
{
    PreviewingForm form(nullptr);
    TCustomComboBox box(nullptr);
    box.SetParent(&form);
    form.ShowForm();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&box, &escape);
    // Without preview the form only gets what the box leaves alone, after the box.
    EXPECT_EQ(form.Keys, (std::vector<int>{VK_ESCAPE}));
    form.Keys.clear();
    form.SetKeyPreview(true);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&box, &down);
    QApplication::sendEvent(&box, &escape);
    EXPECT_EQ(form.Keys, (std::vector<int>{VK_DOWN, VK_ESCAPE}));
}

namespace {
/// A panel that counts its paints.
class CountingPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        TCustomPanel::Paint();
    }
};
} // namespace

TEST(Controls, BorderlessFormHasNoFrameCentresOnTheScreenAndPaintsOnUpdate)
{
    TForm splash;
    splash.SetBorderStyle(bsNone);
    splash.SetPosition(poScreenCenter);
    splash.SetBounds(0, 0, 240, 120);
    auto* panel = new CountingPanel(&splash);
    panel->SetParent(&splash);
    panel->SetAlign(alClient);
    splash.ShowForm();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((splash.geometry().center() - screen.center()).manhattanLength(), 1);
    // Update paints at once, without waiting for the event loop.
    const int before = panel->Paints;
    splash.Update();
    EXPECT_GT(panel->Paints, before);
}
