#pragma once
// Text grids: every cell shows one line of text in the font of its area (header, page or
// footer), aligned left, right or centred, vertically centred, clipped or shortened with an
// ellipsis. By default the index column numbers the rows and the footer shows the page number.

#include "gridjobs/PJGrid.h"
#include "platform/controls/Alignment.h"

#include <functional>
#include <memory>

namespace Vellaro {

namespace PJTextGridTypes {
Q_NAMESPACE_EXPORT(VELLARO_EXPORT)
/// How cell text that does not fit is treated: drawn on, clipped, or cut with an ellipsis.
enum TClipMode { cmNone, cmClip, cmEllipsis };
Q_ENUM_NS(TClipMode)
} // namespace PJTextGridTypes
using namespace PJTextGridTypes;

/// A grid job whose cells hold one line of text each, in a font per area.
class VELLARO_EXPORT TCustomTextGridPrintJob : public TCustomGridPrintJob {
    Q_OBJECT
public:
    /// A text grid with Arial 12 pt in all three areas and text cut with an ellipsis.
    explicit TCustomTextGridPrintJob(TComponent* AOwner = nullptr);
    ~TCustomTextGridPrintJob() override;

    /// Fonts of the header, data and footer cells; setting one copies it and always updates.
    TFont* HeaderFont() const { return FHeaderFont.get(); }
    /// Copies Value into HeaderFont (null keeps it) and updates the job.
    void SetHeaderFont(const TFont* Value);
    /// The font of the data cells and the index column's numbers; Arial 12 pt by default.
    TFont* PageFont() const { return FPageFont.get(); }
    /// Copies Value into PageFont (null keeps it) and updates the job.
    void SetPageFont(const TFont* Value);
    /// The font of the footer cells; Arial 12 pt by default.
    TFont* FooterFont() const { return FFooterFont.get(); }
    /// Copies Value into FooterFont (null keeps it) and updates the job.
    void SetFooterFont(const TFont* Value);
    /// How text wider than its cell is treated; cut with an ellipsis (cmEllipsis) by default.
    TClipMode ClipMode() const { return FClipMode; }
    /// Sets ClipMode and updates the job.
    void SetClipMode(TClipMode Value);

    /// The index column is as wide as four spaces and the digits of IndexStart + RowCount, plus
    /// 2, in the canvas's current font; data columns are 0 wide until a descendant says otherwise.
    int GetColWidth(TCanvas* Canvas, int ACol) override;
    /// Draws the cell's text in its area's font with the clip mode and the cell's alignment.
    void DrawCell(TCanvas* Canvas, const TRect& Rect, int PageIndex, int ACol, int ARow, TDrawTarget Target) override;
    /// "#" over the index column, row numbers from IndexStart in it, "Page %d from %d" in the
    /// footer cell of the last column, empty elsewhere.
    virtual QString GetCellText(int PageIndex, int ACol, int ARow);
    /// Right for the index column and the footer row, left elsewhere.
    virtual TAlignment GetCellAlignment(int ACol, int ARow);

protected:
    /// The index column width in the canvas's current font.
    int IndexColWidth(TCanvas* Canvas);

private:
    void AssignFont(TFont* target, const TFont* Value);

    std::unique_ptr<TFont> FHeaderFont;
    std::unique_ptr<TFont> FPageFont;
    std::unique_ptr<TFont> FFooterFont;
    TClipMode FClipMode = cmEllipsis;
};

/// A text grid whose footer area is one cell across the whole footer (the page number at the
/// right by default). The jobs printing another control's or a dataset's contents build on it.
class VELLARO_EXPORT TSpecialTextGridPrintJob : public TCustomTextGridPrintJob {
    Q_OBJECT
public:
    /// See TCustomTextGridPrintJob::TCustomTextGridPrintJob.
    using TCustomTextGridPrintJob::TCustomTextGridPrintJob;
    /// The footer is one spanning cell of the last column; other areas as in any grid.
    void DrawArea(TCanvas* TheCanvas, int PageIndex, TRect TheRect, TDrawArea Area, TDrawTarget Target) override;

protected:
    /// Width of column ACol for a job that spreads source columns over the page width in
    /// proportion to their widths, measured in PageFont. SourceWidth(c) is the width of source
    /// column c for 0 <= c < SourceCount. Columns without a source, and every column when the
    /// source widths add up to 0, are 0 wide.
    int ProportionalColWidth(TCanvas* Canvas, int ACol, int SourceCount, const std::function<int(int)>& SourceWidth);
};

/// Puts a font on a canvas for the lifetime of the object and gives the canvas its old font back.
class VELLARO_EXPORT TCanvasFontSaver {
public:
    /// Keeps Canvas's font and puts Font on the canvas.
    TCanvasFontSaver(TCanvas* Canvas, const TFont& Font);
    /// Gives the canvas its old font back.
    ~TCanvasFontSaver();
    TCanvasFontSaver(const TCanvasFontSaver&) = delete;
    TCanvasFontSaver& operator=(const TCanvasFontSaver&) = delete;

private:
    TCanvas* FCanvas;
    TFont FSaved;
};

} // namespace Vellaro
