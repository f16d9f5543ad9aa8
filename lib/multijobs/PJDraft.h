#pragma once
// The draft print job: another job's sheets reduced Scale x Scale to a sheet, row by row,
// each drawn by the linked job itself through the canvas's coordinate mapping, with optional
// dotted separators between them.

#include "job/VLJob.h"

#include <QPointF>

namespace Vellaro {

/// All behaviour of the draft job; TDraftPrintJob publishes it.
class VELLARO_EXPORT TCustomDraftPrintJob : public TCustomPrintJob {
    Q_OBJECT
public:
    /// A draft job without a linked job, 2 x 2 sheets per sheet, no separators; onCreate as in
    /// TCustomPrintJob.
    explicit TCustomDraftPrintJob(TComponent* AOwner = nullptr, TNotifyEvent onCreate = {});
    ~TCustomDraftPrintJob() override;

    /// The linked job, not owned. Linking the draft job to itself raises EPrintJobException.
    TCustomPrintJob* PrintJob() const { return FPrintJob; }
    /// Links Value (null for none), subscribes to its updates and takes over its pages.
    void SetPrintJob(TCustomPrintJob* Value);
    /// Rows and columns of reduced sheets per sheet, clamped to 2..10.
    int Scale() const { return FScale; }
    /// Sets Scale, clamped to 2..10, and updates the job.
    void SetScale(int Value);
    /// Whether dotted lines separate the reduced sheets; false by default.
    bool Separators() const { return FSeparators; }
    /// Sets Separators and updates the job.
    void SetSeparators(bool Value);

    /// Takes over the linked job's page count (divided by Scale squared) and page layout.
    void Update() override;
    /// Draws the linked job's sheets of draft sheet PageIndex, then the separators.
    void Draw(TCanvas* TheCanvas, int PageIndex, TDrawTarget Target) override;
    /// Draws one dotted separator line; descendants may draw others.
    virtual void DrawSeparator(TCanvas* TheCanvas, TPoint From, TPoint To);

protected:
    /// Lets go of the linked job when it is destroyed.
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void Refresh();
    void DrawSheets(TCanvas* TheCanvas, int PageIndex, TDrawTarget Target);
    void DrawCells(TCanvas* TheCanvas, int PageIndex, TDrawTarget Target, QPointF origin, TSize cell);
    void DrawSeparators(TCanvas* TheCanvas);

    TCustomPrintJob* FPrintJob = nullptr;
    int FScale = 2;
    bool FSeparators = false;
};

/// A draft job with its published properties.
///
/// Published properties: Name, Tag, #PrintJob, #Scale, #Separators, #Title.
///
/// Events: #OnCreate, #OnDestroy, #OnPrinterSetupChange, #OnStartPrint, #OnEndPrint,
/// #OnPrintProgress, #OnStartPrintPage, #OnEndPrintPage, #OnUpdate.
class VELLARO_EXPORT TDraftPrintJob : public TCustomDraftPrintJob {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(Vellaro::TCustomPrintJob* PrintJob READ PrintJob WRITE SetPrintJob)
    Q_PROPERTY(int Scale READ Scale WRITE SetScale)
    Q_PROPERTY(bool Separators READ Separators WRITE SetSeparators)
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
    Q_PROPERTY(Vellaro::TNotifyEvent OnCreate READ OnCreate WRITE SetOnCreate)
    Q_PROPERTY(Vellaro::TNotifyEvent OnDestroy READ OnDestroy WRITE SetOnDestroy)
    Q_PROPERTY(Vellaro::TNotifyEvent OnPrinterSetupChange READ OnPrinterSetupChange WRITE SetOnPrinterSetupChange)
    Q_PROPERTY(Vellaro::TNotifyEvent OnStartPrint READ OnStartPrint WRITE SetOnStartPrint)
    Q_PROPERTY(Vellaro::TNotifyEvent OnEndPrint READ OnEndPrint WRITE SetOnEndPrint)
    Q_PROPERTY(Vellaro::TProgressEvent OnPrintProgress READ OnPrintProgress WRITE SetOnPrintProgress)
    Q_PROPERTY(Vellaro::TPageNotifyEvent OnStartPrintPage READ OnStartPrintPage WRITE SetOnStartPrintPage)
    Q_PROPERTY(Vellaro::TPageNotifyEvent OnEndPrintPage READ OnEndPrintPage WRITE SetOnEndPrintPage)
    Q_PROPERTY(Vellaro::TNotifyEvent OnUpdate READ OnUpdate WRITE SetOnUpdate)
public:
    /// See TCustomDraftPrintJob::TCustomDraftPrintJob.
    using TCustomDraftPrintJob::TCustomDraftPrintJob;
};

/// Puts TDraftPrintJob on the palette page "Print Jobs" of form designers.
VELLARO_EXPORT void RegisterPJDraft();

} // namespace Vellaro
