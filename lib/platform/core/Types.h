#pragma once
// Basic value types shared by every unit: rectangles and points in the framework's
// left/top/right/bottom form, colours as 0x00BBGGRR, and the library's exception classes.

#include "vellaro_export.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>

namespace Vellaro {

/// A point in device or logical pixels.
struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

/// A size in device or logical pixels.
struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

/// A rectangle whose Right and Bottom lie just outside it, as the framework defines.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    /// Converts to a QRect covering the same pixels (QRect's right edge is inclusive).
    QRect ToQRect() const { return QRect(QPoint(Left, Top), QSize(Width(), Height())); }
    static TRect FromQRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }

/// The common part of two rectangles (empty, possibly inverted, when they do not meet).
inline TRect Intersection(const TRect& a, const TRect& b)
{
    return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
}

/// Saturates a 64-bit coordinate to the 32-bit range, so far-off values never wrap around.
inline int ClampToInt(std::int64_t value)
{
    return value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : int(value);
}

/// A colour as 0x00BBGGRR: red in the low byte, blue in the high byte.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clGreen = 0x008000;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clNavy = 0x800000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBtnFace = 0xF0F0F0;
constexpr TColor clAppWorkSpace = 0xABABAB;

/// Turns 0x00BBGGRR into a QColor.
inline QColor ToQColor(TColor c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }
/// Turns a QColor into 0x00BBGGRR.
inline TColor FromQColor(const QColor& c) {
    return TColor(c.red()) | (TColor(c.green()) << 8) | (TColor(c.blue()) << 16);
}

/// The base class of every exception the library and its platform layer raise.
class VELLARO_EXPORT Exception : public std::exception {
public:
    explicit Exception(QString message) : FMessage(std::move(message)), FUtf8(FMessage.toStdString()) {}
    const QString& Message() const { return FMessage; }
    const char* what() const noexcept override { return FUtf8.c_str(); }

private:
    QString FMessage;
    std::string FUtf8;
};

/// Raised by the printer: no printer, a document already open, a file that cannot be written.
class VELLARO_EXPORT EPrinter : public Exception {
    using Exception::Exception;
};

/// Raised by a floating-point division by zero (e.g. a conversion into percent of nothing).
class VELLARO_EXPORT EZeroDivide : public Exception {
    using Exception::Exception;
};

/// Raised for misuse of components: duplicate names, bad list indexes.
class VELLARO_EXPORT EComponentError : public Exception {
    using Exception::Exception;
};

/// Raised for an operation that is invalid in the current state.
class VELLARO_EXPORT EInvalidOperation : public Exception {
    using Exception::Exception;
};

/// A set of values of an enumeration whose values run from 0 (at most 32 of them).
template<class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items)
    {
        for (E e : items)
            FBits |= Bit(e);
    }
    constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TSet& Include(E e) { FBits |= Bit(e); return *this; }
    constexpr TSet& Exclude(E e) { FBits &= ~Bit(e); return *this; }
    constexpr TSet operator+(TSet other) const { return FromBits(FBits | other.FBits); }
    constexpr TSet operator-(TSet other) const { return FromBits(FBits & ~other.FBits); }
    constexpr TSet operator*(TSet other) const { return FromBits(FBits & other.FBits); }
    constexpr std::uint32_t Bits() const { return FBits; }
    static constexpr TSet FromBits(std::uint32_t bits) { TSet s; s.FBits = bits; return s; }
    friend constexpr bool operator==(TSet, TSet) = default;

private:
    static constexpr std::uint32_t Bit(E e) { return std::uint32_t(1) << unsigned(e); }
    std::uint32_t FBits = 0;
};

/// Rounds to the nearest integer with ties going to the even neighbour (2.5 -> 2, 3.5 -> 4).
VELLARO_EXPORT double RoundHalfEven(double value);
/// RoundHalfEven as an int.
VELLARO_EXPORT int Round(double value);
/// a * b / c computed in 64 bits and rounded to nearest, as the framework's MulDiv.
VELLARO_EXPORT int MulDiv(int a, int b, int c);

} // namespace Vellaro
