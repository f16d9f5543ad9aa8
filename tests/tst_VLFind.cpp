// Finding text in a job's pages: what each kind of job draws is found where it is drawn (the
// matches against the calls the printed page records), and the pane and the preview window
// lead through the matches with highlights, the status bar and the keyboard.
#include "PreviewFixture.h"
#include "HandDrawnTable.h"

#include "gridjobs/PJDBGrid.h"
#include "job/VLFind.h"
#include "multijobs/PJDraft.h"
#include "multijobs/PJMulti.h"
#include "platform/controls/RichEdit.h"
#include "platform/core/DataModule.h"
#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"
#include "preview/VLWindow.h"
#include "textjobs/PJRichEdit.h"
#include "textjobs/PJStrings.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QThread>

using namespace Vellaro;
using namespace Vellaro::Testing;

TEST(FindInString, CaseWholeWordsAndOverlaps)
{
    const struct {
        const char* haystack;
        const char* text;
        TFindOptions options;
        std::vector<int> starts;
    } cases[] = {
        {"Line 1, line 10, LINE 1", "line 1", {}, {0, 8, 17}},
        {"Line 1, line 10, LINE 1", "line 1", {foMatchCase}, {8}},
        {"Line 1, line 10, LINE 1", "line 1", {foWholeWord}, {0, 17}},
        {"Line 1, line 10, LINE 1", "Line 1", {foWholeWord, foMatchCase}, {0}},
        {"aaaa", "aa", {}, {0, 2}},
        {"snake_case snake", "snake", {foWholeWord}, {11}},
        {"anything", "", {}, {}},
        {"", "x", {}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindInString(c.haystack, c.text, c.options), c.starts) << c.haystack << " / " << c.text;
}

namespace {
class FindInJobs : public RecordingPrinterTest {
protected:
    void TearDown() override
    {
        if (QSqlDatabase::contains(QStringLiteral("find-test"))) {
            QSqlDatabase::database(QStringLiteral("find-test"), false).close();
        }
        RecordingPrinterTest::TearDown();
    }
    /// The job's page searched, checked against the printed page's recorded text calls: as many
    /// matches as the printed texts hold, each inside a printed text that holds it.
    void ExpectMatchesWherePrinted(TCustomPrintJob& job, int page, const QString& text, TFindOptions options, int atLeast)
    {
        job.Print();
        int expected = 0;
        const std::vector<TDrawRecord> printed = OfKind(PageRecords(page), TDrawRecord::drText);
        for (const TDrawRecord& r : printed)
            expected += int(FindInString(r.Text, text, options).size());
        const std::vector<TFindMatch> matches = FindInPage(job, page, text, options);
        EXPECT_GE(int(matches.size()), atLeast) << Texts(PageRecords(page)).join('|').left(300).toStdString();
        EXPECT_EQ(int(matches.size()), expected);
        for (const TFindMatch& m : matches) {
            EXPECT_EQ(m.Page, page);
            EXPECT_EQ(m.Text.mid(m.Start, text.size()).compare(text, Qt::CaseInsensitive), 0);
            const bool inside = std::any_of(printed.begin(), printed.end(), [&](const TDrawRecord& r) {
                return r.Text == m.Text && m.Rect.Left >= r.Rect.Left - 2 && m.Rect.Right <= r.Rect.Right + 2
                    && m.Rect.Top >= r.Rect.Top - 2 && m.Rect.Bottom <= r.Rect.Bottom + 2;
            });
            EXPECT_TRUE(inside) << m.Text.toStdString() << " at " << m.Rect.Left << "," << m.Rect.Top;
            EXPECT_GT(m.Rect.Width(), 0);
        }
    }
};

void SetUpTowns()
{
    QSqlDatabase db = QSqlDatabase::contains(QStringLiteral("find-test")) ? QSqlDatabase::database(QStringLiteral("find-test"))
                                                                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("find-test"));
    db.setDatabaseName(QStringLiteral(":memory:"));
    ASSERT_TRUE(db.open());
    QSqlQuery q(db);
    ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE towns (id INTEGER PRIMARY KEY, name VARCHAR(30))")));
    for (int id = 1; id <= 120; ++id)
        ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO towns VALUES (%1, 'Town %1')").arg(id)));
}
} // namespace

TEST_F(FindInJobs, TextGrid)
{
    TSimpleTextGridPrintJob job;
    SetUpTableJob(job, 3 * TableRowsPerPage);
    // "Row 75, cell 1" to "cell 6" on page 2; a whole-word search leaves out "Row 750".
    ExpectMatchesWherePrinted(job, 2, QStringLiteral("row 75,"), {}, 6);
    const std::vector<TFindMatch> cells = FindInPage(job, 2, QStringLiteral("cell 3"), {foWholeWord});
    EXPECT_EQ(cells.size(), size_t(TableRowsPerPage));
    // Further right in the row than cell 1 of the same row, at the same height.
    const std::vector<TFindMatch> first = FindInPage(job, 2, QStringLiteral("Row 75, cell 1"), {});
    const std::vector<TFindMatch> third = FindInPage(job, 2, QStringLiteral("Row 75, cell 3"), {});
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(third.size(), 1u);
    EXPECT_GT(third[0].Rect.Left, first[0].Rect.Right);
    EXPECT_EQ(third[0].Rect.Top, first[0].Rect.Top);
}

TEST_F(FindInJobs, Strings)
{
    TStringsPrintJob job;
    TStringList lines;
    for (int i = 1; i <= 300; ++i)
        lines.Add(QStringLiteral("Line %1 of the list").arg(i));
    job.SetStrings(&lines);
    ASSERT_GE(job.PageCount(), 2);
    ExpectMatchesWherePrinted(job, 1, QStringLiteral("Line 1"), {foWholeWord}, 1);
    ExpectMatchesWherePrinted(job, 1, QStringLiteral("of the"), {}, 20);
    // The part of a line: "of" lies right of "Line 7".
    const auto line = FindInPage(job, 1, QStringLiteral("Line 7 "), {});
    const auto of = FindInPage(job, 1, QStringLiteral("7 of the"), {foWholeWord});
    ASSERT_EQ(line.size(), 1u);
    ASSERT_EQ(of.size(), 1u);
    EXPECT_GT(of[0].Rect.Left, line[0].Rect.Left);
}

TEST_F(FindInJobs, RichText)
{
    TRichEdit edit;
    QStringList paragraphs;
    for (int i = 1; i <= 150; ++i)
        paragraphs << QStringLiteral("Paragraph %1 tells of the river and the sea.").arg(i);
    edit.setPlainText(paragraphs.join('\n'));
    TRichEditPrintJob job;
    job.SetRichEdit(&edit);
    ASSERT_GE(job.PageCount(), 2);
    ExpectMatchesWherePrinted(job, 2, QStringLiteral("river"), {}, 10);
}

TEST_F(FindInJobs, Database)
{
    SetUpTowns();
    TDataSet towns;
    towns.SetConnectionName(QStringLiteral("find-test"));
    towns.SetTableName(QStringLiteral("towns"));
    TDataSource source;
    source.SetDataSet(&towns);
    TDBGridPrintJob job;
    job.SetDataSource(&source);
    towns.Open();
    ASSERT_GE(job.PageCount(), 1);
    ASSERT_GE(job.PageCount(), 3);
    ExpectMatchesWherePrinted(job, 3, QStringLiteral("Town 3"), {foWholeWord}, 1);
    towns.Close();
}

TEST_F(FindInJobs, MultiAndDraft)
{
    TDataModule form;
    auto* strings = new TStringsPrintJob(&form);
    TStringList lines;
    for (int i = 1; i <= 40; ++i)
        lines.Add(QStringLiteral("Entry %1 of the strings").arg(i));
    strings->SetStrings(&lines);
    auto* table = new TSimpleTextGridPrintJob(&form);
    SetUpTableJob(*table, 2 * TableRowsPerPage);
    auto* multi = new TMultiPrintJob(&form);
    multi->Add(strings);
    multi->Add(table);
    const int tablePage2 = strings->PageCount() + 2;
    ExpectMatchesWherePrinted(*multi, tablePage2, QStringLiteral("Row 61,"), {}, 6);
    ExpectMatchesWherePrinted(*multi, 1, QStringLiteral("Entry 4"), {foWholeWord}, 1);

    auto* draft = new TDraftPrintJob(&form);
    draft->SetPrintJob(table);
    draft->SetScale(2);
    ASSERT_EQ(draft->PageCount(), 1);
    // Both table pages on the sheet, at half size.
    ExpectMatchesWherePrinted(*draft, 1, QStringLiteral("Row 61, cell 1"), {}, 1);
    ExpectMatchesWherePrinted(*draft, 1, QStringLiteral("Row 1, cell 1"), {foWholeWord}, 1);
}

TEST_F(FindInJobs, AWordDrawnInPiecesIsFoundAcrossTheCalls)
{
    // Each case draws its pieces left to right from x = 300 with TextOut, each piece where the
    // one before ended plus a gap (pixels), on the first piece's baseline unless it moves down.
    struct Piece {
        const char* text;
        int size = 10;     // points
        int gap = 0;       // pixels after the piece before
        bool nextLine = false;
    };
    const struct {
        const char* name;
        std::vector<Piece> pieces;
        bool reversed; // drawn right to left: the pieces are not in reading order
        int found;     // matches of "Hello"
    } cases[] = {
        {"two touching pieces", {{"Hel"}, {"lo"}}, false, 1},
        {"three pieces, a word each side", {{"say H"}, {"el"}, {"lo there"}}, false, 1},
        {"a larger piece on the same baseline", {{"Hel", 14}, {"lo", 10}}, false, 1},
        {"a pixel apart from rounding", {{"Hel"}, {"lo", 10, 1}}, false, 1},
        {"a space apart", {{"Hel"}, {"lo", 10, 25}}, false, 0},
        {"the next line", {{"Hel"}, {"lo", 10, 0, true}}, false, 0},
        {"drawn in the other order", {{"Hel"}, {"lo"}}, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TPrintJob job;
        job.SetPageCount(1);
        job.SetOnDraw([&](TComponent*, TCanvas* canvas, int, TRect r, TDrawArea area, TDrawTarget) {
            if (area != daPage)
                return;
            // Where each piece goes, then drawn in the case's order.
            std::vector<std::tuple<int, int, int, QString>> placed; // x, top, size, text
            int x = r.Left + 300;
            int baseline = 0;
            for (const Piece& piece : c.pieces) {
                canvas->Font()->SetSize(piece.size);
                const int ascent = QFontMetrics(canvas->Font()->ToQFont()).ascent();
                if (baseline == 0)
                    baseline = r.Top + 400 + ascent;
                if (piece.nextLine) {
                    baseline += 2 * canvas->TextHeight(QStringLiteral("X"));
                    x = r.Left + 300;
                }
                x += piece.gap;
                placed.emplace_back(x, baseline - ascent, piece.size, QString::fromLatin1(piece.text));
                x += canvas->TextWidth(QString::fromLatin1(piece.text));
            }
            if (c.reversed)
                std::reverse(placed.begin(), placed.end());
            for (const auto& [left, top, size, text] : placed) {
                canvas->Font()->SetSize(size);
                canvas->TextOut(left, top, text);
            }
        });
        job.Print();
        const std::vector<TDrawRecord> printed = OfKind(PageRecords(1), TDrawRecord::drText);
        ASSERT_EQ(printed.size(), c.pieces.size());
        const std::vector<TFindMatch> matches = FindInPage(job, 1, QStringLiteral("Hello"), {foWholeWord});
        ASSERT_EQ(int(matches.size()), c.found);
        if (c.found == 0)
            continue;
        // One box per piece the word reaches into, each inside that piece's printed box, left
        // to right, together making the match's box.
        const TFindMatch& m = matches[0];
        std::vector<TDrawRecord> reached;
        for (const TDrawRecord& r : printed)
            if (r.Text.contains(QLatin1Char('H')) || r.Text.contains(QLatin1String("el")) || r.Text.startsWith(QLatin1String("lo")))
                reached.push_back(r);
        ASSERT_EQ(m.Pieces.size(), reached.size());
        for (size_t i = 0; i < reached.size(); ++i) {
            EXPECT_GE(m.Pieces[i].Left, reached[i].Rect.Left - 2) << i;
            EXPECT_LE(m.Pieces[i].Right, reached[i].Rect.Right + 2) << i;
            EXPECT_EQ(m.Pieces[i].Top, reached[i].Rect.Top) << i;
            EXPECT_EQ(m.Pieces[i].Bottom, reached[i].Rect.Bottom) << i;
            EXPECT_GT(m.Pieces[i].Width(), 0) << i;
        }
        for (size_t i = 1; i < m.Pieces.size(); ++i)
            EXPECT_NEAR(m.Pieces[i - 1].Right, m.Pieces[i].Left, 3) << "the word's parts meet at " << i;
        EXPECT_EQ(m.Rect.Left, m.Pieces.front().Left);
        EXPECT_EQ(m.Rect.Right, m.Pieces.back().Right);
        EXPECT_EQ(m.Text.mid(m.Start, 5), QStringLiteral("Hello"));
    }
}

// ---- The pane ----------------------------------------------------------------------------

namespace {
class PaneFind : public PreviewFixture {
protected:
    void SetUp() override
    {
        PreviewFixture::SetUp();
        Job->SetPageCount(4);
        Job->SetOnDraw([](TComponent*, TCanvas* canvas, int page, TRect r, TDrawArea area, TDrawTarget) {
            if (area != daPage)
                return;
            canvas->Font()->SetSize(24);
            // Two "fish" on even pages, one on odd ones, and a "catfish" a whole word leaves out.
            canvas->TextOut(r.Left + 200, r.Top + 300, QStringLiteral("Page %1: fish and catfish").arg(page));
            if (page % 2 == 0)
                canvas->TextOut(r.Left + 200, r.Top + 3000, QStringLiteral("More fish"));
        });
        Pane->SetPageIndex(2);
    }
    QImage Grab() { return Pane->PagePanel()->grab().toImage(); }
    /// A page rectangle in the panel's pixels.
    QRect OnPanel(const TRect& r) const
    {
        const double sx = Pane->PagePanel()->ClientWidth() / Pane->PageWidthPixels();
        const double sy = Pane->PagePanel()->ClientHeight() / Pane->PageHeightPixels();
        const int border = (Pane->PagePanel()->Width() - Pane->PagePanel()->ClientWidth()) / 2;
        return QRect(QPoint(border + int(r.Left * sx), border + int(r.Top * sy)), QPoint(border + int(r.Right * sx) - 1, border + int(r.Bottom * sy) - 1));
    }
    /// The mean blue of an area: white paper is 255, the yellow marks take blue away.
    static double MeanBlue(const QImage& image, const QRect& area)
    {
        double sum = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                sum += image.pixelColor(x, y).blue();
        return sum / std::max(1, area.width() * area.height());
    }
};
} // namespace

TEST_F(PaneFind, FindsFromTheShownPageWrapsAndHighlights)
{
    EXPECT_EQ(Pane->FindText(QStringLiteral("fish"), {foWholeWord}), 6);
    // The first match on or after page 2; the matches lie on pages 1, 2, 2, 3, 4, 4.
    ASSERT_EQ(Pane->FindMatchIndex(), 1);
    EXPECT_EQ(Pane->FindMatches()[1].Page, 2);
    EXPECT_EQ(Pane->GetFindText().toStdString(), "Match 2 of 6");
    const std::vector<int> pages = {2, 3, 4, 4, 1};
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(Pane->FindNext());
        EXPECT_EQ(Pane->PageIndex(), pages[size_t(i)]) << i;
    }
    EXPECT_EQ(Pane->FindMatchIndex(), 0);
    ASSERT_TRUE(Pane->FindPrevious());
    EXPECT_EQ(Pane->FindMatchIndex(), 5);
    EXPECT_EQ(Pane->PageIndex(), 4);
    EXPECT_EQ(Pane->FindText(QStringLiteral("fish")), 10) << "catfish counts without whole words";

    // The marks: the current match stronger than the others, nothing where no match is.
    Pane->SetPageIndex(2);
    Pane->FindText(QStringLiteral("fish"), {foWholeWord});
    Pane->FindNext(); // page 2's second match ("More fish") current
    QApplication::processEvents();
    const QImage marked = Grab();
    const TFindMatch& current = Pane->FindMatches()[size_t(Pane->FindMatchIndex())];
    const TFindMatch& other = Pane->FindMatches()[size_t(Pane->FindMatchIndex() - 1)];
    ASSERT_EQ(current.Page, 2);
    ASSERT_EQ(other.Page, 2);
    Pane->ClearFind();
    QApplication::processEvents();
    const QImage plain = Grab();
    EXPECT_EQ(Pane->GetFindText(), QString());
    const double currentMarked = MeanBlue(marked, OnPanel(current.Rect));
    const double otherMarked = MeanBlue(marked, OnPanel(other.Rect));
    EXPECT_LT(currentMarked, MeanBlue(plain, OnPanel(current.Rect)) - 60);
    EXPECT_LT(otherMarked, MeanBlue(plain, OnPanel(other.Rect)) - 30);
    EXPECT_LT(currentMarked, otherMarked - 20) << "the current mark is stronger";
    const QRect away = OnPanel({200, 5000, 1400, 5400});
    EXPECT_EQ(MeanBlue(marked, away), MeanBlue(plain, away)) << "nothing marked where nothing was found";
}

TEST_F(PaneFind, EmptyTextDoesNothingAndNoMatchSaysSo)
{
    Pane->FindText(QStringLiteral("fish"));
    const int index = Pane->FindMatchIndex();
    EXPECT_EQ(Pane->FindText(QString()), 0);
    EXPECT_EQ(Pane->FindMatchIndex(), index);
    EXPECT_EQ(Pane->FoundText(), QStringLiteral("fish"));
    EXPECT_EQ(Pane->FindText(QStringLiteral("whale")), 0);
    EXPECT_FALSE(Pane->FindNext());
    EXPECT_FALSE(Pane->FindPrevious());
    EXPECT_EQ(Pane->GetFindText(), QStringLiteral("No matches for \"whale\""));
    EXPECT_EQ(Pane->PageIndex(), 2);
}

TEST_F(PaneFind, ASearchCanBeCancelledBetweenPages)
{
    std::vector<int> seen;
    Pane->SetOnFindProgress([&](TComponent*, int page, int count, bool& cancel) {
        seen.push_back(page);
        EXPECT_EQ(count, 4);
        cancel = page == 2;
    });
    EXPECT_EQ(Pane->FindText(QStringLiteral("fish"), {foWholeWord}), 3);
    EXPECT_EQ(seen, (std::vector<int>{1, 2}));
}

// ---- The window's find bar -----------------------------------------------------------------

namespace {
class WindowFind : public PaneFind {
protected:
    void SetUp() override
    {
        PaneFind::SetUp();
        Window = std::make_unique<TPreviewWindow>();
        Window->SetPrintJob(Job.get());
        Window->Show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        Window.reset();
        PaneFind::TearDown();
    }
    std::unique_ptr<TPreviewWindow> Window;
};
} // namespace

TEST_F(WindowFind, CtrlFEnterF3ShiftF3AndEscape)
{
    TPreviewForm* form = Window->Form();
    TPreview* pane = Window->GetPreview();
    ASSERT_FALSE(form->FindBar()->Visible());
    QTest::keyClick(pane, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(form->FindBar()->Visible());
    form->WholeWordBox()->SetChecked(true);
    QTest::keyClicks(form->FindEdit(), QStringLiteral("fish"));
    QTest::keyClick(form->FindEdit(), Qt::Key_Return);
    EXPECT_EQ(pane->FindMatches().size(), 6u);
    EXPECT_EQ(pane->FindMatchIndex(), 0);
    EXPECT_EQ(Window->GetStatusBar()->PartText(2).toStdString(), "Match 1 of 6");
    QTest::keyClick(form->FindEdit(), Qt::Key_Return);
    EXPECT_EQ(pane->FindMatchIndex(), 1);
    QTest::keyClick(pane, Qt::Key_F3);
    EXPECT_EQ(pane->FindMatchIndex(), 2);
    EXPECT_EQ(pane->PageIndex(), 2);
    QTest::keyClick(pane, Qt::Key_F3);
    EXPECT_EQ(pane->PageIndex(), 3);
    QTest::keyClick(pane, Qt::Key_F3, Qt::ShiftModifier);
    QTest::keyClick(pane, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(pane->FindMatchIndex(), 1);
    EXPECT_EQ(Window->GetStatusBar()->PartText(2).toStdString(), "Match 2 of 6");
    // Changing the options searches again.
    form->WholeWordBox()->SetChecked(false);
    QTest::keyClick(form->FindEdit(), Qt::Key_Return);
    EXPECT_EQ(pane->FindMatches().size(), 10u);
    QTest::keyClick(form->FindEdit(), Qt::Key_Escape);
    EXPECT_FALSE(form->FindBar()->Visible());
    EXPECT_TRUE(pane->FindMatches().empty());
    EXPECT_TRUE(form->isVisible()) << "Escape closed the bar, not the window";
}

TEST_F(PaneFind, TheCurrentMatchIsScrolledIntoView)
{
    Pane->SetViewMode(vmCustom);
    Pane->SetViewScale(200);
    QApplication::processEvents();
    TScrollBox* box = Pane->ScrollBox();
    ASSERT_GT(box->VertScrollBar()->Range(), box->ClientHeight());
    ASSERT_EQ(box->VertScrollBar()->Position(), 0);
    // "More fish" lies far down page 2, below what the pane shows at the top.
    ASSERT_EQ(Pane->FindText(QStringLiteral("More fish")), 2);
    ASSERT_EQ(Pane->PageIndex(), 2);
    const TFindMatch& match = Pane->FindMatches()[size_t(Pane->FindMatchIndex())];
    const int position = box->VertScrollBar()->Position();
    EXPECT_GT(position, 0);
    // The match's top, in the desk's pixels, lies in the shown part of the desk.
    const double scale = Pane->PagePanel()->ClientHeight() / Pane->PageHeightPixels();
    const int top = Pane->PagePanel()->Top() + int(match.Rect.Top * scale);
    EXPECT_GE(top, position);
    EXPECT_LE(top, position + box->ClientHeight());
    // Away to page 4's match and back: the same place again.
    Pane->FindPrevious();
    Pane->FindNext();
    EXPECT_EQ(box->VertScrollBar()->Position(), position);
    // A match already in view on the shown page moves nothing.
    Pane->FindText(QStringLiteral("More fish"));
    EXPECT_EQ(box->VertScrollBar()->Position(), position);
}

// ---- Progress of long searches in the window ---------------------------------------------

namespace {
QProgressDialog* ShownProgressDialog()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QProgressDialog*>(w); dialog && dialog->isVisible())
            return dialog;
    return nullptr;
}
} // namespace

TEST_F(WindowFind, AShortSearchShowsNoProgressAndTheApplicationHandlerStays)
{
    TPreview* pane = Window->GetPreview();
    std::vector<int> seen;
    bool shown = false;
    pane->SetOnFindProgress([&](TComponent*, int page, int, bool&) {
        seen.push_back(page);
        shown = shown || ShownProgressDialog();
    });
    Window->Form()->ShowFindBar();
    QTest::keyClicks(Window->Form()->FindEdit(), QStringLiteral("fish"));
    QTest::keyClick(Window->Form()->FindEdit(), Qt::Key_Return);
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_FALSE(shown);
    EXPECT_FALSE(pane->FindStopped());
    // The window's watcher is gone and the application's handler is back in place.
    ASSERT_TRUE(pane->OnFindProgress());
    seen.clear();
    pane->FindText(QStringLiteral("fish"));
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(WindowFind, ALongSearchShowsProgressAndCancelStopsItWithTheMatchesSoFar)
{
    // 200 pages of 15 ms each: three seconds, the dialog due after half of one.
    Job->SetPageCount(200);
    Job->SetOnDraw([](TComponent*, TCanvas* canvas, int page, TRect r, TDrawArea area, TDrawTarget) {
        if (area != daPage)
            return;
        QThread::msleep(15);
        canvas->TextOut(r.Left + 200, r.Top + 300, QStringLiteral("Page %1: fish").arg(page));
    });
    TPreview* pane = Window->GetPreview();
    int lastPage = 0;
    QString label;
    pane->SetOnFindProgress([&](TComponent*, int page, int, bool&) {
        lastPage = page;
        QProgressDialog* dialog = ShownProgressDialog();
        if (!dialog || !label.isEmpty())
            return;
        label = dialog->labelText();
        auto* cancel = dialog->findChild<QPushButton*>();
        ASSERT_NE(cancel, nullptr);
        cancel->click(); // as the user does
    });
    Window->Form()->ShowFindBar();
    QTest::keyClicks(Window->Form()->FindEdit(), QStringLiteral("fish"));
    QTest::keyClick(Window->Form()->FindEdit(), Qt::Key_Return);

    ASSERT_FALSE(label.isEmpty()) << "a three-second search showed no progress";
    EXPECT_TRUE(label.startsWith(QStringLiteral("Searching page "))) << label.toStdString();
    EXPECT_TRUE(label.endsWith(QStringLiteral(" of 200"))) << label.toStdString();
    // Cancelled at once: stopped after the page where Cancel was pressed, well short of 200,
    // keeping the one match of each page searched.
    EXPECT_LT(lastPage, 150);
    EXPECT_TRUE(pane->FindStopped());
    EXPECT_EQ(int(pane->FindMatches().size()), lastPage);
    EXPECT_EQ(pane->FindMatches().back().Page, lastPage);
    EXPECT_EQ(Window->GetStatusBar()->PartText(2), QStringLiteral("Match 1 of %1 (search stopped)").arg(lastPage));
    EXPECT_EQ(ShownProgressDialog(), nullptr);
    // Enter goes through the matches found; a new search starts from the beginning again.
    QTest::keyClick(Window->Form()->FindEdit(), Qt::Key_Return);
    EXPECT_EQ(pane->FindMatchIndex(), 1);
}
