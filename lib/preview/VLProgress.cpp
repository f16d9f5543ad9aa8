#include "preview/VLProgress.h"

#include "platform/core/Translations.h"

#include <QElapsedTimer>
#include <QProgressDialog>

namespace Vellaro {

namespace {
/// A hidden progress dialog with Cancel, modal to the application: nothing else starts while
/// it shows. Being modal, it handles events (Cancel) whenever its value is set.
std::unique_ptr<QProgressDialog> MakeProgressDialog(QWidget* Parent, const QString& Title)
{
    auto dialog = std::make_unique<QProgressDialog>(Parent ? Parent->window() : nullptr);
    dialog->setWindowTitle(Title);
    dialog->setCancelButtonText(QCoreApplication::translate("Vellaro", "Cancel"));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setAutoReset(false);
    dialog->setAutoClose(false);
    dialog->setMinimumDuration(0);
    dialog->hide();
    return dialog;
}
} // namespace

TPrintProgress::TPrintProgress(TCustomPrintJob* Job, QWidget* Parent)
    : FJob(Job)
{
    FDialog = MakeProgressDialog(Parent, Job ? Job->Title() : QString());
    QObject::connect(FDialog.get(), &QProgressDialog::canceled, FDialog.get(), [this] {
        if (FJob)
            FJob->Abort();
    });
    if (!FJob)
        return;
    // The clock restarts when a run's first page starts, so the time a print dialog stood open
    // before the run does not count.
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    FJob->SetProgressMonitor([this, clock](TComponent*, int Pos, int Min, int Max) {
        if (Pos < Min)
            clock->restart();
        else if (FDialog->isVisible() || clock->elapsed() >= ShowAfterMs)
            Progress(Pos, Min, Max);
    });
}

TPrintProgress::~TPrintProgress()
{
    if (FJob)
        FJob->SetProgressMonitor({});
}

QProgressDialog* TPrintProgress::Dialog() const
{
    return FDialog.get();
}

QString TPrintProgress::ProgressText(int Pos, int Min, int Max)
{
    if (Min <= 1)
        return QCoreApplication::translate("Vellaro", "Printing page %1 of %2").arg(Pos).arg(Max);
    return QCoreApplication::translate("Vellaro", "Printing page %1 (pages %2 to %3)").arg(Pos).arg(Min).arg(Max);
}

void TPrintProgress::Progress(int Pos, int Min, int Max)
{
    if (Pos >= Max) {
        FDialog->hide();
        return;
    }
    FDialog->setRange(Min - 1, Max);
    FDialog->setValue(Pos);
    FDialog->setLabelText(ProgressText(Pos, Min, Max));
    if (!FDialog->isVisible())
        FDialog->show();
}

// ---- TFindProgress ---------------------------------------------------------------------------

TFindProgress::TFindProgress(TCustomPreview* Preview, QWidget* Parent)
    : FPreview(Preview)
{
    TCustomPrintJob* job = Preview ? Preview->PrintJob() : nullptr;
    FDialog = MakeProgressDialog(Parent, job ? job->Title() : QString());
    if (!FPreview)
        return;
    FClock.start();
    // The application's own handler stays in place: it runs first, then the dialog's part.
    FApplicationHandler = FPreview->OnFindProgress();
    FPreview->SetOnFindProgress([this](TComponent* Sender, int Page, int PageCount, bool& Cancel) {
        if (FApplicationHandler)
            FApplicationHandler(Sender, Page, PageCount, Cancel);
        if (!FDialog->wasCanceled() && (FDialog->isVisible() || FClock.elapsed() >= ShowAfterMs))
            Progress(Page, PageCount);
        if (FDialog->wasCanceled())
            Cancel = true;
    });
}

TFindProgress::~TFindProgress()
{
    if (FPreview)
        FPreview->SetOnFindProgress(std::move(FApplicationHandler));
}

QProgressDialog* TFindProgress::Dialog() const
{
    return FDialog.get();
}

QString TFindProgress::ProgressText(int Page, int PageCount)
{
    return QCoreApplication::translate("Vellaro", "Searching page %1 of %2").arg(Page).arg(PageCount);
}

void TFindProgress::Progress(int Page, int PageCount)
{
    if (Page >= PageCount) {
        FDialog->hide();
        return;
    }
    FDialog->setRange(0, PageCount);
    FDialog->setLabelText(ProgressText(Page, PageCount));
    if (!FDialog->isVisible())
        FDialog->show();
    // Handles the events waiting, Cancel among them, as the dialog is modal.
    FDialog->setValue(Page);
}

} // namespace Vellaro
