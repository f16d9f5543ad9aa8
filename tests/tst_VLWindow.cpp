// The preview window: the form it builds, closing in every way, remembering the last place and
// size, and handing its settings to the pane, toolbar and status bar.
#include "preview/VLWindow.h"

#include "TestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <memory>

using namespace Vellaro;

namespace {
class WindowTest : public Testing::RecordingPrinterTest {
protected:
    void SetUp() override
    {
        RecordingPrinterTest::SetUp();
        Job = std::make_unique<TPrintJob>();
        Job->SetPageCount(5);
        Window = std::make_unique<TPreviewWindow>();
        Window->SetPrintJob(Job.get());
        Window->SetOnClose([this](TComponent* sender) { EXPECT_EQ(sender, Window.get()); ++Closes; });
    }
    void TearDown() override
    {
        Window.reset();
        Job.reset();
        RecordingPrinterTest::TearDown();
    }
    /// Lets released forms go.
    static void Settle()
    {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static void PressEscape(QWidget* target)
    {
        QKeyEvent event(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    std::unique_ptr<TPrintJob> Job;
    std::unique_ptr<TPreviewWindow> Window;
    int Closes = 0;
};
} // namespace

TEST_F(WindowTest, NewWindowShowsTheDefaultForm)
{
    Window->Show();
    TPreviewForm* form = Window->Form();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->size(), QSize(400, 500));
    EXPECT_EQ(form->pos(), QPoint(0, 0));
    EXPECT_EQ(form->BorderStyle(), bsSizeable);
    EXPECT_EQ(form->Caption(), QString());
    EXPECT_TRUE(form->KeyPreview());
    EXPECT_EQ(Window->GetPreview()->ViewMode(), vmWholePage);
    EXPECT_EQ(Window->GetPreview()->PrintJob(), Job.get());
    EXPECT_EQ(Window->Buttons().Bits(), 0x67Du);
    EXPECT_EQ(Window->GetToolbar()->Buttons().Bits(), 0x67Du);
    EXPECT_EQ(Window->GetToolbar()->ScaleCombo()->Left(), 147);
    EXPECT_EQ(Window->GetStatusBar()->PartRight(0), 100);
    EXPECT_EQ(Window->GetStatusBar()->PartRight(1), 200);
    EXPECT_TRUE(Window->GetStatusBar()->HasSizeGrip());
    // Toolbar on top, status bar at the bottom, the pane between.
    EXPECT_EQ(Window->GetToolbar()->geometry(), QRect(0, 0, 400, 26));
    EXPECT_EQ(Window->GetStatusBar()->geometry(), QRect(0, 481, 400, 19));
    EXPECT_EQ(Window->GetPreview()->geometry(), QRect(0, 26, 400, 455));
    EXPECT_EQ(Window->GetStatusBar()->PartText(0), QStringLiteral("Page 1 from 5"));
}

TEST_F(WindowTest, EscapeEndsAModalShowingWithCancelAndOneClose)
{
    int shows = 0;
    Window->SetOnShow([&](TComponent*) { ++shows; });
    QTimer::singleShot(0, [this] { PressEscape(Window->GetPreview()); });
    EXPECT_EQ(Window->ShowModal(), mrCancel);
    EXPECT_EQ(Closes, 1);
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(Window->Form(), nullptr);
    Settle();
}

TEST_F(WindowTest, CloseRaisesOnCloseTwiceAndNothingWithoutAForm)
{
    Window->Close();
    EXPECT_EQ(Closes, 0);
    Window->Show();
    Window->Close();
    EXPECT_EQ(Closes, 2);
    EXPECT_EQ(Window->Form(), nullptr);
    Settle();
    // The toolbar's close button closes the preview form too.
    Window->SetButtons(Window->Buttons() + TButtons{btnClose});
    Window->Show();
    Window->GetToolbar()->ButtonClick(btnClose);
    EXPECT_EQ(Closes, 3);
    EXPECT_EQ(Window->Form(), nullptr);
    Settle();
}

TEST_F(WindowTest, ReopensWhereAndHowTheUserLeftIt)
{
    Window->Show();
    Window->Form()->SetBounds(50, 60, 420, 520);
    QApplication::processEvents();
    EXPECT_EQ(Window->Left(), 50);
    EXPECT_EQ(Window->Top(), 60);
    EXPECT_EQ(Window->Width(), 420);
    EXPECT_EQ(Window->Height(), 520);
    EXPECT_EQ(Window->WindowState(), wsNormal);
    Window->Close();
    Settle();
    Window->Show();
    EXPECT_EQ(Window->Form()->pos(), QPoint(50, 60));
    EXPECT_EQ(Window->Form()->size(), QSize(420, 520));
}

TEST_F(WindowTest, PageIndexIsTheStartingPageOfEachShowing)
{
    Window->SetPageIndex(3);
    TComponent* sender = nullptr;
    Window->SetOnPageChanged([&](TComponent* s) { sender = s; });
    Window->Show();
    EXPECT_EQ(Window->GetPreview()->PageIndex(), 3);
    Window->GetPreview()->SetPageIndex(4);
    EXPECT_EQ(sender, Window.get());
    EXPECT_EQ(Window->PageIndex(), 3);
    Window->Close();
    Settle();
    Window->Show();
    EXPECT_EQ(Window->GetPreview()->PageIndex(), 3);
}

TEST_F(WindowTest, SettingsReachTheOpenForm)
{
    Window->Show();
    Window->SetButtons({btnPrint});
    EXPECT_FALSE(Window->GetToolbar()->SpeedButton(btnZoomIn)->Visible());
    Window->SetUserText(QStringLiteral("Draft"));
    EXPECT_EQ(Window->GetStatusBar()->PartText(2), QStringLiteral("Draft"));
    Window->SetViewMode(vmPageWidth);
    EXPECT_EQ(Window->GetPreview()->ViewMode(), vmPageWidth);
    Window->SetCaption(QStringLiteral("Preview"));
    EXPECT_EQ(Window->Form()->windowTitle(), QStringLiteral("Preview"));
    // None keeps the pane on its job until the next showing.
    Window->SetPrintJob(nullptr);
    EXPECT_EQ(Window->GetPreview()->PrintJob(), Job.get());
}

TEST_F(WindowTest, DestroyedJobLeavesTheWindowWithoutOne)
{
    Window->Show();
    Job.reset();
    EXPECT_EQ(Window->PrintJob(), nullptr);
    EXPECT_EQ(Window->GetPreview()->PrintJob(), nullptr);
    Window->Close();
    Settle();
    Window->Show();
    EXPECT_FALSE(Window->GetPreview()->PagePanel()->isVisible());
}

TEST_F(WindowTest, MisuseIsRefused)
{
    TComponent notAWindow;
    EXPECT_THROW(TPreviewForm form(&notAWindow), EInvalidOperation);
    Window->Show();
    EXPECT_THROW(Window->ShowModal(), EInvalidOperation);
    EXPECT_TRUE(Window->Form()->isVisible());
}
