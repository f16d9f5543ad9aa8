#include "design/PrintJobs.h"

#include "gridjobs/PJDBGrid.h"
#include "gridjobs/PJListView.h"
#include "gridjobs/PJSimpleGrid.h"
#include "gridjobs/PJSimpleTextGrid.h"
#include "gridjobs/PJStringGrid.h"
#include "multijobs/PJDraft.h"
#include "multijobs/PJMulti.h"
#include "textjobs/PJRichEdit.h"
#include "textjobs/PJStrings.h"

#include <utility>
#include <vector>

namespace Vellaro {

namespace {

using TJobList = std::vector<std::pair<QString, TCustomPrintJob*>>;

TJobList JobList(const TCustomMultiPrintJob& Multi)
{
    TJobList list;
    for (int i = 0; i < Multi.GetPrintJobCount(); ++i)
        list.emplace_back(Multi.GetPrintJobName(i), Multi.GetPrintJob(i));
    return list;
}

} // namespace

void RegisterPrintJobs()
{
    // Each unit registers its own class; the calls' order is the page's order.
    RegisterPJSimpleGrid();
    RegisterPJSimpleTextGrid();
    RegisterPJStringGrid();
    RegisterPJDBGrid();
    RegisterPJListView();
    RegisterPJStrings();
    RegisterPJRichEdit();
    RegisterPJMulti();
    RegisterPJDraft();
    RegisterComponentEditor<TCustomMultiPrintJob, TMultiPrintJobEditor>();
}

void TMultiPrintJobEditor::ExecuteVerb(int Index)
{
    (void)Index;
    auto* multi = dynamic_cast<TCustomMultiPrintJob*>(Component());
    if (!multi)
        throw EComponentError(QStringLiteral("The print jobs editor needs a multi print job"));
    // Cancelling leaves the list as it was; then the form is not reported as changed.
    const TJobList before = JobList(*multi);
    multi->EditPrintJobs();
    if (JobList(*multi) != before)
        Designer().Modified();
}

QString TMultiPrintJobEditor::GetVerb(int Index) const
{
    (void)Index;
    return QStringLiteral("&Print Jobs editor...");
}

} // namespace Vellaro
