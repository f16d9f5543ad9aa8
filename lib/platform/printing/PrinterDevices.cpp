#include "platform/printing/PrinterDevices.h"

#include <QDir>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>

namespace Vellaro {

namespace {
QPageLayout::Orientation ToQt(TPrinterOrientation o)
{
    return o == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}
} // namespace

// ---- PDF printer ------------------------------------------------------------------------

TPdfPrinterDevice::TPdfPrinterDevice() = default;

TPdfPrinterDevice::~TPdfPrinterDevice() = default;

QSize TPdfPrinterDevice::PageSizePixels(TPrinterOrientation orientation) const
{
    const QPageLayout layout(FPaper, ToQt(orientation), QMarginsF(0, 0, 0, 0));
    return layout.fullRectPixels(Resolution).size();
}

QString TPdfPrinterDevice::PathForTitle(const QString& title)
{
    QString base = title.trimmed();
    base.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]")), QStringLiteral("_"));
    if (base.isEmpty())
        base = QStringLiteral("document");
    return QDir::current().filePath(base + QStringLiteral(".pdf"));
}

TDeviceContext* TPdfPrinterDevice::BeginDoc(const QString& title, TPrinterOrientation orientation)
{
    FOutline.clear();
    TPdfDocumentInfo info = FInfo;
    info.Title = title;
    return FDocument.Begin(FOutputPath.isEmpty() ? PathForTitle(title) : FOutputPath,
        QPageLayout(FPaper, ToQt(orientation), QMarginsF(0, 0, 0, 0)), Resolution, info);
}

void TPdfPrinterDevice::NewPage(TPrinterOrientation orientation)
{
    FDocument.NewPage(QPageLayout(FPaper, ToQt(orientation), QMarginsF(0, 0, 0, 0)));
}

void TPdfPrinterDevice::EndDoc()
{
    const std::vector<TBookmark> outline = std::move(FOutline);
    FOutline.clear();
    FDocument.Finish(outline);
    FLastOutput = FDocument.Path();
}

void TPdfPrinterDevice::Abort()
{
    FOutline.clear();
    FDocument.Abandon();
}

QPrinter* TPdfPrinterDevice::QtPrinter()
{
    if (!FDialogPrinter) {
        FDialogPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        FDialogPrinter->setOutputFormat(QPrinter::PdfFormat);
    }
    FDialogPrinter->setPageSize(FPaper);
    FDialogPrinter->setOutputFileName(FOutputPath.isEmpty() ? PathForTitle(QString()) : FOutputPath);
    return FDialogPrinter.get();
}

// ---- System printer ---------------------------------------------------------------------

TSystemPrinterDevice::TSystemPrinterDevice(const QString& printerName)
    : FName(printerName)
    , FPrinter(std::make_unique<QPrinter>(QPrinterInfo::printerInfo(printerName), QPrinter::HighResolution))
{
    FPrinter->setFullPage(false);
}

TSystemPrinterDevice::~TSystemPrinterDevice()
{
    if (FContext)
        FPrinter->abort();
    FContext.reset();
}

int TSystemPrinterDevice::DpiX() const
{
    return FPrinter->logicalDpiX();
}

int TSystemPrinterDevice::DpiY() const
{
    return FPrinter->logicalDpiY();
}

QSize TSystemPrinterDevice::PageSizePixels(TPrinterOrientation orientation) const
{
    QPageLayout layout = FPrinter->pageLayout();
    layout.setOrientation(ToQt(orientation));
    return layout.paintRectPixels(FPrinter->resolution()).size();
}

TDeviceContext* TSystemPrinterDevice::BeginDoc(const QString& title, TPrinterOrientation orientation)
{
    FPrinter->setDocName(title);
    FPrinter->setPageOrientation(ToQt(orientation));
    FContext = std::make_unique<TDeviceContext>(static_cast<QPaintDevice*>(FPrinter.get()), DpiX(), DpiY());
    return FContext.get();
}

void TSystemPrinterDevice::NewPage(TPrinterOrientation orientation)
{
    // Qt's CUPS printer writes each page with the layout it has when the page starts.
    if (FPrinter->pageLayout().orientation() != ToQt(orientation))
        FPrinter->setPageOrientation(ToQt(orientation));
    FPrinter->newPage();
    FContext->SetDeviceSize(QSize(FPrinter->width(), FPrinter->height()));
}

void TSystemPrinterDevice::EndDoc()
{
    FContext.reset();
}

void TSystemPrinterDevice::Abort()
{
    FPrinter->abort();
    FContext.reset();
}

QPageSize TSystemPrinterDevice::PaperSize() const
{
    return FPrinter->pageLayout().pageSize();
}

void TSystemPrinterDevice::SetPaperSize(const QPageSize& size)
{
    FPrinter->setPageSize(size);
}

// ---- Recording printer ------------------------------------------------------------------

TRecordingPrinterDevice::TRecordingPrinterDevice(const QString& name, int dpiX, int dpiY, QSize portraitPixels)
    : FName(name)
    , FDpiX(dpiX)
    , FDpiY(dpiY)
    , FPortrait(portraitPixels)
{
}

QSize TRecordingPrinterDevice::PageSizePixels(TPrinterOrientation orientation) const
{
    return orientation == poLandscape ? FPortrait.transposed() : FPortrait;
}

TDeviceContext* TRecordingPrinterDevice::BeginDoc(const QString& title, TPrinterOrientation orientation)
{
    if (FFailBeginDoc)
        throw EPrinter(QStringLiteral("The printer '%1' cannot start a document").arg(FName));
    ++FBeginDocs;
    FTitle = title;
    FRecorder.Clear();
    FPageOrientations.assign(1, orientation);
    FContext = std::make_unique<TDeviceContext>(&FRecorder, FDpiX, FDpiY);
    FContext->SetDeviceSize(PageSizePixels(orientation));
    return FContext.get();
}

void TRecordingPrinterDevice::NewPage(TPrinterOrientation orientation)
{
    ++FNewPages;
    FRecorder.NewPage();
    FPageOrientations.push_back(orientation);
    if (FContext)
        FContext->SetDeviceSize(PageSizePixels(orientation));
}

void TRecordingPrinterDevice::EndDoc()
{
    ++FEndDocs;
    FContext.reset();
}

void TRecordingPrinterDevice::Abort()
{
    ++FAborts;
    FContext.reset();
}

QPrinter* TRecordingPrinterDevice::QtPrinter()
{
    if (!FDialogPrinter) {
        FDialogPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        FDialogPrinter->setOutputFormat(QPrinter::PdfFormat);
    }
    return FDialogPrinter.get();
}

} // namespace Vellaro
