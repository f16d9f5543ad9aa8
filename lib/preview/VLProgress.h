#pragma once
// Progress of long print runs started from the preview: while a run lasts longer than about
// half a second, a progress dialog shows the page reached and the total, and its Cancel button
// asks the job to abort. The application's own OnPrintProgress handler keeps running.

#include "job/VLJob.h"

#include <QPointer>
#include <memory>

class QProgressDialog;
class QWidget;

namespace Vellaro {

/// Watches the print runs of one job for as long as it lives (a scope around Print or
/// PrintDialog). Nothing shows for runs shorter than ShowAfterMs.
class VELLARO_EXPORT TPrintProgress {
public:
    /// How long a run goes on, in milliseconds, before the dialog shows.
    static constexpr int ShowAfterMs = 500;

    /// Starts watching Job; the dialog, once shown, is modal to Parent's window.
    TPrintProgress(TCustomPrintJob* Job, QWidget* Parent);
    ~TPrintProgress();
    TPrintProgress(const TPrintProgress&) = delete;
    TPrintProgress& operator=(const TPrintProgress&) = delete;

    /// The dialog (for tests and applications that restyle it).
    QProgressDialog* Dialog() const;
    /// The dialog's text for page Pos of a run reaching from Min to Max.
    static QString ProgressText(int Pos, int Min, int Max);

private:
    void Progress(int Pos, int Min, int Max);

    QPointer<TCustomPrintJob> FJob;
    std::unique_ptr<QProgressDialog> FDialog;
};

} // namespace Vellaro
