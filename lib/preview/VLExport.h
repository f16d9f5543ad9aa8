#pragma once
// Saving a previewed job as files: a save dialog offering the three export formats (PDF, PNG
// images, SVG drawings), then the export with the print progress dialog and its Cancel.

#include "job/VLJob.h"

#include <functional>

class QWidget;

namespace Vellaro {

/// Where and as what a job is saved.
struct VELLARO_EXPORT TExportChoice {
    /// The file to write; for PNG and SVG the pages' files are named after it.
    QString FileName;
    /// PDF, PNG or SVG.
    TExportFormat Format = efPdf;
    /// The resolution of PNG images.
    int ImageDpi = 150;
};

/// The save dialog of the preview: a file name and one of the three formats (the name filter
/// chosen). Tests and headless runs answer it through the execute hook.
class VELLARO_EXPORT TExportDialog {
public:
    /// Answers the dialog in place of the user: fills Choice and returns true to save.
    using TExecuteHook = std::function<bool(TExportChoice& Choice)>;
    /// The dialog's name filters, in the order of TExportFormat.
    static QStringList Filters();
    /// Shows the dialog starting from Choice; true with Choice filled when the user saved. A
    /// file name without the format's extension gets it.
    static bool Execute(QWidget* Parent, TExportChoice& Choice);
    /// Installs a hook that answers every Execute (an empty one shows the real dialog again).
    static void SetExecuteHook(TExecuteHook Hook);
};

/// Asks where to save Job and saves it there, showing progress for long runs. False when the
/// dialog or the run was cancelled. Errors (a folder that cannot be written) are raised.
VELLARO_EXPORT bool SaveJobAs(TCustomPrintJob* Job, QWidget* Parent);

} // namespace Vellaro
