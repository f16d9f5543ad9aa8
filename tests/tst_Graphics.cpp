// The drawing rules the jobs rely on: rounding, fonts, the canvas over a real image and over
// the recorder, and the device context's mapping.
#include "platform/graphics/Canvas.h"

#include <QFontInfo>
#include <QImage>
#include <gtest/gtest.h>

using namespace Vellaro;

TEST(Rounding, TiesGoToTheEvenNeighbour)
{
    const struct { double in; int out; } cases[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {0.5, 0}, {1.5, 2}, {2.4999, 2}, {2.5001, 3}, {-3.5, -4}};
    for (const auto& c : cases)
        EXPECT_EQ(Round(c.in), c.out) << c.in;
    EXPECT_THROW(Round(1e12), Exception);
}

TEST(Fonts, ArialResolvesToARealFamily)
{
    // Without fonts installed nothing would be drawn and nothing would say so.
    QFont font(QStringLiteral("Arial"));
    const QFontInfo info(font);
    EXPECT_FALSE(info.family().isEmpty());
    EXPECT_TRUE(info.family().contains(QStringLiteral("Liberation Sans")) || info.family() == QStringLiteral("Arial"))
        << info.family().toStdString();
}

TEST(Fonts, SizeFollowsPixelsPerInchAndNegativeHeightIsCharacterHeight)
{
    TFont font;
    font.SetPixelsPerInch(600);
    font.SetSize(12);
    EXPECT_EQ(font.Height(), -100);
    EXPECT_EQ(font.ToQFont().pixelSize(), 100);
    font.SetPixelsPerInch(96);                 // keeps the height
    EXPECT_EQ(font.Height(), -100);
    EXPECT_EQ(font.Size(), 75);
    TFont screen;                               // 96 ppi
    screen.Assign(font);                        // same look, measured at its own resolution
    EXPECT_EQ(screen.Size(), 75);
    font.SetHeight(50);                         // positive: cell height
    EXPECT_LT(font.ToQFont().pixelSize(), 50);
}

namespace {
QImage WhiteImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}
bool IsBlack(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 64;
}
} // namespace

TEST(CanvasOnImage, LineLeavesOutItsEndPoint)
{
    QImage image = WhiteImage(20, 20);
    {
        TDeviceContext dc(&image, 96, 96);
        TCanvas canvas;
        canvas.SetHandle(&dc);
        canvas.Pen()->SetWidth(0);
        canvas.MoveTo(2, 5);
        canvas.LineTo(10, 5);
        canvas.MoveTo(3, 8);
        canvas.LineTo(3, 12);
    }
    EXPECT_TRUE(IsBlack(image, 2, 5));
    EXPECT_TRUE(IsBlack(image, 9, 5));
    EXPECT_FALSE(IsBlack(image, 10, 5));
    EXPECT_FALSE(IsBlack(image, 1, 5));
    EXPECT_TRUE(IsBlack(image, 3, 11));
    EXPECT_FALSE(IsBlack(image, 3, 12));
}

TEST(CanvasOnImage, ZeroWidthPenIsOneDevicePixelAtAnyMapping)
{
    QImage image = WhiteImage(100, 100);
    {
        TDeviceContext dc(&image, 96, 96);
        TCanvas canvas;
        canvas.SetHandle(&dc);
        SetMapMode(&dc, MM_ANISOTROPIC);
        SetWindowExtEx(&dc, 10, 10, nullptr);
        SetViewportExtEx(&dc, 100, 100, nullptr); // ten device pixels per logical unit
        canvas.Pen()->SetWidth(0);
        canvas.MoveTo(1, 5);
        canvas.LineTo(9, 5);
    }
    EXPECT_TRUE(IsBlack(image, 50, 50));
    EXPECT_FALSE(IsBlack(image, 50, 49));
    EXPECT_FALSE(IsBlack(image, 50, 51));
}

TEST(CanvasOnImage, RectangleOutlinesWithPenAndFillsWithBrushFillRectUsesBrushOnly)
{
    QImage image = WhiteImage(40, 40);
    {
        TDeviceContext dc(&image, 96, 96);
        TCanvas canvas;
        canvas.SetHandle(&dc);
        canvas.Pen()->SetColor(clBlack);
        canvas.Brush()->SetColor(clRed);
        canvas.Rectangle(5, 5, 15, 15);
        canvas.Brush()->SetColor(clBlue);
        canvas.FillRect(TRect{20, 20, 30, 30});
    }
    EXPECT_TRUE(IsBlack(image, 5, 5));
    EXPECT_TRUE(IsBlack(image, 14, 14));
    EXPECT_FALSE(IsBlack(image, 15, 15));
    EXPECT_EQ(QColor(image.pixel(10, 10)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(20, 20)), QColor(Qt::blue));
    EXPECT_EQ(QColor(image.pixel(29, 29)), QColor(Qt::blue));
    EXPECT_EQ(QColor(image.pixel(30, 30)), QColor(Qt::white));
}

TEST(DeviceContext, AnisotropicMappingScalesAndRestores)
{
    TDrawRecorder recorder;
    TDeviceContext dc(&recorder, 600, 600);
    TCanvas canvas;
    canvas.SetHandle(&dc);
    // Extents are ignored until the mode is anisotropic.
    SetWindowExtEx(&dc, 4800, 6600, nullptr);
    EXPECT_EQ(dc.WindowExt(), (TSize{1, 1}));
    SetMapMode(&dc, MM_ANISOTROPIC);
    TSize oldWindow, oldViewport;
    SetWindowExtEx(&dc, 4800, 6600, &oldWindow);
    SetViewportExtEx(&dc, 480, 660, &oldViewport);
    SetViewportOrgEx(&dc, 10, 20, nullptr);
    canvas.MoveTo(1000, 2000);
    canvas.LineTo(3000, 2000);
    TSize beforeScale;
    ScaleViewportExtEx(&dc, 1, 2, 1, 2, &beforeScale);
    EXPECT_EQ(beforeScale, (TSize{480, 660}));
    EXPECT_EQ(dc.ViewportExt(), (TSize{240, 330}));
    SetViewportExtEx(&dc, oldViewport.cx, oldViewport.cy, nullptr);
    SetWindowExtEx(&dc, oldWindow.cx, oldWindow.cy, nullptr);
    EXPECT_EQ(dc.WindowExt(), (TSize{1, 1}));
    ASSERT_EQ(recorder.Current().size(), 1u);
    EXPECT_EQ(recorder.Current()[0].From, (TPoint{110, 220}));
    EXPECT_EQ(recorder.Current()[0].To, (TPoint{310, 220}));
    EXPECT_EQ(GetDeviceCaps(&dc, LOGPIXELSX), 600);
}

TEST(DeviceContext, DrawTextAlignsCentresAndEllipsizes)
{
    TDrawRecorder recorder;
    TDeviceContext dc(&recorder, 600, 600);
    TCanvas canvas;
    canvas.SetHandle(&dc);
    canvas.Font()->SetPixelsPerInch(600);
    canvas.Font()->SetSize(10);
    const TSize extent = canvas.TextExtent(QStringLiteral("Total"));
    TRect cell{100, 200, 1100, 400};
    const unsigned base = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    DrawText(canvas.Handle(), QStringLiteral("Total"), &cell, base | DT_RIGHT);
    DrawText(canvas.Handle(), QStringLiteral("Total"), &cell, base | DT_CENTER);
    const QString longText = QString(200, QLatin1Char('W'));
    DrawText(canvas.Handle(), longText, &cell, base | DT_END_ELLIPSIS);
    const auto& records = recorder.Current();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].Rect.Right, 1100);
    EXPECT_EQ(records[0].Rect.Top, 200 + (200 - extent.cy) / 2);
    EXPECT_EQ(records[1].Rect.Left, 100 + (1000 - extent.cx) / 2);
    EXPECT_EQ(records[0].Format, base | DT_RIGHT);
    EXPECT_EQ(records[0].ClipRect, cell);
    EXPECT_TRUE(records[2].Text.endsWith(QStringLiteral("...")));
    EXPECT_LE(records[2].Rect.Width(), 1000);
    EXPECT_GT(records[2].Rect.Width(), 900);
}

TEST(DeviceContext, TextOfAMebibyteIsMeasuredWithoutOverflowAndEllipsized)
{
    // Qt's own measure wraps past about 33 million pixels: a text this long once came out
    // with a right edge of -27,786,430 and was cut without the dots.
    TDrawRecorder recorder;
    TDeviceContext dc(&recorder, 600, 600);
    TCanvas canvas;
    canvas.SetHandle(&dc);
    canvas.Font()->SetPixelsPerInch(600);
    canvas.Font()->SetSize(12);
    const QString huge(1 << 20, QLatin1Char('M'));
    const int clamped = canvas.TextWidth(huge); // selects the font
    const std::int64_t width = dc.TextWidth64(huge);
    EXPECT_GT(width, std::int64_t(1) << 26);
    EXPECT_EQ(clamped, width);
    TRect cell{100, 200, 1100, 400};
    const unsigned format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    DrawText(canvas.Handle(), huge, &cell, format | DT_END_ELLIPSIS);
    DrawText(canvas.Handle(), huge, &cell, format | DT_RIGHT);
    const auto& records = recorder.Current();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_TRUE(records[0].Text.endsWith(QStringLiteral("...")));
    EXPECT_GT(records[0].Rect.Right, 100);
    EXPECT_LE(records[0].Rect.Right, 1100);
    EXPECT_EQ(records[1].Rect.Right, 1100);
    EXPECT_EQ(records[1].Rect.Left, 1100 - width) << "right-aligned, the text starts far left of the cell";
}

TEST(DeviceContext, BitmapRoundTripsThroughTheDeviceIndependentForm)
{
    TBitmap bitmap(3, 2);
    QImage source(3, 2, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(255, 0, 0));
    source.setPixel(2, 1, qRgb(0, 0, 255));
    bitmap.Assign(TBitmap(source));
    int headerSize = 0, imageSize = 0;
    GetDIBSizes(bitmap, headerSize, imageSize);
    EXPECT_EQ(imageSize, 3 * 2 * 4);
    std::vector<std::uint8_t> bits(static_cast<size_t>(imageSize));
    TBitmapInfoHeader info;
    ASSERT_TRUE(GetDIB(bitmap, &info, bits.data(), imageSize));
    EXPECT_FALSE(GetDIB(bitmap, &info, bits.data(), imageSize - 1)); // too small a block is refused
    QImage target = WhiteImage(30, 20);
    {
        TDeviceContext dc(&target, 96, 96);
        StretchDIBits(&dc, 0, 0, 30, 20, 0, 0, 3, 2, bits.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    }
    EXPECT_EQ(QColor(target.pixel(2, 2)), QColor(Qt::red));
    EXPECT_EQ(QColor(target.pixel(27, 17)), QColor(Qt::blue));
}
