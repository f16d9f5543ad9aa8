#pragma once
// TStringGrid: a table of strings on a Qt table widget, with the members the string grid
// print job reads (column and row counts, on-screen column widths, cell texts).

#include "platform/controls/Controls.h"

#include <QTableWidget>

namespace Vellaro {

/// A grid of text cells. A new grid has 5 columns of 64 pixels and 5 rows. Columns are
/// addressed in the order the user sees them: with ColMoving on, the user drags columns by
/// their header, and column 0 is whichever column shows first.
class VELLARO_EXPORT TStringGrid : public QTableWidget, public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vellaro::ControlsTypes::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(int ColCount READ ColCount WRITE SetColCount)
    Q_PROPERTY(int RowCount READ RowCount WRITE SetRowCount)
    Q_PROPERTY(bool ColSizing READ ColSizing WRITE SetColSizing)
    Q_PROPERTY(bool ColMoving READ ColMoving WRITE SetColMoving)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
public:
    explicit TStringGrid(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TStringGrid() override;
    QWidget* Widget() override { return this; }

    /// The user resizes columns by dragging their header's edges (the header shows while
    /// either ColSizing or ColMoving is on).
    bool ColSizing() const { return FColSizing; }
    void SetColSizing(bool Value);
    /// The user moves columns by dragging their header.
    bool ColMoving() const { return FColMoving; }
    void SetColMoving(bool Value);

    int ColCount() const { return columnCount(); }
    /// Raises EInvalidOperation for a negative count.
    void SetColCount(int Value);
    int RowCount() const { return rowCount(); }
    /// Raises EInvalidOperation for a negative count.
    void SetRowCount(int Value);
    /// The on-screen width of a column in pixels; raises EInvalidOperation outside the grid.
    int ColWidths(int ACol) const;
    void SetColWidths(int ACol, int Width);
    /// The text of a cell; empty for a cell outside the grid.
    QString Cells(int ACol, int ARow) const;
    /// Sets the text of a cell; raises EInvalidOperation outside the grid.
    void SetCells(int ACol, int ARow, const QString& Text);

private:
    void CheckColumn(int ACol) const;
    /// The table's own index of the column shown at ACol.
    int Logical(int ACol) const;
    void ShowHeader();

    bool FColSizing = false;
    bool FColMoving = false;
};

} // namespace Vellaro
