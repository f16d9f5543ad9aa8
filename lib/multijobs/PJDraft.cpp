#include "multijobs/PJDraft.h"

#include "platform/core/ClassRegistry.h"
#include "platform/core/ComponentRegistry.h"
#include "platform/graphics/DeviceContext.h"

#include <algorithm>
#include <limits>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TDraftPrintJob)

namespace {
constexpr int MinScale = 2;
constexpr int MaxScale = 10;
} // namespace

TCustomDraftPrintJob::TCustomDraftPrintJob(TComponent* AOwner, TNotifyEvent onCreate)
    : TCustomPrintJob(AOwner, std::move(onCreate))
{
}

TCustomDraftPrintJob::~TCustomDraftPrintJob()
{
    BeginDestruction();
    // The linked job must not call into this job once it is gone.
    if (FPrintJob)
        FPrintJob->DeletePrintJobNotification(this);
}

void TCustomDraftPrintJob::SetPrintJob(TCustomPrintJob* Value)
{
    if (Value == this)
        throw EPrintJobException(QStringLiteral("TDraftPrintJob cannot link with himself"));
    if (Value == FPrintJob)
        return;
    if (FPrintJob) {
        FPrintJob->DeletePrintJobNotification(this);
        RemoveFreeNotification(FPrintJob);
    }
    FPrintJob = Value;
    if (FPrintJob) {
        FPrintJob->AddPrintJobNotification(this);
        // A job of another owner tells about its destruction only when asked.
        FreeNotification(FPrintJob);
    }
    Update();
}

void TCustomDraftPrintJob::SetScale(int Value)
{
    Value = std::clamp(Value, MinScale, MaxScale);
    if (Value == FScale)
        return;
    FScale = Value;
    Refresh();
}

void TCustomDraftPrintJob::SetSeparators(bool Value)
{
    if (Value == FSeparators)
        return;
    FSeparators = Value;
    Refresh();
}

void TCustomDraftPrintJob::Refresh()
{
    TJobLock lock(this, &TCustomPrintJob::LockJobsUpdate, &TCustomPrintJob::UnlockJobsUpdate);
    Update();
}

void TCustomDraftPrintJob::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomPrintJob::Notification(AComponent, Operation);
    if (Operation == opRemove && FPrintJob && AComponent == static_cast<TComponent*>(FPrintJob))
        SetPrintJob(nullptr);
}

void TCustomDraftPrintJob::Update()
{
    if (GetUpdateLocked())
        return;
    if (FPrintJob) {
        TJobLock lock(this, &TCustomPrintJob::LockUpdate, &TCustomPrintJob::UnlockUpdate);
        const int sheets = FScale * FScale;
        const int linked = FPrintJob->PageCount();
        SetPageCount(linked / sheets + (linked % sheets ? 1 : 0));
        SetPageUnits(FPrintJob->PageUnits());
        SetPageMode(FPrintJob->PageMode());
        SetPageWidth(FPrintJob->PageWidth());
        SetPageHeight(FPrintJob->PageHeight());
        SetOrientation(FPrintJob->Orientation());
    }
    TJobLock jobs(this, &TCustomPrintJob::LockJobsUpdate, &TCustomPrintJob::UnlockJobsUpdate);
    TCustomPrintJob::Update();
}

void TCustomDraftPrintJob::Draw(TCanvas* TheCanvas, int PageIndex, TDrawTarget Target)
{
    if (GetDrawLocked())
        return;
    TJobLock lock(this, &TCustomPrintJob::LockUpdate, &TCustomPrintJob::UnlockUpdate);
    ResetToDefaultPage();
    if (FPrintJob) {
        // While the linked job draws, this job does not draw again: a linked multi job that
        // lists this draft job ends instead of recursing without end.
        TJobLock drawing(this, &TCustomPrintJob::LockDraw, &TCustomPrintJob::UnlockDraw);
        DrawSheets(TheCanvas, PageIndex, Target);
    }
    if (FSeparators)
        DrawSeparators(TheCanvas);
}

void TCustomDraftPrintJob::DrawSheets(TCanvas* TheCanvas, int PageIndex, TDrawTarget Target)
{
    TDeviceContext* dc = TheCanvas->Handle();
    SetMapMode(dc, MM_ANISOTROPIC);
    TSize window{}, viewport{};
    GetWindowExtEx(dc, &window);
    GetViewportExtEx(dc, &viewport);
    TSize cellSpan = viewport;
    TSize reduced = window;
    if (Target == dtPrint) {
        // Printer pixels for both extents: the reduction is exact whatever the linked job's units.
        TPrinter* printer = Printer();
        const int width = Round(FPrintJob->ConvertUnits(FPrintJob->PageWidth(), FPrintJob->PageUnits(), unPixels, dirHorizontal, printer->PageWidth()));
        const int height = Round(FPrintJob->ConvertUnits(FPrintJob->PageHeight(), FPrintJob->PageUnits(), unPixels, dirVertical, printer->PageHeight()));
        SetViewportExtEx(dc, width, height, nullptr);
        cellSpan = {width, height};
        reduced = {width, height};
    }
    // The window grows by Scale rather than the viewport shrinking: a viewport of 793 pixels
    // divided by 2 would lose half a pixel of every cell, and the reduced rows would drift
    // away from where the paper has them.
    SetWindowExtEx(dc, int(std::min<qint64>(qint64(reduced.cx) * FScale, std::numeric_limits<int>::max())),
        int(std::min<qint64>(qint64(reduced.cy) * FScale, std::numeric_limits<int>::max())), nullptr);
    const QPointF origin = dc->ViewportOrgF();
    const auto restore = [&] {
        SetViewportExtEx(dc, viewport.cx, viewport.cy, nullptr);
        SetWindowExtEx(dc, window.cx, window.cy, nullptr);
    };
    try {
        DrawCells(TheCanvas, PageIndex, Target, origin, cellSpan);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TCustomDraftPrintJob::DrawCells(TCanvas* TheCanvas, int PageIndex, TDrawTarget Target, QPointF origin, TSize span)
{
    TDeviceContext* dc = TheCanvas->Handle();
    const qint64 sheets = qint64(FScale) * FScale;
    for (int k = 1; k <= sheets; ++k) {
        const qint64 page = sheets * (qint64(PageIndex) - 1) + k;
        if (page > FPrintJob->PageCount())
            break;
        if (page < 1)
            continue; // no such sheet before the first
        const int row = (k - 1) / FScale;
        const int column = (k - 1) % FScale;
        const QPointF previous = dc->ViewportOrgF();
        if (Target == dtPrint) {
            // Cells fill row by row; 64-bit products, truncating division (printer pixels are
            // fine enough that the part of a pixel lost does not show).
            dc->SetViewportOrgF(origin + QPointF(int(qint64(column) * span.cx / FScale), int(qint64(row) * span.cy / FScale)));
        } else {
            // On the pane a cell's place falls between screen pixels (column 1 of a page 793
            // pixels wide at 396.5): put it there exactly, as the paper has it.
            dc->SetViewportOrgF(origin + QPointF(double(column) * span.cx / FScale, double(row) * span.cy / FScale));
        }
        try {
            FPrintJob->Draw(TheCanvas, int(page), Target);
        } catch (...) {
            dc->SetViewportOrgF(previous);
            throw;
        }
        dc->SetViewportOrgF(previous);
    }
}

void TCustomDraftPrintJob::DrawSeparators(TCanvas* TheCanvas)
{
    const TRect r = GetPageRect();
    for (int b = 1; b < FScale; ++b) {
        const int x = r.Left + int(qint64(r.Right - r.Left) * b / FScale);
        DrawSeparator(TheCanvas, {x, r.Top}, {x, r.Bottom});
        const int y = r.Top + int(qint64(r.Bottom - r.Top) * b / FScale);
        DrawSeparator(TheCanvas, {r.Left, y}, {r.Right, y});
    }
}

void TCustomDraftPrintJob::DrawSeparator(TCanvas* TheCanvas, TPoint From, TPoint To)
{
    TPen pen;
    pen.Assign(*TheCanvas->Pen());
    TBrush brush;
    brush.Assign(*TheCanvas->Brush());
    try {
        TheCanvas->Brush()->SetStyle(bsClear);
        TheCanvas->Pen()->SetStyle(psDot);
        TheCanvas->Pen()->SetColor(clBlack);
        TheCanvas->Pen()->SetMode(pmCopy);
        TheCanvas->MoveTo(From.X, From.Y);
        TheCanvas->LineTo(To.X, To.Y);
    } catch (...) {
        TheCanvas->Pen()->Assign(pen);
        TheCanvas->Brush()->Assign(brush);
        throw;
    }
    TheCanvas->Pen()->Assign(pen);
    TheCanvas->Brush()->Assign(brush);
}

void RegisterPJDraft()
{
    RegisterComponents(QStringLiteral("Print Jobs"), {QStringLiteral("TDraftPrintJob")});
}

} // namespace Vellaro
