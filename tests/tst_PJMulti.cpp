// The multi job: page mapping over its list, the list operations, change notification through
// the listed jobs, drawing through the owning job, printing, removal and form files.
#include "multijobs/PJMulti.h"
#include "platform/core/Application.h"
#include "platform/core/DataModule.h"
#include "platform/core/Reader.h"
#include "platform/core/Writer.h"
#include "platform/printing/Dialogs.h"

#include "TestSupport.h"

#include <memory>

using namespace Vellaro;
using Vellaro::Testing::RecordingPrinterTest;

namespace {

/// A job of a fixed page count that writes "<name> page <n>" on each page it draws.
TPrintJob* MakeJob(TComponent* owner, const QString& name, int pages)
{
    auto* job = new TPrintJob(owner);
    job->SetName(name);
    job->SetPageCount(pages);
    job->SetOnDraw([name](TComponent*, TCanvas* canvas, int page, TRect r, TDrawArea area, TDrawTarget) {
        if (area == daPage)
            canvas->TextOut(r.Left, r.Top, QStringLiteral("%1 page %2").arg(name).arg(page));
    });
    return job;
}

/// A control that counts the updates it is sent.
struct CountingControl : TControl {
    int Updates = 0;
    void Update() override { ++Updates; }
};

class MultiJob : public RecordingPrinterTest {
protected:
    /// Draws overall page onto the printer's recording canvas and returns the texts drawn.
    QStringList DrawnTexts(TCustomPrintJob& job, int page)
    {
        Printer()->BeginDoc();
        job.Draw(Printer()->Canvas(), page, dtPrint);
        const QStringList texts = Texts(Recording()->Recorder().Current());
        Printer()->Abort();
        return texts;
    }

    TDataModule Form;
};

TEST_F(MultiJob, MapsOverallPagesToTheOwningJobAndItsLocalPage)
{
    auto* multi = new TMultiPrintJob(&Form);
    TPrintJob* a = MakeJob(&Form, "A", 3);
    TPrintJob* b = MakeJob(&Form, "B", 2);
    TPrintJob* c = MakeJob(&Form, "C", 4);
    for (TPrintJob* job : {a, b, c})
        multi->Add(job);
    EXPECT_EQ(multi->PageCount(), 9);
    const struct {
        int Page;
        TCustomPrintJob* Job;
        int Local;
    } cases[] = {{-2, a, -2}, {0, a, 0}, {1, a, 1}, {3, a, 3}, {4, b, 1}, {5, b, 2}, {6, c, 1}, {9, c, 4}, {10, nullptr, 10}, {11, nullptr, 10}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Page);
        EXPECT_EQ(multi->GetPageJob(c.Page), c.Job);
        EXPECT_EQ(multi->GetLocalPage(c.Page), c.Local);
    }
    EXPECT_EQ(DrawnTexts(*multi, 5), QStringList{"B page 2"});
    EXPECT_TRUE(DrawnTexts(*multi, 10).isEmpty());
}

TEST_F(MultiJob, EmptyListHasOnePageAndPrintsItBlank)
{
    TMultiPrintJob multi(&Form);
    EXPECT_EQ(multi.PageCount(), 1);
    EXPECT_EQ(multi.GetPrintJob(0), nullptr);
    EXPECT_EQ(multi.GetPrintJobCount(), 0);
    multi.Print();
    EXPECT_EQ(Recording()->Recorder().PageCount(), 1);
    EXPECT_TRUE(PageRecords(1).empty());
}

TEST_F(MultiJob, ListOperationsKeepOrderAndRefuseBadIndexesWithoutChange)
{
    auto* multi = new TMultiPrintJob(&Form);
    TPrintJob* a = MakeJob(&Form, "A", 1);
    TPrintJob* b = MakeJob(&Form, "B", 2);
    TPrintJob* c = MakeJob(&Form, "C", 4);
    multi->Add(a);
    multi->Add(c);
    multi->Insert(1, b);
    multi->Move(0, 2); // B C A
    EXPECT_EQ(multi->GetPrintJob(0), b);
    EXPECT_EQ(multi->GetPrintJob(2), a);
    EXPECT_EQ(multi->IndexOf(c), 1);
    EXPECT_EQ(multi->IndexOfName("a"), 2);
    EXPECT_EQ(multi->IndexOfName("D"), -1);
    EXPECT_THROW(multi->Delete(3), EComponentError);
    EXPECT_THROW(multi->Insert(4, a), EComponentError);
    EXPECT_THROW(multi->Move(-1, 0), EComponentError);
    EXPECT_THROW(multi->Move(0, 3), EComponentError);
    EXPECT_THROW(multi->Add(multi), EPrintJobException);
    EXPECT_EQ(multi->GetPrintJobCount(), 3);
    EXPECT_EQ(multi->PageCount(), 7);
    multi->Delete(1);
    EXPECT_EQ(multi->PageCount(), 3);
    multi->Clear();
    EXPECT_EQ(multi->PageCount(), 1);
    EXPECT_EQ(a->PrintJobNotificationCount(), 0);
}

TEST_F(MultiJob, FollowsTheListedJobsAndTellsItsControls)
{
    auto* multi = new TMultiPrintJob(&Form);
    TPrintJob* a = MakeJob(&Form, "A", 3);
    TPrintJob* b = MakeJob(&Form, "B", 2);
    multi->Add(a);
    multi->Add(b);
    CountingControl pane;
    multi->AddControlNotification(&pane);
    a->SetPageCount(5);
    EXPECT_EQ(multi->PageCount(), 7);
    EXPECT_GT(pane.Updates, 0);
    multi->DeleteControlNotification(&pane);
}

TEST_F(MultiJob, SameJobTwiceShowsItsPagesTwiceAndStaysSubscribedWhileListed)
{
    auto* multi = new TMultiPrintJob(&Form);
    TPrintJob* a = MakeJob(&Form, "A", 2);
    multi->Add(a);
    multi->Add(a);
    EXPECT_EQ(a->PrintJobNotificationCount(), 1);
    EXPECT_EQ(multi->PageCount(), 4);
    EXPECT_EQ(DrawnTexts(*multi, 3), QStringList{"A page 1"});
    multi->Delete(0);
    // The other entry still lists the job: its changes still reach the multi job.
    a->SetPageCount(3);
    EXPECT_EQ(multi->PageCount(), 3);
    multi->Delete(0);
    EXPECT_EQ(a->PrintJobNotificationCount(), 0);
}

TEST_F(MultiJob, DestroyedJobLeavesEveryEntryWhateverItsOwner)
{
    for (const bool sameOwner : {true, false}) {
        SCOPED_TRACE(sameOwner);
        TDataModule other;
        auto* multi = new TMultiPrintJob(&Form);
        TPrintJob* a = MakeJob(sameOwner ? static_cast<TComponent*>(&Form) : &other, "A", 3);
        TPrintJob* b = MakeJob(&Form, "B", 2);
        multi->Add(a);
        multi->Add(b);
        multi->Add(a);
        delete a;
        EXPECT_EQ(multi->GetPrintJobCount(), 1);
        EXPECT_EQ(multi->GetPrintJob(0), b);
        multi->Update();
        EXPECT_EQ(multi->PageCount(), 2);
        EXPECT_EQ(DrawnTexts(*multi, 2), QStringList{"B page 2"});
        delete multi;
        delete b;
    }
}

TEST_F(MultiJob, DestroyedMultiJobLeavesNoSubscriptionBehind)
{
    TPrintJob* a = MakeJob(&Form, "A", 3);
    {
        TMultiPrintJob multi;
        multi.Add(a);
        EXPECT_EQ(a->PrintJobNotificationCount(), 1);
    }
    EXPECT_EQ(a->PrintJobNotificationCount(), 0);
    a->SetPageCount(4); // would reach the freed multi job otherwise
}

TEST_F(MultiJob, TakesTheOwningJobsLayoutAndTellsControlsOfANewOrientation)
{
    auto* multi = new TMultiPrintJob(&Form);
    TPrintJob* portrait = MakeJob(&Form, "P", 1);
    portrait->SetOrientation(orPortrait);
    TPrintJob* landscape = MakeJob(&Form, "L", 1);
    landscape->SetOrientation(orLandscape);
    landscape->SetPageMode(pmCustom);
    landscape->SetPageUnits(unMillimeters);
    landscape->SetPageWidth(150);
    multi->Add(portrait);
    multi->Add(landscape);
    CountingControl pane;
    multi->AddControlNotification(&pane);
    DrawnTexts(*multi, 1);
    EXPECT_EQ(multi->Orientation(), orPortrait);
    const int before = pane.Updates;
    DrawnTexts(*multi, 2);
    EXPECT_EQ(multi->Orientation(), orLandscape);
    EXPECT_EQ(multi->PageMode(), pmCustom);
    EXPECT_EQ(multi->PageUnits(), unMillimeters);
    EXPECT_EQ(multi->PageWidth(), 150);
    EXPECT_GT(pane.Updates, before);
    multi->DeleteControlNotification(&pane);
}

TEST_F(MultiJob, DrawsNothingWhileInsideItsOwnUpdate)
{
    auto* multi = new TMultiPrintJob(&Form);
    multi->Add(MakeJob(&Form, "A", 2));
    QStringList drawnDuringUpdate{"not called"};
    multi->SetOnUpdate([&](TComponent*) { drawnDuringUpdate = DrawnTexts(*multi, 1); });
    multi->Update();
    EXPECT_TRUE(drawnDuringUpdate.isEmpty());
    EXPECT_EQ(DrawnTexts(*multi, 1), QStringList{"A page 1"});
}

TEST_F(MultiJob, TwoMultiJobsListingEachOtherNeitherLoopNorRecurse)
{
    auto* first = new TMultiPrintJob(&Form);
    auto* second = new TMultiPrintJob(&Form);
    first->Add(MakeJob(&Form, "A", 1));
    first->Add(second);
    second->Add(first);
    first->Update();
    second->Update();
    for (int page = 1; page <= 4; ++page) {
        DrawnTexts(*first, page);
        DrawnTexts(*second, page);
    }
    EXPECT_EQ(DrawnTexts(*first, 1), QStringList{"A page 1"});
}

TEST_F(MultiJob, PrintsAllPagesWithOverallNumbersAndTheListedJobsDrawing)
{
    auto* multi = new TMultiPrintJob(&Form);
    TPrintJob* a = MakeJob(&Form, "A", 2);
    TPrintJob* b = MakeJob(&Form, "B", 1);
    multi->Add(a);
    multi->Add(b);
    QList<int> started;
    bool listedJobEvent = false;
    multi->SetOnStartPrintPage([&](TComponent*, int page) { started << page; });
    a->SetOnStartPrintPage([&](TComponent*, int) { listedJobEvent = true; });
    multi->Print();
    EXPECT_EQ(started, (QList<int>{1, 2, 3}));
    EXPECT_FALSE(listedJobEvent);
    ASSERT_EQ(Recording()->Recorder().PageCount(), 3);
    EXPECT_EQ(Texts(PageRecords(2)), QStringList{"A page 2"});
    EXPECT_EQ(Texts(PageRecords(3)), QStringList{"B page 1"});
}

// Each printed page starts in the orientation of the job that owns it and is laid out for that
// sheet, whichever page the run starts at; the printer's own orientation is left as it was.
TEST_F(MultiJob, EachPrintedPageStartsInItsJobsOrientation)
{
    auto* multi = new TMultiPrintJob(&Form);
    const auto sheetJob = [this](const char* name, int pages, TPageOrientation orientation) {
        TPrintJob* job = MakeJob(&Form, name, pages);
        job->SetOrientation(orientation);
        // The page's whole rectangle, to see which sheet it was laid out for.
        job->SetOnDraw([](TComponent*, TCanvas* canvas, int, TRect r, TDrawArea area, TDrawTarget) {
            if (area == daPage)
                canvas->FillRect(r);
        });
        return job;
    };
    multi->Add(sheetJob("P", 2, orPortrait));
    multi->Add(sheetJob("L", 1, orLandscape));
    multi->Add(sheetJob("Q", 1, orPortrait));
    const std::vector<TPrinterOrientation> everyPage{poPortrait, poPortrait, poLandscape, poPortrait};
    struct Case {
        const char* name;
        int from, to;
    };
    for (const Case c : {Case{"whole run", 0, 0}, Case{"from the landscape page", 3, 4}, Case{"landscape then back", 2, 4}}) {
        SCOPED_TRACE(c.name);
        Printer()->SetOrientation(poPortrait);
        const int first = c.from ? c.from : 1;
        const int last = c.to ? c.to : multi->PageCount();
        if (c.from) {
            TPrintDialog::SetExecuteHook([&c](TPrintDialog& dialog) {
                dialog.SetFromPage(c.from);
                dialog.SetToPage(c.to);
                return true;
            });
            multi->PrintDialog();
            TPrintDialog::SetExecuteHook({});
        } else {
            multi->Print();
        }
        const std::vector<TPrinterOrientation> expected(everyPage.begin() + first - 1, everyPage.begin() + last);
        EXPECT_EQ(Recording()->PageOrientations(), expected);
        ASSERT_EQ(Recording()->Recorder().PageCount(), int(expected.size()));
        for (int page = 1; page <= int(expected.size()); ++page) {
            const auto fills = OfKind(PageRecords(page), TDrawRecord::drFillRect);
            ASSERT_FALSE(fills.empty()) << "page " << page;
            const bool wide = fills.back().Rect.Width() > fills.back().Rect.Height();
            EXPECT_EQ(wide, expected[size_t(page - 1)] == poLandscape) << "page " << page << " laid out for the other sheet";
        }
        EXPECT_EQ(Printer()->Orientation(), expected.front()) << "the printer keeps the orientation the document began in";
    }
}

TEST_F(MultiJob, FormFileNamesTheJobsAndLoadedFindsThemAlsoWhenWrittenAfter)
{
    auto* multi = new TMultiPrintJob(&Form);
    Form.SetName("Form1");
    multi->SetName("Multi1");
    TPrintJob* a = MakeJob(&Form, "A", 3);
    TPrintJob* b = MakeJob(&Form, "B", 2);
    multi->Add(b);
    multi->Add(a);
    b->SetName("Bee");
    const QString text = ComponentToText(&Form);

    TDataModule copy;
    ReadComponentText(text, &copy);
    auto* read = dynamic_cast<TMultiPrintJob*>(copy.FindComponent("Multi1"));
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->GetPrintJobCount(), 2);
    EXPECT_EQ(read->GetPrintJob(0), copy.FindComponent("Bee"));
    EXPECT_EQ(read->GetPrintJob(1), copy.FindComponent("A"));
    EXPECT_EQ(read->PageCount(), 5);
    // A name that matches no component leaves an entry without a job, which adds no pages.
    QString dangling = text;
    dangling.replace(QStringLiteral("'Bee'"), QStringLiteral("'Nobody'"));
    TDataModule third;
    ReadComponentText(dangling, &third);
    auto* partial = dynamic_cast<TMultiPrintJob*>(third.FindComponent("Multi1"));
    ASSERT_EQ(partial->GetPrintJobCount(), 2);
    EXPECT_EQ(partial->GetPrintJob(0), nullptr);
    EXPECT_EQ(partial->PageCount(), 3);
}


TEST_F(MultiJob, AnUnresolvedNameIsReportedOnceAndTheOtherJobsPrint)
{
    const QString text = QStringLiteral(
        "object Form1: TDataModule\n"
        "  object Multi1: TMultiPrintJob\n"
        "    PrintJobs = ('A' 'Nobody' 'B' 'nobody')\n"
        "  end\n"
        "  object A: TPrintJob\n"
        "    PageCount = 2\n"
        "  end\n"
        "  object B: TPrintJob\n"
        "    PageCount = 1\n"
        "  end\n"
        "end\n");
    QStringList reported;
    Application().SetOnException([&](const QString& message) { reported << message; });
    TDataModule read;
    ReadComponentText(text, &read);
    Application().SetOnException({});
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported.front().contains(QStringLiteral("'Nobody'"))) << reported.front().toStdString();
    EXPECT_TRUE(reported.front().contains(QStringLiteral("Multi1"))) << reported.front().toStdString();
    auto* multi = dynamic_cast<TMultiPrintJob*>(read.FindComponent("Multi1"));
    EXPECT_EQ(multi->PageCount(), 3);
    multi->Print();
    EXPECT_EQ(Recording()->Recorder().PageCount(), 3);

    // In a designer the entry waits silently for the job to be added.
    reported.clear();
    Application().SetOnException([&](const QString& message) { reported << message; });
    TDataModule designed;
    designed.SetDesigning(true);
    ReadComponentText(text, &designed);
    Application().SetOnException({});
    EXPECT_TRUE(reported.isEmpty());
}


TEST_F(MultiJob, AnotherOwnerGoingAwayTakesAllItsEntriesAndLeavesTheRest)
{
    auto* multi = new TMultiPrintJob(&Form);
    TPrintJob* own = MakeJob(&Form, "Own", 2);
    auto other = std::make_unique<TDataModule>();
    std::vector<TPrintJob*> theirs;
    for (int i = 0; i < 50; ++i)
        theirs.push_back(MakeJob(other.get(), QStringLiteral("T%1").arg(i), 1));
    multi->Add(theirs[10]);
    multi->Add(own);
    for (TPrintJob* job : theirs)
        multi->Add(job);
    EXPECT_EQ(multi->PageCount(), 53);
    other.reset(); // the sanitized build proves no entry is touched after its job went
    ASSERT_EQ(multi->GetPrintJobCount(), 1);
    EXPECT_EQ(multi->GetPrintJob(0), own);
    own->SetPageCount(4);
    EXPECT_EQ(multi->PageCount(), 4) << "still subscribed to the job that stayed";
}

} // namespace
