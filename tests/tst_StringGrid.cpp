// The string grid control: counts, widths and cells on the table widget, bad input refused.
#include "platform/controls/StringGrid.h"

#include <QHeaderView>

#include <gtest/gtest.h>

using namespace Vellaro;

TEST(StringGrid, CellsLiveInTheTableWidgetAndOutsideCellsReadEmpty)
{
    TStringGrid grid;
    EXPECT_EQ(grid.ColCount(), 5);
    EXPECT_EQ(grid.ColWidths(4), 64);
    grid.SetColCount(2);
    grid.SetRowCount(3);
    grid.SetCells(1, 2, QStringLiteral("x"));
    grid.SetCells(1, 2, QStringLiteral("y"));
    EXPECT_EQ(grid.item(2, 1)->text(), QStringLiteral("y"));
    EXPECT_EQ(grid.Cells(1, 2), QStringLiteral("y"));
    EXPECT_EQ(grid.Cells(0, 0), QString());
    EXPECT_EQ(grid.Cells(1, 3), QString());
    EXPECT_EQ(grid.Cells(-1, 0), QString());
    grid.SetColWidths(1, 120);
    EXPECT_EQ(grid.columnWidth(1), 120);
}

TEST(StringGrid, OutOfRangeWritesAndNegativeCountsAreRefused)
{
    TStringGrid grid;
    EXPECT_THROW(grid.SetCells(5, 0, QStringLiteral("x")), EInvalidOperation);
    EXPECT_THROW(grid.SetCells(0, 5, QStringLiteral("x")), EInvalidOperation);
    EXPECT_THROW(grid.ColWidths(5), EInvalidOperation);
    EXPECT_THROW(grid.SetRowCount(-1), EInvalidOperation);
    EXPECT_THROW(grid.SetColCount(-1), EInvalidOperation);
}

TEST(StringGrid, CountsThatWouldTakeGigabytesAreRefused)
{
    // A form file can ask for any count; the table would hold a pointer per cell.
    TStringGrid grid;
    EXPECT_THROW(grid.SetRowCount(2'000'000'000), EInvalidOperation);
    grid.SetRowCount(100'000);
    EXPECT_THROW(grid.SetColCount(1'000), EInvalidOperation);
    grid.SetColCount(100);
    EXPECT_EQ(grid.ColCount(), 100);
    EXPECT_EQ(grid.RowCount(), 100'000);
}

TEST(StringGrid, ColumnsTheUserMovedOrResizedAreReadAsShown)
{
    TStringGrid grid;
    grid.SetColCount(3);
    grid.SetRowCount(2);
    for (int c = 0; c < 3; ++c)
        grid.SetCells(c, 0, QStringLiteral("col%1").arg(c));
    grid.SetColWidths(0, 40);
    EXPECT_TRUE(grid.horizontalHeader()->isHidden()) << "nothing to drag, no header";

    grid.SetColMoving(true);
    grid.SetColSizing(true);
    EXPECT_FALSE(grid.horizontalHeader()->isHidden());
    // The user drags the first column to the end and widens the new first one.
    grid.horizontalHeader()->moveSection(0, 2);
    grid.horizontalHeader()->resizeSection(1, 150);
    EXPECT_EQ(grid.Cells(0, 0), QStringLiteral("col1"));
    EXPECT_EQ(grid.Cells(2, 0), QStringLiteral("col0"));
    EXPECT_EQ(grid.ColWidths(0), 150);
    EXPECT_EQ(grid.ColWidths(2), 40);
    grid.SetCells(2, 1, QStringLiteral("under col0"));
    EXPECT_EQ(grid.item(1, 0)->text(), QStringLiteral("under col0"));
}
