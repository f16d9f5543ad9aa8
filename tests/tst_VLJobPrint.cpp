// The print run: event order, new pages, cancelling, the dialog's range, failures, real PDFs.
#include "job/VLJob.h"

#include "TestSupport.h"
#include "platform/printing/Dialogs.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {
/// A job whose every event appends a line to a log.
class LoggedJob : public TPrintJob {
public:
    QStringList Log;
    LoggedJob()
    {
        SetOnStartPrint([this](TComponent*) { Log << QStringLiteral("start"); });
        SetOnEndPrint([this](TComponent*) { Log << QStringLiteral("end"); });
        SetOnStartPrintPage([this](TComponent*, int p) { Log << QStringLiteral("page %1").arg(p); });
        SetOnEndPrintPage([this](TComponent*, int p) { Log << QStringLiteral("end page %1").arg(p); });
        SetOnInitDraw([this](TComponent*, TCanvas*, TDrawTarget t) { Log << QStringLiteral("init %1").arg(int(t)); });
        SetOnDraw([this](TComponent*, TCanvas* c, int p, TRect r, TDrawArea a, TDrawTarget) {
            Log << QStringLiteral("draw %1 %2").arg(p).arg(int(a));
            c->TextOut(r.Left, r.Top, QStringLiteral("page %1 area %2").arg(p).arg(int(a)));
        });
        SetOnPrintProgress([this](TComponent*, int pos, int min, int max) {
            Log << QStringLiteral("progress %1 %2 %3").arg(pos).arg(min).arg(max);
        });
        SetOnUpdate([this](TComponent*) { Log << QStringLiteral("update"); });
        SetOnPrinterSetupChange([this](TComponent*) { Log << QStringLiteral("setup"); });
    }
};

class PrintRun : public RecordingPrinterTest {
protected:
    void TearDown() override
    {
        TPrintDialog::SetExecuteHook({});
        TPrinterSetupDialog::SetExecuteHook({});
        RecordingPrinterTest::TearDown();
    }
};
} // namespace

TEST_F(PrintRun, EventsComeInOrderAndPagesAreSeparated)
{
    LoggedJob job;
    job.SetTitle(QStringLiteral("Report"));
    job.SetOptions({joHeader, joFooter});
    job.SetHeader(100);
    job.SetFooter(100);
    job.SetPageCount(2);
    job.Log.clear();
    job.Print();
    EXPECT_EQ(job.Log.join(QLatin1Char('|')),
        QStringLiteral("start|page 1|init 1|draw 1 0|draw 1 1|draw 1 2|end page 1|progress 1 1 2|"
                       "page 2|init 1|draw 2 0|draw 2 1|draw 2 2|end page 2|progress 2 1 2|end"));
    EXPECT_EQ(Recording()->LastTitle(), QStringLiteral("Report"));
    EXPECT_EQ(Recording()->NewPageCount(), 1);
    EXPECT_EQ(Recording()->EndDocCount(), 1);
    ASSERT_EQ(Recording()->Recorder().PageCount(), 2);
    EXPECT_EQ(Texts(PageRecords(2)).first(), QStringLiteral("page 2 area 0"));
}

TEST_F(PrintRun, OnePageNeedsNoNewPage)
{
    TPrintJob job;
    job.Print();
    EXPECT_EQ(Recording()->NewPageCount(), 0);
    EXPECT_EQ(Recording()->EndDocCount(), 1);
}

TEST_F(PrintRun, AbortAfterPageTwoOfFiveStopsBeforeTheNextPage)
{
    LoggedJob job;
    job.SetPageCount(5);
    job.SetOnEndPrintPage([&](TComponent*, int page) {
        if (page == 2)
            job.Abort();
    });
    job.Abort(); // a request made while idle is discarded by the next run
    job.Print();
    EXPECT_EQ(job.Log.filter(QStringLiteral("draw")).size(), 2);
    EXPECT_EQ(Recording()->NewPageCount(), 2); // issued after page 2 before the request was seen
    EXPECT_EQ(Recording()->EndDocCount(), 1);
    EXPECT_EQ(job.Log.last(), QStringLiteral("end"));
    EXPECT_FALSE(job.GetAborted()); // the printer's own state: the document was ended, not aborted
}

TEST_F(PrintRun, ChangingPageCountMidRunKeepsThePagesDrawnButMovesTheLimits)
{
    LoggedJob job;
    job.SetPageCount(3);
    job.SetOnEndPrintPage([&](TComponent*, int page) {
        if (page == 1)
            job.SetPageCount(2);
    });
    job.Print();
    EXPECT_EQ(job.Log.filter(QStringLiteral("draw")).size(), 3);
    EXPECT_TRUE(job.Log.contains(QStringLiteral("progress 1 1 2")));
    EXPECT_TRUE(job.Log.contains(QStringLiteral("progress 3 1 2")));
    EXPECT_EQ(Recording()->NewPageCount(), 1); // only page 1 is below the new count
}

TEST_F(PrintRun, DialogRangePrintsOnlyThosePages)
{
    LoggedJob job;
    job.SetPageCount(6);
    int minPage = 0, maxPage = 0;
    TPrintDialog::SetExecuteHook([&](TPrintDialog& d) {
        EXPECT_TRUE(d.Options() & poPageNums);
        minPage = d.MinPage();
        maxPage = d.MaxPage();
        EXPECT_EQ(d.FromPage(), 1);
        EXPECT_EQ(d.ToPage(), 6);
        d.SetFromPage(3);
        d.SetToPage(4);
        return true;
    });
    job.Log.clear();
    job.PrintDialog();
    EXPECT_EQ(minPage, 1);
    EXPECT_EQ(maxPage, 6);
    EXPECT_EQ(job.Log.join(QLatin1Char('|')),
        QStringLiteral("update|setup|start|page 3|init 1|draw 3 1|end page 3|progress 3 3 4|"
                       "page 4|init 1|draw 4 1|end page 4|progress 4 3 4|end"));
    EXPECT_EQ(Recording()->NewPageCount(), 1);
}

TEST_F(PrintRun, CancelledDialogPrintsNothing)
{
    LoggedJob job;
    TPrintDialog::SetExecuteHook([](TPrintDialog&) { return false; });
    job.Log.clear();
    job.PrintDialog();
    EXPECT_TRUE(job.Log.isEmpty());
    EXPECT_EQ(Recording()->BeginDocCount(), 0);
}

TEST_F(PrintRun, PrinterSetupNotifiesOnlyWhenAccepted)
{
    LoggedJob job;
    bool accept = false;
    TPrinterSetupDialog::SetExecuteHook([&](TPrinterSetupDialog&) {
        Printer()->SetOrientation(poLandscape);
        return accept;
    });
    job.Log.clear();
    job.PrinterSetupDialog();
    EXPECT_TRUE(job.Log.isEmpty());
    accept = true;
    job.PrinterSetupDialog();
    EXPECT_EQ(job.Log, (QStringList{QStringLiteral("update"), QStringLiteral("setup")}));
    EXPECT_EQ(job.PageWidth(), 6600);
}

TEST_F(PrintRun, FailureMidRunClosesTheDocumentSoTheNextRunWorks)
{
    LoggedJob job;
    job.SetPageCount(3);
    job.SetOnDraw([](TComponent*, TCanvas*, int page, TRect, TDrawArea, TDrawTarget) {
        if (page == 2)
            throw Exception(QStringLiteral("drawing failed"));
    });
    EXPECT_THROW(job.Print(), Exception);
    EXPECT_FALSE(Printer()->Printing());
    EXPECT_TRUE(job.GetAborted());
    EXPECT_EQ(Recording()->AbortCount(), 1);
    EXPECT_FALSE(job.Log.contains(QStringLiteral("end")));
    job.SetOnDraw({});
    EXPECT_NO_THROW(job.Print());
    EXPECT_EQ(Recording()->EndDocCount(), 1);
    EXPECT_FALSE(job.GetAborted());
}

TEST_F(PrintRun, SecondRunFromAHandlerFailsWithThePrinterError)
{
    TPrintJob outer, inner;
    outer.SetPageCount(2);
    outer.SetOnStartPrintPage([&](TComponent*, int) { inner.Print(); });
    EXPECT_THROW(outer.Print(), EPrinter);
    EXPECT_FALSE(Printer()->Printing());
}

TEST_F(PrintRun, NoPrinterMakesPrintFailClearly)
{
    TPrintJob job;
    Printer()->SetPrintersHidden(true);
    try {
        job.Print();
        FAIL() << "printed without a printer";
    } catch (const EPrinter& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("There is no default printer currently selected"));
    }
}

TEST(PdfRun, PrintsARealDocument)
{
    QTemporaryDir dir;
    ASSERT_TRUE(Printer()->SelectPrinter(QStringLiteral("PDF file")));
    const QString path = dir.filePath(QStringLiteral("job.pdf"));
    Printer()->PdfPrinter()->SetOutputPath(path);
    TPrintJob job;
    job.SetTitle(QStringLiteral("Three pages"));
    job.SetPageCount(3);
    job.SetOnDraw([](TComponent*, TCanvas* canvas, int page, TRect r, TDrawArea, TDrawTarget) {
        canvas->TextOut(r.Left + 600, r.Top + 600, QStringLiteral("Hello from page %1").arg(page));
        canvas->Rectangle(r.Left + 300, r.Top + 300, r.Right - 300, r.Bottom - 300);
    });
    job.Print();
    const PdfInfo info = ReadPdfInfo(path);
    EXPECT_EQ(info.Pages, 3);
    EXPECT_NEAR(info.WidthPt, 595, 1);
    EXPECT_NEAR(info.HeightPt, 842, 1);
    EXPECT_EQ(info.Title, QStringLiteral("Three pages"));
    const QString text = ReadPdfText(path);
    EXPECT_TRUE(text.contains(QStringLiteral("Hello from page 1")));
    EXPECT_TRUE(text.contains(QStringLiteral("Hello from page 3")));

    // A failing run leaves no file behind that claims to be a document.
    const QString failed = dir.filePath(QStringLiteral("failed.pdf"));
    Printer()->PdfPrinter()->SetOutputPath(failed);
    job.SetOnDraw([](TComponent*, TCanvas*, int page, TRect, TDrawArea, TDrawTarget) {
        if (page == 3)
            throw Exception(QStringLiteral("out of data"));
    });
    EXPECT_THROW(job.Print(), Exception);
    EXPECT_FALSE(QFile::exists(failed));
    Printer()->PdfPrinter()->SetOutputPath(QString());
}

TEST_F(PrintRun, GeometryWithoutRoomFailsBeforeTheDocumentOpensAndNamesTheQuantities)
{
    struct Case {
        const char* name;
        TUnits marginUnits;
        double left, top, right, bottom;
        double header, footer;
        TUnits bandUnits;
        TJobOptionsSet options;
        QString expected;
    };
    // The recording printer's page is 4800 x 6600 pixels at 600 dpi.
    const Case cases[] = {
        {"150 mm margins across", unMillimeters, 150, 10, 150, 10, 0, 0, unPixels, {joMargins},
            QStringLiteral("left margin 3543 and right margin 3543 pixels on a page 4800 pixels wide")},
        {"margins down", unPixels, 0, 4000, 0, 2600, 0, 0, unPixels, {joMargins},
            QStringLiteral("top margin 4000 and bottom margin 2600 pixels on a page 6600 pixels high")},
        {"200 mm bands", unPixels, 0, 0, 0, 0, 200, 200, unMillimeters, {joHeader, joFooter},
            QStringLiteral("The header (4724 pixels) and the footer (4724 pixels) leave no room")},
        {"header alone", unPixels, 100, 100, 100, 100, 101, 0, unPercents, {joMargins, joHeader},
            QStringLiteral("The header (6464 pixels) and the footer (0 pixels)")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoggedJob job;
        job.SetMarginsUnits(c.marginUnits);
        TMargins margins(c.left, c.top, c.right, c.bottom);
        job.SetMargins(&margins);
        job.SetHeaderUnits(c.bandUnits);
        job.SetFooterUnits(c.bandUnits);
        job.SetHeader(c.header);
        job.SetFooter(c.footer);
        job.SetOptions(c.options);
        job.Log.clear();
        try {
            job.Print();
            ADD_FAILURE() << "printed a page without room";
        } catch (const EPrintJobException& e) {
            EXPECT_TRUE(e.Message().contains(c.expected)) << e.Message().toStdString();
        }
        EXPECT_EQ(Recording()->BeginDocCount(), 0);
        EXPECT_FALSE(Printer()->Printing());
        EXPECT_TRUE(job.Log.filter(QStringLiteral("start")).isEmpty());
    }
    // Exactly filled, a sound rectangle prints as before.
    LoggedJob job;
    TMargins tight(2399, 0, 2400, 0);
    job.SetMargins(&tight);
    job.SetOptions({joMargins});
    job.Print();
    EXPECT_EQ(job.GetPageRect(), (TRect{2399, 0, 2400, 6600}));
    EXPECT_EQ(Recording()->EndDocCount(), 1);
}

TEST_F(PrintRun, PercentMarginsOfACustomPageAreOfItsSizeInPixels)
{
    TPrintJob job;
    job.SetPageMode(pmCustom);
    job.SetMarginsUnits(unPercents);
    TMargins tenth(10, 10, 10, 10);
    job.SetMargins(&tenth);
    job.SetOptions({joMargins});
    job.SetPageUnits(unMillimeters);
    job.SetPageWidth(100);   // 2362 pixels at 600 dpi
    job.SetPageHeight(200);  // 4724 pixels
    EXPECT_EQ(job.GetMarginRect(), (TRect{236, 472, 2126, 4252}));
    job.SetPageUnits(unInches);
    job.SetPageWidth(4);     // 2400 pixels
    job.SetPageHeight(5);    // 3000 pixels
    EXPECT_EQ(job.GetMarginRect(), (TRect{240, 300, 2160, 2700}));
}

TEST(PdfRun, AbortedRunEndsWithTheLastDrawnPageAndBlankPagesStay)
{
    QTemporaryDir dir;
    ASSERT_TRUE(Printer()->SelectPrinter(QStringLiteral("PDF file")));
    const QString path = dir.filePath(QStringLiteral("aborted.pdf"));
    Printer()->PdfPrinter()->SetOutputPath(path);
    TPrintJob job;
    job.SetPageCount(5);
    job.SetOnDraw([](TComponent*, TCanvas* canvas, int page, TRect r, TDrawArea, TDrawTarget) {
        canvas->TextOut(r.Left + 600, r.Top + 600, QStringLiteral("Page %1").arg(page));
    });
    job.SetOnEndPrintPage([&](TComponent*, int page) {
        if (page == 2)
            job.Abort();
    });
    job.Print();
    EXPECT_EQ(ReadPdfInfo(path).Pages, 2) << "no empty page after the last drawn one";

    // Pages the job leaves blank are still pages of the document.
    job.SetOnEndPrintPage(nullptr);
    job.SetOnDraw(nullptr);
    job.Print();
    EXPECT_EQ(ReadPdfInfo(path).Pages, 5);
    Printer()->PdfPrinter()->SetOutputPath(QString());
}

TEST(PdfRun, PrintingWithoutAnApplicationFailsWithAClearMessage)
{
    QProcess program;
    program.start(QStringLiteral(VELLARO_NO_APPLICATION_PROGRAM), {});
    ASSERT_TRUE(program.waitForFinished(60000));
    const QString output = QString::fromUtf8(program.readAllStandardOutput() + program.readAllStandardError());
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << output.toStdString();
    EXPECT_EQ(program.exitCode(), 3) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("Printing needs a QApplication"))) << output.toStdString();
}
