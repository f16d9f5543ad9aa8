#pragma once
// Registration of the print jobs for form designers: the palette page "Print Jobs" and the
// multi job's component editor.

#include "platform/core/ComponentRegistry.h"

namespace Vellaro {

/// Puts the print job classes on the palette page "Print Jobs" and registers
/// TMultiPrintJobEditor for TCustomMultiPrintJob and its descendants. Running it again changes
/// nothing.
VELLARO_EXPORT void RegisterPrintJobs();

/// The multi job's component editor: one verb that edits the job list.
class VELLARO_EXPORT TMultiPrintJobEditor : public TComponentEditor {
public:
    /// An editor for AComponent on the form ADesigner works on.
    using TComponentEditor::TComponentEditor;

    /// Runs the job list editor dialog over the multi job; the form counts as modified when the
    /// dialog changed the list. Every index means the one verb.
    void ExecuteVerb(int Index) override;
    /// "&Print Jobs editor..." for every index.
    QString GetVerb(int Index) const override;
    /// One verb.
    int GetVerbCount() const override { return 1; }
};

} // namespace Vellaro
