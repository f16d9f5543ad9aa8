#pragma once
// Saving a previewed job as files: a save dialog offering the three export formats (PDF, PNG
// images, SVG drawings), then the export with the print progress dialog and its Cancel.

#include "job/VLJob.h"

#include <functional>

class QWidget;

namespace Vellaro {

/// Where and as what a job is saved.
struct VELLARO_EXPORT TExportChoice {
    QString FileName;
    TExportFormat Format = efPdf;
    /// The resolution of PNG images.
    int ImageDpi = 150;
};

/// The save dialog of the preview: a file name and one of the three formats (the name filter
/// chosen). Tests and headless runs answer it through the execute hook.
class VELLARO_EXPORT TExportDialog {
public:
    using TExecuteHook = std::function<bool(TExportChoice& Choice)>;
    /// The dialog's name filters, in the order of TExportFormat.
    static QStringList Filters();
    /// Shows the dialog starting from Choice; true with Choice filled when the user saved. A
    /// file name without the format's extension gets it.
    static bool Execute(QWidget* Parent, TExportChoice& Choice);
    static void SetExecuteHook(TExecuteHook Hook);
};

/// Asks where to save Job and saves it there, showing progress for long runs. False when the
/// dialog or the run was cancelled. Errors (a folder that cannot be written) are raised.
VELLARO_EXPORT bool SaveJobAs(TCustomPrintJob* Job, QWidget* Parent);

} // namespace Vellaro
