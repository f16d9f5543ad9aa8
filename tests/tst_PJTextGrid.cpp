// Text cells: fonts per area, clip modes, alignment flags, insets, the default texts and the
// spanning footer, checked on a recording canvas in printer pixels.
#include "gridjobs/PJTextGrid.h"

#include "GridTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <map>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {
/// A text grid with fixed data column widths and texts set per cell (the defaults elsewhere).
template<class Base>
class FixedTextGrid : public Base {
public:
    using Base::Base;
    int DataWidth = 1000;
    std::map<std::pair<int, int>, QString> Texts;
    std::map<int, TAlignment> Alignments; ///< by column
    int GetColWidth(TCanvas* Canvas, int ACol) override
    {
        return ACol == IndexCol ? Base::GetColWidth(Canvas, ACol) : DataWidth;
    }
    QString GetCellText(int PageIndex, int ACol, int ARow) override
    {
        auto it = Texts.find({ACol, ARow});
        return it != Texts.end() ? it->second : Base::GetCellText(PageIndex, ACol, ARow);
    }
    TAlignment GetCellAlignment(int ACol, int ARow) override
    {
        auto it = Alignments.find(ACol);
        return it != Alignments.end() ? it->second : Base::GetCellAlignment(ACol, ARow);
    }
};
using TextGrid = FixedTextGrid<TCustomTextGridPrintJob>;
using SpecialGrid = FixedTextGrid<TSpecialTextGridPrintJob>;

/// The texts drawn that show something (empty cells draw an empty text).
std::vector<TDrawRecord> TextsOf(const RecordingCanvas& canvas)
{
    std::vector<TDrawRecord> texts;
    for (const TDrawRecord& r : RecordsOf(canvas.Records(), TDrawRecord::drText))
        if (!r.Text.isEmpty())
            texts.push_back(r);
    return texts;
}

/// Width of a text in a font on the recording canvas.
int WidthIn(RecordingCanvas& canvas, const TFont& font, const QString& text)
{
    canvas.Canvas.Font()->Assign(font);
    return canvas.Canvas.TextWidth(text);
}

class PJTextGridTest : public RecordingPrinterTest {
protected:
    void SetUp() override
    {
        RecordingPrinterTest::SetUp();
        // Margin rectangle 100..4100 x 100..1100; header 100..200, footer 1000..1100.
        SetPixelPage(Grid, 4200, 1200, TMargins(100, 100, 100, 100), 100, 100, {joMargins, joHeader, joFooter});
    }
    TextGrid Grid;
    RecordingCanvas Canvas;
};
} // namespace

TEST_F(PJTextGridTest, FormatFlagsFollowClipModeAndAlignment)
{
    struct Case { TClipMode Clip; TAlignment Align; unsigned Format; };
    const Case cases[] = {
        {cmNone, taLeftJustify, 0x824 | DT_NOCLIP},
        {cmClip, taLeftJustify, 0x824},
        {cmEllipsis, taLeftJustify, 0x824 | DT_END_ELLIPSIS},
        {cmEllipsis, taRightJustify, 0x824 | DT_END_ELLIPSIS | DT_RIGHT},
        {cmClip, taCenter, 0x824 | DT_CENTER},
    };
    Grid.SetOptions({joMargins});
    for (const Case& c : cases) {
        Grid.SetClipMode(c.Clip);
        Grid.Alignments[0] = c.Align;
        Grid.Texts[{0, 0}] = QStringLiteral("A&B");
        Canvas.Clear();
        Grid.Draw(&Canvas.Canvas, 1, dtPreview);
        const std::vector<TDrawRecord> texts = TextsOf(Canvas);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].Format, c.Format) << int(c.Clip) << "/" << int(c.Align);
        EXPECT_EQ(texts[0].Text, QStringLiteral("A&B")); // no accelerator prefix
    }
}

TEST_F(PJTextGridTest, TextRectangleIsInsetByTwoSpacesAndTwoFromTheTop)
{
    Grid.SetOptions({joMargins});
    Grid.SetClipMode(cmClip);
    Grid.Texts[{0, 0}] = QStringLiteral("Cell");
    Grid.Draw(&Canvas.Canvas, 1, dtPreview);
    const int w = WidthIn(Canvas, *Grid.PageFont(), QStringLiteral("  "));
    ASSERT_GT(w, 0);
    const std::vector<TDrawRecord> texts = TextsOf(Canvas);
    ASSERT_EQ(texts.size(), 1u);
    // The cell is 100..1099 x 100..1100.
    EXPECT_EQ(texts[0].ClipRect, (TRect{100 + w, 102, 1099 - w + 2, 1100}));
    EXPECT_EQ(texts[0].Rect.Left, 100 + w);
}

TEST_F(PJTextGridTest, LongTextIsCutClippedOrLeftToRunOnByClipMode)
{
    const QString title = QStringLiteral("A header title far longer than its narrow column");
    Grid.DataWidth = 600;
    Grid.Texts[{0, HeaderRow}] = title;
    for (TClipMode mode : {cmEllipsis, cmClip, cmNone}) {
        Grid.SetClipMode(mode);
        Canvas.Clear();
        Grid.Draw(&Canvas.Canvas, 1, dtPreview);
        const TDrawRecord header = TextsOf(Canvas).at(0);
        const int w = WidthIn(Canvas, *Grid.HeaderFont(), QStringLiteral("  "));
        const TRect textRect{100 + w, 102, 699 - w + 2, 200};
        switch (mode) {
        case cmEllipsis:
            EXPECT_TRUE(header.Text.endsWith(QStringLiteral("..."))) << header.Text.toStdString();
            EXPECT_TRUE(title.startsWith(header.Text.chopped(3)));
            EXPECT_GT(header.Text.size(), 3);
            EXPECT_LE(header.Rect.Right, textRect.Right);
            EXPECT_EQ(header.ClipRect, textRect);
            break;
        case cmClip:
            EXPECT_EQ(header.Text, title);
            EXPECT_EQ(header.ClipRect, textRect);
            EXPECT_GT(header.Rect.Right, textRect.Right);
            break;
        case cmNone:
            EXPECT_EQ(header.Text, title);
            EXPECT_EQ(header.ClipRect, TRect{});
            EXPECT_GT(header.Rect.Right, 1300); // over the neighbouring cell
            break;
        }
    }
}

TEST_F(PJTextGridTest, EachAreaDrawsInItsOwnFont)
{
    TFont header;
    header.SetName(QStringLiteral("Times New Roman"));
    header.SetSize(14);
    header.SetStyle(fsBold);
    TFont footer;
    footer.SetName(QStringLiteral("Courier New"));
    footer.SetSize(8);
    Grid.SetHeaderFont(&header);
    Grid.SetFooterFont(&footer);
    Grid.SetColCount(1);
    Grid.Texts[{0, HeaderRow}] = QStringLiteral("H");
    Grid.Texts[{0, 0}] = QStringLiteral("D");
    Grid.Draw(&Canvas.Canvas, 1, dtPreview);
    const std::vector<TDrawRecord> texts = TextsOf(Canvas);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].FontName, QStringLiteral("Times New Roman"));
    EXPECT_EQ(texts[0].FontHeight, -MulDiv(14, 600, 72));
    EXPECT_EQ(texts[0].FontStyle, TFontStyles(fsBold));
    EXPECT_EQ(texts[1].FontName, QStringLiteral("Arial"));
    EXPECT_EQ(texts[1].FontHeight, -100); // 12 points at 600 dpi
    EXPECT_EQ(texts[2].FontName, QStringLiteral("Courier New"));
    EXPECT_EQ(texts[2].Text, QStringLiteral("Page 1 from 1"));
    EXPECT_EQ(texts[2].Format & DT_RIGHT, DT_RIGHT);
}

TEST_F(PJTextGridTest, DefaultTextsNumberRowsFromIndexStartAndShowThePage)
{
    struct Case { int Col, Row; QString Text; };
    Grid.SetColCount(3);
    Grid.SetRowsPerPage(2);
    Grid.SetRowCount(10);
    Grid.SetIndexStart(-1);
    const Case cases[] = {
        {IndexCol, HeaderRow, QStringLiteral("#")},
        {IndexCol, FooterRow, QString()},
        {IndexCol, 0, QStringLiteral("-1")},
        {IndexCol, 7, QStringLiteral("6")},
        {2, FooterRow, QStringLiteral("Page 2 from 5")},
        {1, FooterRow, QString()},
        {0, HeaderRow, QString()},
        {2, 3, QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Grid.TCustomTextGridPrintJob::GetCellText(2, c.Col, c.Row), c.Text) << c.Col << "," << c.Row;
    EXPECT_EQ(Grid.TCustomTextGridPrintJob::GetCellAlignment(IndexCol, 3), taRightJustify);
    EXPECT_EQ(Grid.TCustomTextGridPrintJob::GetCellAlignment(0, FooterRow), taRightJustify);
    EXPECT_EQ(Grid.TCustomTextGridPrintJob::GetCellAlignment(0, HeaderRow), taLeftJustify);
}

TEST_F(PJTextGridTest, IndexColumnFitsOneMoreThanTheLastRowNumber)
{
    Grid.SetIndexStart(1);
    Grid.SetRowCount(250);
    TFont font;
    font.SetSize(9);
    Canvas.Canvas.Font()->Assign(font);
    const int expected = Canvas.Canvas.TextWidth(QStringLiteral("    251")) + 2;
    EXPECT_EQ(Grid.GetColWidth(&Canvas.Canvas, IndexCol), expected);
    EXPECT_EQ(Grid.TCustomTextGridPrintJob::GetColWidth(&Canvas.Canvas, 0), 0);
}

TEST_F(PJTextGridTest, SpanningFooterShowsThePageAcrossTheWholeFooter)
{
    SpecialGrid grid;
    SetPixelPage(grid, 4200, 1200, TMargins(100, 100, 100, 100), 100, 100, {joMargins, joFooter});
    grid.DataWidth = 300; // the last column is far too narrow for the page text
    grid.SetColCount(2);
    grid.SetRowsPerPage(1);
    grid.SetRowCount(7);
    grid.SetFooterCellBorders({cbLeft});
    grid.Draw(&Canvas.Canvas, 3, dtPreview);
    const std::vector<TDrawRecord> texts = TextsOf(Canvas);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, QStringLiteral("Page 3 from 7"));
    const int w = WidthIn(Canvas, *grid.FooterFont(), QStringLiteral("  "));
    EXPECT_EQ(texts[0].Rect.Right, 4100 - w + 2);
    EXPECT_EQ(texts[0].ClipRect, (TRect{100 + w, 1002, 4100 - w + 2, 1100}));
    // The footer borders still follow the columns.
    std::vector<int> xs;
    for (const TDrawRecord& line : RecordsOf(Canvas.Records(), TDrawRecord::drLine))
        xs.push_back(line.From.X);
    EXPECT_EQ(xs, (std::vector<int>{100, 400}));
}

TEST_F(PJTextGridTest, FontsAlwaysNotifyAndClipModeOnlyWhenChanged)
{
    int updates = 0;
    Grid.SetOnUpdate([&](TComponent*) { ++updates; });
    TFont same;
    same.Assign(*Grid.PageFont());
    Grid.SetPageFont(&same);
    EXPECT_EQ(updates, 1);
    Grid.SetClipMode(cmEllipsis);
    EXPECT_EQ(updates, 1);
    Grid.SetClipMode(cmClip);
    EXPECT_EQ(updates, 2);
    // The job copies the font; the caller's object stays the caller's.
    same.SetSize(30);
    EXPECT_EQ(Grid.PageFont()->Size(), 12);
}

TEST(TextGridLifetime, OnDestroySeesTheFontsStillThere)
{
    // Regression: the handler ran after the text grid's fonts were freed.
    int size = 0;
    auto* job = new TCustomTextGridPrintJob(nullptr);
    job->SetOnDestroy([&size](TComponent* sender) {
        size = static_cast<TCustomTextGridPrintJob*>(sender)->PageFont()->Size();
    });
    delete job;
    EXPECT_EQ(size, 12);
}
