#pragma once
// Graphic objects of the canvas: font, pen, brush and bitmap, with the framework's meanings.

#include "platform/core/Types.h"

#include <QFont>
#include <QImage>
#include <QPen>
#include <QBrush>
#include <QMetaType>
#include <memory>

namespace Vellaro {

enum TFontStyle : unsigned { fsBold = 1u << 0, fsItalic = 1u << 1, fsUnderline = 1u << 2, fsStrikeOut = 1u << 3 };
using TFontStyles = unsigned;

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

/// The screen's logical resolution that a new font measures its points against.
constexpr int DefaultPixelsPerInch = 96;

/// A font. Height is the stored quantity: negative for the character height in pixels,
/// positive for the cell height (characters plus internal leading). Size is in points and is
/// turned into Height through PixelsPerInch, so a canvas resolves points against its own device.
class VELLARO_EXPORT TFont {
public:
    TFont();
    QString Name() const { return FName; }
    void SetName(const QString& name) { FName = name; }
    int Size() const;
    void SetSize(int points);
    int Height() const { return FHeight; }
    void SetHeight(int height) { FHeight = height; }
    TColor Color() const { return FColor; }
    void SetColor(TColor color) { FColor = color; }
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles style) { FStyle = style; }
    /// Changing the resolution keeps Height; Size then reads differently.
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int ppi) { FPixelsPerInch = ppi > 0 ? ppi : DefaultPixelsPerInch; }
    void Assign(const TFont& source);
    /// The QFont with a pixel size that reproduces Height.
    QFont ToQFont() const;
    friend bool operator==(const TFont&, const TFont&) = default;

private:
    QString FName;
    int FHeight;
    TColor FColor = clBlack;
    TFontStyles FStyle = 0;
    int FPixelsPerInch = DefaultPixelsPerInch;
};

/// A pen. Width 0 draws one device pixel at any mapping.
class VELLARO_EXPORT TPen {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor color) { FColor = color; }
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode mode) { FMode = mode; }
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle style) { FStyle = style; }
    int Width() const { return FWidth; }
    void SetWidth(int width) { FWidth = width < 0 ? 0 : width; }
    void Assign(const TPen& source) { *this = source; }
    QPen ToQPen() const;
    friend bool operator==(const TPen&, const TPen&) = default;

private:
    TColor FColor = clBlack;
    TPenMode FMode = pmCopy;
    TPenStyle FStyle = psSolid;
    int FWidth = 1;
};

/// A brush.
class VELLARO_EXPORT TBrush {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor color) { FColor = color; }
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle style) { FStyle = style; }
    void Assign(const TBrush& source) { *this = source; }
    QBrush ToQBrush() const;
    friend bool operator==(const TBrush&, const TBrush&) = default;

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

class TCanvas;
class TDeviceContext;

/// A bitmap held as a 32-bit image, with a canvas to draw on it.
class VELLARO_EXPORT TBitmap {
public:
    TBitmap();
    TBitmap(int width, int height);
    explicit TBitmap(const QImage& image);
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }
    bool Empty() const { return FImage.isNull(); }
    /// Resizes to width x height, filled white.
    void SetSize(int width, int height);
    void Assign(const TBitmap& source);
    /// Loads an image file (or a Qt resource path such as ":/vellaro/SMALL.bmp").
    void LoadFromFile(const QString& path);
    /// Loads the library's resource of that name.
    void LoadFromResourceName(const QString& name);
    void SaveToFile(const QString& path) const;
    /// The image; finishes any drawing on the canvas first.
    const QImage& Image() const;
    /// A canvas drawing onto the bitmap.
    TCanvas* Canvas();
    /// The colour of the bottom-left pixel, taken as transparent when Transparent is set.
    TColor TransparentColor() const;
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool transparent) { FTransparent = transparent; }

private:
    void EndPainting() const;
    QImage FImage;
    bool FTransparent = false;
    mutable std::unique_ptr<TDeviceContext> FContext;
    mutable std::unique_ptr<TCanvas> FCanvas;
};

} // namespace Vellaro

// Font and bitmap properties are published as pointers to the objects their components own.
Q_DECLARE_METATYPE(Vellaro::TFont*)
Q_DECLARE_METATYPE(Vellaro::TBitmap*)
