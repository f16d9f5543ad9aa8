// The print job's units, page rectangles, change notification, locks and drawing pipeline,
// checked in device pixels on a 600 dpi recording printer of 4800 x 6600 pixels.
#include "job/VLJob.h"

#include "TestSupport.h"

#include <QMetaProperty>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {
class JobTest : public RecordingPrinterTest {};

/// A control that counts its updates and may misbehave.
class CountingControl : public TControl {
public:
    int Updates = 0;
    bool Throw = false;
    std::function<void()> OnUpdate;
    void Update() override
    {
        ++Updates;
        if (OnUpdate)
            OnUpdate();
        if (Throw)
            throw Exception(QStringLiteral("subscriber failed"));
    }
};

class CountingJob : public TPrintJob {
public:
    using TPrintJob::TPrintJob;
    int Updates = 0;
    void Update() override
    {
        ++Updates;
        TPrintJob::Update();
    }
};

struct AreaCall {
    TDrawArea Area;
    TRect Rect;
    int Page;
};
} // namespace

TEST_F(JobTest, ConstructionTakesThePrintersPageOrAFallbackWithoutPrinter)
{
    TPrintJob job;
    EXPECT_EQ(job.PageCount(), 1);
    EXPECT_EQ(job.PageWidth(), 4800);
    EXPECT_EQ(job.PageHeight(), 6600);
    Printer()->SetPrintersHidden(true);
    TPrintJob orphan;
    EXPECT_EQ(orphan.PageWidth(), 200);
    EXPECT_EQ(orphan.PageHeight(), 300);
    EXPECT_FALSE(orphan.PrinterOK());
    int updates = 0;
    orphan.SetOnUpdate([&](TComponent*) { ++updates; });
    orphan.Update();
    EXPECT_EQ(updates, 0); // nobody hears anything without a printer
    EXPECT_THROW(orphan.GetMarginRect(), EPrinter);
    EXPECT_THROW(orphan.Draw(Printer()->Canvas(), 1, dtPreview), EPrinter);
}

TEST_F(JobTest, OnCreateRunsAtTheEndOfConstruction)
{
    // The handler runs inside the base constructor: it may use the job as a TCustomPrintJob only.
    TCustomPrintJob* seen = nullptr;
    int pageCount = 0;
    TPrintJob job(nullptr, [&](TComponent* sender) {
        seen = static_cast<TCustomPrintJob*>(sender);
        pageCount = seen->PageCount();
    });
    EXPECT_EQ(seen, static_cast<TCustomPrintJob*>(&job));
    EXPECT_EQ(pageCount, 1);
}

TEST_F(JobTest, ConvertUnits)
{
    TPrintJob job;
    const struct {
        double value;
        TUnits from, to;
        TDirection dir;
        double base;
        double expected;
    } cases[] = {
        {12.75, unInches, unInches, dirHorizontal, 0, 12.75},          // equal units: unchanged, not rounded
        {1, unInches, unMillimeters, dirHorizontal, 0, 25},            // 25.4 rounds to 25
        {1, unInches, unPixels, dirVertical, 0, 600},
        {300, unPixels, unInches, dirHorizontal, 0, 0},                // 0.5 ties to even 0
        {900, unPixels, unInches, dirHorizontal, 0, 2},                // 1.5 ties to even 2
        {10, unMillimeters, unPixels, dirHorizontal, 0, 236},          // 236.22
        {480, unPixels, unPercents, dirHorizontal, 4800, 10},
        {10, unPercents, unPixels, dirVertical, 6600, 660},
        {50, unPercents, unMillimeters, dirHorizontal, 4800, 102},     // 2400 px = 101.6 mm
        {50, unPercents, unPixels, dirHorizontal, 0, 0},               // out of percent of nothing
    };
    for (const auto& c : cases)
        EXPECT_EQ(job.ConvertUnits(c.value, c.from, c.to, c.dir, c.base), c.expected)
            << c.value << " " << c.from << "->" << c.to;
    EXPECT_DOUBLE_EQ(job.InchToMm(2), 50.8);
    EXPECT_DOUBLE_EQ(job.PixToMm(600, dirHorizontal), 25.4);
}

TEST_F(JobTest, ConversionIntoPercentOfNothingFailsClearly)
{
    TPrintJob job;
    try {
        job.ConvertUnits(10, unPixels, unPercents, dirVertical, 0);
        FAIL() << "no exception";
    } catch (const EZeroDivide& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("division by zero"))) << e.what();
    }
}

TEST_F(JobTest, ResolutionsAcrossAndDownAreReadSeparately)
{
    Install(300, 600, QSize(2400, 6600));
    TPrintJob job;
    EXPECT_EQ(job.DPIX(), 300);
    EXPECT_EQ(job.DPIY(), 600);
    EXPECT_EQ(job.InchToPix(1, dirHorizontal), 300);
    EXPECT_EQ(job.InchToPix(1, dirVertical), 600);
}

TEST_F(JobTest, MarginRectangle)
{
    TPrintJob job;
    EXPECT_EQ(job.GetSheetRect(), (TRect{0, 0, 4800, 6600}));
    EXPECT_EQ(job.GetMarginRect(), (TRect{0, 0, 4800, 6600})); // margins off
    TMargins inch(1, 1, 1, 1);
    job.SetMargins(&inch);
    job.SetMarginsUnits(unInches);
    EXPECT_EQ(job.GetMarginRect(), (TRect{0, 0, 4800, 6600}));
    job.SetOptions({joMargins});
    EXPECT_EQ(job.GetMarginRect(), (TRect{600, 600, 4200, 6000}));
    EXPECT_EQ(job.Margins()->Left(), 1); // the job's own margins are not converted
    TMargins percent(10, 5, 0, 50);
    job.SetMargins(&percent);
    job.SetMarginsUnits(unPercents);
    EXPECT_EQ(job.GetMarginRect(), (TRect{480, 330, 4800, 3300}));
    // Margins wider than the page are passed on as they are.
    TMargins wide(3000, 0, 3000, 0);
    job.SetMargins(&wide);
    job.SetMarginsUnits(unPixels);
    EXPECT_EQ(job.GetMarginRect(), (TRect{3000, 0, 1800, 6600}));
}

TEST_F(JobTest, BandsTileTheMarginRectangle)
{
    TPrintJob job;
    EXPECT_EQ(job.GetHeaderRect(), TRect{});
    EXPECT_EQ(job.GetFooterRect(), TRect{});
    EXPECT_EQ(job.GetPageRect(), job.GetMarginRect());
    TMargins m(100, 100, 100, 100);
    job.SetMargins(&m);
    job.SetHeader(10);
    job.SetHeaderUnits(unPercents);
    job.SetFooter(1);
    job.SetFooterUnits(unInches);
    job.SetOptions({joMargins, joHeader, joFooter});
    const TRect margin{100, 100, 4700, 6500};
    EXPECT_EQ(job.GetMarginRect(), margin);
    EXPECT_EQ(job.GetHeaderRect(), (TRect{100, 100, 4700, 740}));   // a tenth of 6400
    EXPECT_EQ(job.GetFooterRect(), (TRect{100, 5900, 4700, 6500}));
    EXPECT_EQ(job.GetPageRect(), (TRect{100, 740, 4700, 5900}));
    // Bands taller than the margin rectangle leave an inverted page rectangle.
    job.SetHeader(80);
    job.SetFooter(5);
    EXPECT_GT(job.GetPageRect().Top, job.GetPageRect().Bottom);
}

TEST_F(JobTest, DefaultPageFollowsThePrinterInTheChosenUnits)
{
    TPrintJob job;
    job.SetPageUnits(unPercents);
    EXPECT_EQ(job.PageWidth(), 100);
    EXPECT_EQ(job.PageHeight(), 100);
    EXPECT_EQ(job.GetMarginRect(), job.GetSheetRect());
    job.SetPageUnits(unInches);
    EXPECT_EQ(job.PageWidth(), 8);
    EXPECT_EQ(job.PageHeight(), 11);
    job.SetPageUnits(unMillimeters);
    EXPECT_EQ(job.PageWidth(), 203);   // 203.2
    EXPECT_EQ(job.PageHeight(), 279);  // 279.4
}

TEST_F(JobTest, WritingThePageSizeInDefaultModeChangesNothingButNotifies)
{
    TPrintJob job;
    int updates = 0;
    job.SetOnUpdate([&](TComponent*) { ++updates; });
    job.SetPageWidth(1234);
    EXPECT_EQ(job.PageWidth(), 4800);
    EXPECT_EQ(updates, 1);
}

TEST_F(JobTest, CustomPageKeepsNumbersAndReinterpretsThemInNewUnits)
{
    TPrintJob job;
    job.SetPageMode(pmCustom);
    job.SetPageUnits(unInches);
    job.SetPageWidth(4);
    job.SetPageHeight(5);
    EXPECT_EQ(job.GetMarginRect(), (TRect{0, 0, 2400, 3000}));
    job.SetPageUnits(unMillimeters);
    EXPECT_EQ(job.PageWidth(), 4);
    EXPECT_EQ(job.GetMarginRect(), (TRect{0, 0, 94, 118}));
    job.SetPageMode(pmDefault);
    EXPECT_EQ(job.PageWidth(), 203);
}

TEST_F(JobTest, OrientationSetsTheSharedPrinterAndTheDefaultPage)
{
    TPrintJob job;
    job.SetOrientation(orLandscape);
    EXPECT_EQ(Printer()->Orientation(), poLandscape);
    EXPECT_EQ(job.PageWidth(), 6600);
    EXPECT_EQ(job.PageHeight(), 4800);
    job.SetOrientation(orDefault); // leaves the printer as it is
    EXPECT_EQ(Printer()->Orientation(), poLandscape);
}

TEST_F(JobTest, PageCountHasAFloorOfOneAndOnlyChangesNotify)
{
    TPrintJob job;
    int updates = 0;
    job.SetOnUpdate([&](TComponent*) { ++updates; });
    job.SetPageCount(0);
    job.SetPageCount(-5);
    EXPECT_EQ(job.PageCount(), 1);
    EXPECT_EQ(updates, 0);
    job.SetPageCount(3);
    EXPECT_EQ(updates, 1);
    TMargins same;
    job.SetMargins(&same); // margins notify always
    EXPECT_EQ(updates, 2);
    job.SetHeader(0);      // unchanged value: no notification
    EXPECT_EQ(updates, 2);
}

TEST_F(JobTest, LockCountersNestAndUnlockingNeverUpdates)
{
    TPrintJob job;
    int updates = 0;
    job.SetOnUpdate([&](TComponent*) { ++updates; });
    job.LockUpdate();
    job.LockUpdate();
    job.UnlockUpdate();
    job.Update();
    EXPECT_EQ(updates, 0);
    job.UnlockUpdate();
    EXPECT_EQ(updates, 0);
    job.UnlockUpdate(); // at 0 it stays 0
    EXPECT_FALSE(job.GetUpdateLocked());
    job.LockUpdate();
    EXPECT_TRUE(job.GetUpdateLocked());
    job.UnlockUpdate();
    job.Update();
    EXPECT_EQ(updates, 1);
}

TEST_F(JobTest, UpdateTellsJobsThenControlsThenOnUpdate)
{
    TPrintJob job;
    CountingJob subscriberJob;
    CountingControl control;
    std::vector<QString> order;
    control.OnUpdate = [&] { order.push_back(QStringLiteral("control")); };
    subscriberJob.SetOnUpdate([&](TComponent*) { order.push_back(QStringLiteral("job")); });
    job.SetOnUpdate([&](TComponent*) { order.push_back(QStringLiteral("self")); });
    job.AddControlNotification(&control);
    job.AddControlNotification(&control); // held once
    job.AddPrintJobNotification(&subscriberJob);
    EXPECT_EQ(job.ControlNotificationCount(), 1);
    job.Update();
    EXPECT_EQ(order, (std::vector<QString>{QStringLiteral("job"), QStringLiteral("control"), QStringLiteral("self")}));
    EXPECT_EQ(control.Updates, 1);

    job.LockControlsUpdate();
    job.Update();
    EXPECT_EQ(control.Updates, 1);
    EXPECT_EQ(subscriberJob.Updates, 2);
    job.UnlockControlsUpdate();
    job.LockJobsUpdate();
    job.Update();
    EXPECT_EQ(control.Updates, 2);
    EXPECT_EQ(subscriberJob.Updates, 2);
    EXPECT_EQ(order.back(), QStringLiteral("self"));
}

TEST_F(JobTest, FailingOrVanishingSubscribersDoNotStopTheOthers)
{
    TPrintJob job;
    CountingControl thrower, leaver, last;
    thrower.Throw = true;
    leaver.OnUpdate = [&] { job.DeleteControlNotification(&leaver); };
    job.AddControlNotification(&leaver);
    job.AddControlNotification(&thrower);
    job.AddControlNotification(&last);
    int updates = 0;
    job.SetOnUpdate([&](TComponent*) { ++updates; });
    job.Update();
    // The list shrank under the loop: the last index no longer exists, which is swallowed.
    EXPECT_EQ(leaver.Updates, 1);
    EXPECT_EQ(thrower.Updates, 0);
    EXPECT_EQ(last.Updates, 1);
    EXPECT_EQ(updates, 1);
    job.Update();
    EXPECT_EQ(thrower.Updates, 1);
    EXPECT_EQ(last.Updates, 2);
    EXPECT_EQ(updates, 2);
    // OnUpdate's own exception reaches the caller.
    job.SetOnUpdate([](TComponent*) { throw Exception(QStringLiteral("handler")); });
    EXPECT_THROW(job.Update(), Exception);
}

TEST_F(JobTest, DrawCallsTheAreasInOrderWithTheirRectangles)
{
    TPrintJob job;
    std::vector<AreaCall> calls;
    job.SetOnDraw([&](TComponent*, TCanvas*, int page, TRect r, TDrawArea area, TDrawTarget) {
        calls.push_back({area, r, page});
    });
    job.Draw(Printer()->Canvas(), 2, dtPreview);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Area, daPage);
    EXPECT_EQ(calls[0].Rect, (TRect{0, 0, 4800, 6600}));
    EXPECT_EQ(calls[0].Page, 2);

    calls.clear();
    job.SetHeader(600);
    job.SetFooter(300);
    job.SetOptions({joHeader, joFooter});
    job.Draw(Printer()->Canvas(), 1, dtPrint);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].Area, daHeader);
    EXPECT_EQ(calls[0].Rect, (TRect{0, 0, 4800, 600}));
    EXPECT_EQ(calls[1].Area, daPage);
    EXPECT_EQ(calls[1].Rect, (TRect{0, 600, 4800, 6300}));
    EXPECT_EQ(calls[2].Area, daFooter);
    EXPECT_EQ(calls[2].Rect, (TRect{0, 6300, 4800, 6600}));
}

TEST_F(JobTest, InitDrawResetsTheCanvasAndChangesCarryAcrossAreas)
{
    TPrintJob job;
    job.SetOptions({joHeader});
    job.SetHeader(100);
    TCanvas* canvas = Printer()->Canvas();
    canvas->Font()->SetName(QStringLiteral("Courier New"));
    canvas->Pen()->SetWidth(7);
    canvas->Brush()->SetStyle(bsClear);
    job.SetOnInitDraw([](TComponent*, TCanvas* c, TDrawTarget target) {
        EXPECT_EQ(target, dtPreview);
        c->Font()->SetColor(clRed);
    });
    std::vector<TFont> seen;
    job.SetOnDraw([&](TComponent*, TCanvas* c, int, TRect, TDrawArea area, TDrawTarget) {
        seen.push_back(*c->Font());
        EXPECT_EQ(c->Pen()->Width(), 0);
        EXPECT_EQ(c->Pen()->Mode(), pmCopy);
        EXPECT_EQ(c->Brush()->Style(), bsSolid);
        EXPECT_EQ(c->Brush()->Color(), clWhite);
        if (area == daHeader)
            c->Font()->SetStyle(fsBold);
    });
    job.Draw(canvas, 1, dtPreview);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].Name(), QStringLiteral("Arial"));
    EXPECT_EQ(seen[0].Size(), 10);
    EXPECT_EQ(seen[0].Height(), -83); // 10 points at 600 dpi
    EXPECT_EQ(seen[0].Color(), clRed);
    EXPECT_EQ(seen[0].Style(), 0u);
    EXPECT_EQ(seen[1].Style(), unsigned(fsBold)); // no saved state around an area
}

TEST_F(JobTest, DrawLockSkipsEverything)
{
    TPrintJob job;
    int inits = 0, draws = 0;
    job.SetOnInitDraw([&](TComponent*, TCanvas*, TDrawTarget) { ++inits; });
    job.SetOnDraw([&](TComponent*, TCanvas*, int, TRect, TDrawArea, TDrawTarget) { ++draws; });
    job.SetOrientation(orLandscape);
    job.LockDraw();
    Printer()->SetOrientation(poPortrait);
    job.Draw(Printer()->Canvas(), 1, dtPreview);
    EXPECT_EQ(inits + draws, 0);
    EXPECT_EQ(Printer()->Orientation(), poPortrait); // ResetToDefaultPage did not run
    job.UnlockDraw();
    job.Draw(Printer()->Canvas(), 1, dtPreview);
    EXPECT_EQ(inits, 1);
    EXPECT_EQ(Printer()->Orientation(), poLandscape);
}

TEST_F(JobTest, DrawBitmapReachesTheDeviceForBothTargets)
{
    TPrintJob job;
    TBitmap bitmap(4, 3);
    bitmap.Canvas()->Brush()->SetColor(clRed);
    bitmap.Canvas()->FillRect(TRect{0, 0, 4, 3});
    Printer()->BeginDoc();
    job.DrawBitmap(Printer()->Canvas(), TRect{100, 200, 500, 500}, bitmap, dtPrint);
    job.DrawBitmap(Printer()->Canvas(), TRect{0, 0, 40, 30}, bitmap, dtPreview);
    Printer()->EndDoc();
    const auto bitmaps = OfKind(PageRecords(1), TDrawRecord::drBitmap);
    ASSERT_EQ(bitmaps.size(), 2u);
    EXPECT_EQ(bitmaps[0].Rect, (TRect{100, 200, 500, 500}));
    EXPECT_EQ(bitmaps[0].SourceSize, QSize(4, 3));
    EXPECT_EQ(bitmaps[1].Rect, (TRect{0, 0, 40, 30}));
}

TEST_F(JobTest, DestructionLetsSubscribersLeaveFromTheRemovalNotification)
{
    // A subscriber of another owner that unsubscribes when told the job is going away.
    class Pane : public TControl {
    public:
        TCustomPrintJob* Job = nullptr;
        void Link(TCustomPrintJob* job)
        {
            Job = job;
            job->AddControlNotification(this);
            job->FreeNotification(this);
        }
        ~Pane() override
        {
            if (Job) {
                Job->DeleteControlNotification(this);
                Job->RemoveFreeNotification(this);
            }
        }

    protected:
        void Notification(TComponent* c, TOperation op) override
        {
            TControl::Notification(c, op);
            if (op == opRemove && c == Job) {
                Job->DeleteControlNotification(this);
                Job = nullptr;
            }
        }
    };
    TComponent form;
    auto* job = new TPrintJob(&form);
    bool destroyedRan = false;
    job->SetOnDestroy([&](TComponent*) {
        destroyedRan = true;
        throw Exception(QStringLiteral("ignored"));
    });
    Pane pane;
    pane.Link(job);
    delete job;
    EXPECT_TRUE(destroyedRan);
    EXPECT_EQ(pane.Job, nullptr);
}

TEST(JobProperties, PublishedInStreamingOrder)
{
    const QMetaObject& meta = TPrintJob::staticMetaObject;
    QStringList names;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
        names << QString::fromLatin1(meta.property(i).name());
    EXPECT_EQ(names.join(QLatin1Char(',')),
        QStringLiteral("Name,Tag,PageCount,Title,Margins,MarginsUnits,Header,HeaderUnits,Footer,FooterUnits,"
                       "PageMode,PageWidth,PageHeight,PageUnits,Orientation,Options,OnCreate,OnDestroy,"
                       "OnInitDraw,OnDraw,OnPrinterSetupChange,OnStartPrint,OnEndPrint,OnPrintProgress,"
                       "OnStartPrintPage,OnEndPrintPage,OnUpdate"));
    const QMetaProperty units = meta.property(meta.indexOfProperty("MarginsUnits"));
    ASSERT_TRUE(units.isEnumType());
    EXPECT_STREQ(units.enumerator().valueToKey(unMillimeters), "unMillimeters");
}
