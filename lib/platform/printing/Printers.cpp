#include "platform/printing/Printers.h"

#include <QGuiApplication>
#include <QPrinterInfo>

namespace Vellaro {

namespace {
const QString NoPrinterMessage = QStringLiteral("There is no default printer currently selected");
}

TPrinter::TPrinter()
{
    const QStringList systemPrinters = QPrinterInfo::availablePrinterNames();
    for (const QString& name : systemPrinters)
        FDevices.push_back(std::make_unique<TSystemPrinterDevice>(name));
    auto pdf = std::make_unique<TPdfPrinterDevice>();
    FPdf = pdf.get();
    FDevices.push_back(std::move(pdf));
    FIndex = DefaultIndex();
}

TPrinter::~TPrinter()
{
    if (FPrinting) {
        try {
            Abort();
        } catch (...) {
        }
    }
}

int TPrinter::DefaultIndex() const
{
    const QString systemDefault = QPrinterInfo::defaultPrinterName();
    for (size_t i = 0; i < FDevices.size(); ++i)
        if (!systemDefault.isEmpty() && FDevices[i]->Name() == systemDefault)
            return int(i);
    for (size_t i = 0; i < FDevices.size(); ++i)
        if (FDevices[i].get() == FPdf)
            return int(i);
    return 0;
}

QStringList TPrinter::Printers() const
{
    QStringList names;
    if (FHidden)
        return names;
    for (const auto& device : FDevices)
        names << device->Name();
    return names;
}

int TPrinter::PrinterIndex() const
{
    return FHidden ? -1 : FIndex;
}

void TPrinter::SetPrinterIndex(int index)
{
    if (FPrinting)
        throw EPrinter(QStringLiteral("Printing in progress"));
    if (index == -1)
        index = DefaultIndex();
    if (index < 0 || index >= int(FDevices.size()))
        throw EPrinter(QStringLiteral("Printer selected is not valid"));
    if (index != FIndex)
        FInfoContext.reset();
    FIndex = index;
}

bool TPrinter::SelectPrinter(const QString& name)
{
    for (size_t i = 0; i < FDevices.size(); ++i)
        if (FDevices[i]->Name() == name) {
            SetPrinterIndex(int(i));
            return true;
        }
    return false;
}

TPrinterDevice* TPrinter::Device() const
{
    if (FStandIn)
        return FStandIn;
    if (FHidden || FIndex < 0 || FIndex >= int(FDevices.size()))
        throw EPrinter(NoPrinterMessage);
    return FDevices[size_t(FIndex)].get();
}

TPrinterOrientation TPrinter::CurrentOrientation() const
{
    return FPrinting && !FPagePending ? FStartedOrientation : FOrientation;
}

int TPrinter::PageWidth() const
{
    return Device()->PageSizePixels(CurrentOrientation()).width();
}

int TPrinter::PageHeight() const
{
    return Device()->PageSizePixels(CurrentOrientation()).height();
}

TDeviceContext* TPrinter::Handle()
{
    if (FPrinting)
        return FPageContext;
    TPrinterDevice* device = Device();
    if (!FInfoContext || FInfoContext->GetDeviceCaps(LOGPIXELSX) != device->DpiX()
        || FInfoContext->GetDeviceCaps(LOGPIXELSY) != device->DpiY()) {
        FInfoContext = std::make_unique<TDeviceContext>(device->DpiX(), device->DpiY());
    }
    FInfoContext->SetDeviceSize(device->PageSizePixels(CurrentOrientation()));
    return FInfoContext.get();
}

TCanvas* TPrinter::Canvas()
{
    if (!FPrinting)
        BindCanvas(Handle());
    else
        StartPendingPage();
    return &FCanvas;
}

void TPrinter::BindCanvas(TDeviceContext* dc)
{
    FCanvas.SetHandle(dc);
    // Point sizes on the printer's canvas are measured against the printer's resolution.
    if (dc)
        FCanvas.Font()->SetPixelsPerInch(dc->GetDeviceCaps(LOGPIXELSY));
}

void TPrinter::SetOrientation(TPrinterOrientation orientation)
{
    if (FPrinting)
        throw EPrinter(QStringLiteral("Printing in progress"));
    FOrientation = orientation;
}

void TPrinter::SetPageOrientation(TPrinterOrientation orientation)
{
    if (!FPrinting) {
        SetOrientation(orientation);
        return;
    }
    FOrientation = orientation;
}

void TPrinter::RequirePrinting(const char* operation) const
{
    if (!FPrinting)
        throw EPrinter(QStringLiteral("Printer is not currently printing (%1)").arg(QLatin1String(operation)));
}

void TPrinter::BeginDoc()
{
    if (FPrinting)
        throw EPrinter(QStringLiteral("Printing in progress"));
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw EPrinter(QStringLiteral("Printing needs a QApplication (or QGuiApplication): create one before printing"));
    TPrinterDevice* device = Device();
    FAborted = false;
    FBookmarks.clear();
    FPageContext = device->BeginDoc(FTitle, FOrientation);
    FDocumentOrientation = FOrientation;
    FStartedOrientation = FOrientation;
    FPrinting = true;
    FPagePending = false;
    FPageNumber = 1;
    FPageContext->StartBlankPage();
    BindCanvas(FPageContext);
}

void TPrinter::NewPage()
{
    RequirePrinting("NewPage");
    StartPendingPage();
    FPageContext->Flush();
    FPageContext->ResetMapping();
    ++FPageNumber;
    if (!Device()->DefersNewPage()) {
        Device()->NewPage(FOrientation);
        FStartedOrientation = FOrientation;
        return;
    }
    FPagePending = true;
    FPageContext->SetBeforePaint([this] { StartPendingPage(); });
}

void TPrinter::StartPendingPage()
{
    if (!FPagePending)
        return;
    FPagePending = false;
    FPageContext->SetBeforePaint(nullptr);
    Device()->NewPage(FOrientation);
    FStartedOrientation = FOrientation;
    FPageContext->StartBlankPage();
}

void TPrinter::EndDoc()
{
    RequirePrinting("EndDoc");
    // A page announced but never drawn on or fetched is left out.
    FPageContext->SetBeforePaint(nullptr);
    Device()->SetOutline(FBookmarks);
    FinishDocument();
    Device()->EndDoc();
}

void TPrinter::AddBookmark(const QString& title, int level)
{
    RequirePrinting("AddBookmark");
    FBookmarks.push_back({title, std::max(level, 0), FPageNumber});
}

void TPrinter::SetStandInDevice(TPrinterDevice* device)
{
    if (FPrinting)
        throw EPrinter(QStringLiteral("Printing in progress"));
    FStandIn = device;
    FInfoContext.reset();
}

void TPrinter::Abort()
{
    RequirePrinting("Abort");
    FAborted = true;
    FinishDocument();
    Device()->Abort();
}

void TPrinter::FinishDocument()
{
    FPagePending = false;
    FPrinting = false;
    FBookmarks.clear();
    FPageContext = nullptr;
    // Pages in other orientations leave the printer's own setting as it was.
    FOrientation = FDocumentOrientation;
    BindCanvas(nullptr);
}

TRecordingPrinterDevice* TPrinter::AddRecordingPrinter(const QString& name, int dpiX, int dpiY, QSize portraitPixels)
{
    if (FPrinting)
        throw EPrinter(QStringLiteral("Printing in progress"));
    auto device = std::make_unique<TRecordingPrinterDevice>(name, dpiX, dpiY, portraitPixels);
    TRecordingPrinterDevice* raw = device.get();
    FDevices.push_back(std::move(device));
    SetPrinterIndex(int(FDevices.size()) - 1);
    return raw;
}

void TPrinter::RemovePrinter(TPrinterDevice* device)
{
    if (!device || device == FPdf || dynamic_cast<TSystemPrinterDevice*>(device))
        return;
    if (FPrinting && Device() == device)
        throw EPrinter(QStringLiteral("Printing in progress"));
    TPrinterDevice* selected = (FIndex >= 0 && FIndex < int(FDevices.size())) ? FDevices[size_t(FIndex)].get() : nullptr;
    std::erase_if(FDevices, [device](const auto& d) { return d.get() == device; });
    FInfoContext.reset();
    FIndex = -1;
    for (size_t i = 0; i < FDevices.size(); ++i)
        if (FDevices[i].get() == selected)
            FIndex = int(i);
    if (FIndex < 0)
        FIndex = DefaultIndex();
}

void TPrinter::SetPrintersHidden(bool hidden)
{
    if (FPrinting)
        throw EPrinter(QStringLiteral("Printing in progress"));
    FHidden = hidden;
}

TPrinter* Printer()
{
    static TPrinter printer;
    return &printer;
}

} // namespace Vellaro
