// What the pane shows of a multi job and of a draft job is what the printer prints: the pane's
// page at 100 % and the same page printed to PDF and rasterized at the same size look the same.
#include "multijobs/PJDraft.h"
#include "multijobs/PJMulti.h"
#include "platform/core/DataModule.h"
#include "preview/VLPreview.h"

#include "TestSupport.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Vellaro;

namespace {

/// A framed page with its number in large type and a filled block whose place depends on it.
void DrawNumberedPage(TCanvas* canvas, int page, TRect r)
{
    canvas->Pen()->SetWidth(8);
    canvas->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
    canvas->Font()->SetSize(72);
    canvas->TextOut(r.Left + 200, r.Top + 200, QStringLiteral("Page %1").arg(page));
    canvas->Brush()->SetColor(0x0000C0);
    const int step = r.Height() / 8;
    canvas->FillRect({r.Left + 300, r.Top + step * page, r.Left + 1300, r.Top + step * page + 600});
}

TPrintJob* MakeJob(TComponent* owner, int pages, TPageOrientation orientation)
{
    auto* job = new TPrintJob(owner);
    job->SetPageCount(pages);
    job->SetOrientation(orientation);
    job->SetOnDraw([](TComponent*, TCanvas* canvas, int page, TRect r, TDrawArea area, TDrawTarget) {
        if (area == daPage)
            DrawNumberedPage(canvas, page, r);
    });
    return job;
}

class CompositeFidelity : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        Previous = Printer()->PrinterIndex();
        ASSERT_TRUE(Printer()->SelectPrinter(Printer()->PdfPrinter()->Name()));
        Pdf = Dir.filePath(QStringLiteral("composite.pdf"));
        Printer()->PdfPrinter()->SetOutputPath(Pdf);
    }
    void TearDown() override
    {
        Printer()->SetOrientation(poPortrait);
        if (Previous >= 0)
            Printer()->SetPrinterIndex(Previous);
    }
    /// The pane's page at 100 % for page of job.
    QImage Shown(TCustomPrintJob& job, int page)
    {
        TPreview pane;
        pane.resize(900, 700);
        pane.show();
        pane.SetPrintJob(&job);
        pane.SetViewMode(vmCustom);
        pane.SetViewScale(100);
        pane.SetPageIndex(page);
        TDrawPanel* panel = pane.PagePanel();
        return panel->grab(QRect(1, 1, panel->ClientWidth(), panel->ClientHeight())).toImage();
    }
    /// Page of the printed PDF rasterized to size.
    QImage Printed(int page, QSize size) { return Testing::RasterizePdfPage(Pdf, page, size); }
    /// The printed page must have the shown page's shape before both are compared at one size.
    void ExpectSameShape(int page, const QImage& shown)
    {
        const QString mismatch = Testing::ShapeMismatch(Pdf, page, shown.size());
        EXPECT_TRUE(mismatch.isEmpty()) << qPrintable(mismatch);
    }
    void ExpectSame(const QImage& shown, const QImage& printed, const QImage& other)
    {
        ASSERT_EQ(printed.size(), shown.size());
        const auto [mean, largest] = Testing::ImageDifference(shown, printed, 4);
        EXPECT_LT(mean, 6.0);
        EXPECT_LT(largest, 110);
        // A different page printed by the same job is told apart.
        ASSERT_EQ(other.size(), shown.size());
        EXPECT_GT(Testing::ImageDifference(shown, other, 4).first, 2 * mean + 1);
    }

    QTemporaryDir Dir;
    QString Pdf;
    int Previous = -1;
    TDataModule Form;
};

TEST_F(CompositeFidelity, MultiJobPageOfALandscapeJobAfterAPortraitOne)
{
    TMultiPrintJob multi(&Form);
    multi.Add(MakeJob(&Form, 2, orPortrait));
    multi.Add(MakeJob(&Form, 2, orLandscape));
    multi.Print();
    const QImage shown = Shown(multi, 4);
    EXPECT_GT(shown.width(), shown.height());
    ExpectSameShape(4, shown);
    ExpectSame(shown, Printed(4, shown.size()), Printed(3, shown.size()));
    // Every page is on paper of its own job's orientation.
    const std::vector<QSizeF> sheets = Testing::ReadPdfPageSizes(Pdf);
    ASSERT_EQ(sheets.size(), 4u);
    for (size_t page = 0; page < sheets.size(); ++page)
        EXPECT_EQ(sheets[page].width() > sheets[page].height(), page >= 2) << "page " << page + 1;
}

// The pane lays a page out in its own shape as soon as it is shown, before anything is painted
// (the multi job takes the layout of the page's job when the page is chosen, not when drawn).
TEST_F(CompositeFidelity, PaneLaysAMultiJobPageOutInItsShapeBeforePainting)
{
    TMultiPrintJob multi(&Form);
    multi.Add(MakeJob(&Form, 1, orPortrait));
    multi.Add(MakeJob(&Form, 1, orLandscape));
    multi.Add(MakeJob(&Form, 1, orPortrait));
    TPreview pane;
    pane.resize(600, 500);
    pane.show();
    pane.SetPrintJob(&multi);
    for (const int page : {2, 3, 2, 1}) {
        pane.SetPageIndex(page);
        const bool wide = pane.PagePanel()->Width() > pane.PagePanel()->Height();
        EXPECT_EQ(wide, page == 2) << "page " << page << " laid out in another page's shape";
    }
}

TEST_F(CompositeFidelity, DraftSheetOfFourReducedPagesWithSeparators)
{
    TDraftPrintJob draft(&Form);
    draft.SetPrintJob(MakeJob(&Form, 7, orPortrait));
    draft.SetSeparators(true);
    draft.Print();
    const QImage shown = Shown(draft, 2);
    ExpectSameShape(2, shown);
    ExpectSame(shown, Printed(2, shown.size()), Printed(1, shown.size()));
}

} // namespace

// Printing pumps events between pages: a pane showing the printing multi job repaints then,
// while the multi job's page description follows the page being printed (here a landscape page
// while the pane shows a portrait one).
TEST_F(CompositeFidelity, PaneRepaintsTheMultiJobWhileItPrints)
{
    auto* multi = new TMultiPrintJob(&Form);
    int previewDraws = 0;
    for (TPageOrientation orientation : {orDefault, orLandscape}) {
        TPrintJob* job = MakeJob(&Form, 2, orientation);
        job->SetOnDraw([&previewDraws](TComponent*, TCanvas* canvas, int page, TRect r, TDrawArea area, TDrawTarget target) {
            if (area != daPage)
                return;
            DrawNumberedPage(canvas, page, r);
            previewDraws += target == dtPreview;
        });
        multi->Add(job);
    }
    TPreview pane;
    pane.resize(600, 500);
    pane.show();
    pane.SetPrintJob(multi);
    QApplication::processEvents();
    previewDraws = 0;
    multi->SetOnPrintProgress([&](TComponent*, int, int, int) { pane.PagePanel()->update(); });
    multi->Print();
    EXPECT_GE(previewDraws, 3) << "the pane did not repaint during the run";
    EXPECT_EQ(Testing::ReadPdfInfo(Pdf).Pages, 4);
    EXPECT_EQ(pane.PageIndex(), 1);
}
