// The page overview of the preview window: only thumbnails in view are drawn, the image cache
// stays bounded however many pages are scrolled past, the shown page is marked, and a click or
// the arrow keys go to a page.
#include "PreviewFixture.h"

#include "preview/VLWindow.h"

#include <QScrollBar>
#include <QTest>
#include <functional>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {
class ThumbnailsTest : public PreviewFixture {
protected:
    void SetUp() override
    {
        PreviewFixture::SetUp();
        Job->SetPageCount(300);
        Job->SetOnDraw([](TComponent*, TCanvas* canvas, int page, TRect r, TDrawArea area, TDrawTarget) {
            if (area == daPage)
                canvas->TextOut(r.Left, r.Top, QStringLiteral("Page %1").arg(page));
        });
        Window = std::make_unique<TPreviewWindow>();
        Window->SetPrintJob(Job.get());
        Window->Show();
        QApplication::processEvents();
        Thumbs = Window->Form()->Thumbnails();
    }
    void TearDown() override
    {
        Window.reset();
        PreviewFixture::TearDown();
    }
    QImage Grab() { return Thumbs->grab().toImage(); }
    std::unique_ptr<TPreviewWindow> Window;
    TPreviewThumbnails* Thumbs = nullptr;
};
} // namespace

TEST_F(ThumbnailsTest, CtrlTShowsThemAndOnlyThoseInViewAreDrawn)
{
    ASSERT_FALSE(Thumbs->Visible());
    QTest::keyClick(Window->GetPreview(), Qt::Key_T, Qt::ControlModifier);
    ASSERT_TRUE(Thumbs->Visible());
    EXPECT_GT(Window->GetPreview()->x(), Thumbs->x()) << "the overview lies left of the pane";
    Grab();
    const auto [first, last] = Thumbs->VisiblePages();
    EXPECT_EQ(first, 1);
    EXPECT_LT(last, 10);
    // Painting again draws nothing new: the images in view are cached.
    const int rendered = Thumbs->RenderCount();
    Grab();
    EXPECT_EQ(Thumbs->RenderCount(), rendered);
    // Scrolling through all 300 pages draws each once, and the cache never passes its limit.
    for (int value = 0; value <= Thumbs->ScrollBar()->maximum(); value += Thumbs->height() / 2) {
        Thumbs->ScrollBar()->setValue(value);
        Grab();
        EXPECT_LE(Thumbs->CachedImages(), TPreviewThumbnails::CacheLimit);
    }
    EXPECT_GE(Thumbs->RenderCount() - rendered, 300 - last);
    EXPECT_LT(Thumbs->RenderCount() - rendered, 310) << "each page drawn about once";
    QTest::keyClick(Window->GetPreview(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(Thumbs->Visible());
}

TEST_F(ThumbnailsTest, AClickOrAnArrowKeyGoesToAPageAndTheShownPageIsMarked)
{
    Window->Form()->SetThumbnailsVisible(true);
    QApplication::processEvents();
    const QSize size = Thumbs->ThumbnailSize();
    // The middle of page 3's thumbnail.
    const QPoint third(8 + size.width() / 2, 8 + 2 * (size.height() + 16 + 8) + size.height() / 2);
    ASSERT_EQ(Thumbs->PageAt(third), 3);
    QTest::mouseClick(Thumbs, Qt::LeftButton, {}, third);
    EXPECT_EQ(Window->GetPreview()->PageIndex(), 3);
    QTest::keyClick(Thumbs, Qt::Key_Down);
    EXPECT_EQ(Window->GetPreview()->PageIndex(), 4);
    QTest::keyClick(Thumbs, Qt::Key_Up);
    QTest::keyClick(Thumbs, Qt::Key_Up);
    EXPECT_EQ(Window->GetPreview()->PageIndex(), 2);
    // The frame of the shown page is blue, the others' black.
    const QImage image = Grab();
    const auto leftEdgeMiddle = [&](int page) {
        return QPoint(8 - 1, 8 + (page - 1) * (size.height() + 16 + 8) - Thumbs->ScrollBar()->value() + size.height() / 2);
    };
    ASSERT_LE(Thumbs->VisiblePages().first, 2);
    ASSERT_GE(Thumbs->VisiblePages().second, 3);
    const QColor shown = image.pixelColor(leftEdgeMiddle(2));
    const QColor other = image.pixelColor(leftEdgeMiddle(3));
    EXPECT_GT(shown.blue(), 150);
    EXPECT_LT(other.blue(), 60);
    // Going to the last page brings its thumbnail into view.
    QTest::keyClick(Thumbs, Qt::Key_End);
    EXPECT_EQ(Window->GetPreview()->PageIndex(), 300);
    EXPECT_EQ(Thumbs->VisiblePages().second, 300);
}

TEST_F(ThumbnailsTest, TheToolbarButtonTogglesTheOverviewAndStaysDownWhileItShows)
{
    EXPECT_FALSE(Window->Buttons().Contains(btnThumbnails)) << "not among the documented defaults";
    TButtons buttons = Window->Buttons();
    buttons.Include(btnThumbnails);
    Window->SetButtons(buttons);
    TSpeedButton* button = Window->GetToolbar()->SpeedButton(btnThumbnails);
    ASSERT_TRUE(button->Visible()) << "the window's toolbar shows the overview button";
    ASSERT_TRUE(button->Enabled());
    EXPECT_EQ(button->Hint(), QStringLiteral("Page overview"));
    EXPECT_GT(button->Left(), Window->GetToolbar()->SpeedButton(btnZoomIn)->Left()) << "last in the row";
    // Every way of showing or hiding the overview moves the button with it.
    const struct {
        const char* how;
        std::function<void()> act;
        bool shown;
    } steps[] = {
        {"a click", [&] { QTest::mouseClick(button, Qt::LeftButton); }, true},
        {"Ctrl+T", [&] { QTest::keyClick(Window->GetPreview(), Qt::Key_T, Qt::ControlModifier); }, false},
        {"Ctrl+T again", [&] { QTest::keyClick(Window->GetPreview(), Qt::Key_T, Qt::ControlModifier); }, true},
        {"a second click", [&] { QTest::mouseClick(button, Qt::LeftButton); }, false},
        {"the form's setter", [&] { Window->Form()->SetThumbnailsVisible(true); }, true},
        {"the overview's own Visible", [&] { Thumbs->SetVisible(false); }, false},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(Thumbs->Visible(), step.shown) << step.how;
        EXPECT_EQ(button->isChecked(), step.shown) << step.how;
    }
    // Shown by the button, the overview draws the pages in view.
    const int rendered = Thumbs->RenderCount();
    QTest::mouseClick(button, Qt::LeftButton);
    Grab();
    EXPECT_GT(Thumbs->RenderCount(), rendered);
}

TEST_F(ThumbnailsTest, ALoneToolbarHasTheButtonHiddenAndDisabledUntilLinked)
{
    TPreviewToolbar bar;
    TSpeedButton* button = bar.SpeedButton(btnThumbnails);
    EXPECT_FALSE(bar.Buttons().Contains(btnThumbnails));
    EXPECT_FALSE(button->Enabled());
    EXPECT_FALSE(button->icon().isNull());
    EXPECT_EQ(button->Glyph()->TransparentColor(), clPurple);
    bar.ButtonClick(btnThumbnails); // nothing linked: nothing happens
    {
        TPreviewThumbnails overview; // visible, as a new control is
        bar.SetThumbnails(&overview);
        EXPECT_TRUE(button->Enabled());
        EXPECT_TRUE(button->isChecked());
        bar.ButtonClick(btnThumbnails);
        EXPECT_FALSE(overview.Visible());
        EXPECT_FALSE(button->isChecked());
    }
    // The overview went first: the toolbar forgot it.
    EXPECT_EQ(bar.Thumbnails(), nullptr);
    bar.ButtonClick(btnThumbnails);
}
