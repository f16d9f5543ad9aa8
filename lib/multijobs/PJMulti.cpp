#include "multijobs/PJMulti.h"

#include "multijobs/PJMultiEditor.h"
#include "platform/core/Application.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/ComponentRegistry.h"
#include "platform/core/Reader.h"
#include "platform/core/Writer.h"

#include <algorithm>
#include <limits>
#include <memory>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TMultiPrintJob)

TCustomMultiPrintJob::TCustomMultiPrintJob(TComponent* AOwner, TNotifyEvent onCreate)
    : TCustomPrintJob(AOwner, std::move(onCreate))
{
}

TCustomMultiPrintJob::~TCustomMultiPrintJob()
{
    BeginDestruction();
    DeleteNotifications();
    FJobs.clear();
}

// ---- Registration with the listed jobs --------------------------------------------------

void TCustomMultiPrintJob::Subscribe(TCustomPrintJob* Job)
{
    Job->AddPrintJobNotification(this);
    // A job of another owner would not tell about its destruction otherwise.
    FreeNotification(Job);
}

void TCustomMultiPrintJob::Unsubscribe(TCustomPrintJob* Job)
{
    // Another entry may still list the job: it keeps telling this job about its changes.
    if (!Job || IndexOf(Job) >= 0)
        return;
    try {
        Job->DeletePrintJobNotification(this);
    } catch (...) {
    }
    RemoveFreeNotification(Job);
}

void TCustomMultiPrintJob::AddNotifications()
{
    for (const TEntry& e : FJobs) {
        if (!e.Job)
            continue;
        try {
            Subscribe(e.Job);
        } catch (...) {
        }
    }
}

void TCustomMultiPrintJob::DeleteNotifications()
{
    for (const TEntry& e : FJobs) {
        if (!e.Job)
            continue;
        try {
            e.Job->DeletePrintJobNotification(this);
        } catch (...) {
        }
        RemoveFreeNotification(e.Job);
    }
}

void TCustomMultiPrintJob::Refresh()
{
    TJobLock lock(this, &TCustomPrintJob::LockJobsUpdate, &TCustomPrintJob::UnlockJobsUpdate);
    Update();
}

// ---- The list ---------------------------------------------------------------------------

void TCustomMultiPrintJob::CheckIndex(int Index, int Count) const
{
    if (Index < 0 || Index >= Count)
        throw EComponentError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

void TCustomMultiPrintJob::CheckJob(TCustomPrintJob* Job) const
{
    if (!Job)
        throw EPrintJobException(QStringLiteral("TMultiPrintJob cannot list a missing job"));
    // Listing itself would make its page count depend on itself.
    if (Job == this)
        throw EPrintJobException(QStringLiteral("TMultiPrintJob cannot list himself"));
}

void TCustomMultiPrintJob::Add(TCustomPrintJob* Job)
{
    Insert(GetPrintJobCount(), Job);
}

void TCustomMultiPrintJob::Insert(int Index, TCustomPrintJob* Job)
{
    CheckJob(Job);
    CheckIndex(Index, GetPrintJobCount() + 1);
    FJobs.insert(FJobs.begin() + Index, TEntry{Job->Name(), Job});
    Subscribe(Job);
    Refresh();
}

void TCustomMultiPrintJob::Delete(int Index)
{
    CheckIndex(Index, GetPrintJobCount());
    TCustomPrintJob* job = FJobs[size_t(Index)].Job;
    FJobs.erase(FJobs.begin() + Index);
    Unsubscribe(job);
    Refresh();
}

void TCustomMultiPrintJob::Clear()
{
    DeleteNotifications();
    FJobs.clear();
    Refresh();
}

void TCustomMultiPrintJob::Move(int CurIndex, int NewIndex)
{
    CheckIndex(CurIndex, GetPrintJobCount());
    CheckIndex(NewIndex, GetPrintJobCount());
    const TEntry entry = FJobs[size_t(CurIndex)];
    FJobs.erase(FJobs.begin() + CurIndex);
    FJobs.insert(FJobs.begin() + NewIndex, entry);
    Refresh();
}

int TCustomMultiPrintJob::IndexOf(const TCustomPrintJob* Job) const
{
    for (size_t i = 0; i < FJobs.size(); ++i)
        if (FJobs[i].Job == Job)
            return int(i);
    return -1;
}

int TCustomMultiPrintJob::IndexOfName(const QString& Name) const
{
    for (size_t i = 0; i < FJobs.size(); ++i)
        if (FJobs[i].Name.compare(Name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

TCustomPrintJob* TCustomMultiPrintJob::GetPrintJob(int Index) const
{
    return Index >= 0 && Index < GetPrintJobCount() ? FJobs[size_t(Index)].Job : nullptr;
}

QString TCustomMultiPrintJob::GetPrintJobName(int Index) const
{
    return Index >= 0 && Index < GetPrintJobCount() ? FJobs[size_t(Index)].Name : QString();
}

// ---- Page mapping -----------------------------------------------------------------------

int TCustomMultiPrintJob::TotalPages() const
{
    qint64 sum = 0;
    for (const TEntry& e : FJobs)
        if (e.Job)
            sum += e.Job->PageCount();
    return int(std::min<qint64>(sum, std::numeric_limits<int>::max()));
}

TCustomPrintJob* TCustomMultiPrintJob::GetPageJob(int PageIndex) const
{
    qint64 bound = 1;
    for (const TEntry& e : FJobs) {
        if (!e.Job)
            continue;
        bound += e.Job->PageCount();
        if (bound > PageIndex)
            return e.Job;
    }
    return nullptr;
}

int TCustomMultiPrintJob::GetLocalPage(int PageIndex) const
{
    qint64 bound = 1;
    for (const TEntry& e : FJobs) {
        if (!e.Job)
            continue;
        bound += e.Job->PageCount();
        if (bound > PageIndex)
            return int(e.Job->PageCount() - (bound - PageIndex) + 1);
    }
    return int(std::min<qint64>(bound, std::numeric_limits<int>::max()));
}

// ---- Change notification and drawing ----------------------------------------------------

void TCustomMultiPrintJob::Update()
{
    // A pane repainting while the count changes shows an empty sheet, not a half-updated one.
    TJobLock draw(this, &TCustomPrintJob::LockDraw, &TCustomPrintJob::UnlockDraw);
    if (GetUpdateLocked())
        return;
    SetPageCount(TotalPages());
    // Jobs registered with this one are not told: two multi jobs listing each other stay calm.
    TJobLock jobs(this, &TCustomPrintJob::LockJobsUpdate, &TCustomPrintJob::UnlockJobsUpdate);
    TCustomPrintJob::Update();
}

void TCustomMultiPrintJob::Draw(TCanvas* TheCanvas, int PageIndex, TDrawTarget Target)
{
    if (GetDrawLocked())
        return;
    TCustomPrintJob* job = GetPageJob(PageIndex);
    if (!job)
        return;
    {
        TJobLock lock(this, &TCustomPrintJob::LockUpdate, &TCustomPrintJob::UnlockUpdate);
        TakePageSize(job);
    }
    // A change of orientation takes the setter's full path, so the controls hear of it.
    SetOrientation(job->Orientation());
    ResetToDefaultPage();
    // While the owning job draws, this one does not draw again: jobs that list each other
    // (directly or through a draft job) end instead of recursing without end.
    TJobLock drawing(this, &TCustomPrintJob::LockDraw, &TCustomPrintJob::UnlockDraw);
    const int localPage = GetLocalPage(PageIndex);
    // A printed document's outline leads to each listed job's first page.
    if (localPage == 1)
        AddBookmark(job->Title().isEmpty() ? job->Name() : job->Title());
    job->Draw(TheCanvas, localPage, Target);
}

void TCustomMultiPrintJob::TakePageSize(const TCustomPrintJob* Job)
{
    SetPageUnits(Job->PageUnits());
    SetPageMode(Job->PageMode());
    SetPageWidth(Job->PageWidth());
    SetPageHeight(Job->PageHeight());
}

void TCustomMultiPrintJob::PreparePage(int PageIndex)
{
    TCustomPrintJob* job = GetPageJob(PageIndex);
    if (!job || FPreparing)
        return;
    {
        FPreparing = true;
        const struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{FPreparing};
        // A listed multi job takes its own page's layout first.
        job->PreparePage(GetLocalPage(PageIndex));
        TJobLock lock(this, &TCustomPrintJob::LockUpdate, &TCustomPrintJob::UnlockUpdate);
        TakePageSize(job);
        SetOrientation(job->Orientation());
    }
    ResetToDefaultPage();
}

// ---- Form files -------------------------------------------------------------------------

void TCustomMultiPrintJob::DefineProperties(TFiler& Filer)
{
    TCustomPrintJob::DefineProperties(Filer);
    Filer.DefineProperty(QStringLiteral("PrintJobs"), [this](TReader& r) { ReadData(r); },
        [this](TWriter& w) { WriteData(w); }, true);
}

void TCustomMultiPrintJob::WriteData(TWriter& Writer)
{
    Writer.WriteListBegin();
    for (const TEntry& e : FJobs)
        Writer.WriteString(e.Name);
    Writer.WriteListEnd();
}

void TCustomMultiPrintJob::ReadData(TReader& Reader)
{
    Reader.ReadListBegin();
    DeleteNotifications();
    FJobs.clear();
    while (!Reader.EndOfList())
        FJobs.push_back(TEntry{Reader.ReadString(), nullptr});
    Reader.ReadListEnd();
}

void TCustomMultiPrintJob::WriteState(TWriter& Writer)
{
    // A job renamed after it was added is stored under its new name.
    for (TEntry& e : FJobs)
        if (e.Job)
            e.Name = e.Job->Name();
    TCustomPrintJob::WriteState(Writer);
}

void TCustomMultiPrintJob::Loaded()
{
    TCustomPrintJob::Loaded();
    QStringList missing;
    for (TEntry& e : FJobs) {
        TComponent* found = Owner() ? Owner()->FindComponent(e.Name) : nullptr;
        auto* job = dynamic_cast<TCustomPrintJob*>(found);
        e.Job = job == this ? nullptr : job;
        if (!e.Job && !missing.contains(e.Name, Qt::CaseInsensitive))
            missing << e.Name;
    }
    AddNotifications();
    Refresh();
    // The entry stays (a designer may still add the job); at run time the user hears once that
    // the document lacks it, and the other jobs print.
    if (!missing.isEmpty() && !HasState(csDesigning))
        ReportMissingJobs(missing);
}

void TCustomMultiPrintJob::ReportMissingJobs(const QStringList& Names) const
{
    const QString owner = Owner() ? Owner()->Name() : QString();
    const QString message = Names.size() == 1
        ? QStringLiteral("%1 lists the print job '%2', which %3 does not have; the other jobs print without it")
              .arg(Name(), Names.front(), owner.isEmpty() ? QStringLiteral("its owner") : owner)
        : QStringLiteral("%1 lists the print jobs %2, which %3 does not have; the other jobs print without them")
              .arg(Name(), QLatin1Char('\'') + Names.join(QLatin1String("', '")) + QLatin1Char('\''),
                  owner.isEmpty() ? QStringLiteral("its owner") : owner);
    Application().HandleException(std::make_exception_ptr(EPrintJobException(message)));
}

void TCustomMultiPrintJob::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomPrintJob::Notification(AComponent, Operation);
    if (Operation != opRemove || AComponent == this)
        return;
    const auto listed = [AComponent](const TEntry& e) { return e.Job && static_cast<TComponent*>(e.Job) == AComponent; };
    const auto it = std::find_if(FJobs.begin(), FJobs.end(), listed);
    if (it == FJobs.end())
        return;
    // An owner going away takes all its jobs one after the other: the entries of its other
    // jobs go now too, in the same pass, so tearing down n listed jobs costs O(n), not O(n^2).
    std::vector<TCustomPrintJob*> gone{it->Job};
    std::unordered_set<const TCustomPrintJob*> seen{gone.front()};
    std::erase_if(FJobs, [&](const TEntry& e) {
        if (listed(e))
            return true;
        const bool ownerGoing = e.Job && e.Job->Owner() && e.Job->Owner()->HasState(csDestroying);
        if (ownerGoing && seen.insert(e.Job).second)
            gone.push_back(e.Job);
        return ownerGoing;
    });
    for (TCustomPrintJob* job : gone)
        Unsubscribe(job);
}

// ---- Editing ----------------------------------------------------------------------------

std::unordered_set<const TComponent*> TCustomMultiPrintJob::KnownComponents() const
{
    std::unordered_set<const TComponent*> known;
    for (const TEntry& e : FJobs)
        if (e.Job)
            known.insert(e.Job);
    for (int i = 0; Owner() && i < Owner()->ComponentCount(); ++i)
        known.insert(Owner()->Components(i));
    return known;
}

void TCustomMultiPrintJob::EditPrintJobs()
{
    auto dialog = std::make_unique<TfrmMultiEditor>(nullptr);
    const QString prefix = Owner() ? Owner()->Name() + u'.' : QString();
    dialog->SetCaption(prefix + Name() + QStringLiteral(".PrintJobs"));
    dialog->SetMultiJob(this);
    TListView* view = dialog->PrintJobsView();
    for (const TEntry& e : FJobs) {
        if (e.Job == this)
            continue;
        TListItem item = view->Items().Add();
        if (e.Job) {
            item.SetCaption(e.Job->Name());
            item.SetSubItems({e.Job->Title()});
            item.SetData(static_cast<TComponent*>(e.Job));
        } else {
            // A name that found no job stays listed (without a job) until the user removes it.
            item.SetCaption(e.Name);
            item.SetSubItems({MissingJobText()});
        }
    }
    if (dialog->ShowModal() != mrOk)
        return;
    // The items' data are plain pointers: take only those that are still listed here or
    // owned by this job's owner, so a job gone while the dialog was open is left out.
    const std::unordered_set<const TComponent*> known = KnownComponents();
    std::vector<TEntry> entries;
    for (int i = 0; i < view->Items().Count(); ++i) {
        const TListItem item = view->Items().Items(i);
        auto* data = static_cast<TComponent*>(item.Data());
        if (!data) {
            entries.push_back(TEntry{item.Caption(), nullptr});
            continue;
        }
        auto* job = known.count(data) ? dynamic_cast<TCustomPrintJob*>(data) : nullptr;
        if (job && job != this)
            entries.push_back(TEntry{item.Caption(), job});
    }
    DeleteNotifications();
    FJobs = std::move(entries);
    AddNotifications();
    Update();
}

QString TCustomMultiPrintJob::MissingJobText()
{
    return QStringLiteral("(not found)");
}

void RegisterPJMulti()
{
    RegisterComponents(QStringLiteral("Print Jobs"), {QStringLiteral("TMultiPrintJob")});
}

} // namespace Vellaro
