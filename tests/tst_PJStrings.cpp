// The strings job: page count from the lines that fit, lines spread over the page area, the
// word wrap rule (against a plain implementation that measures every prefix), progress,
// clipping without word wrap, and the pages past the end.
#include "textjobs/PJStrings.h"

#include "GridTestSupport.h"
#include "TestSupport.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {

/// The rule as stated, measuring every prefix: the piece ends at the last character before
/// the first overflowing prefix that is not a letter or digit, else just before it, and takes
/// at least one character.
QStringList WrapByPrefixes(TDeviceContext* dc, const QStringList& entries, int maxWidth)
{
    QStringList out;
    for (const QString& entry : entries) {
        if (entry.isEmpty() || dc->TextExtent(entry).cx <= maxWidth) {
            out << entry;
            continue;
        }
        QString s = entry;
        while (!s.isEmpty()) {
            int breakAt = 0, j = 0;
            for (int pos = 1; pos <= s.size(); ++pos) {
                if (dc->TextExtent(s.left(pos)).cx > maxWidth) {
                    j = pos;
                    break;
                }
                if (!s[pos - 1].isLetterOrNumber())
                    breakAt = pos;
            }
            if (j == 0) {
                out << s;
                break;
            }
            const int length = std::max(breakAt > 0 ? breakAt : j - 1, 1);
            out << s.left(length);
            s = s.mid(length);
        }
    }
    return out;
}

/// A measuring context with the job's font at 600 dpi.
struct Measuring {
    TDeviceContext Context{96, 96};
    TCanvas Canvas;
    explicit Measuring(const TFont& font)
    {
        Canvas.SetHandle(&Context);
        Canvas.Font()->SetPixelsPerInch(600);
        Canvas.Font()->Assign(font);
        Canvas.Handle();
    }
    int Width(const QString& text) { return Canvas.TextWidth(text); }
};

class PJStringsTest : public RecordingPrinterTest {
protected:
    /// Height of one line of Courier New 12 pt at 600 dpi, from Qt's own metrics.
    static int LineHeight()
    {
        QFont font(QStringLiteral("Courier New"));
        font.setPixelSize(100);
        font.setHintingPreference(QFont::PreferNoHinting);
        font.setStyleStrategy(QFont::ForceOutline);
        return QFontMetrics(font).height();
    }
    static QStringList Numbered(int count)
    {
        QStringList lines;
        for (int i = 1; i <= count; ++i)
            lines << QStringLiteral("Line %1").arg(i);
        return lines;
    }
    /// Texts drawn on one printed page, with their device rectangles.
    std::vector<TDrawRecord> PrintedTexts(int page) { return OfKind(PageRecords(page), TDrawRecord::drText); }

    TStringsPrintJob Job;
};

} // namespace

TEST_F(PJStringsTest, SixtyLinesAPageSpreadEvenlyAndTheLastPageStartsAtTheTop)
{
    const int h = LineHeight();
    ASSERT_GT(h, 90) << "Courier New did not resolve to a real face";
    // Room for 60.5 lines: 60 fit.
    const int pageHeight = 60 * h + h / 2;
    SetPixelPage(Job, 4000, 200 + pageHeight, TMargins(100, 100, 100, 100));
    TStringList lines(Numbered(130));
    Job.SetStrings(&lines);
    EXPECT_EQ(Job.LinesPerPage(), 60);
    EXPECT_EQ(Job.PageCount(), 3);
    Job.Print();
    ASSERT_EQ(Recording()->Recorder().PageCount(), 3);
    const auto first = PrintedTexts(1);
    const auto last = PrintedTexts(3);
    ASSERT_EQ(first.size(), 60u);
    ASSERT_EQ(last.size(), 10u);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(last[size_t(k)].Text, QStringLiteral("Line %1").arg(121 + k));
        EXPECT_EQ(last[size_t(k)].Rect.Top, first[size_t(k)].Rect.Top);
        EXPECT_EQ(last[size_t(k)].Rect.Left, 100);
    }
    // Spread over the page area: line k at k/60 of its height.
    EXPECT_EQ(first[0].Rect.Top, 100);
    EXPECT_EQ(first[59].Rect.Top, 100 + 59 * pageHeight / 60);
    EXPECT_GE(first[1].Rect.Top - first[0].Rect.Top, h);
}

TEST_F(PJStringsTest, PageCountFollowsTheLinesThatFit)
{
    const int h = LineHeight();
    struct Case { int Lines; int PageHeight; int PerPage; int Pages; };
    const Case cases[] = {
        {0, 10 * h, 0, 1},      // empty: one page, nothing laid out
        {1, 10 * h, 10, 1},
        {10, 10 * h, 10, 1},
        {11, 10 * h, 10, 2},
        {5, h - 1, 1, 5},       // not one line fits: one line a page
        {3, 0, 1, 3},
    };
    for (const Case& c : cases) {
        SetPixelPage(Job, 3000, c.PageHeight, TMargins());
        TStringList lines(Numbered(c.Lines));
        Job.SetStrings(&lines);
        EXPECT_EQ(Job.PageCount(), c.Pages) << c.Lines << " lines, " << c.PageHeight;
        if (c.Lines > 0)
            EXPECT_EQ(Job.LinesPerPage(), c.PerPage) << c.Lines << " lines, " << c.PageHeight;
        EXPECT_EQ(Job.Lines()->Count(), c.Lines);
    }
}

TEST_F(PJStringsTest, WrappingCutsAtTheLastBreakCharacterThatFits)
{
    TFont font;
    font.SetName(QStringLiteral("Courier New"));
    font.SetSize(12);
    Measuring m(font);
    const QString two = QStringLiteral("alpha bravo");
    // One character too narrow for the two words.
    const int tooNarrow = m.Width(two) - 1;
    TStringList lines({two});
    Job.FormatText(m.Canvas.Handle(), &lines, tooNarrow);
    EXPECT_EQ(lines.ToStringList(), (QStringList{"alpha ", "bravo"}));

    // A word three page widths long: pieces that just fit, no break character to use.
    const QString word = QString(60, QLatin1Char('x')) + QStringLiteral("1234567890") + QString(20, QLatin1Char('y'));
    const int third = m.Width(word.left(30));
    TStringList longWord({word});
    Job.FormatText(m.Canvas.Handle(), &longWord, third);
    const QStringList pieces = longWord.ToStringList();
    ASSERT_EQ(pieces.size(), 3);
    EXPECT_EQ(pieces.join(QString()), word);
    for (int i = 0; i < 2; ++i) {
        EXPECT_LE(m.Width(pieces[i]), third);
        EXPECT_GT(m.Width(pieces[i] + pieces[i + 1][0]), third) << "piece " << i << " could take one more";
    }

    // No room at all: a character a piece, and a character outside the 16-bit range is one character.
    const QString faces = QStringLiteral("\U0001F600\U0001F601a");
    TStringList narrow({faces});
    Job.FormatText(m.Canvas.Handle(), &narrow, 0);
    EXPECT_EQ(narrow.ToStringList(), (QStringList{QStringLiteral("\U0001F600"), QStringLiteral("\U0001F601"), "a"}));
}

TEST_F(PJStringsTest, WrappingMatchesTheRuleMeasuredPrefixByPrefix)
{
    const QStringList entries{
        "",
        "short",
        "The quick brown fox jumps over the lazy dog, then naps; the dog (lazy) sleeps on.",
        "   leading blanks stay at the front of the remainder and nothing is trimmed   ",
        "no-break-chars-but-hyphens-all-the-way-through-the-whole-very-long-entry",
        "AVeryLongIdentifierWithoutAnyBreakCharacterWhatsoeverThatMustBeCutHard123456789",
        "tab\tseparated\tvalues\tin\ta\tline\tthat\tgoes\ton\tand\ton",
        QStringLiteral("Umlaute \u00E4\u00F6\u00FC und \u00DF z\u00E4hlen als Buchstaben, Gedankenstrich \u2013 nicht"),
        // Kerning pairs and ligatures make a prefix narrower than its characters' sum.
        "AVAWAYATAVAWAYATAVAWAYAT To Ta Tr Ty Wa We Yo LT LV LY office affluent fjord waffle",
        "AWAYAWAYAWAYAWAYAWAYAWAYAWAYAWAYAWAYAWAYAWAYAWAYAWAYAWAYAWAYAWAYAWAYAWAYAWAY",
        QStringLiteral("combining e\u0301e\u0301e\u0301e\u0301 marks shape with their letter in a long line of text"),
    };
    struct Setting { const char* Family; int Width; };
    const Setting settings[] = {{"Courier New", 1500}, {"Arial", 1200}, {"Times New Roman", 2500}, {"Arial", 40},
        {"Courier New", -5}, {"Arial", 997}, {"Times New Roman", 1013}, {"Courier New", 731}};
    for (const Setting& s : settings) {
        TFont font;
        font.SetName(QString::fromLatin1(s.Family));
        font.SetSize(11);
        Measuring m(font);
        TStringList lines(entries);
        Job.FormatText(m.Canvas.Handle(), &lines, s.Width);
        const QStringList got = lines.ToStringList();
        const QStringList want = WrapByPrefixes(m.Canvas.Handle(), entries, s.Width);
        // The first piece that differs, readable.
        qsizetype i = 0;
        while (i < std::min(got.size(), want.size()) && got[i] == want[i])
            ++i;
        EXPECT_EQ(i, want.size()) << s.Family << " " << s.Width << ": piece " << i << " is \"" << got.value(i).toStdString()
                                  << "\", expected \"" << want.value(i).toStdString() << "\"";
        EXPECT_EQ(got.size(), want.size()) << s.Family << " " << s.Width;
    }
}

TEST_F(PJStringsTest, ProgressCountsLaidOutEntriesAndItsExceptionsAreIgnored)
{
    TFont font;
    font.SetName(QStringLiteral("Courier New"));
    font.SetSize(12);
    Measuring m(font);
    const int width = m.Width(QStringLiteral("0123456789"));
    std::vector<std::array<int, 3>> calls;
    Job.SetOnUpdateProgress([&](TComponent* sender, int pos, int min, int max) {
        EXPECT_EQ(sender, &Job);
        calls.push_back({pos, min, max});
        throw std::runtime_error("ignored");
    });
    TStringList lines({"short", "cut into three pieces", "end"});
    EXPECT_NO_THROW(Job.FormatText(m.Canvas.Handle(), &lines, width));
    EXPECT_EQ(lines.ToStringList(), (QStringList{"short", "cut into ", "three ", "pieces", "end"}));
    // No call for the cut entry; Pos counts its pieces afterwards.
    const std::vector<std::array<int, 3>> expected{{1, 0, 3}, {5, 0, 3}};
    EXPECT_EQ(calls, expected);
}

TEST_F(PJStringsTest, WithoutWordWrapLongLinesAreClippedAtTheRightEdge)
{
    SetPixelPage(Job, 2000, 3000, TMargins(100, 200, 100, 200));
    Job.SetWordWrap(false);
    const QString longLine = QString(80, QLatin1Char('w'));
    TStringList lines({"short", longLine});
    Job.SetStrings(&lines);
    EXPECT_EQ(Job.Lines()->Count(), 2) << "nothing is cut";
    RecordingCanvas canvas;
    Job.Draw(&canvas.Canvas, 1, dtPrint);
    const auto texts = RecordsOf(canvas.Records(), TDrawRecord::drText);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].Text, longLine);
    EXPECT_EQ(texts[1].ClipRect, (TRect{100, texts[1].Rect.Top, 1900, 2800}));
    EXPECT_GT(texts[1].Rect.Right, 1900);

    Job.SetWordWrap(true);
    EXPECT_GT(Job.Lines()->Count(), 2);
    canvas.Clear();
    Job.Draw(&canvas.Canvas, 1, dtPrint);
    for (const TDrawRecord& r : RecordsOf(canvas.Records(), TDrawRecord::drText)) {
        EXPECT_EQ(r.ClipRect, TRect{}) << "word-wrapped lines are drawn unclipped";
        EXPECT_LE(r.Rect.Right, 1900);
    }
}

TEST_F(PJStringsTest, PagesOutsideTheDocumentDrawNothingAndBandsComeFromOnDraw)
{
    SetPixelPage(Job, 3000, 3000, TMargins(100, 100, 100, 100), 200, 200, {joMargins, joHeader, joFooter});
    std::vector<TDrawArea> areas;
    Job.SetOnDraw([&](TComponent*, TCanvas* canvas, int page, TRect r, TDrawArea area, TDrawTarget) {
        areas.push_back(area);
        canvas->TextOut(r.Left, r.Top, QStringLiteral("band %1").arg(page));
    });
    TStringList lines(Numbered(3));
    Job.SetStrings(&lines);
    ASSERT_EQ(Job.PageCount(), 1);
    for (int page : {0, 2, 5, -1}) {
        RecordingCanvas canvas;
        areas.clear();
        Job.Draw(&canvas.Canvas, page, dtPrint);
        EXPECT_EQ(RecordingPrinterTest::Texts(canvas.Records()),
            (QStringList{QStringLiteral("band %1").arg(page), QStringLiteral("band %1").arg(page)})) << page;
        EXPECT_EQ(areas, (std::vector<TDrawArea>{daHeader, daFooter}));
    }
    RecordingCanvas canvas;
    Job.Draw(&canvas.Canvas, 1, dtPrint);
    const auto texts = RecordsOf(canvas.Records(), TDrawRecord::drText);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[1].Text, QStringLiteral("Line 1"));
    EXPECT_EQ(texts[1].FontName, QStringLiteral("Courier New"));
    EXPECT_EQ(texts[1].FontHeight, -100) << "12 points at 600 dpi";
    EXPECT_EQ(texts[1].BrushStyle, bsClear);
}

TEST_F(PJStringsTest, WithoutAPrinterThePageCountIsOneAndTheLayoutStays)
{
    SetPixelPage(Job, 3000, 10 * LineHeight(), TMargins());
    TStringList lines(Numbered(25));
    Job.SetStrings(&lines);
    ASSERT_EQ(Job.PageCount(), 3);
    Printer()->SetPrintersHidden(true);
    TStringList fewer(Numbered(2));
    Job.SetStrings(&fewer);
    EXPECT_EQ(Job.PageCount(), 1);
    EXPECT_EQ(Job.Lines()->Count(), 25);
    Printer()->SetPrintersHidden(false);
}

TEST_F(PJStringsTest, SubscribersHearOnceAndThePublishedListSetsTheText)
{
    SetPixelPage(Job, 3000, 10 * LineHeight(), TMargins());
    int updates = 0, progress = 0;
    Job.SetOnUpdate([&](TComponent*) { ++updates; });
    Job.SetOnUpdateProgress([&](TComponent*, int, int, int) { ++progress; });
    // Through the meta-object, as a form file would set it.
    ASSERT_TRUE(Job.setProperty("Strings", QVariant(Numbered(35))));
    EXPECT_EQ(Job.PageCount(), 4);
    EXPECT_EQ(updates, 1) << "the page count change must not notify on its own";
    EXPECT_EQ(progress, 35) << "one wrapping pass";
    EXPECT_EQ(Job.property("Strings").toStringList(), Numbered(35));
    EXPECT_EQ(Job.Strings()->Count(), 35);

    // Editing in place changes nothing until Update.
    Job.Strings()->Add("more");
    EXPECT_EQ(Job.Lines()->Count(), 35);
    Job.Update();
    EXPECT_EQ(Job.Lines()->Count(), 36);
    updates = 0;
    Job.SetWordWrap(true);
    EXPECT_EQ(updates, 0) << "an unchanged WordWrap does not update";
}
