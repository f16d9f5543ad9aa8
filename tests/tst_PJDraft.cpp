// The draft job: its page count and layout follow the linked job, each draft sheet holds
// Scale x Scale reduced sheets placed exactly by the mapping, separators fall on the grid.
#include "multijobs/PJDraft.h"
#include "multijobs/PJMulti.h"
#include "platform/core/DataModule.h"

#include "TestSupport.h"

#include <memory>

using namespace Vellaro;
using Vellaro::Testing::RecordingPrinterTest;

namespace {

/// Frames its page and writes its page number on it.
TPrintJob* MakeJob(TComponent* owner, int pages)
{
    auto* job = new TPrintJob(owner);
    job->SetPageCount(pages);
    job->SetOnDraw([](TComponent*, TCanvas* canvas, int page, TRect r, TDrawArea area, TDrawTarget) {
        if (area != daPage)
            return;
        canvas->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
        canvas->TextOut(r.Left, r.Top, QString::number(page));
    });
    return job;
}

struct CountingControl : TControl {
    int Updates = 0;
    void Update() override { ++Updates; }
};

class DraftJob : public RecordingPrinterTest {
protected:
    /// Prints the draft job and returns the records of one of its sheets.
    std::vector<TDrawRecord> PrintedSheet(TCustomPrintJob& job, int sheet)
    {
        job.Print();
        return PageRecords(sheet);
    }
    TDataModule Form;
};

TEST_F(DraftJob, PageCountIsTheLinkedSheetsDividedByScaleSquaredRoundedUp)
{
    const struct {
        int Linked, Scale, Expected;
    } cases[] = {{9, 2, 3}, {8, 2, 2}, {1, 10, 1}, {5, 2, 2}, {4, 2, 1}, {10, 3, 2}, {100, 10, 1}, {101, 10, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 sheets at scale %2").arg(c.Linked).arg(c.Scale).toStdString());
        TDraftPrintJob draft(&Form);
        TPrintJob* job = MakeJob(&Form, c.Linked);
        draft.SetScale(c.Scale);
        draft.SetPrintJob(job);
        EXPECT_EQ(draft.PageCount(), c.Expected);
        delete job;
        EXPECT_EQ(draft.PrintJob(), nullptr);
    }
}

TEST_F(DraftJob, ScaleIsClampedToTwoThroughTen)
{
    const struct {
        int Set, Expected;
    } cases[] = {{1, 2}, {0, 2}, {-5, 2}, {3, 3}, {10, 10}, {11, 10}, {100, 10}};
    TDraftPrintJob draft;
    for (const auto& c : cases) {
        draft.SetScale(c.Set);
        EXPECT_EQ(draft.Scale(), c.Expected) << c.Set;
    }
}

TEST_F(DraftJob, LinkingToItselfFailsAndKeepsThePreviousLink)
{
    TDraftPrintJob draft(&Form);
    TPrintJob* job = MakeJob(&Form, 3);
    draft.SetPrintJob(job);
    try {
        draft.SetPrintJob(&draft);
        FAIL() << "no exception";
    } catch (const EPrintJobException& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TDraftPrintJob cannot link with himself"));
    }
    EXPECT_EQ(draft.PrintJob(), job);
}

TEST_F(DraftJob, CellsFillRowByRowAndTheLastSheetLeavesTheRestEmpty)
{
    TDraftPrintJob draft(&Form);
    draft.SetPrintJob(MakeJob(&Form, 9));
    const int w = Printer()->PageWidth(), h = Printer()->PageHeight();
    // Sheet 1: linked pages 1..4 in the four cells, each framed exactly in its quarter.
    const auto sheet1 = PrintedSheet(draft, 1);
    EXPECT_EQ(Texts(sheet1), (QStringList{"1", "2", "3", "4"}));
    const auto frames = OfKind(sheet1, TDrawRecord::drRectangle);
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0].Rect, (TRect{0, 0, w / 2, h / 2}));
    EXPECT_EQ(frames[1].Rect, (TRect{w / 2, 0, w, h / 2}));
    EXPECT_EQ(frames[2].Rect, (TRect{0, h / 2, w / 2, h}));
    EXPECT_EQ(frames[3].Rect, (TRect{w / 2, h / 2, w, h}));
    // Sheet 3: page 9 alone, top left.
    const auto sheet3 = PageRecords(3);
    EXPECT_EQ(Texts(sheet3), QStringList{"9"});
    ASSERT_EQ(OfKind(sheet3, TDrawRecord::drRectangle).size(), 1u);
    EXPECT_EQ(OfKind(sheet3, TDrawRecord::drRectangle)[0].Rect, (TRect{0, 0, w / 2, h / 2}));
}

TEST_F(DraftJob, PrintMappingLeavesThePrinterCanvasAsItWas)
{
    TDraftPrintJob draft(&Form);
    draft.SetScale(3);
    draft.SetPrintJob(MakeJob(&Form, 2));
    Printer()->BeginDoc();
    TDeviceContext* dc = Printer()->Canvas()->Handle();
    TSize window{}, viewport{};
    GetWindowExtEx(dc, &window);
    GetViewportExtEx(dc, &viewport);
    draft.Draw(Printer()->Canvas(), 1, dtPrint);
    TSize windowAfter{}, viewportAfter{};
    GetWindowExtEx(dc, &windowAfter);
    GetViewportExtEx(dc, &viewportAfter);
    TPoint origin{};
    GetViewportOrgEx(dc, &origin);
    EXPECT_EQ(windowAfter, window);
    EXPECT_EQ(viewportAfter, viewport);
    EXPECT_EQ(origin, (TPoint{0, 0}));
    Printer()->Abort();
}

TEST_F(DraftJob, FailingLinkedJobRestoresMappingAndLocks)
{
    TDraftPrintJob draft(&Form);
    TPrintJob* job = MakeJob(&Form, 4);
    draft.SetPrintJob(job);
    job->SetOnDraw([](TComponent*, TCanvas*, int page, TRect, TDrawArea, TDrawTarget) {
        if (page == 2)
            throw Exception(QStringLiteral("broken page"));
    });
    Printer()->BeginDoc();
    TDeviceContext* dc = Printer()->Canvas()->Handle();
    TSize viewport{};
    GetViewportExtEx(dc, &viewport);
    EXPECT_THROW(draft.Draw(Printer()->Canvas(), 1, dtPrint), Exception);
    TSize after{};
    GetViewportExtEx(dc, &after);
    TPoint origin{};
    GetViewportOrgEx(dc, &origin);
    EXPECT_EQ(after, viewport);
    EXPECT_EQ(origin, (TPoint{0, 0}));
    EXPECT_FALSE(draft.GetUpdateLocked());
    EXPECT_FALSE(draft.GetDrawLocked());
    Printer()->Abort();
}

TEST_F(DraftJob, SeparatorsAreDottedAndDivideThePageRectangle)
{
    Install(600, 600, QSize(3000, 4500));
    const struct {
        bool Linked;
        int Scale;
        std::vector<std::pair<TPoint, TPoint>> Lines;
    } cases[] = {
        {true, 3, {{{1000, 0}, {1000, 4500}}, {{0, 1500}, {3000, 1500}}, {{2000, 0}, {2000, 4500}}, {{0, 3000}, {3000, 3000}}}},
        {false, 2, {{{1500, 0}, {1500, 4500}}, {{0, 2250}, {3000, 2250}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Scale);
        TDraftPrintJob draft(&Form);
        draft.SetScale(c.Scale);
        draft.SetSeparators(true);
        if (c.Linked)
            draft.SetPrintJob(MakeJob(&Form, 1));
        const auto lines = OfKind(PrintedSheet(draft, 1), TDrawRecord::drLine);
        ASSERT_EQ(lines.size(), c.Lines.size());
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].From, c.Lines[i].first) << i;
            EXPECT_EQ(lines[i].To, c.Lines[i].second) << i;
            EXPECT_EQ(lines[i].PenStyle, psDot);
            EXPECT_EQ(lines[i].Color, clBlack);
        }
    }
}

TEST_F(DraftJob, FollowsTheLinkedJobsCountAndOrientationAndTellsItsControls)
{
    TDraftPrintJob draft(&Form);
    TPrintJob* job = MakeJob(&Form, 4);
    draft.SetPrintJob(job);
    CountingControl pane;
    draft.AddControlNotification(&pane);
    job->SetPageCount(5);
    EXPECT_EQ(draft.PageCount(), 2);
    const int before = pane.Updates;
    job->SetOrientation(orLandscape);
    EXPECT_EQ(draft.Orientation(), orLandscape);
    EXPECT_GT(pane.Updates, before);
    draft.DeleteControlNotification(&pane);
}

TEST_F(DraftJob, LinkedJobOfAnotherOwnerGoingAwayUnlinks)
{
    TDraftPrintJob draft(&Form);
    auto job = std::unique_ptr<TPrintJob>(MakeJob(nullptr, 3));
    draft.SetPrintJob(job.get());
    job.reset();
    EXPECT_EQ(draft.PrintJob(), nullptr);
    draft.Print(); // draws no cells and reaches no freed job
}

TEST_F(DraftJob, DestroyedDraftJobLeavesNoSubscriptionBehind)
{
    TPrintJob* job = MakeJob(&Form, 3);
    {
        TDraftPrintJob draft;
        draft.SetPrintJob(job);
        EXPECT_EQ(job->PrintJobNotificationCount(), 1);
    }
    EXPECT_EQ(job->PrintJobNotificationCount(), 0);
    job->SetPageCount(4); // would reach the freed draft job otherwise
}

TEST_F(DraftJob, DraftOfAMultiJobThatListsTheDraftEndsDrawing)
{
    auto* multi = new TMultiPrintJob(&Form);
    auto* draft = new TDraftPrintJob(&Form);
    multi->Add(MakeJob(&Form, 2));
    multi->Add(draft);
    draft->SetPrintJob(multi);
    multi->Update();
    draft->Print();
    multi->Print();
    EXPECT_EQ(Texts(PageRecords(1)), QStringList{"1"});
}

} // namespace
