#pragma once
// The job list editor: a modal dialog showing a multi job's list in a two-column list view,
// with adding (through the add dialog), deleting, clearing and reordering. It edits only its
// own list; the caller copies the list back when the dialog closes with OK. Its layout is the
// form file PJMultiEditor.vfm.

#include "platform/controls/Buttons.h"
#include "platform/controls/Forms.h"
#include "platform/controls/ListView.h"

namespace Vellaro {

class TCustomMultiPrintJob;

/// The job list editor: a multi job's list (name and title of each job) with add, delete, clear
/// and move buttons.
class VELLARO_EXPORT TfrmMultiEditor : public TForm {
    Q_OBJECT
public:
    /// Builds the dialog from its form file.
    explicit TfrmMultiEditor(TComponent* AOwner = nullptr);
    ~TfrmMultiEditor() override;

    /// The multi job whose owner's jobs the add dialog offers.
    TCustomMultiPrintJob* MultiJob() const { return FMultiJob; }
    /// Sets the multi job whose owner's jobs the add dialog offers; not owned.
    void SetMultiJob(TCustomMultiPrintJob* Value) { FMultiJob = Value; }
    /// The list being edited: one item per entry, caption the job's Name, sub-item its Title,
    /// data the job.
    TListView* PrintJobsView() const { return lsvPrintJobs; }

    /// Appends one item per print job of the multi job's owner, in the owner's order, leaving
    /// out the multi job itself: caption the job's Name, sub-item its Title, data the job.
    static void FillListView(TCustomMultiPrintJob* MultiJob, TListView* ListView);
    /// Enables the buttons whose action the current selection allows.
    void UpdateButtons();

private:
    void FormShow();
    void lsvPrintJobsChange(TListItem Item);
    void btnAddClick();
    void btnDeleteClick();
    void btnMoveUpClick();
    void btnMoveDownClick();
    void btnClearClick();
    /// Exchanges the contents of items i and j and selects j.
    void Exchange(int i, int j);

    TCustomMultiPrintJob* FMultiJob = nullptr;
    TListView* lsvPrintJobs = nullptr;
    TButton* btnAdd = nullptr;
    TButton* btnDelete = nullptr;
    TButton* btnClear = nullptr;
    TButton* btnMoveUp = nullptr;
    TButton* btnMoveDown = nullptr;
};

/// Selects the item at Index alone and gives it the focus state.
VELLARO_EXPORT void SelectOnly(TListView* View, int Index);

/// Shows the captions a dialog's form file gave its form, buttons and list columns in the
/// installed language (see InstallTranslations).
VELLARO_EXPORT void TranslateDialogTexts(TForm* Form);

} // namespace Vellaro
