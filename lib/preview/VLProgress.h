#pragma once
// Progress of long print runs and searches started from the preview: while one lasts longer
// than about half a second, a progress dialog shows the page reached and the total, and its
// Cancel button stops it. The application's own progress handlers keep running.

#include "job/VLJob.h"
#include "preview/VLPreview.h"

#include <QElapsedTimer>
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

/// Watches the searches of one pane for as long as it lives (a scope around FindText). A search
/// still going after ShowAfterMs shows "Searching page N of M"; Cancel stops it before the next
/// page, and the pane keeps the matches of the pages searched so far (FindStopped tells).
class VELLARO_EXPORT TFindProgress {
public:
    /// How long a search goes on, in milliseconds, before the dialog shows.
    static constexpr int ShowAfterMs = TPrintProgress::ShowAfterMs;

    /// Starts watching Preview's searches; the dialog, once shown, is modal to Parent's window.
    TFindProgress(TCustomPreview* Preview, QWidget* Parent);
    /// Gives the pane its application's OnFindProgress handler back.
    ~TFindProgress();
    TFindProgress(const TFindProgress&) = delete;
    TFindProgress& operator=(const TFindProgress&) = delete;

    /// The dialog (for tests and applications that restyle it).
    QProgressDialog* Dialog() const;
    /// The dialog's text for page Page of PageCount.
    static QString ProgressText(int Page, int PageCount);

private:
    void Progress(int Page, int PageCount);

    QPointer<TCustomPreview> FPreview;
    TFindProgressEvent FApplicationHandler;
    std::unique_ptr<QProgressDialog> FDialog;
    QElapsedTimer FClock;
};

} // namespace Vellaro
