#pragma once
// TCanvas: the drawing surface the jobs draw on, with its font, pen and brush. It draws
// through a device context (Handle), which maps logical coordinates to the device.

#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Graphics.h"

namespace Vellaro {

enum TCopyMode : std::uint32_t { cmSrcCopy = SRCCOPY };

class VELLARO_EXPORT TCanvas {
public:
    TCanvas() = default;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TFont* Font() { return &FFont; }
    TPen* Pen() { return &FPen; }
    TBrush* Brush() { return &FBrush; }
    void SetFont(const TFont& font) { FFont.Assign(font); }
    void SetPen(const TPen& pen) { FPen.Assign(pen); }
    void SetBrush(const TBrush& brush) { FBrush.Assign(brush); }

    /// The device context, with the canvas's font, pen and brush selected into it.
    TDeviceContext* Handle();
    void SetHandle(TDeviceContext* dc) { FHandle = dc; }
    bool HandleAllocated() const { return FHandle != nullptr; }

    TPoint PenPos() const { return FPenPos; }
    void SetPenPos(TPoint p) { FPenPos = p; }
    void MoveTo(int X, int Y) { FPenPos = {X, Y}; }
    /// Draws from the pen position to (X, Y), leaving out (X, Y), and moves the pen there.
    void LineTo(int X, int Y);
    void Rectangle(int X1, int Y1, int X2, int Y2) { Rectangle(TRect{X1, Y1, X2, Y2}); }
    void Rectangle(const TRect& rect);
    void FillRect(const TRect& rect);
    void TextOut(int X, int Y, const QString& text);
    /// Text at (X, Y) clipped to rect; a non-clear brush fills the whole rect first.
    void TextRect(const TRect& rect, int X, int Y, const QString& text);
    int TextWidth(const QString& text) { return TextExtent(text).cx; }
    int TextHeight(const QString& text) { return TextExtent(text).cy; }
    TSize TextExtent(const QString& text);
    void StretchDraw(const TRect& rect, const TBitmap& bitmap);
    /// Copies part of a bitmap's canvas onto this canvas, stretched into dest.
    void CopyRect(const TRect& dest, TBitmap& source, const TRect& sourceRect);
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode mode) { FCopyMode = mode; }

private:
    TDeviceContext* RequireHandle();

    TDeviceContext* FHandle = nullptr;
    TFont FFont;
    TPen FPen;
    TBrush FBrush;
    TPoint FPenPos;
    TCopyMode FCopyMode = cmSrcCopy;
};

} // namespace Vellaro
