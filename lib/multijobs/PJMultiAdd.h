#pragma once
// The add dialog of the job list editor: lists every print job of the multi job's owner for
// selection (several at once). Its layout is the form file PJMultiAdd.vfm.

#include "platform/controls/Buttons.h"
#include "platform/controls/Forms.h"
#include "platform/controls/ListView.h"

namespace Vellaro {

/// The job list editor's add dialog: the print jobs of the multi job's owner, several selectable.
class VELLARO_EXPORT TfrmMultiAdd : public TForm {
    Q_OBJECT
public:
    /// Builds the dialog from its form file.
    explicit TfrmMultiAdd(TComponent* AOwner = nullptr);
    ~TfrmMultiAdd() override;
    /// The list of jobs offered; the selected items' data are the jobs to add.
    TListView* AddJobsView() const { return lsvAddJobs; }

private:
    void FormShow();
    void btnSelectAllClick();

    TListView* lsvAddJobs = nullptr;
};

} // namespace Vellaro
