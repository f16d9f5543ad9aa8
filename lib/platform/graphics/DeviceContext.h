#pragma once
// The device context behind a canvas: coordinate mapping (window and viewport extents and
// origins), device capabilities, the selected font, pen and brush, and the drawing primitives
// in logical coordinates. It paints through a QPainter, records every call in device
// coordinates (the recording printer), or only measures (an information context).

#include "platform/graphics/Graphics.h"
#include "platform/core/Types.h"

#include <QFontMetrics>
#include <QHash>
#include <QPointF>
#include <QTextLayout>
#include <QTransform>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPainter;
class QPaintDevice;

namespace Vellaro {

// Mapping modes.
constexpr int MM_TEXT = 1;
constexpr int MM_ANISOTROPIC = 8;

// Device capability indexes.
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

// Text formats of DrawText.
constexpr unsigned DT_TOP = 0x0;
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_VCENTER = 0x4;
constexpr unsigned DT_BOTTOM = 0x8;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_NOCLIP = 0x100;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;

// Bitmap transfer.
constexpr unsigned DIB_RGB_COLORS = 0;
constexpr std::uint32_t SRCCOPY = 0x00CC0020;

/// One drawing call as it reached the device, in device pixels.
struct VELLARO_EXPORT TDrawRecord {
    enum TKind { drLine, drRectangle, drFillRect, drText, drBitmap };
    TKind Kind = drLine;
    TPoint From;          ///< drLine: start point
    TPoint To;            ///< drLine: end point (left out of the line)
    TRect Rect;           ///< rectangle, fill, text box or bitmap destination
    TRect ClipRect;       ///< drText: the clipping rectangle, empty when not clipped
    QString Text;         ///< drText: the text as drawn (an ellipsis included)
    TColor Color = 0;     ///< pen colour, or the font colour for text
    TColor BrushColor = 0;
    TBrushStyle BrushStyle = bsSolid;
    TPenStyle PenStyle = psSolid;
    int PenWidth = 0;     ///< in device pixels; 0 is the one-pixel pen
    QString FontName;
    int FontHeight = 0;   ///< in device pixels, negative for the character height
    TFontStyles FontStyle = 0;
    unsigned Format = 0;  ///< drText from DrawText: its format flags
    QSize SourceSize;     ///< drBitmap: the size of the source image
};

/// Keeps the drawing calls of a recording device, page by page.
class VELLARO_EXPORT TDrawRecorder {
public:
    TDrawRecorder() { Clear(); }
    void Clear() { FPages.assign(1, {}); }
    void NewPage() { FPages.emplace_back(); }
    void Add(TDrawRecord record) { FPages.back().push_back(std::move(record)); }
    int PageCount() const { return int(FPages.size()); }
    /// The records of page index (0-based).
    const std::vector<TDrawRecord>& Page(int index) const { return FPages.at(size_t(index)); }
    const std::vector<TDrawRecord>& Current() const { return FPages.back(); }

private:
    std::vector<std::vector<TDrawRecord>> FPages;
};

/// A device context. Coordinates given to the drawing operations are logical; the mapping
/// turns them into device pixels: device = (logical - window origin) * viewport extent /
/// window extent + viewport origin, in MM_ANISOTROPIC; device = logical in MM_TEXT.
class VELLARO_EXPORT TDeviceContext {
public:
    /// Paints on the device with a painter of its own.
    TDeviceContext(QPaintDevice* device, int dpiX, int dpiY);
    /// Paints with a painter someone else began (a widget's paint event).
    TDeviceContext(QPainter* painter, int dpiX, int dpiY);
    /// Records every call, draws nothing.
    TDeviceContext(TDrawRecorder* recorder, int dpiX, int dpiY);
    /// Measures only.
    TDeviceContext(int dpiX, int dpiY);
    ~TDeviceContext();
    TDeviceContext(const TDeviceContext&) = delete;
    TDeviceContext& operator=(const TDeviceContext&) = delete;

    // Mapping.
    int MapMode() const { return FMapMode; }
    int SetMapMode(int mode);
    TSize WindowExt() const { return FWindowExt; }
    TSize ViewportExt() const { return FViewportExt; }
    TPoint WindowOrg() const { return FWindowOrg; }
    TPoint ViewportOrg() const { return FViewportOrg; }
    TSize SetWindowExt(int cx, int cy);
    TSize SetViewportExt(int cx, int cy);
    TPoint SetWindowOrg(int x, int y);
    TPoint SetViewportOrg(int x, int y);
    /// The viewport origin with its part of a device pixel. A reduced page whose place falls
    /// between two device pixels (a cell at 793 / 2) is put there exactly with SetViewportOrgF,
    /// so its drawing lands where a finer device has it; SetViewportOrg drops the part.
    QPointF ViewportOrgF() const { return QPointF(FViewportOrg.X, FViewportOrg.Y) + FViewportOrgPart; }
    void SetViewportOrgF(QPointF origin);
    /// Resets to MM_TEXT with unit extents and zero origins (a new page).
    void ResetMapping();
    /// Logical to device, as a transform.
    QTransform Transform() const;
    TPoint LPtoDP(TPoint p) const;
    TRect LPtoDP(const TRect& r) const;

    int GetDeviceCaps(int index) const;
    /// The size of the device in device pixels (0 x 0 for a measuring context); a printer
    /// sets it again when a page of another shape starts.
    void SetDeviceSize(QSize size);

    // Selected objects.
    void SelectFont(const TFont& font);
    void SelectPen(const TPen& pen) { FPen = pen; }
    void SelectBrush(const TBrush& brush) { FBrush = brush; }
    const TFont& Font() const { return FFont; }
    const TPen& Pen() const { return FPen; }
    const TBrush& Brush() const { return FBrush; }

    // Drawing in logical coordinates with the selected objects.
    /// A line from a to b; b itself is left out.
    void Line(TPoint a, TPoint b);
    /// Outlined with the pen, filled with the brush; Right and Bottom lie outside.
    void Rectangle(const TRect& r);
    /// Filled with the brush only.
    void FillRect(const TRect& r);
    /// Text with its cell's top-left corner at (x, y); with a non-clear brush its box is filled.
    /// format is what DrawText passes on, kept in the record. Returns the text's extent.
    TSize TextOut(int x, int y, const QString& text, const TRect* clip = nullptr, bool fillClip = false, unsigned format = 0);
    TSize TextExtent(const QString& text) const;
    /// The framework's DrawText for single lines; returns the text height.
    int DrawText(const QString& text, TRect& rect, unsigned format);
    /// Draws the source part of image stretched into dest.
    void StretchImage(const TRect& dest, const QImage& image, const QRect& source);

    /// The painter, for drawing this context does not offer (rich text). Lines still waiting
    /// to be drawn are drawn first, and the painter's state is taken as unknown afterwards.
    QPainter* Painter();
    /// The painter's world transform that draws in logical coordinates: the mapping on top of
    /// the painter's own transform. For drawing that goes to Painter() directly.
    QTransform PainterTransform() const { return Transform() * FBaseTransform; }
    TDrawRecorder* Recorder() const { return FRecorder; }
    /// Draws the lines still waiting to be merged. Devices call it before a new page or the
    /// document's end; every other primitive and the destructor call it themselves.
    void Flush();
    /// The page is blank paper from here on (a printer's new page): filling unpainted paper with
    /// white shows nothing, so such fills are left out.
    void StartBlankPage();
    /// Runs once, before the next call that paints (a printer starts a deferred page there).
    void SetBeforePaint(std::function<void()> action) { FBeforePaint = std::move(action); }
    /// The width of a text in device pixels of the selected font, measured in 64 bits (Qt's own
    /// measure overflows past about 33 million pixels).
    std::int64_t TextWidth64(const QString& text) const;

private:
    void Init(int dpiX, int dpiY);
    /// The device's area in the coordinates the painter was handed in, from the device size.
    void UpdateVisibleArea();
    void ApplyDeviceSpace();
    void ApplyLogicalSpace();
    TDrawRecord BaseRecord(TDrawRecord::TKind kind) const;
    int DevicePenWidth() const;
    int DeviceFontHeight() const;
    QString ElidedToWidth(const QString& text, std::int64_t textWidth, int width) const;
    TSize TextOutMeasured(int x, int y, const QString& text, std::int64_t width, const TRect* clip, bool fillClip, unsigned format);
    /// The width of a text about to be drawn. On a painter the text is shaped once, here, and
    /// drawn from that shape, instead of being shaped again by QPainter::drawText.
    std::int64_t MeasureForDrawing(const QString& text);
    void DrawShapedText(int x, int y, const QString& text);
    // Painter state is set only when it changes: every change is an operator in a PDF.
    void UsePen(const QPen& pen);
    void UseComposition(int mode);
    void UseFont();
    /// False when a device rectangle lies wholly outside the device (nothing of it can show).
    bool Visible(const QRect& deviceRect) const;
    void DrawLineNow(TPoint from, TPoint to);
    void BeforePaint();
    /// The blocks of the painted map a device rectangle touches, clamped to the map.
    QRect PaintedBlocks(const QRect& deviceRect) const;
    void MarkPainted(const QRect& deviceRect);
    /// True when no call of this page painted anywhere in the device rectangle.
    bool Unpainted(const QRect& deviceRect) const;
    /// Fills a logical rectangle with a colour, unless it is white on unpainted paper.
    void FillLogical(const TRect& r, TColor color);
    void QueueLine(TPoint from, TPoint to);

    QPainter* FPainter = nullptr;
    std::unique_ptr<QPainter> FOwnPainter;
    QTransform FBaseTransform;
    TDrawRecorder* FRecorder = nullptr;
    int FDpiX = 96;
    int FDpiY = 96;
    QSize FDeviceSize;
    int FMapMode = MM_TEXT;
    TSize FWindowExt{1, 1};
    TSize FViewportExt{1, 1};
    TPoint FWindowOrg;
    TPoint FViewportOrg;
    QPointF FViewportOrgPart;
    TFont FFont;
    QFont FQFont;
    std::unique_ptr<QFontMetrics> FMetrics;
    mutable QHash<QString, int> FShortWidths;
    // The short text measured last: a grid measures its cells' inset once a cell.
    mutable QString FLastShortText;
    mutable std::int64_t FLastShortWidth = -1;
    /// The last text shaped for drawing, in the selected font.
    struct TShapedText {
        QString Text;
        std::unique_ptr<QTextLayout> Layout;
    };
    std::optional<TShapedText> FShaped;
    TPen FPen;
    TBrush FBrush;

    // What the painter holds now, so unchanged state is not set again.
    bool FPainterStateKnown = false;
    QPen FPainterPen;
    int FPainterComposition = 0;
    bool FPainterFontCurrent = false;
    /// The device's area in this context's device coordinates; empty when unknown.
    QRect FVisible;
    /// Solid lines of one pen, drawn together so that touching and overlapping pieces of the
    /// same row or column become one line (a grid's cells share their borders).
    struct TQueuedLine {
        TPoint From, To;
    };
    std::vector<TQueuedLine> FQueuedLines;
    QPen FQueuedPen;
    // What FQueuedPen was made from: a grid's borders queue one pen thousands of times a page.
    TColor FQueuedColor = clBlack;
    int FQueuedWidth = -1;
    /// The pen text is drawn with, kept while the font's colour stays.
    QPen FTextPen;
    std::function<void()> FBeforePaint;
    /// Where this page has been painted, in blocks of PaintedBlock device pixels; empty when
    /// the page's content is not known (not a printer page, or the painter was handed out).
    static constexpr int PaintedBlock = 16;
    /// The part of one block painted so far, in pixels within the block, ends included; empty
    /// while Left > Right. A box rather than a flag: the blank strip between two rows of text
    /// that share a block is not taken for paint.
    struct TPaintedBox {
        std::uint8_t Left = PaintedBlock, Top = PaintedBlock, Right = 0, Bottom = 0;
    };
    std::vector<TPaintedBox> FPainted;
    int FPaintedColumns = 0;
};

// The platform's calls, by their usual names, on a context.
VELLARO_EXPORT int SetMapMode(TDeviceContext* dc, int mode);
VELLARO_EXPORT bool SetWindowExtEx(TDeviceContext* dc, int cx, int cy, TSize* old);
VELLARO_EXPORT bool SetViewportExtEx(TDeviceContext* dc, int cx, int cy, TSize* old);
VELLARO_EXPORT bool SetWindowOrgEx(TDeviceContext* dc, int x, int y, TPoint* old);
VELLARO_EXPORT bool SetViewportOrgEx(TDeviceContext* dc, int x, int y, TPoint* old);
/// Viewport extent := extent * num / den in each direction (integer division).
VELLARO_EXPORT bool ScaleViewportExtEx(TDeviceContext* dc, int xNum, int xDenom, int yNum, int yDenom, TSize* old);
VELLARO_EXPORT bool GetWindowExtEx(TDeviceContext* dc, TSize* size);
VELLARO_EXPORT bool GetViewportExtEx(TDeviceContext* dc, TSize* size);
VELLARO_EXPORT bool GetViewportOrgEx(TDeviceContext* dc, TPoint* point);
VELLARO_EXPORT int GetDeviceCaps(TDeviceContext* dc, int index);
VELLARO_EXPORT bool GetTextExtentPoint32(TDeviceContext* dc, const QString& text, TSize* size);
VELLARO_EXPORT int DrawText(TDeviceContext* dc, const QString& text, TRect* rect, unsigned format);

/// A device-independent bitmap: a header and its rows, bottom row first, 32 bits a pixel.
struct TBitmapInfoHeader {
    int biWidth = 0;
    int biHeight = 0;
    int biBitCount = 32;
    int biSizeImage = 0;
};
/// The sizes of a bitmap's device-independent header and bits.
VELLARO_EXPORT void GetDIBSizes(const TBitmap& bitmap, int& infoHeaderSize, int& imageSize);
/// Fills the header and the bits (blocks of the sizes GetDIBSizes gave).
VELLARO_EXPORT bool GetDIB(const TBitmap& bitmap, TBitmapInfoHeader* info, std::uint8_t* bits, int bitsSize);
/// Copies the source part of a device-independent bitmap stretched onto the destination.
VELLARO_EXPORT int StretchDIBits(TDeviceContext* dc, int destX, int destY, int destWidth, int destHeight,
    int srcX, int srcY, int srcWidth, int srcHeight, const std::uint8_t* bits, const TBitmapInfoHeader* info,
    unsigned usage, std::uint32_t rop);

} // namespace Vellaro
