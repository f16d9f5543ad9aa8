#pragma once
// Shared test helpers: a fixture printing to a recording printer, and PDF inspection.

#include "platform/printing/Printers.h"

#include <QImage>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace Vellaro::Testing {

/// Selects a recording printer (600 dpi, 4800 x 6600 pixels unless told otherwise) for the
/// test and removes it afterwards, leaving the global printer as it was.
class RecordingPrinterTest : public ::testing::Test {
protected:
    void SetUp() override { Install(600, 600, QSize(4800, 6600)); }
    void TearDown() override;
    void Install(int dpiX, int dpiY, QSize portraitPixels);
    TRecordingPrinterDevice* Recording() const { return FDevice; }
    /// The records of a printed page (1-based).
    const std::vector<TDrawRecord>& PageRecords(int page) const { return FDevice->Recorder().Page(page - 1); }
    /// Only the records of one kind.
    static std::vector<TDrawRecord> OfKind(const std::vector<TDrawRecord>& records, TDrawRecord::TKind kind);
    /// The texts drawn, in order.
    static QStringList Texts(const std::vector<TDrawRecord>& records);

private:
    TRecordingPrinterDevice* FDevice = nullptr;
};

/// What pdfinfo tells about a PDF file.
struct PdfInfo {
    int Pages = 0;
    double WidthPt = 0;
    double HeightPt = 0;
    int RotationDegrees = 0; ///< the first page's rotation
    QString Title;
};
/// Runs pdfinfo on the file (fails the test when it cannot).
PdfInfo ReadPdfInfo(const QString& path);
/// The size in points of every page of a PDF file, as pdfinfo tells it page by page (a page
/// turned by its rotation entry is given as it reads).
std::vector<QSizeF> ReadPdfPageSizes(const QString& path);
/// Empty when page of the PDF file has the shape of an image of size shown (its sides in the
/// same proportion, to within tolerance pixels of shown); otherwise what the two shapes are.
/// Comparisons that scale a printed page to the shown page's size ask this first.
QString ShapeMismatch(const QString& path, int page, QSize shown, double tolerance = 1.5);
/// The text of a PDF file (pdftotext with layout off).
QString ReadPdfText(const QString& path);
/// One page of a PDF file rasterized by pdftoppm at dpi (a null image, and a test failure,
/// when it cannot be).
QImage RasterizePdfPage(const QString& path, int page, int dpi);
/// One page of a PDF file rasterized by pdftoppm to exactly size (to compare with a preview).
QImage RasterizePdfPage(const QString& path, int page, QSize size);
/// Mean and largest difference (0..255) of two same-sized images after both are reduced by
/// factor, so that single anti-aliased edge pixels do not count, only where ink lies.
std::pair<double, int> ImageDifference(const QImage& a, const QImage& b, int factor);
/// The share, in percent, of ink pixels (darker than mid grey) of two same-sized images that
/// have no ink pixel of the other image within one pixel (their 3 x 3 neighbourhood): what the
/// eye sees as out of place or missing. 0 when neither image has ink.
double UnmatchedInkPercent(const QImage& a, const QImage& b);

} // namespace Vellaro::Testing
