#include "platform/printing/Exporters.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSvgGenerator>
#include <QTemporaryFile>
#include <cmath>

namespace Vellaro {

namespace {
EPrinter ExportError(const QString& path, const QString& reason)
{
    return EPrinter(QStringLiteral("Cannot write the file '%1': %2").arg(path, reason));
}

/// The paper of a page in printer pixels, as Qt's page layout wants it.
QPageLayout LayoutForPixels(QSize pixels, int dpiX, int dpiY)
{
    const QSizeF mm(pixels.width() * 25.4 / dpiX, pixels.height() * 25.4 / dpiY);
    const bool landscape = mm.width() > mm.height();
    const QPageSize paper(landscape ? mm.transposed() : mm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    return QPageLayout(paper, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}
} // namespace

// ---- Common ----------------------------------------------------------------------------

TExportDevice::TExportDevice(const TPrinterDevice& model)
    : FDpiX(model.DpiX())
    , FDpiY(model.DpiY())
    , FPortrait(model.PageSizePixels(poPortrait))
    , FLandscape(model.PageSizePixels(poLandscape))
{
}

QSize TExportDevice::PageSizePixels(TPrinterOrientation orientation) const
{
    return orientation == poLandscape ? FLandscape : FPortrait;
}

// ---- PDF -------------------------------------------------------------------------------

TPdfExportDevice::TPdfExportDevice(const TPrinterDevice& model, const QString& path, const TPdfDocumentInfo& info)
    : TExportDevice(model)
    , FPath(path)
    , FInfo(info)
{
}

TDeviceContext* TPdfExportDevice::BeginDoc(const QString& title, TPrinterOrientation orientation)
{
    FWritten.clear();
    FOutline.clear();
    TPdfDocumentInfo info = FInfo;
    if (info.Title.isEmpty())
        info.Title = title;
    // The PDF writer has one resolution; a printer with two gets the vertical one's paper.
    TDeviceContext* dc = FDocument.Begin(FPath, LayoutForPixels(PageSizePixels(orientation), DpiX(), DpiY()), DpiY(), info);
    return dc;
}

void TPdfExportDevice::NewPage(TPrinterOrientation orientation)
{
    FDocument.NewPage(LayoutForPixels(PageSizePixels(orientation), DpiX(), DpiY()));
}

void TPdfExportDevice::EndDoc()
{
    const std::vector<TBookmark> outline = std::move(FOutline);
    FOutline.clear();
    FDocument.Finish(outline);
    FWritten = QStringList{FPath};
}

void TPdfExportDevice::Abort()
{
    FOutline.clear();
    FDocument.Abandon();
}

// ---- One file per page -----------------------------------------------------------------

TPageFileExportDevice::TPageFileExportDevice(const TPrinterDevice& model, const QString& pattern, int firstPageNumber)
    : TExportDevice(model)
    , FPattern(pattern)
    , FFirstPage(firstPageNumber)
{
}

TPageFileExportDevice::~TPageFileExportDevice()
{
    Release();
}

QString TPageFileExportDevice::PagePath(const QString& pattern, int page)
{
    static const QString Token = QStringLiteral("{page}");
    QString path = pattern;
    if (!path.contains(Token)) {
        const QFileInfo info(pattern);
        const QString suffix = info.suffix();
        const int cut = suffix.isEmpty() || info.completeBaseName().isEmpty() ? int(path.size()) : int(path.size() - suffix.size() - 1);
        path.insert(cut, QStringLiteral("-") + Token);
    }
    return path.replace(Token, QString::number(page));
}

TDeviceContext* TPageFileExportDevice::BeginDoc(const QString& title, TPrinterOrientation orientation)
{
    Release();
    FWritten.clear();
    FTitle = title;
    FPagePixels = PageSizePixels(orientation);
    BeginPagePainter();
    try {
        FContext = std::make_unique<TDeviceContext>(&FPainter, DpiX(), DpiY());
        FContext->SetDeviceSize(FPagePixels);
    } catch (...) {
        Release();
        throw;
    }
    return FContext.get();
}

void TPageFileExportDevice::BeginPagePainter()
{
    const QString path = PagePath(FPattern, FFirstPage + int(FDone.size()));
    const QFileInfo target(path);
    if (!target.absoluteDir().exists())
        throw ExportError(path, QStringLiteral("the folder does not exist"));
    auto file = std::make_unique<QTemporaryFile>(target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    if (!file->open())
        throw ExportError(path, file->errorString());
    QPaintDevice* device = StartPage(*file, FPagePixels, FTitle);
    if (!FPainter.begin(device))
        throw ExportError(path, QStringLiteral("cannot paint the page"));
    FPainter.setWorldTransform(PageTransform(FPagePixels));
    FPainter.setRenderHint(QPainter::Antialiasing, false);
    FPainter.setRenderHint(QPainter::TextAntialiasing, true);
    FCurrent = std::move(file);
}

void TPageFileExportDevice::EndPage()
{
    if (FContext)
        FContext->Flush();
    if (FPainter.isActive())
        FPainter.end();
    if (!FCurrent)
        return;
    FinishPage(*FCurrent);
    if (!FCurrent->flush() || FCurrent->error() != QFileDevice::NoError)
        throw ExportError(FCurrent->fileName(), FCurrent->errorString());
    FCurrent->close();
    FDone.push_back(std::move(FCurrent));
}

void TPageFileExportDevice::NewPage(TPrinterOrientation orientation)
{
    try {
        EndPage();
        // Each page has its own file and the shape of its own orientation.
        FPagePixels = PageSizePixels(orientation);
        BeginPagePainter();
        FContext->SetDeviceSize(FPagePixels);
        // The context keeps its painter; what it knew of the painter's state is gone.
        FContext->Painter();
    } catch (...) {
        Release();
        throw;
    }
}

void TPageFileExportDevice::EndDoc()
{
    try {
        EndPage();
        FContext.reset();
        for (size_t i = 0; i < FDone.size(); ++i) {
            const QString path = PagePath(FPattern, FFirstPage + int(i));
            if (QFileInfo::exists(path) && !QFile::remove(path))
                throw ExportError(path, QStringLiteral("an existing file cannot be replaced"));
            if (!FDone[i]->rename(path))
                throw ExportError(path, FDone[i]->errorString());
            FDone[i]->setAutoRemove(false); // it now carries the page's own name
            FWritten << path;
        }
    } catch (...) {
        Release();
        throw;
    }
    Release();
}

void TPageFileExportDevice::Abort()
{
    Release();
}

void TPageFileExportDevice::Release()
{
    FContext.reset();
    if (FPainter.isActive())
        FPainter.end();
    FCurrent.reset();
    FDone.clear(); // removes the pages not renamed into place
}

// ---- PNG -------------------------------------------------------------------------------

TImageExportDevice::TImageExportDevice(const TPrinterDevice& model, const QString& pattern, int firstPageNumber, int dpi)
    : TPageFileExportDevice(model, pattern, firstPageNumber)
    , FDpi(dpi)
{
    if (dpi < 1 || dpi > 2400)
        throw EPrinter(QStringLiteral("An image resolution of %1 dpi is outside 1 to 2400").arg(dpi));
}

QSize TImageExportDevice::ImageSize(QSize pagePixels) const
{
    return QSize(std::max(1, int(std::lround(double(pagePixels.width()) * FDpi / DpiX()))),
        std::max(1, int(std::lround(double(pagePixels.height()) * FDpi / DpiY()))));
}

QPaintDevice* TImageExportDevice::StartPage(QFileDevice&, QSize pagePixels, const QString&)
{
    FImage = QImage(ImageSize(pagePixels), QImage::Format_RGB32);
    if (FImage.isNull())
        throw EPrinter(QStringLiteral("Not enough memory for a page image of %1 x %2 pixels").arg(ImageSize(pagePixels).width()).arg(ImageSize(pagePixels).height()));
    FImage.fill(Qt::white);
    const int dotsPerMeter = int(std::lround(FDpi / 0.0254));
    FImage.setDotsPerMeterX(dotsPerMeter);
    FImage.setDotsPerMeterY(dotsPerMeter);
    return &FImage;
}

QTransform TImageExportDevice::PageTransform(QSize pagePixels) const
{
    const QSize image = ImageSize(pagePixels);
    return QTransform::fromScale(double(image.width()) / pagePixels.width(), double(image.height()) / pagePixels.height());
}

void TImageExportDevice::FinishPage(QFileDevice& file)
{
    if (!FImage.save(&file, "PNG"))
        throw ExportError(file.fileName(), QStringLiteral("the image could not be written"));
    FImage = QImage();
}

// ---- SVG -------------------------------------------------------------------------------

struct TSvgExportDevice::TGenerator {
    QSvgGenerator Generator;
};

TSvgExportDevice::TSvgExportDevice(const TPrinterDevice& model, const QString& pattern, int firstPageNumber)
    : TPageFileExportDevice(model, pattern, firstPageNumber)
{
}

TSvgExportDevice::~TSvgExportDevice()
{
    Release();
}

QPaintDevice* TSvgExportDevice::StartPage(QFileDevice& file, QSize pagePixels, const QString& title)
{
    FGenerator = std::make_unique<TGenerator>();
    QSvgGenerator& svg = FGenerator->Generator;
    svg.setOutputDevice(&file);
    // Printer pixels are the user units; the resolution gives the paper its physical size.
    svg.setSize(pagePixels);
    svg.setViewBox(QRect(QPoint(0, 0), pagePixels));
    svg.setResolution(DpiY());
    svg.setTitle(title);
    return &svg;
}

void TSvgExportDevice::FinishPage(QFileDevice&)
{
    FGenerator.reset(); // the painter has ended: the file is complete
}

} // namespace Vellaro
