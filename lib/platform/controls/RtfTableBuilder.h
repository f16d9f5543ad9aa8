#pragma once
// Building the tables of an RTF document: row definitions (cell edges, borders, padding,
// merging) as the reader meets them, and the cells' text going into a QTextTable row by row.

#include <QColor>
#include <QTextCursor>
#include <vector>

class QTextTable;

namespace Vellaro {

/// A border: its width in twips (0: none) and colour (invalid: automatic).
struct TRtfBorder {
    int Width = 0;
    QColor Color;
};

/// A cell of a row definition: its right edge in twips, borders, merging and looks.
struct TRtfCellDefinition {
    int Right = 0;
    TRtfBorder Borders[4];
    bool MergeFirst = false, Merged = false, VMergeFirst = false, VMerged = false;
    Qt::Alignment VAlign = Qt::AlignTop;
    QColor Shading;
    /// Padding in twips by side (top, left, bottom, right); -1 takes the row's.
    int Padding[4] = {-1, -1, -1, -1};
};

/// A row definition: its left edge, the space inside its cells (twips), borders and cells.
struct TRtfRowDefinition {
    enum TSide { Top, Left, Bottom, Right };
    int LeftEdge = 0;
    int Gap = 0;
    int Padding[4] = {-1, -1, -1, -1};
    TRtfBorder Borders[4];
    std::vector<TRtfCellDefinition> Cells;
};

/// Puts the reader's table rows into the document at a cursor it shares with the reader.
class TRtfTableBuilder {
public:
    explicit TRtfTableBuilder(QTextCursor& cursor) : FCursor(cursor) {}

    /// The row definition being read; \trowd starts a new one.
    TRtfRowDefinition& Definition() { return FDefinition; }
    void StartDefinition();
    /// The properties of the cell that the next \cellx closes.
    TRtfCellDefinition& PendingCell() { return FPendingCell; }
    void AddCell(int right);

    bool InTable() const { return FTable != nullptr; }
    bool InRow() const { return FInRow; }
    /// Starts a row: a new table after the paragraph at the cursor, or a row appended to the
    /// open table. The cursor goes to the row's first cell.
    void StartRow();
    /// Moves the cursor into the row's current cell, adding a column when the row has more
    /// cells than the table.
    void EnterCell();
    /// Makes the next cell of the row current; the cursor goes there with EnterCell.
    void NextCell();
    /// Gives the row's cells the definition's looks and merges them as it says.
    void EndRow();
    /// Ends the table: the cursor goes to the paragraph after it.
    void Leave();

private:
    void ApplyColumnWidths();
    void ApplyCellFormats();
    void MergeCells();
    void MoveToCell(int column);

    /// More columns than this are read into the last one.
    static constexpr int MaxColumns = 63;

    QTextCursor& FCursor;
    TRtfRowDefinition FDefinition;
    TRtfCellDefinition FPendingCell;
    QTextTable* FTable = nullptr;
    bool FInRow = false;
    bool FWidthsSet = false;
    int FRow = 0;
    int FCell = 0;
    bool FCellEntered = false;
    /// Per column: the row where a vertical merge started, -1 when none is open.
    std::vector<int> FVerticalStart;
};

} // namespace Vellaro
