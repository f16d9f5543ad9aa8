#include "preview/VLProgress.h"

#include "platform/core/Translations.h"

#include <QElapsedTimer>
#include <QProgressDialog>

namespace Vellaro {

TPrintProgress::TPrintProgress(TCustomPrintJob* Job, QWidget* Parent)
    : FJob(Job)
{
    FDialog = std::make_unique<QProgressDialog>(Parent ? Parent->window() : nullptr);
    FDialog->setWindowTitle(Job ? Job->Title() : QString());
    FDialog->setCancelButtonText(QCoreApplication::translate("Vellaro", "Cancel"));
    FDialog->setWindowModality(Qt::ApplicationModal); // no second run while this one goes on
    FDialog->setAutoReset(false);
    FDialog->setAutoClose(false);
    FDialog->setMinimumDuration(0);
    FDialog->hide();
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

} // namespace Vellaro
