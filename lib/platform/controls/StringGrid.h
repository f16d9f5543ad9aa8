#pragma once
// TStringGrid: a table of strings on a Qt table widget, with the members the string grid
// print job reads (column and row counts, on-screen column widths, cell texts).

#include "platform/controls/Control.h"

#include <QTableWidget>

namespace Vellaro {

/// A grid of text cells. A new grid has 5 columns of 64 pixels and 5 rows.
class VELLARO_EXPORT TStringGrid : public QTableWidget, public TControl {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int ColCount READ ColCount WRITE SetColCount)
    Q_PROPERTY(int RowCount READ RowCount WRITE SetRowCount)
public:
    explicit TStringGrid(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TStringGrid() override;

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
};

} // namespace Vellaro
