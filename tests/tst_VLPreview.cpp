// The preview pane: layout per view mode, scale and page rules, keys, drag scrolling, painting
// through the job, companions and the job's removal.
#include "preview/VLPreview.h"

#include "TestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <memory>

using namespace Vellaro;
using Vellaro::Testing::RecordingPrinterTest;

namespace {

/// A pane of a given size showing a job on the 600 dpi 4800 x 6600 recording printer.
class PreviewTest : public RecordingPrinterTest {
protected:
    void SetUp() override
    {
        RecordingPrinterTest::SetUp();
        Job = std::make_unique<TPrintJob>();
        Job->SetPageCount(5);
        Pane = std::make_unique<TPreview>();
    }
    void TearDown() override
    {
        Pane.reset();
        Job.reset();
        RecordingPrinterTest::TearDown();
    }
    void Show(int width, int height)
    {
        Pane->resize(width, height);
        Pane->show();
        QApplication::processEvents();
        Pane->SetPrintJob(Job.get());
    }
    void Key(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, qtKey, modifiers);
        QApplication::sendEvent(Pane.get(), &press);
    }
    TControlScrollBar* V() const { return Pane->ScrollBox()->VertScrollBar(); }
    TControlScrollBar* Hz() const { return Pane->ScrollBox()->HorzScrollBar(); }
    QRect PageBounds() const
    {
        TDrawPanel* p = Pane->PagePanel();
        return QRect(p->Left(), p->Top(), p->Width(), p->Height());
    }

    std::unique_ptr<TPrintJob> Job;
    std::unique_ptr<TPreview> Pane;
};

/// Counts its updates; may fail on purpose.
class Companion : public TControl {
public:
    explicit Companion(std::vector<int>* log, int id, bool fail = false) : Log(log), Id(id), Fail(fail) {}
    void Update() override
    {
        Log->push_back(Id);
        if (Fail)
            throw Exception(QStringLiteral("companion failed"));
    }
    std::vector<int>* Log;
    int Id;
    bool Fail;
};

} // namespace

TEST_F(PreviewTest, NewPaneWithoutJobShowsOnlyTheDesk)
{
    Pane->resize(300, 300);
    Pane->show();
    EXPECT_FALSE(Pane->PagePanel()->isVisible());
    EXPECT_FALSE(Pane->Shadow()->isVisible());
    EXPECT_EQ(Pane->PageIndex(), 1);
    EXPECT_EQ(Pane->ViewScale(), 0);
    EXPECT_EQ(Pane->GetPageText(), QString());
    EXPECT_EQ(Pane->GetScaleText(), QStringLiteral("Whole page (0%)"));
    Pane->SetPageIndex(7);
    EXPECT_EQ(Pane->PageIndex(), 1);
}

TEST_F(PreviewTest, WholePageFitsTheHeightOfAWideDeskAndTheWidthOfANarrowOne)
{
    struct Case { int width, height; QRect page; int scale; };
    // Box client = pane - 2 (one-pixel border); page ratio 4800 : 6600.
    const Case cases[] = {
        {600, 300, QRect(196, 8, 206, 282), 27},   // client height 280, client width Round(203.6)
        {200, 600, QRect(8, 174, 182, 250), 23},   // client width 180, client height Round(247.5) = 248
    };
    for (const Case& c : cases) {
        Show(c.width, c.height);
        Pane->Update();
        EXPECT_EQ(PageBounds(), c.page) << c.width << "x" << c.height;
        EXPECT_EQ(Pane->ViewScale(), c.scale);
        EXPECT_FALSE(V()->IsScrollBarVisible());
        EXPECT_FALSE(Hz()->IsScrollBarVisible());
        EXPECT_EQ(Pane->Shadow()->geometry(), PageBounds().translated(4, 4));
        EXPECT_TRUE(Pane->Shadow()->isVisible());
        EXPECT_EQ(Pane->GetScaleText(), QStringLiteral("Whole page (%1%)").arg(c.scale));
    }
}

TEST_F(PreviewTest, PageWidthKeepsRoomForTheVerticalScrollBar)
{
    Show(400, 300);
    Pane->SetViewMode(vmPageWidth);
    const int width = 400 - 20 - GetSystemMetrics(SM_CXVSCROLL);
    const int clientHeight = Round((width - 2) * 6600.0 / 4800.0);
    EXPECT_EQ(PageBounds(), QRect(8, 8, width, clientHeight + 2));
    EXPECT_EQ(V()->Range(), clientHeight + 2 + 16);
    EXPECT_EQ(Hz()->Range(), 0);
    EXPECT_EQ(Pane->ViewScale(), Round(100.0 * (width - 2) * 600 / (4800.0 * Screen().PixelsPerInch())));
    EXPECT_TRUE(Pane->GetScaleText().startsWith(QStringLiteral("Page width (")));
}

TEST_F(PreviewTest, CustomScaleCentresASmallPageAndScrollsALargeOne)
{
    Show(400, 300);
    const int ppi = Screen().PixelsPerInch();
    Pane->SetViewMode(vmCustom);
    Pane->SetViewScale(100);
    const int clientWidth = Round(4800.0 * 100 * ppi / 600 / 100);
    const int clientHeight = Round(clientWidth * 279.4 / 203.2);
    EXPECT_EQ(PageBounds(), QRect(8, 8, clientWidth + 2, clientHeight + 2));
    EXPECT_EQ(Hz()->Range(), clientWidth + 2 + 16);
    EXPECT_EQ(V()->Range(), clientHeight + 2 + 16);
    EXPECT_EQ(Pane->GetScaleText(), QStringLiteral("100%"));

    Pane->SetViewScale(10); // regression: the previous layout's vertical bar used to shift it off centre
    const int small = Round(4800.0 * 10 * ppi / 600 / 100) + 2;
    const QRect page = PageBounds();
    EXPECT_EQ(page.width(), small);
    EXPECT_EQ(page.left(), (398 - small) / 2);
    EXPECT_EQ(page.top(), (298 - page.height()) / 2);
    EXPECT_FALSE(V()->IsScrollBarVisible());
}

TEST_F(PreviewTest, ScaleIsClampedInCustomModeAndIgnoredOtherwise)
{
    Show(400, 300);
    const int wholePage = Pane->ViewScale();
    Pane->SetViewScale(300);
    EXPECT_EQ(Pane->ViewScale(), wholePage);
    Pane->SetViewMode(vmCustom);
    EXPECT_EQ(Pane->ViewScale(), wholePage); // the size the user saw
    for (auto [given, expected] : {std::pair{5, 10}, {5000, 1000}, {250, 250}}) {
        Pane->SetViewScale(given);
        EXPECT_EQ(Pane->ViewScale(), expected) << given;
    }
}

TEST_F(PreviewTest, ZoomStepsFollowTheScaleTable)
{
    Show(400, 300);
    struct Case { int from, in, out; };
    const Case cases[] = {{37, 50, 25}, {100, 150, 75}, {150, 200, 100}, {12, 25, 10}, {1000, 1000, 700}, {10, 25, 10}};
    for (const Case& c : cases) {
        Pane->SetViewMode(vmCustom);
        Pane->SetViewScale(c.from);
        Pane->ZoomIn();
        EXPECT_EQ(Pane->ViewScale(), c.in) << c.from;
        Pane->SetViewScale(c.from);
        Pane->ZoomOut();
        EXPECT_EQ(Pane->ViewScale(), c.out) << c.from;
    }
    // From a whole page the first step starts at the size shown.
    Pane->SetViewMode(vmWholePage);
    const int shown = Pane->ViewScale();
    Pane->ZoomIn();
    EXPECT_EQ(Pane->ViewMode(), vmCustom);
    EXPECT_EQ(Pane->ViewScale(), *std::upper_bound(ScaleArray.begin(), ScaleArray.end(), shown));
}

TEST_F(PreviewTest, PageIndexIsClampedAndEveryAssignmentIsReported)
{
    Job->SetPageCount(3);
    Show(300, 300);
    int changes = 0;
    Pane->SetOnPageChanged([&](TComponent* sender) { EXPECT_EQ(sender, Pane.get()); ++changes; });
    for (auto [given, expected] : {std::pair{0, 1}, {-5, 1}, {99, 3}, {2, 2}, {2, 2}}) {
        Pane->SetPageIndex(given);
        EXPECT_EQ(Pane->PageIndex(), expected) << given;
    }
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(Pane->GetPageText(), QStringLiteral("Page 2 from 3"));
}

TEST_F(PreviewTest, ShrinkingJobMovesThePaneToItsLastPageSilently)
{
    Show(300, 300);
    Pane->SetPageIndex(5);
    int changes = 0;
    Pane->SetOnPageChanged([&](TComponent*) { ++changes; });
    Job->SetPageCount(2);
    EXPECT_EQ(Pane->PageIndex(), 2);
    EXPECT_EQ(changes, 0);
}

TEST_F(PreviewTest, KeysScrollAndTurnPages)
{
    Show(400, 300);
    Pane->SetViewMode(vmCustom);
    Pane->SetViewScale(300);
    Pane->SetPageIndex(2);
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Hz()->Position(), Hz()->MaxPosition());
    EXPECT_EQ(V()->Position(), V()->MaxPosition());
    EXPECT_GT(V()->Position(), 0);
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Hz()->Position(), 0);
    EXPECT_EQ(V()->Position(), 0);
    Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    EXPECT_EQ(V()->Position(), 8);
    EXPECT_EQ(Hz()->Position(), 8);
    Key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Hz()->Position(), 8 + Pane->ScrollBox()->ClientWidth() - 8);
    Key(Qt::Key_Up);
    Key(Qt::Key_PageUp); // at the top: the previous page, from its top
    EXPECT_EQ(Pane->PageIndex(), 1);
    EXPECT_EQ(V()->Position(), 0);
    EXPECT_EQ(Hz()->Position(), 0);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(V()->Position(), Pane->ScrollBox()->ClientHeight() - 8);
    EXPECT_EQ(Pane->PageIndex(), 1);
    int changes = 0;
    Pane->SetOnPageChanged([&](TComponent*) { ++changes; });
    Pane->SetPageIndex(5);
    Key(Qt::Key_PageDown, Qt::ControlModifier);
    Key(Qt::Key_PageDown); // bottom of the last page: the page stays, the change is still reported
    EXPECT_EQ(Pane->PageIndex(), 5);
    EXPECT_EQ(changes, 2);
}

TEST_F(PreviewTest, DraggingMovesTheGrabbedPointWithTheMouse)
{
    Show(400, 300);
    Pane->SetViewMode(vmCustom);
    Pane->SetViewScale(300);
    TDrawPanel* page = Pane->PagePanel();
    const auto mouse = [&](QEvent::Type type, QPoint p, Qt::MouseButtons buttons) {
        QMouseEvent e(type, p, page->mapToGlobal(p), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(page, &e);
    };
    mouse(QEvent::MouseButtonPress, QPoint(100, 100), Qt::LeftButton);
    EXPECT_FALSE(page->Dragging()); // DragScroll is off
    mouse(QEvent::MouseButtonRelease, QPoint(100, 100), Qt::NoButton);

    Pane->SetDragScroll(true);
    mouse(QEvent::MouseButtonPress, QPoint(100, 100), Qt::LeftButton);
    EXPECT_TRUE(page->Dragging());
    EXPECT_EQ(page->cursor().shape(), Qt::SizeAllCursor);
    mouse(QEvent::MouseMove, QPoint(70, 60), Qt::LeftButton);
    EXPECT_EQ(Hz()->Position(), 30);
    EXPECT_EQ(V()->Position(), 40);
    mouse(QEvent::MouseMove, QPoint(-5000, -5000), Qt::LeftButton);
    EXPECT_EQ(Hz()->Position(), Hz()->MaxPosition()); // clamped to the range
    mouse(QEvent::MouseButtonRelease, QPoint(10, 10), Qt::NoButton);
    EXPECT_FALSE(page->Dragging());
    EXPECT_EQ(page->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(PreviewTest, PaintingDrawsTheJobsPageAtThePrinterResolution)
{
    struct Drawn { int page; TDrawTarget target; int ppi; TRect rect; };
    std::vector<Drawn> drawn;
    Job->SetOnDraw([&](TComponent*, TCanvas* canvas, int page, TRect r, TDrawArea, TDrawTarget target) {
        drawn.push_back({page, target, canvas->Font()->PixelsPerInch(), r});
        canvas->Brush()->SetColor(clBlack);
        canvas->FillRect(r); // the whole page area in black
    });
    Show(400, 300);
    Pane->SetPageIndex(3);
    drawn.clear();
    const QImage image = Pane->PagePanel()->grab().toImage();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().page, 3);
    EXPECT_EQ(drawn.back().target, dtPreview);
    EXPECT_EQ(drawn.back().ppi, 600);
    EXPECT_EQ(drawn.back().rect, (TRect{0, 0, 4800, 6600}));
    // Frame black, page black inside it.
    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2), QColor(Qt::black));
}

TEST_F(PreviewTest, MarginsShowInTheirColoursOutsideAWhiteMarginRectangle)
{
    Job->SetMarginsUnits(unPercents);
    TMargins margins(25, 25, 25, 25);
    Job->SetMargins(&margins);
    Job->SetOptions({joMargins});
    Show(400, 300);
    Pane->SetMarginsFill(0x00FF00);
    Pane->SetMarginsVisible(true);
    const QImage image = Pane->PagePanel()->grab().toImage();
    const int w = image.width(), h = image.height();
    EXPECT_EQ(image.pixelColor(w / 8, h / 8), QColor(0, 255, 0));
    EXPECT_EQ(image.pixelColor(w / 2, h / 2), QColor(Qt::white));
    Pane->SetMarginsVisible(false);
    EXPECT_EQ(Pane->PagePanel()->grab().toImage().pixelColor(w / 8, h / 8), QColor(Qt::white));
}

TEST_F(PreviewTest, FailingDrawIsReportedOnceAndMarkedOnThePageAndAFailingCompanionIsSwallowed)
{
    Job->SetOnDraw([](TComponent*, TCanvas*, int, TRect, TDrawArea, TDrawTarget) { throw Exception(QStringLiteral("draw failed")); });
    QStringList reported;
    Application().SetOnException([&](const QString& message) { reported << message; });
    std::vector<int> log;
    Companion first(&log, 1, true), second(&log, 2);
    Pane->AddControlNotification(&first);
    Pane->AddControlNotification(&second);
    Pane->AddControlNotification(&first);
    int updates = 0;
    Pane->SetOnUpdate([&](TComponent*) { ++updates; });
    Show(300, 300);
    // Once for the resize while the pane had no job yet, once with the job.
    EXPECT_EQ(log, (std::vector<int>{1, 2, 1, 2}));
    EXPECT_EQ(updates, 1);
    const QImage page = Pane->PagePanel()->grab().toImage();
    (void)Pane->PagePanel()->grab();
    QApplication::processEvents();
    EXPECT_EQ(reported, QStringList{QStringLiteral("draw failed")}); // not once per repaint
    EXPECT_EQ(page.pixelColor(page.width() / 2, 4), QColor(0xC0, 0, 0)) << "the page shows the failure";
    Pane->DeleteControlNotification(&first);
    Pane->Update();
    EXPECT_EQ(log, (std::vector<int>{1, 2, 1, 2, 2}));
    Pane->DeleteControlNotification(&second);
    Application().SetOnException(nullptr);
}

TEST_F(PreviewTest, DestroyedJobIsDetachedAndThePageHidden)
{
    Show(300, 300);
    EXPECT_EQ(Job->ControlNotificationCount(), 1);
    EXPECT_TRUE(Pane->PagePanel()->isVisible());
    Job.reset();
    EXPECT_EQ(Pane->PrintJob(), nullptr);
    EXPECT_FALSE(Pane->PagePanel()->isVisible());
    EXPECT_EQ(Pane->GetPageText(), QString());
}

TEST_F(PreviewTest, NoPrinterIsTreatedAsNoJob)
{
    Show(300, 300);
    Printer()->SetPrintersHidden(true);
    Pane->Update();
    EXPECT_FALSE(Pane->PagePanel()->isVisible());
    Printer()->SetPrintersHidden(false);
}

TEST_F(PreviewTest, DPIIsThePrinterResolutionShownOnThePanel)
{
    EXPECT_EQ(Pane->DPIX(), Screen().PixelsPerInch());
    Show(600, 300);
    EXPECT_EQ(Pane->DPIX(), 4800 * 600 / 204);
    EXPECT_EQ(Pane->DPIY(), 6600 * 600 / 280);
}

TEST_F(PreviewTest, RepaintDrawsThePageAgainAndDesignTimeLeavesItBlank)
{
    int draws = 0;
    Job->SetOnDraw([&](TComponent*, TCanvas* canvas, int, TRect r, TDrawArea, TDrawTarget) {
        ++draws;
        canvas->Brush()->SetColor(clBlack);
        canvas->FillRect(r);
    });
    Show(400, 300);
    QApplication::processEvents();
    draws = 0;
    Pane->Repaint();
    EXPECT_EQ(draws, 1);
    Pane->SetDesigning(true);
    const QImage image = Pane->PagePanel()->grab().toImage();
    EXPECT_EQ(draws, 1);
    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2), QColor(Qt::white));
    EXPECT_TRUE(Pane->Shadow()->isVisible());
}

TEST_F(PreviewTest, DeskSmallerThanItsMarginsLeavesAnEmptyPage)
{
    for (TViewMode mode : {vmWholePage, vmPageWidth, vmCustom}) {
        Show(6, 6);
        Pane->SetViewMode(mode);
        EXPECT_GE(Pane->PagePanel()->Width(), 0);
        EXPECT_GE(Pane->PagePanel()->Height(), 0);
        EXPECT_GT(Pane->DPIX(), 0);
        EXPECT_GE(Pane->ViewScale(), 0);
        (void)Pane->PagePanel()->grab();
    }
}

TEST_F(PreviewTest, PageWithoutRoomShowsWhyOnTheDeskInsteadOfAPage)
{
    Show(400, 300);
    TMargins huge(150, 10, 150, 10);
    Job->SetMarginsUnits(unMillimeters);
    Job->SetMargins(&huge);
    Job->SetOptions({joMargins});
    EXPECT_FALSE(Pane->PagePanel()->isVisible());
    EXPECT_TRUE(Pane->DeskMessage().contains(QStringLiteral("margins leave no room across the page"))) << Pane->DeskMessage().toStdString();
    TMargins sound(10, 10, 10, 10);
    Job->SetMargins(&sound);
    EXPECT_TRUE(Pane->PagePanel()->isVisible());
    EXPECT_EQ(Pane->DeskMessage(), QString());
}
