#include "job/VLJob.h"

#include "platform/core/ClassRegistry.h"
#include "platform/core/ComponentRegistry.h"

#include "platform/printing/Dialogs.h"

#include <algorithm>
#include <vector>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TPrintJob)
VELLARO_REGISTER_SET(TJobOptions)

void TMargins::Assign(const TMargins* source)
{
    if (!source || source == this)
        return;
    FLeft = source->FLeft;
    FTop = source->FTop;
    FRight = source->FRight;
    FBottom = source->FBottom;
}

// ---- Construction -----------------------------------------------------------------------

TCustomPrintJob::TCustomPrintJob(TComponent* AOwner, TNotifyEvent onCreate)
    : TComponent(AOwner)
{
    SetOnCreate(std::move(onCreate));
    if (PrinterOK()) {
        FPageWidth = Printer()->PageWidth();
        FPageHeight = Printer()->PageHeight();
    }
    Raise(&TEvents::OnCreate, this);
}

TCustomPrintJob::TEvents& TCustomPrintJob::Events()
{
    if (!FEvents)
        FEvents = std::make_unique<TEvents>();
    return *FEvents;
}

TMargins* TCustomPrintJob::Margins() const
{
    if (!FMargins)
        FMargins = std::make_unique<TMargins>();
    return FMargins.get();
}

TCustomPrintJob::~TCustomPrintJob()
{
    BeginDestruction();
}

void TCustomPrintJob::BeginDestruction()
{
    if (FDestructionBegun)
        return;
    FDestructionBegun = true;
    Destroying();
    try {
        Raise(&TEvents::OnDestroy, this);
    } catch (...) {
    }
    // Subscribers unsubscribe from within the removal notification: the lists must still be whole.
    DestroyComponent();
}

// ---- Subscribers ------------------------------------------------------------------------

void TCustomPrintJob::AddControlNotification(TControl* Control)
{
    if (!Control)
        return;
    std::vector<TControl*>& controls = Events().ControlNotifications;
    if (std::find(controls.begin(), controls.end(), Control) == controls.end())
        controls.push_back(Control);
}

void TCustomPrintJob::DeleteControlNotification(TControl* Control)
{
    if (FEvents)
        std::erase(FEvents->ControlNotifications, Control);
}

void TCustomPrintJob::AddPrintJobNotification(TCustomPrintJob* Job)
{
    if (!Job)
        return;
    std::vector<TCustomPrintJob*>& jobs = Events().JobNotifications;
    if (std::find(jobs.begin(), jobs.end(), Job) == jobs.end())
        jobs.push_back(Job);
}

void TCustomPrintJob::DeletePrintJobNotification(TCustomPrintJob* Job)
{
    if (FEvents)
        std::erase(FEvents->JobNotifications, Job);
}

bool TCustomPrintJob::PrinterOK() const
{
    return !Printer()->Printers().isEmpty();
}

void TCustomPrintJob::Update()
{
    if (GetUpdateLocked())
        return;
    // Each property read would reset the page from the printer and tell the subscribers: once
    // at the end is the same result.
    if (HasState(csLoading)) {
        FUpdateWaiting = true;
        return;
    }
    if (!PrinterOK())
        return;
    ResetToDefaultPage();
    NotifySubscribers();
    Raise(&TEvents::OnUpdate, this);
}

void TCustomPrintJob::Loaded()
{
    TComponent::Loaded();
    if (std::exchange(FUpdateWaiting, false))
        Update();
}

void TCustomPrintJob::NotifySubscribers()
{
    // The count is taken once; a subscriber may shrink the list, and the failed fetch of an
    // index past its end is swallowed like any other subscriber failure.
    if (!FEvents)
        return;
    if (!GetUpdateJobsLocked()) {
        const size_t count = FEvents->JobNotifications.size();
        for (size_t i = 0; i < count; ++i) {
            try {
                FEvents->JobNotifications.at(i)->Update();
            } catch (...) {
            }
        }
    }
    if (!GetUpdateControlsLocked()) {
        const size_t count = FEvents->ControlNotifications.size();
        for (size_t i = 0; i < count; ++i) {
            try {
                FEvents->ControlNotifications.at(i)->Update();
            } catch (...) {
            }
        }
    }
}

// ---- Units ------------------------------------------------------------------------------

int TCustomPrintJob::DPIX() const
{
    return GetDeviceCaps(Printer()->Handle(), LOGPIXELSX);
}

int TCustomPrintJob::DPIY() const
{
    return GetDeviceCaps(Printer()->Handle(), LOGPIXELSY);
}

double TCustomPrintJob::InchToPix(double Value, TDirection Direction) const
{
    return Value * (Direction == dirHorizontal ? DPIX() : DPIY());
}

double TCustomPrintJob::PixToInch(double Value, TDirection Direction) const
{
    return Value / (Direction == dirHorizontal ? DPIX() : DPIY());
}

double TCustomPrintJob::MmToPix(double Value, TDirection Direction) const
{
    return Value * (Direction == dirHorizontal ? DPIX() : DPIY()) / 25.4;
}

double TCustomPrintJob::PixToMm(double Value, TDirection Direction) const
{
    return Value * 25.4 / (Direction == dirHorizontal ? DPIX() : DPIY());
}

double TCustomPrintJob::ConvertUnits(double Value, TUnits FromUnits, TUnits ToUnits, TDirection Direction, double Base) const
{
    if (FromUnits == ToUnits)
        return Value;
    double mm = Value;
    switch (FromUnits) {
    case unPixels: mm = PixToMm(Value, Direction); break;
    case unPercents: mm = PixToMm(Value * Base / 100, Direction); break;
    case unInches: mm = InchToMm(Value); break;
    case unMillimeters: break;
    }
    double result = mm;
    switch (ToUnits) {
    case unPixels: result = MmToPix(mm, Direction); break;
    case unPercents:
        if (Base == 0)
            throw EZeroDivide(QStringLiteral("Floating point division by zero: cannot express a length in percent of a base of 0 pixels"));
        result = MmToPix(mm, Direction) * 100 / Base;
        break;
    case unInches: result = MmToInch(mm); break;
    case unMillimeters: break;
    }
    return RoundHalfEven(result);
}

void TCustomPrintJob::ConvertMargins(TMargins* Margins, TUnits FromUnits, TUnits ToUnits) const
{
    // Percent is of the page's size in pixels, whatever unit the page is given in.
    const int width = PageWidthPixels();
    const int height = PageHeightPixels();
    Margins->SetLeft(ConvertUnits(Margins->Left(), FromUnits, ToUnits, dirHorizontal, width));
    Margins->SetRight(ConvertUnits(Margins->Right(), FromUnits, ToUnits, dirHorizontal, width));
    Margins->SetTop(ConvertUnits(Margins->Top(), FromUnits, ToUnits, dirVertical, height));
    Margins->SetBottom(ConvertUnits(Margins->Bottom(), FromUnits, ToUnits, dirVertical, height));
}

int TCustomPrintJob::PageWidthPixels() const
{
    return Round(ConvertUnits(FPageWidth, FPageUnits, unPixels, dirHorizontal, Printer()->PageWidth()));
}

int TCustomPrintJob::PageHeightPixels() const
{
    return Round(ConvertUnits(FPageHeight, FPageUnits, unPixels, dirVertical, Printer()->PageHeight()));
}

// ---- Page geometry ----------------------------------------------------------------------

void TCustomPrintJob::ResetToDefaultPage()
{
    if (!PrinterOK())
        return;
    TPrinter* printer = Printer();
    // While printing this shapes the next page to start, never the page being drawn.
    if (FOrientation != orDefault)
        printer->SetPageOrientation(FOrientation == orPortrait ? poPortrait : poLandscape);
    if (FPageMode == pmCustom)
        return;
    const double width = printer->PageWidth();
    const double height = printer->PageHeight();
    FPageWidth = ConvertUnits(width, unPixels, FPageUnits, dirHorizontal, width);
    FPageHeight = ConvertUnits(height, unPixels, FPageUnits, dirVertical, height);
}

void TCustomPrintJob::PreparePage(int)
{
}

TRect TCustomPrintJob::GetSheetRect()
{
    return {0, 0, Printer()->PageWidth(), Printer()->PageHeight()};
}

TRect TCustomPrintJob::GetMarginRect()
{
    TRect r{0, 0, PageWidthPixels(), PageHeightPixels()};
    if (FOptions.Contains(joMargins)) {
        TMargins pixels;
        pixels.Assign(FMargins.get());
        ConvertMargins(&pixels, FMarginsUnits, unPixels);
        r.Left = Round(r.Left + pixels.Left());
        r.Top = Round(r.Top + pixels.Top());
        r.Right = Round(r.Right - pixels.Right());
        r.Bottom = Round(r.Bottom - pixels.Bottom());
    }
    return r;
}

int TCustomPrintJob::HeaderHeightPixels(int marginHeight) const
{
    return Round(ConvertUnits(FHeader, FHeaderUnits, unPixels, dirVertical, marginHeight));
}

int TCustomPrintJob::FooterHeightPixels(int marginHeight) const
{
    return Round(ConvertUnits(FFooter, FFooterUnits, unPixels, dirVertical, marginHeight));
}

TRect TCustomPrintJob::GetHeaderRect()
{
    if (!FOptions.Contains(joHeader))
        return {};
    TRect r = GetMarginRect();
    r.Bottom = r.Top + HeaderHeightPixels(r.Height());
    return r;
}

TRect TCustomPrintJob::GetFooterRect()
{
    if (!FOptions.Contains(joFooter))
        return {};
    TRect r = GetMarginRect();
    r.Top = r.Bottom - FooterHeightPixels(r.Height());
    return r;
}

TRect TCustomPrintJob::GetPageRect()
{
    TRect r = GetMarginRect();
    const int height = r.Height();
    if (FOptions.Contains(joHeader))
        r.Top += HeaderHeightPixels(height);
    if (FOptions.Contains(joFooter))
        r.Bottom -= FooterHeightPixels(height);
    return r;
}

QString TCustomPrintJob::PageGeometryError()
{
    const int width = PageWidthPixels();
    const int height = PageHeightPixels();
    if (width <= 0 || height <= 0)
        return QStringLiteral("The page has no area to print on: it is %1 x %2 pixels").arg(width).arg(height);
    const TRect margin = GetMarginRect();
    if (margin.Width() <= 0)
        return QStringLiteral("The margins leave no room across the page: left margin %1 and right margin %2 pixels "
                              "on a page %3 pixels wide")
            .arg(margin.Left).arg(width - margin.Right).arg(width);
    if (margin.Height() <= 0)
        return QStringLiteral("The margins leave no room down the page: top margin %1 and bottom margin %2 pixels "
                              "on a page %3 pixels high")
            .arg(margin.Top).arg(height - margin.Bottom).arg(height);
    if (GetPageRect().Height() <= 0) {
        const int header = FOptions.Contains(joHeader) ? HeaderHeightPixels(margin.Height()) : 0;
        const int footer = FOptions.Contains(joFooter) ? FooterHeightPixels(margin.Height()) : 0;
        return QStringLiteral("The header (%1 pixels) and the footer (%2 pixels) leave no room for the page area: "
                              "%3 pixels lie between the top and bottom margins")
            .arg(header).arg(footer).arg(margin.Height());
    }
    return {};
}

void TCustomPrintJob::RequireSoundPageGeometry()
{
    ResetToDefaultPage();
    const QString error = PageGeometryError();
    if (!error.isEmpty())
        throw EPrintJobException(error);
}

// ---- Properties -------------------------------------------------------------------------

void TCustomPrintJob::SetPageCount(int Value)
{
    Value = std::max(Value, 1);
    if (Value == FPageCount)
        return;
    FPageCount = Value;
    Update();
}

void TCustomPrintJob::SetMargins(const TMargins* Value)
{
    Margins()->Assign(Value);
    Update();
}

void TCustomPrintJob::SetMarginsUnits(TUnits Value)
{
    StoreAndUpdate(FMarginsUnits, Value, false);
}

void TCustomPrintJob::SetHeader(double Value)
{
    StoreAndUpdate(FHeader, Value, false);
}

void TCustomPrintJob::SetHeaderUnits(TUnits Value)
{
    StoreAndUpdate(FHeaderUnits, Value, false);
}

void TCustomPrintJob::SetFooter(double Value)
{
    StoreAndUpdate(FFooter, Value, false);
}

void TCustomPrintJob::SetFooterUnits(TUnits Value)
{
    StoreAndUpdate(FFooterUnits, Value, false);
}

void TCustomPrintJob::SetPageMode(TPageMode Value)
{
    StoreAndUpdate(FPageMode, Value, true);
}

void TCustomPrintJob::SetPageWidth(double Value)
{
    SetPageSize(FPageWidth, Value);
}

void TCustomPrintJob::SetPageHeight(double Value)
{
    SetPageSize(FPageHeight, Value);
}

void TCustomPrintJob::SetPageSize(double& field, double value)
{
    // In the default mode the printer decides: the value is dropped, but the change still notifies.
    if (value == field)
        return;
    if (FPageMode == pmCustom)
        field = value;
    else
        ResetToDefaultPage();
    Update();
}

void TCustomPrintJob::SetPageUnits(TUnits Value)
{
    StoreAndUpdate(FPageUnits, Value, true);
}

void TCustomPrintJob::SetOrientation(TPageOrientation Value)
{
    StoreAndUpdate(FOrientation, Value, true);
}

void TCustomPrintJob::SetOptions(TJobOptionsSet Value)
{
    StoreAndUpdate(FOptions, Value, false);
}

// ---- Drawing ----------------------------------------------------------------------------

void TCustomPrintJob::InitDraw(TCanvas* TheCanvas, TDrawTarget Target)
{
    TFont* font = TheCanvas->Font();
    font->SetName(QStringLiteral("Arial"));
    font->SetSize(10);
    font->SetColor(clBlack);
    font->SetStyle(0);
    TPen* pen = TheCanvas->Pen();
    pen->SetColor(clBlack);
    pen->SetMode(pmCopy);
    pen->SetStyle(psSolid);
    pen->SetWidth(0);
    TBrush* brush = TheCanvas->Brush();
    brush->SetColor(clWhite);
    brush->SetStyle(bsSolid);
    Raise(&TEvents::OnInitDraw, this, TheCanvas, Target);
}

void TCustomPrintJob::Draw(TCanvas* TheCanvas, int PageIndex, TDrawTarget Target)
{
    if (GetDrawLocked())
        return;
    ResetToDefaultPage();
    InitDraw(TheCanvas, Target);
    if (FOptions.Contains(joHeader))
        DrawArea(TheCanvas, PageIndex, GetHeaderRect(), daHeader, Target);
    DrawArea(TheCanvas, PageIndex, GetPageRect(), daPage, Target);
    if (FOptions.Contains(joFooter))
        DrawArea(TheCanvas, PageIndex, GetFooterRect(), daFooter, Target);
}

void TCustomPrintJob::DrawArea(TCanvas* TheCanvas, int PageIndex, TRect TheRect, TDrawArea Area, TDrawTarget Target)
{
    Raise(&TEvents::OnDraw, this, TheCanvas, PageIndex, TheRect, Area, Target);
}

void TCustomPrintJob::DrawBitmap(TCanvas* TheCanvas, TRect Rect, const TBitmap& Bitmap, TDrawTarget Target)
{
    if (Target == dtPreview) {
        TheCanvas->StretchDraw(Rect, Bitmap);
        return;
    }
    int headerSize = 0;
    int imageSize = 0;
    GetDIBSizes(Bitmap, headerSize, imageSize);
    // Both blocks are freed on every path, a failing step included.
    std::vector<std::uint8_t> header(size_t(std::max(headerSize, int(sizeof(TBitmapInfoHeader)))), 0);
    std::vector<std::uint8_t> bits(size_t(imageSize), 0);
    auto* info = reinterpret_cast<TBitmapInfoHeader*>(header.data());
    *info = TBitmapInfoHeader{};
    if (!GetDIB(Bitmap, info, bits.data(), imageSize))
        throw Exception(QStringLiteral("Cannot read the bitmap to print it"));
    StretchDIBits(TheCanvas->Handle(), Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), 0, 0, info->biWidth,
        info->biHeight, bits.data(), info, DIB_RGB_COLORS, SRCCOPY);
}

// ---- Hooks ------------------------------------------------------------------------------

void TCustomPrintJob::PrinterSetupChange()
{
    Raise(&TEvents::OnPrinterSetupChange, this);
}

void TCustomPrintJob::StartPrint()
{
    Raise(&TEvents::OnStartPrint, this);
}

void TCustomPrintJob::EndPrint()
{
    Raise(&TEvents::OnEndPrint, this);
}

void TCustomPrintJob::PrintProgress(int Pos, int Min, int Max)
{
    Raise(&TEvents::OnPrintProgress, this, Pos, Min, Max);
    Raise(&TEvents::ProgressMonitor, this, Pos, Min, Max);
}

void TCustomPrintJob::StartPrintPage(int PageIndex)
{
    Raise(&TEvents::OnStartPrintPage, this, PageIndex);
}

void TCustomPrintJob::EndPrintPage(int PageIndex)
{
    Raise(&TEvents::OnEndPrintPage, this, PageIndex);
}

// ---- Print run --------------------------------------------------------------------------

namespace {
/// Above 0 while a print run has a job draw a page: bookmarks added then go into the document.
int GRunPageDrawing = 0;
}

bool TCustomPrintJob::PrintPages(int first, int last, bool followPageCount, bool discardWhenAborted)
{
    // A whole-document run separates pages and reports progress against the current PageCount,
    // which a handler may change; a dialog run against the range chosen once.
    TPrinter* printer = Printer();
    bool aborted = false;
    try {
        Raise(&TEvents::ProgressMonitor, this, first - 1, first, followPageCount ? FPageCount : last);
        for (int page = first; page <= last; ++page) {
            if (FAbortRequest) {
                FAbortRequest = false;
                aborted = true;
                break;
            }
            // The page takes its shape before it starts: the canvas fetched below starts it.
            PreparePage(page);
            StartPrintPage(page);
            {
                ++GRunPageDrawing;
                const std::unique_ptr<int, void (*)(int*)> drawing(&GRunPageDrawing, [](int* depth) { --*depth; });
                Draw(printer->Canvas(), page, dtPrint);
            }
            EndPrintPage(page);
            const int limit = followPageCount ? FPageCount : last;
            if (page < limit) {
                // A device that starts the page at once takes the next page's shape now.
                PreparePage(page + 1);
                printer->NewPage();
            }
            PrintProgress(page, first, limit);
            Application().ProcessMessages();
        }
    } catch (...) {
        // Never leave the document open: throw the unfinished output away so the next run works.
        if (printer->Printing())
            printer->Abort();
        throw;
    }
    if (aborted && discardWhenAborted)
        printer->Abort();
    else
        printer->EndDoc();
    return !aborted;
}

void TCustomPrintJob::AddBookmark(const QString& Title, int Level)
{
    if (GRunPageDrawing > 0 && Printer()->Printing())
        Printer()->AddBookmark(Title, Level);
}

const TPrinterDevice& TCustomPrintJob::ExportModel()
{
    TPrinter* printer = Printer();
    return printer->PrinterIndex() >= 0 ? *printer->Device() : *printer->PdfPrinter();
}

bool TCustomPrintJob::Export(TExportDevice& Device, int FromPage, int ToPage)
{
    TPrinter* printer = Printer();
    if (printer->Printing())
        throw EPrintJobException(QStringLiteral("Printing in progress"));
    printer->SetStandInDevice(&Device);
    const std::unique_ptr<TPrinter, void (*)(TPrinter*)> standIn(printer, [](TPrinter* p) { p->SetStandInDevice(nullptr); });
    FAbortRequest = false;
    Update();
    const int first = FromPage == 0 ? 1 : FromPage;
    const int last = ToPage == 0 ? FPageCount : ToPage;
    if (first < 1 || first > last || last > FPageCount)
        throw EPrintJobException(QStringLiteral("The pages %1 to %2 are not in the document, which has pages 1 to %3")
                                     .arg(first).arg(last).arg(FPageCount));
    RequireSoundPageGeometry();
    printer->SetTitle(FTitle);
    StartPrint();
    printer->BeginDoc();
    const bool completed = PrintPages(first, last, false, true);
    EndPrint();
    return completed;
}

bool TCustomPrintJob::ExportToPdf(const QString& FileName, int FromPage, int ToPage, const TPdfDocumentInfo& Info)
{
    TPdfExportDevice device(ExportModel(), FileName, Info);
    return Export(device, FromPage, ToPage);
}

bool TCustomPrintJob::ExportToImages(const QString& FilePattern, int Dpi, int FromPage, int ToPage)
{
    TImageExportDevice device(ExportModel(), FilePattern, FromPage == 0 ? 1 : FromPage, Dpi);
    return Export(device, FromPage, ToPage);
}

bool TCustomPrintJob::ExportToSvg(const QString& FilePattern, int FromPage, int ToPage)
{
    TSvgExportDevice device(ExportModel(), FilePattern, FromPage == 0 ? 1 : FromPage);
    return Export(device, FromPage, ToPage);
}

void TCustomPrintJob::Print()
{
    FAbortRequest = false;
    PreparePage(1);
    RequireSoundPageGeometry();
    Printer()->SetTitle(FTitle);
    StartPrint();
    Printer()->BeginDoc();
    PrintPages(1, FPageCount, true);
    EndPrint();
}

void TCustomPrintJob::PrintDialog()
{
    auto dialog = std::make_unique<TPrintDialog>(Owner());
    dialog->SetOptions(dialog->Options() | poPageNums);
    dialog->SetMinPage(1);
    dialog->SetMaxPage(FPageCount);
    dialog->SetFromPage(1);
    dialog->SetToPage(FPageCount);
    if (!dialog->Execute())
        return;
    FAbortRequest = false;
    Printer()->SetTitle(FTitle);
    Update();
    PrinterSetupChange();
    PreparePage(dialog->FromPage());
    RequireSoundPageGeometry();
    StartPrint();
    Printer()->BeginDoc();
    PrintPages(dialog->FromPage(), dialog->ToPage(), false);
    EndPrint();
}

void TCustomPrintJob::PrinterSetupDialog()
{
    auto dialog = std::make_unique<TPrinterSetupDialog>(Owner());
    if (dialog->Execute()) {
        Update();
        PrinterSetupChange();
    }
}

void TCustomPrintJob::Abort()
{
    FAbortRequest = true;
}

bool TCustomPrintJob::GetAborted() const
{
    return Printer()->Aborted();
}

void RegisterVLJob()
{
    RegisterComponents(QStringLiteral("Vellaro"), {QStringLiteral("TPrintJob")});
}

} // namespace Vellaro
