#include "textjobs/PJRichEdit.h"

#include <QTextBlock>
#include <QTextDocument>

#include "platform/core/ClassRegistry.h"
#include "platform/core/ComponentRegistry.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <utility>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TRichEditPrintJob)

namespace {
/// Drops the control's device state when the scope ends, also when a step failed.
class TFormattingScope {
public:
    explicit TFormattingScope(TCustomRichEdit* edit) : FEdit(edit) { FEdit->FormatRange(nullptr, false); }
    ~TFormattingScope() { FEdit->FormatRange(nullptr, false); }
    TFormattingScope(const TFormattingScope&) = delete;
    TFormattingScope& operator=(const TFormattingScope&) = delete;

private:
    TCustomRichEdit* FEdit;
};

/// Makes one logical unit of a context one pixel of the context's own resolution instead of
/// one of the job's (a printer pixel), exactly: the window extent grows by the context's
/// resolution and the viewport extent by the job's, in lowest terms. Setting the window to the
/// page's size at screen resolution instead rounded 793.28 to 793 and moved the text off the
/// paper's place. Gives both extents back when the scope ends.
class TContextUnitsScope {
public:
    TContextUnitsScope(TDeviceContext* dc, int jobDpiX, int jobDpiY) : FDc(dc)
    {
        GetWindowExtEx(dc, &FWindow);
        GetViewportExtEx(dc, &FViewport);
        const auto [windowX, viewportX] = Ratio(dc->GetDeviceCaps(LOGPIXELSX), jobDpiX);
        const auto [windowY, viewportY] = Ratio(dc->GetDeviceCaps(LOGPIXELSY), jobDpiY);
        SetWindowExtEx(dc, Clamped(qint64(FWindow.cx) * windowX), Clamped(qint64(FWindow.cy) * windowY), nullptr);
        SetViewportExtEx(dc, Clamped(qint64(FViewport.cx) * viewportX), Clamped(qint64(FViewport.cy) * viewportY), nullptr);
    }
    ~TContextUnitsScope()
    {
        SetViewportExtEx(FDc, FViewport.cx, FViewport.cy, nullptr);
        SetWindowExtEx(FDc, FWindow.cx, FWindow.cy, nullptr);
    }
    TContextUnitsScope(const TContextUnitsScope&) = delete;
    TContextUnitsScope& operator=(const TContextUnitsScope&) = delete;

private:
    static std::pair<int, int> Ratio(int contextDpi, int jobDpi)
    {
        const int divisor = std::max(std::gcd(contextDpi, jobDpi), 1);
        return {contextDpi / divisor, jobDpi / divisor};
    }
    static int Clamped(qint64 value)
    {
        return int(std::clamp<qint64>(value, -std::numeric_limits<int>::max(), std::numeric_limits<int>::max()));
    }
    TDeviceContext* FDc;
    TSize FWindow;
    TSize FViewport;
};

int PixelsToTwips(int pixels, int dpi)
{
    return int(qint64(pixels) * TwipsPerInch / dpi);
}
} // namespace

TCustomRichEditPrintJob::TCustomRichEditPrintJob(TComponent* AOwner)
    : TCustomPrintJob(AOwner)
{
}

TCustomRichEditPrintJob::~TCustomRichEditPrintJob()
{
    BeginDestruction();
    ClearPages();
}

void TCustomRichEditPrintJob::SetRichEdit(TCustomRichEdit* Value)
{
    if (FRichEdit != Value) {
        if (FRichEdit)
            RemoveFreeNotification(FRichEdit);
        FRichEdit = Value;
        // Told when the control goes away, whoever owns it.
        if (FRichEdit)
            FreeNotification(FRichEdit);
    }
    Update();
}

void TCustomRichEditPrintJob::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomPrintJob::Notification(AComponent, Operation);
    if (Operation != opRemove || !FRichEdit || AComponent != static_cast<TComponent*>(FRichEdit))
        return;
    // The ranges belong to the text that is going away.
    FRichEdit = nullptr;
    ClearPages();
    if (!HasState(csDestroying))
        Update();
}

void TCustomRichEditPrintJob::ClearPages()
{
    FPages.clear();
}

TRect TCustomRichEditPrintJob::ToTwips(const TRect& Pixels) const
{
    const int dpiX = DPIX(), dpiY = DPIY();
    return {PixelsToTwips(Pixels.Left, dpiX), PixelsToTwips(Pixels.Top, dpiY), PixelsToTwips(Pixels.Right, dpiX),
        PixelsToTwips(Pixels.Bottom, dpiY)};
}

void TCustomRichEditPrintJob::Update()
{
    // Setting PageCount below re-enters Update; the pages just found stand, and the lock keeps
    // that inner call from telling anyone.
    if (FPaginating)
        return;
    ClearPages();
    LockUpdate();
    FPaginating = true;
    try {
        if (!PrinterOK() || !FRichEdit)
            SetPageCount(1);
        else
            Paginate();
    } catch (...) {
        // Ranges of a pass that did not finish describe no document.
        ClearPages();
        FPaginating = false;
        UnlockUpdate();
        throw;
    }
    FPaginating = false;
    UnlockUpdate();
    TCustomPrintJob::Update();
}

void TCustomRichEditPrintJob::ReportProgress(int Pos, int Max)
{
    if (FOnUpdateProgress)
        FOnUpdateProgress(this, Pos, 0, Max);
}

void TCustomRichEditPrintJob::Paginate()
{
    TFormatRange range;
    range.hdc = range.hdcTarget = Printer()->Handle();
    range.rcPage = ToTwips(GetPageRect());
    range.rc = range.rcPage;
    range.chrg.cpMax = -1;
    const int length = FRichEdit->GetTextLen();
    ReportProgress(0, length);
    const TFormattingScope formatting(FRichEdit);
    int position = 0;
    do {
        range.chrg.cpMin = position;
        int next = FRichEdit->FormatRange(&range, false);
        range.rc = range.rcPage;
        if (next == -1)
            next = length;
        // Not a line fits: the rest of the text becomes one page, so the pass always ends.
        if (next <= position)
            next = length;
        FPages.push_back(std::make_unique<TPageRange>(position, next));
        ReportProgress(next, length);
        position = next;
    } while (position < length);
    SetPageCount(int(FPages.size()));
}

void TCustomRichEditPrintJob::DrawArea(TCanvas* TheCanvas, int PageIndex, TRect TheRect, TDrawArea Area, TDrawTarget Target)
{
    if (Area != daPage || !FRichEdit || PageIndex < 1 || PageIndex > int(FPages.size())) {
        TCustomPrintJob::DrawArea(TheCanvas, PageIndex, TheRect, Area, Target);
        return;
    }
    TFormatRange range;
    range.hdc = TheCanvas->Handle();
    // Laid out for the printer on both targets, so the preview breaks lines where paper does.
    range.hdcTarget = Printer()->Handle();
    range.rc = ToTwips({TheRect.Left, TheRect.Top, TheRect.Right, GetSheetRect().Bottom});
    range.rcPage = range.rc;
    const TPageRange& page = *FPages[size_t(PageIndex - 1)];
    range.chrg = {page.FStartPos, page.FEndPos};

    // The control measures in the canvas's own resolution: on the pane, whose logical unit is a
    // printer pixel, the units become the canvas's pixels for the time of the drawing.
    std::unique_ptr<TContextUnitsScope> units;
    if (Target == dtPreview)
        units = std::make_unique<TContextUnitsScope>(range.hdc, DPIX(), DPIY());
    const TFormattingScope formatting(FRichEdit);
    FRichEdit->FormatRange(&range, true);
    AddHeadingBookmarks(page.FStartPos, page.FEndPos);
}

void TCustomRichEditPrintJob::AddHeadingBookmarks(int startPos, int endPos)
{
    // Headings starting on the page become the printed document's outline, nested by level.
    for (QTextBlock block = FRichEdit->document()->findBlock(startPos); block.isValid() && block.position() < endPos;
         block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level > 0 && block.position() >= startPos && !block.text().trimmed().isEmpty())
            AddBookmark(block.text().trimmed(), level - 1);
    }
}

void RegisterPJRichEdit()
{
    RegisterComponents(QStringLiteral("Print Jobs"), {QStringLiteral("TRichEditPrintJob")});
}

} // namespace Vellaro
