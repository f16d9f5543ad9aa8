#include "multijobs/PJMultiEditor.h"

#include "multijobs/PJMulti.h"
#include "multijobs/PJMultiAdd.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/Reader.h"
#include "platform/core/Translations.h"

#include <memory>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TfrmMultiEditor)

namespace {
template<class T>
T* Control(TComponent* form, const char* name)
{
    auto* control = dynamic_cast<T*>(form->FindComponent(QLatin1String(name)));
    if (!control)
        throw EFilerError(QStringLiteral("The editor's form file has no control %1").arg(QLatin1String(name)));
    return control;
}

TNotifyEvent Handler(std::function<void()> f)
{
    return [f = std::move(f)](TComponent*) { f(); };
}
} // namespace

/// The dialogs' texts as their form files write them, listed for the translation tools.
[[maybe_unused]] const char* const DialogTexts[] = {QT_TRANSLATE_NOOP("Vellaro", "Add Print Jobs"),
    QT_TRANSLATE_NOOP("Vellaro", "Name"), QT_TRANSLATE_NOOP("Vellaro", "Title"),
    QT_TRANSLATE_NOOP("Vellaro", "Select &All"), QT_TRANSLATE_NOOP("Vellaro", "OK"),
    QT_TRANSLATE_NOOP("Vellaro", "Cancel"), QT_TRANSLATE_NOOP("Vellaro", "&Add..."),
    QT_TRANSLATE_NOOP("Vellaro", "&Delete"), QT_TRANSLATE_NOOP("Vellaro", "&Clear"),
    QT_TRANSLATE_NOOP("Vellaro", "Move &Up"), QT_TRANSLATE_NOOP("Vellaro", "&Move Down")};

void TranslateDialogTexts(TForm* Form)
{
    Form->SetCaption(Tr(qPrintable(Form->Caption())));
    for (int i = 0; i < Form->ComponentCount(); ++i) {
        TComponent* component = Form->Components(i);
        if (auto* button = dynamic_cast<TButton*>(component))
            button->SetCaption(Tr(qPrintable(button->Caption())));
        else if (auto* view = dynamic_cast<TListView*>(component))
            for (int c = 0; c < view->Columns().Count(); ++c)
                view->Columns().Items(c).SetCaption(Tr(qPrintable(view->Columns().Items(c).Caption())));
    }
}

void SelectOnly(TListView* View, int Index)
{
    View->clearSelection();
    TListItem item = View->Items().Items(Index);
    item.SetSelected(true);
    item.SetFocused(true);
}

TfrmMultiEditor::TfrmMultiEditor(TComponent* AOwner)
    : TForm(AOwner)
{
    RegisterMethod(QStringLiteral("FormShow"), QVariant::fromValue(Handler([this] { FormShow(); })));
    RegisterMethod(QStringLiteral("btnAddClick"), QVariant::fromValue(Handler([this] { btnAddClick(); })));
    RegisterMethod(QStringLiteral("btnDeleteClick"), QVariant::fromValue(Handler([this] { btnDeleteClick(); })));
    RegisterMethod(QStringLiteral("btnClearClick"), QVariant::fromValue(Handler([this] { btnClearClick(); })));
    RegisterMethod(QStringLiteral("btnMoveUpClick"), QVariant::fromValue(Handler([this] { btnMoveUpClick(); })));
    RegisterMethod(QStringLiteral("btnMoveDownClick"), QVariant::fromValue(Handler([this] { btnMoveDownClick(); })));
    RegisterMethod(QStringLiteral("lsvPrintJobsChange"),
        QVariant::fromValue(TLVChangeEvent([this](TComponent*, TListItem Item) { lsvPrintJobsChange(Item); })));
    RegisterMethod(QStringLiteral("lsvPrintJobsEditing"),
        QVariant::fromValue(TLVEditingEvent([](TComponent*, TListItem, bool& AllowEdit) { AllowEdit = false; })));
    ReadComponentRes(QStringLiteral(":/vellaro/PJMultiEditor.vfm"), this);
    TranslateDialogTexts(this);
    lsvPrintJobs = Control<TListView>(this, "lsvPrintJobs");
    btnAdd = Control<TButton>(this, "btnAdd");
    btnDelete = Control<TButton>(this, "btnDelete");
    btnClear = Control<TButton>(this, "btnClear");
    btnMoveUp = Control<TButton>(this, "btnMoveUp");
    btnMoveDown = Control<TButton>(this, "btnMoveDown");
}

TfrmMultiEditor::~TfrmMultiEditor()
{
    DestroyComponent();
}

void TfrmMultiEditor::FillListView(TCustomMultiPrintJob* MultiJob, TListView* ListView)
{
    TComponent* owner = MultiJob ? MultiJob->Owner() : nullptr;
    for (int i = 0; owner && i < owner->ComponentCount(); ++i) {
        auto* job = dynamic_cast<TCustomPrintJob*>(owner->Components(i));
        if (!job || job == MultiJob)
            continue;
        TListItem item = ListView->Items().Add();
        item.SetCaption(job->Name());
        item.SetSubItems({job->Title()});
        item.SetData(static_cast<TComponent*>(job));
    }
}

void TfrmMultiEditor::UpdateButtons()
{
    const TListItem selected = lsvPrintJobs->Selected();
    const int count = lsvPrintJobs->Items().Count();
    btnDelete->SetEnabled(bool(selected));
    btnClear->SetEnabled(count > 0);
    btnMoveUp->SetEnabled(selected && selected.Index() > 0);
    btnMoveDown->SetEnabled(selected && selected.Index() < count - 1);
}

void TfrmMultiEditor::FormShow()
{
    if (lsvPrintJobs->Items().Count() > 0)
        SelectOnly(lsvPrintJobs, 0);
    UpdateButtons();
}

void TfrmMultiEditor::lsvPrintJobsChange(TListItem Item)
{
    if (Item == lsvPrintJobs->Selected())
        UpdateButtons();
}

void TfrmMultiEditor::btnAddClick()
{
    auto dialog = std::make_unique<TfrmMultiAdd>(this);
    TListView* source = dialog->AddJobsView();
    FillListView(FMultiJob, source);
    if (dialog->ShowModal() == mrOk) {
        // Several selected items come in list order, not in the order they were clicked.
        for (int i = 0; i < source->Items().Count(); ++i) {
            const TListItem item = source->Items().Items(i);
            if (item.Selected())
                lsvPrintJobs->Items().Add().Assign(item);
        }
    }
    dialog.reset();
    UpdateButtons();
}

void TfrmMultiEditor::btnDeleteClick()
{
    TListItem selected = lsvPrintJobs->Selected();
    if (selected) {
        const int index = selected.Index();
        selected.Delete();
        const int count = lsvPrintJobs->Items().Count();
        if (count > 0)
            SelectOnly(lsvPrintJobs, std::min(index, count - 1));
    }
    UpdateButtons();
}

void TfrmMultiEditor::Exchange(int i, int j)
{
    QTreeWidgetItem storage;
    TListItem temporary(&storage);
    TListItem a = lsvPrintJobs->Items().Items(i);
    TListItem b = lsvPrintJobs->Items().Items(j);
    temporary.Assign(a);
    a.Assign(b);
    b.Assign(temporary);
    SelectOnly(lsvPrintJobs, j);
}

void TfrmMultiEditor::btnMoveUpClick()
{
    const TListItem selected = lsvPrintJobs->Selected();
    if (selected && selected.Index() > 0)
        Exchange(selected.Index(), selected.Index() - 1);
    UpdateButtons();
}

void TfrmMultiEditor::btnMoveDownClick()
{
    const TListItem selected = lsvPrintJobs->Selected();
    if (selected && selected.Index() < lsvPrintJobs->Items().Count() - 1)
        Exchange(selected.Index(), selected.Index() + 1);
    UpdateButtons();
}

void TfrmMultiEditor::btnClearClick()
{
    lsvPrintJobs->Items().Clear();
    UpdateButtons();
}

} // namespace Vellaro
