#pragma once
// Devices that write a document to files instead of paper: a PDF file, one PNG image per page,
// one SVG file per page. They stand in for the selected printer while a job's pages are printed
// (TPrinter::SetStandInDevice), and take its resolution and page size, so the pages are laid
// out exactly as on that printer. Nothing is left behind when a document is aborted or fails;
// page files appear under their names only when the whole document is written.

#include "platform/printing/PrinterDevices.h"

#include <QPainter>
#include <QStringList>
#include <memory>
#include <vector>

class QTemporaryFile;
class QFileDevice;
class QPaintDevice;

namespace Vellaro {

/// The file formats a job exports to.
enum TExportFormat { efPdf, efPng, efSvg };

/// What an export device shares: the geometry of the printer it stands in for.
class VELLARO_EXPORT TExportDevice : public TPrinterDevice {
public:
    /// Takes the resolution and page sizes of model.
    explicit TExportDevice(const TPrinterDevice& model);
    QString Name() const override { return QStringLiteral("Export"); }
    int DpiX() const override { return FDpiX; }
    int DpiY() const override { return FDpiY; }
    QSize PageSizePixels(TPrinterOrientation orientation) const override;
    /// The files the last finished document wrote, in page order.
    QStringList WrittenFiles() const { return FWritten; }

protected:
    QStringList FWritten;

private:
    int FDpiX;
    int FDpiY;
    QSize FPortrait;
    QSize FLandscape;
};

/// Writes the document as one PDF file with document information and outline.
class VELLARO_EXPORT TPdfExportDevice : public TExportDevice {
public:
    TPdfExportDevice(const TPrinterDevice& model, const QString& path, const TPdfDocumentInfo& info);
    TDeviceContext* BeginDoc(const QString& title, TPrinterOrientation orientation) override;
    void NewPage(TPrinterOrientation orientation) override;
    void SetOutline(const std::vector<TBookmark>& outline) override { FOutline = outline; }
    void EndDoc() override;
    void Abort() override;

private:
    QString FPath;
    TPdfDocumentInfo FInfo;
    std::vector<TBookmark> FOutline;
    TPdfDocument FDocument;
};

/// Writes one file per page, named by a pattern: "{page}" in it stands for the page number
/// (a pattern without it gets "-{page}" before its extension, so pages never overwrite each
/// other). Pages are written under temporary names and renamed when the document ends.
class VELLARO_EXPORT TPageFileExportDevice : public TExportDevice {
public:
    TPageFileExportDevice(const TPrinterDevice& model, const QString& pattern, int firstPageNumber);
    ~TPageFileExportDevice() override;
    TDeviceContext* BeginDoc(const QString& title, TPrinterOrientation orientation) override;
    void NewPage(TPrinterOrientation orientation) override;
    void EndDoc() override;
    void Abort() override;
    /// The file a page number gives.
    static QString PagePath(const QString& pattern, int page);

protected:
    /// Starts painting a page into file; the painter is begun on the returned device.
    virtual QPaintDevice* StartPage(QFileDevice& file, QSize pagePixels, const QString& title) = 0;
    /// Where the page painter begins: the mapping from printer pixels to the page device.
    virtual QTransform PageTransform(QSize pagePixels) const = 0;
    /// Writes the page painted since StartPage into file (the painter has ended).
    virtual void FinishPage(QFileDevice& file) = 0;
    /// Ends painting and removes every page not yet in place. A subclass calls it in its
    /// destructor, while the device it paints on still exists.
    void Release();

private:
    void BeginPagePainter();
    void EndPage();
    QString FPattern;
    int FFirstPage;
    QString FTitle;
    QSize FPagePixels;
    QPainter FPainter;
    std::unique_ptr<TDeviceContext> FContext;
    std::unique_ptr<QTemporaryFile> FCurrent;
    std::vector<std::unique_ptr<QTemporaryFile>> FDone;
};

/// One PNG image per page at a chosen resolution, white paper.
class VELLARO_EXPORT TImageExportDevice : public TPageFileExportDevice {
public:
    /// Raises EPrinter for a resolution outside 1..2400 dots per inch.
    TImageExportDevice(const TPrinterDevice& model, const QString& pattern, int firstPageNumber, int dpi);
    ~TImageExportDevice() override { Release(); }

protected:
    QPaintDevice* StartPage(QFileDevice& file, QSize pagePixels, const QString& title) override;
    QTransform PageTransform(QSize pagePixels) const override;
    void FinishPage(QFileDevice& file) override;

private:
    QSize ImageSize(QSize pagePixels) const;
    int FDpi;
    QImage FImage;
};

/// One SVG file per page (Qt's SVG generator), sized as the paper.
class VELLARO_EXPORT TSvgExportDevice : public TPageFileExportDevice {
public:
    TSvgExportDevice(const TPrinterDevice& model, const QString& pattern, int firstPageNumber);
    ~TSvgExportDevice() override;

protected:
    QPaintDevice* StartPage(QFileDevice& file, QSize pagePixels, const QString& title) override;
    QTransform PageTransform(QSize) const override { return {}; }
    void FinishPage(QFileDevice& file) override;

private:
    struct TGenerator;
    std::unique_ptr<TGenerator> FGenerator;
};

} // namespace Vellaro
