// The rich edit job: the ranges the control gives page by page, progress, what a page draws
// (exactly its range, on the recording printer and in a PDF), the fallbacks to OnDraw, and the
// control going away.
#include "textjobs/PJRichEdit.h"

#include "GridTestSupport.h"
#include "TestSupport.h"
#include "preview/VLPreview.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <map>
#include <gtest/gtest.h>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {

/// Paragraphs of varying length, each naming its number.
QString Paragraphs(int count)
{
    QStringList paragraphs;
    for (int i = 1; i <= count; ++i)
        paragraphs << QStringLiteral("Paragraph %1 says something about page layout%2.").arg(i)
                          .arg(QString(QStringLiteral(" and more")).repeated(i % 7 * 3));
    return paragraphs.join(QLatin1Char('\n'));
}

class PJRichEditTest : public RecordingPrinterTest {
protected:
    void SetUp() override
    {
        RecordingPrinterTest::SetUp();
        QFont font(QStringLiteral("Times New Roman"));
        font.setPointSize(12);
        Edit.document()->setDefaultFont(font);
        // Page area 300..4500 x 500..6100 in printer pixels, bands of 200 above and below.
        SetPixelPage(Job, 4800, 6600, TMargins(300, 300, 300, 300), 200, 200, {joMargins, joHeader, joFooter});
    }
    /// The texts drawn in one printed page's area, joined.
    QString PageText(int page)
    {
        QString text;
        for (const TDrawRecord& r : OfKind(PageRecords(page), TDrawRecord::drText))
            if (!r.Text.startsWith(QStringLiteral("band")))
                text += r.Text;
        return text;
    }
    QString RangeText(int index)
    {
        const TPageRange& range = Job.PageRange(index);
        return Edit.toPlainText().mid(range.FStartPos, range.FEndPos - range.FStartPos).remove(QLatin1Char('\n'));
    }

    TRichEdit Edit;
    TRichEditPrintJob Job;
};

} // namespace

TEST_F(PJRichEditTest, PagesAreContiguousRangesEndingAtTheTextLength)
{
    struct Case { int Paragraphs; int MinPages; int MaxPages; };
    const Case cases[] = {{0, 1, 1}, {1, 1, 1}, {40, 2, 4}, {150, 6, 14}};
    for (const Case& c : cases) {
        Edit.setPlainText(Paragraphs(c.Paragraphs));
        Job.SetRichEdit(&Edit);
        const int length = Edit.GetTextLen();
        ASSERT_GE(Job.PageRangeCount(), c.MinPages) << c.Paragraphs;
        ASSERT_LE(Job.PageRangeCount(), c.MaxPages) << c.Paragraphs;
        EXPECT_EQ(Job.PageCount(), Job.PageRangeCount());
        EXPECT_EQ(Job.PageRange(0).FStartPos, 0);
        EXPECT_EQ(Job.PageRange(Job.PageRangeCount() - 1).FEndPos, length);
        for (int i = 1; i < Job.PageRangeCount(); ++i) {
            EXPECT_EQ(Job.PageRange(i).FStartPos, Job.PageRange(i - 1).FEndPos);
            EXPECT_LT(Job.PageRange(i).FStartPos, Job.PageRange(i).FEndPos) << "every page holds text";
        }
    }
    Edit.clear();
    Job.Update();
    ASSERT_EQ(Job.PageRangeCount(), 1);
    EXPECT_EQ(Job.PageRange(0).FStartPos, 0);
    EXPECT_EQ(Job.PageRange(0).FEndPos, 0) << "an empty control is one page (0, 0)";
}

TEST_F(PJRichEditTest, ProgressReportsThePositionReachedFromZero)
{
    Edit.setPlainText(Paragraphs(60));
    std::vector<std::array<int, 3>> calls;
    Job.SetOnUpdateProgress([&](TComponent*, int pos, int min, int max) { calls.push_back({pos, min, max}); });
    Job.SetRichEdit(&Edit);
    const int length = Edit.GetTextLen();
    ASSERT_EQ(int(calls.size()), Job.PageRangeCount() + 1);
    EXPECT_EQ(calls.front(), (std::array<int, 3>{0, 0, length}));
    for (int i = 0; i < Job.PageRangeCount(); ++i)
        EXPECT_EQ(calls[size_t(i + 1)], (std::array<int, 3>{Job.PageRange(i).FEndPos, 0, length}));

    // An exception from the handler reaches the caller, and the job is not left locked.
    Job.SetOnUpdateProgress([](TComponent*, int pos, int, int) {
        if (pos > 0)
            throw std::runtime_error("stop");
    });
    EXPECT_THROW(Job.Update(), std::runtime_error);
    EXPECT_FALSE(Job.GetUpdateLocked());
    EXPECT_EQ(Job.PageRangeCount(), 0) << "no ranges of an unfinished pass";
}

TEST_F(PJRichEditTest, EachPrintedPageDrawsExactlyItsRangeBetweenTheBands)
{
    Edit.setPlainText(Paragraphs(80));
    Job.SetOnDraw([](TComponent*, TCanvas* canvas, int page, TRect r, TDrawArea area, TDrawTarget) {
        canvas->TextOut(r.Left, r.Top, QStringLiteral("band %1 %2").arg(area == daHeader ? "head" : "foot").arg(page));
    });
    Job.SetRichEdit(&Edit);
    ASSERT_GE(Job.PageCount(), 3);
    Job.Print();
    ASSERT_EQ(Recording()->Recorder().PageCount(), Job.PageCount());
    for (int page = 1; page <= Job.PageCount(); ++page)
        EXPECT_EQ(PageText(page), RangeText(page - 1)) << "page " << page;
    const auto texts = OfKind(PageRecords(2), TDrawRecord::drText);
    EXPECT_EQ(texts.front().Text, QStringLiteral("band head 2"));
    EXPECT_EQ(texts.back().Text, QStringLiteral("band foot 2"));
    // The body starts at the top of the page area and stays above its bottom.
    EXPECT_EQ(texts[1].Rect.Top, 500);
    EXPECT_EQ(texts[1].Rect.Left, 300);
    for (size_t i = 1; i + 1 < texts.size(); ++i) {
        EXPECT_LE(texts[i].Rect.Bottom, 6100) << texts[i].Text.toStdString();
        EXPECT_EQ(texts[i].FontName, QStringLiteral("Times New Roman"));
        EXPECT_EQ(texts[i].FontHeight, -100) << "12 points at 600 dpi";
    }
}

TEST_F(PJRichEditTest, CharacterFormattingReachesThePage)
{
    QTextCursor cursor(Edit.document());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(QColor(200, 0, 0));
    bold.setFontFamilies(QStringList{QStringLiteral("Arial")});
    cursor.insertText(QStringLiteral("plain "));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("bold red"), bold);
    Job.SetRichEdit(&Edit);
    RecordingCanvas canvas;
    Job.Draw(&canvas.Canvas, 1, dtPrint);
    const auto texts = RecordsOf(canvas.Records(), TDrawRecord::drText);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].Text, QStringLiteral("bold red"));
    EXPECT_EQ(texts[1].FontStyle, TFontStyles(fsBold));
    EXPECT_EQ(texts[1].FontName, QStringLiteral("Arial"));
    EXPECT_EQ(texts[1].Color, TColor(200));
    EXPECT_EQ(texts[0].FontStyle, 0u);
}

TEST_F(PJRichEditTest, PageAreasWithoutARangeFallBackToOnDraw)
{
    std::vector<std::pair<int, TDrawArea>> calls;
    Job.SetOnDraw([&](TComponent*, TCanvas*, int page, TRect, TDrawArea area, TDrawTarget) { calls.push_back({page, area}); });
    Job.SetOptions({joMargins});
    RecordingCanvas canvas;
    Job.Draw(&canvas.Canvas, 1, dtPrint); // no control
    Edit.setPlainText(QStringLiteral("One short page."));
    Job.SetRichEdit(&Edit);
    Job.Draw(&canvas.Canvas, 1, dtPrint); // rendered by the control
    Job.Draw(&canvas.Canvas, 2, dtPrint); // past the end
    Job.Draw(&canvas.Canvas, 0, dtPrint);
    const std::vector<std::pair<int, TDrawArea>> expected{{1, daPage}, {2, daPage}, {0, daPage}};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(RecordingPrinterTest::Texts(canvas.Records()), QStringList{"One short page."});
}

TEST_F(PJRichEditTest, APageWithoutRoomTakesTheRestOfTheText)
{
    Edit.setPlainText(Paragraphs(30));
    // Header and footer take the whole margin rectangle: the page area is 0 high.
    SetPixelPage(Job, 4800, 6600, TMargins(300, 300, 300, 300), 3000, 3000, {joMargins, joHeader, joFooter});
    Job.SetRichEdit(&Edit);
    ASSERT_EQ(Job.PageRangeCount(), 1);
    EXPECT_EQ(Job.PageRange(0).FEndPos, Edit.GetTextLen());
    // Lower than one line: one line a page, so the pass still moves on.
    SetPixelPage(Job, 4800, 660, TMargins(300, 300, 300, 300), 0, 0, {joMargins});
    Job.Update();
    EXPECT_GT(Job.PageRangeCount(), 30);
}

TEST_F(PJRichEditTest, AControlThatGoesAwayIsForgotten)
{
    auto edit = std::make_unique<TRichEdit>();
    edit->setPlainText(Paragraphs(50));
    Job.SetRichEdit(edit.get());
    ASSERT_GT(Job.PageCount(), 1);
    int updates = 0;
    Job.SetOnUpdate([&](TComponent*) { ++updates; });
    edit.reset();
    EXPECT_EQ(Job.RichEdit(), nullptr);
    EXPECT_EQ(Job.PageRangeCount(), 0);
    EXPECT_EQ(Job.PageCount(), 1);
    EXPECT_EQ(updates, 1);
    RecordingCanvas canvas;
    EXPECT_NO_THROW(Job.Draw(&canvas.Canvas, 1, dtPrint));
}

TEST_F(PJRichEditTest, WithoutAPrinterOrControlThereIsOnePageAndNoRange)
{
    Edit.setPlainText(Paragraphs(50));
    Job.SetRichEdit(&Edit);
    ASSERT_GT(Job.PageCount(), 1);
    Printer()->SetPrintersHidden(true);
    Job.SetRichEdit(&Edit);
    EXPECT_EQ(Job.PageCount(), 1);
    EXPECT_EQ(Job.PageRangeCount(), 0);
    Printer()->SetPrintersHidden(false);
    Job.SetRichEdit(nullptr);
    EXPECT_EQ(Job.PageCount(), 1);
    EXPECT_EQ(Job.PageRangeCount(), 0);
}

TEST(PJRichEditPdf, TheSecondPrintedPageHoldsTheSecondRange)
{
    Printer()->SetPrintersHidden(false);
    ASSERT_TRUE(Printer()->SelectPrinter(QStringLiteral("PDF file")));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("richedit.pdf"));
    Printer()->PdfPrinter()->SetOutputPath(path);
    TRichEdit edit;
    edit.setPlainText(Paragraphs(90));
    TRichEditPrintJob job;
    job.SetMarginsUnits(unMillimeters);
    TMargins margins(20, 20, 20, 20);
    job.SetMargins(&margins);
    job.SetOptions({joMargins});
    job.SetRichEdit(&edit);
    ASSERT_GE(job.PageCount(), 3);
    job.Print();
    Printer()->PdfPrinter()->SetOutputPath(QString());
    EXPECT_EQ(ReadPdfInfo(path).Pages, job.PageCount());
    const QStringList pages = ReadPdfText(path).split(QLatin1Char('\f'));
    ASSERT_GE(pages.size(), 3);
    // Paragraph numbers: the one holding the range's last character, the first starting after it.
    const QString text = edit.toPlainText();
    const TPageRange& second = job.PageRange(1);
    const auto paragraphOf = [&](int position) { return int(text.left(position).count(QLatin1Char('\n'))) + 1; };
    const int lastOnSecond = paragraphOf(second.FEndPos - 1);
    const int firstAfter = paragraphOf(second.FEndPos) + (text[second.FEndPos - 1] == QLatin1Char('\n') ? 0 : 1);
    const auto says = [](int paragraph) { return QStringLiteral("Paragraph %1 says").arg(paragraph); };
    EXPECT_TRUE(pages[1].simplified().contains(says(lastOnSecond)));
    EXPECT_TRUE(pages[1].simplified().contains(says(paragraphOf(second.FStartPos) + 1)));
    EXPECT_FALSE(pages[1].simplified().contains(says(firstAfter)));
    EXPECT_FALSE(pages[0].simplified().contains(says(firstAfter)));
    EXPECT_TRUE(pages[2].simplified().contains(says(firstAfter)));
}

TEST(PJRichEditPreview, ThePaneShowsThePrintedPage)
{
    QTemporaryDir dir;
    Printer()->SetPrintersHidden(false);
    ASSERT_TRUE(Printer()->SelectPrinter(QStringLiteral("PDF file")));
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    Printer()->PdfPrinter()->SetOutputPath(pdf);
    TRichEdit edit;
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(14);
    edit.document()->setDefaultFont(font);
    edit.setPlainText(Paragraphs(70));
    TRichEditPrintJob job;
    job.SetMarginsUnits(unMillimeters);
    TMargins margins(15, 15, 15, 15);
    job.SetMargins(&margins);
    job.SetOptions({joMargins});
    job.SetRichEdit(&edit);
    ASSERT_GE(job.PageCount(), 2);
    job.Print();
    Printer()->PdfPrinter()->SetOutputPath(QString());

    TPreview pane;
    pane.resize(900, 700);
    pane.show();
    pane.SetPrintJob(&job);
    pane.SetViewMode(vmCustom);
    pane.SetViewScale(100);
    pane.SetPageIndex(2);
    TDrawPanel* page = pane.PagePanel();
    const QImage shown = page->grab(QRect(1, 1, page->ClientWidth(), page->ClientHeight())).toImage();

    const QString mismatch = Testing::ShapeMismatch(pdf, 2, shown.size());
    ASSERT_TRUE(mismatch.isEmpty()) << qPrintable(mismatch);
    const QImage printed = Testing::RasterizePdfPage(pdf, 2, shown.size());
    ASSERT_EQ(printed.size(), shown.size());
    if (!qEnvironmentVariableIsEmpty("VELLARO_FIDELITY_DUMP")) {
        shown.save(QStringLiteral("/tmp/richedit_shown.png"));
        printed.save(QStringLiteral("/tmp/richedit_printed.png"));
    }
    const double same = Testing::ImageDifference(shown, printed, 4).first;
    const double shifted = Testing::ImageDifference(shown, printed.copy(QRect(0, 3, printed.width(), printed.height())), 4).first;
    // Measured here: about 6.4 for the same page (a page of text only; the screen draws glyphs
    // about a pixel lower than the PDF rasterizer, as it does for canvas text) and 23 when moved.
    EXPECT_LT(same, 9.0);
    // The comparison can fail: the same page moved by three pixels differs clearly.
    EXPECT_GT(shifted, 2 * same);
}

TEST_F(PJRichEditTest, PicturesOfALoadedRtfFileArePrinted)
{
    QImage red(40, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    red.save(&buffer, "PNG");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.rtf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1 Above\\par{\\pict\\pngblip\\picwgoal1440\\pichgoal720 " + png.toHex() + "}\\par Below}");
    file.close();
    Edit.LoadFromFile(path);
    Job.SetOptions({joMargins});
    Job.SetRichEdit(&Edit);
    // The page drawn on an image at the printer's resolution: a one inch wide red picture.
    QImage page(4800, 6600, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        TDeviceContext dc(&page, 600, 600);
        TCanvas canvas;
        canvas.SetHandle(&dc);
        Job.Draw(&canvas, 1, dtPrint);
    }
    int redPixels = 0;
    for (int y = 0; y < page.height(); y += 4)
        for (int x = 0; x < page.width(); x += 4)
            redPixels += page.pixel(x, y) == qRgb(255, 0, 0);
    // 600 x 300 pixels, sampled every fourth pixel in each direction.
    EXPECT_NEAR(redPixels, 150 * 75, 150 + 75 + 1);
}

namespace {
/// The left edges of the lines printed on a page, by the text they start with.
std::map<QString, int> LineLefts(const std::vector<TDrawRecord>& records)
{
    std::map<QString, int> lefts;
    for (const TDrawRecord& r : records)
        if (r.Kind == TDrawRecord::drText)
            lefts.emplace(r.Text.left(6), r.Rect.Left);
    return lefts;
}
} // namespace

TEST_F(PJRichEditTest, LengthsFromRtfKeepTheirSizeOnPaper)
{
    // The printer has 600 pixels to the inch; the page area starts 300 pixels from the left.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lengths.rtf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray words = QByteArray("word ").repeated(60);
    file.write("{\\rtf1\\deftab720 \\pard\\li1440 inch1 indented\\par"
               "\\pard\\li720\\fi-360 \\u8226?\\tab bulle " + words + "\\par"
               "\\pard\\tx2880 tabbed\\tab after\\par"
               "\\trowd\\trgaph0\\cellx1440\\cellx2880\\pard\\intbl cell01\\cell cell02\\cell\\row"
               "\\pard\\ri4320\\sb1440 narrow " + words + "\\par}");
    file.close();
    Edit.LoadFromFile(path);
    Job.SetRichEdit(&Edit);
    Job.Print();
    const std::map<QString, int> lefts = LineLefts(PageRecords(1));
    struct Case { const char* Start; int Left; };
    const Case cases[] = {
        {"inch1 ", 300 + 600},   // one inch
        {"\u2022\tbull", 300 + 150},  // the bullet: a quarter inch
        {"word w", 300 + 300},   // the continuation lines: a half inch, under the text
        {"tabbed", 300},
        {"cell01", 300},
        {"cell02", 300 + 600},   // the second cell starts an inch in
        {"narrow", 300},
    };
    for (const Case& c : cases) {
        const auto it = lefts.find(QString::fromUtf8(c.Start));
        ASSERT_NE(it, lefts.end()) << c.Start;
        EXPECT_NEAR(it->second, c.Left, 2) << c.Start;
    }
    // The right indent of three inches leaves lines of at most four inches (the page area is 7).
    for (const TDrawRecord& r : OfKind(PageRecords(1), TDrawRecord::drText))
        if (r.Text.startsWith(QStringLiteral("narrow"))) {
            EXPECT_LE(r.Rect.Right - r.Rect.Left, 4 * 600);
            EXPECT_GT(r.Rect.Right - r.Rect.Left, 3.5 * 600);
        }
}

TEST_F(PJRichEditTest, PageBreaksStartPagesAndTableRowsStayWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("breaks.rtf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QByteArray rows;
    for (int i = 0; i < 30; ++i)
        rows += "\\trowd\\cellx2000\\cellx4000\\pard\\intbl r" + QByteArray::number(i) + "a\\line 2\\line 3\\cell r"
            + QByteArray::number(i) + "b\\line 2\\line 3\\line 4\\cell\\row\n";
    file.write("{\\rtf1 one\\page two\\par\\pard\\pagebb three\\par\\pard " + rows + "\\pard end\\par}");
    file.close();
    Edit.LoadFromFile(path);
    Job.SetRichEdit(&Edit);
    ASSERT_GE(Job.PageCount(), 5);
    Job.Print();
    EXPECT_EQ(PageText(1), QStringLiteral("one"));
    EXPECT_EQ(PageText(2), QStringLiteral("two"));
    EXPECT_TRUE(PageText(3).startsWith(QStringLiteral("three")));
    // Each row's two cells, all their lines, on one page.
    for (int page = 3; page <= Job.PageCount(); ++page) {
        const QString text = PageText(page).remove(QChar(0x2028));
        for (int i = 0; i < 30; ++i) {
            const QString a = QStringLiteral("r%1a").arg(i), b = QStringLiteral("r%1b").arg(i);
            if (text.contains(a) || text.contains(b))
                EXPECT_TRUE(text.contains(a + "23") && text.contains(b + "234")) << "row " << i << " split on page " << page;
        }
    }
    // A row taller than a page is split, so the pagination ends.
    Edit.setPlainText(QString());
    QTextCursor cursor(Edit.document());
    QTextTable* table = cursor.insertTable(1, 1);
    table->cellAt(0, 0).firstCursorPosition().insertText(Paragraphs(120));
    Job.SetRichEdit(&Edit);
    EXPECT_GE(Job.PageCount(), 3);
}

TEST_F(PJRichEditTest, WidowControlAndKeepWithNextMovePageBreaks)
{
    // Paragraphs of one to seven lines, a heading kept with the next before every fifth.
    QByteArray body;
    for (int i = 0; i < 150; ++i) {
        if (i % 5 == 0)
            body += "\\pard\\keepn\\sb240 Heading" + QByteArray::number(i) + "\\par";
        body += "\\pard P" + QByteArray::number(i) + " " + QByteArray("filler words for lines ").repeated(1 + (i * 5) % 29) + "\\par";
    }
    for (const bool widowControl : {true, false}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kept.rtf"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("{\\rtf1" + QByteArray(widowControl ? "\\widowctrl" : "") + body + "}");
        file.close();
        Edit.LoadFromFile(path);
        Job.SetRichEdit(&Edit);
        Job.Print();
        int widows = 0, headingsAtBottom = 0;
        for (int page = 1; page < Job.PageCount(); ++page) {
            const QStringList lines = Texts(OfKind(PageRecords(page), TDrawRecord::drText));
            const QStringList next = Texts(OfKind(PageRecords(page + 1), TDrawRecord::drText));
            ASSERT_FALSE(lines.isEmpty());
            ASSERT_FALSE(next.isEmpty());
            headingsAtBottom += lines.back().startsWith(QStringLiteral("Heading"));
            // A paragraph parted by the page break: its lines on each side.
            if (next.front().startsWith(QLatin1Char('P')) || next.front().startsWith(QStringLiteral("Heading")))
                continue;
            int before = 0, after = 0;
            for (qsizetype i = lines.size() - 1; i >= 0; --i) {
                ++before;
                if (lines[i].startsWith(QLatin1Char('P')))
                    break;
            }
            while (after < next.size() && !next[after].startsWith(QLatin1Char('P')) && !next[after].startsWith(QStringLiteral("Heading")))
                ++after;
            widows += before < 2 || after < 2;
        }
        EXPECT_EQ(headingsAtBottom, 0) << "widow control " << widowControl;
        if (widowControl)
            EXPECT_EQ(widows, 0);
        else
            EXPECT_GT(widows, 0) << "the text has page breaks that widow control moves";
    }
}
