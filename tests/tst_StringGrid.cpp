// The string grid control: counts, widths and cells on the table widget, bad input refused.
#include "platform/controls/StringGrid.h"

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
