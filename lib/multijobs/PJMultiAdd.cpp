#include "multijobs/PJMultiAdd.h"

#include "multijobs/PJMultiEditor.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/Reader.h"

namespace Vellaro {

VELLARO_REGISTER_CLASS(TfrmMultiAdd)

TfrmMultiAdd::TfrmMultiAdd(TComponent* AOwner)
    : TForm(AOwner)
{
    RegisterMethod(QStringLiteral("FormShow"), QVariant::fromValue(TNotifyEvent([this](TComponent*) { FormShow(); })));
    RegisterMethod(QStringLiteral("btnSelectAllClick"), QVariant::fromValue(TNotifyEvent([this](TComponent*) { btnSelectAllClick(); })));
    RegisterMethod(QStringLiteral("lsvAddJobsEditing"),
        QVariant::fromValue(TLVEditingEvent([](TComponent*, TListItem, bool& AllowEdit) { AllowEdit = false; })));
    ReadComponentRes(QStringLiteral(":/vellaro/PJMultiAdd.vfm"), this);
    TranslateDialogTexts(this);
    lsvAddJobs = dynamic_cast<TListView*>(FindComponent(QStringLiteral("lsvAddJobs")));
    if (!lsvAddJobs)
        throw EFilerError(QStringLiteral("The add dialog's form file has no list view lsvAddJobs"));
}

TfrmMultiAdd::~TfrmMultiAdd()
{
    DestroyComponent();
}

void TfrmMultiAdd::FormShow()
{
    if (lsvAddJobs->Items().Count() > 0)
        SelectOnly(lsvAddJobs, 0);
}

void TfrmMultiAdd::btnSelectAllClick()
{
    for (int i = 0; i < lsvAddJobs->Items().Count(); ++i)
        lsvAddJobs->Items().Items(i).SetSelected(true);
}

} // namespace Vellaro
