#pragma once
// The multi print job: an ordered list of other jobs printed and previewed as one document.
// Its pages are the first job's, then the second's, and so on, numbered from 1; each page is
// drawn by the job that owns it with that job's own layout and events.

#include "job/VLJob.h"

#include <QStringList>
#include <unordered_set>
#include <vector>

namespace Vellaro {

class TReader;
class TWriter;

/// All behaviour of the multi job; TMultiPrintJob publishes it.
class VELLARO_EXPORT TCustomMultiPrintJob : public TCustomPrintJob {
    Q_OBJECT
public:
    /// An empty multi job; onCreate as in TCustomPrintJob.
    explicit TCustomMultiPrintJob(TComponent* AOwner = nullptr, TNotifyEvent onCreate = {});
    ~TCustomMultiPrintJob() override;

    /// Appends Job. Raises EPrintJobException for the multi job itself.
    void Add(TCustomPrintJob* Job);
    /// Inserts Job before entry Index (0..count). Raises EComponentError for another index.
    void Insert(int Index, TCustomPrintJob* Job);
    /// Removes entry Index; raises EComponentError outside the list.
    void Delete(int Index);
    /// Removes every entry and updates.
    void Clear();
    /// Moves entry CurIndex to NewIndex; raises EComponentError when either lies outside.
    void Move(int CurIndex, int NewIndex);
    /// The first entry holding Job, or -1.
    int IndexOf(const TCustomPrintJob* Job) const;
    /// The first entry stored under Name (case-insensitive), or -1.
    int IndexOfName(const QString& Name) const;
    /// The job of entry Index; nullptr outside the list or for an entry whose job was not found.
    TCustomPrintJob* GetPrintJob(int Index) const;
    /// The number of entries.
    int GetPrintJobCount() const { return int(FJobs.size()); }
    /// The stored name of entry Index.
    QString GetPrintJobName(int Index) const;
    /// The job owning overall page PageIndex, or nullptr past the last page.
    TCustomPrintJob* GetPageJob(int PageIndex) const;
    /// PageIndex within the job owning it; past the last page, 1 plus the total page count.
    int GetLocalPage(int PageIndex) const;
    /// Runs the job list editor dialog over this job. Entries whose name found no job are
    /// shown by name (with MissingJobText) and kept unless the user removes them.
    void EditPrintJobs();
    /// What the job list editor shows beside an entry whose job was not found.
    static QString MissingJobText();

    /// Draws the page through the job owning it, taking that job's page layout first.
    void Draw(TCanvas* TheCanvas, int PageIndex, TDrawTarget Target) override;
    /// Sums the listed jobs' page counts and notifies this job's controls (not its jobs).
    void Update() override;
    /// Takes the page layout of the job owning the page, silently, so that a pane lays the
    /// page out and a printer starts it in that job's shape.
    void PreparePage(int PageIndex) override;

    void DefineProperties(TFiler& Filer) override;
    /// Stores each entry under its job's current name, then writes.
    void WriteState(TWriter& Writer) override;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    struct TEntry {
        QString Name;
        TCustomPrintJob* Job = nullptr;
    };

    void AddNotifications();
    void DeleteNotifications();
    void Subscribe(TCustomPrintJob* Job);
    void Unsubscribe(TCustomPrintJob* Job);
    /// Update under the jobs-update lock, released also on failure.
    void Refresh();
    void CheckIndex(int Index, int Count) const;
    void CheckJob(TCustomPrintJob* Job) const;
    void ReadData(TReader& Reader);
    void WriteData(TWriter& Writer);
    /// The sum of the listed jobs' page counts.
    int TotalPages() const;
    /// The listed jobs and the owner's components: what a list item's data may still point to.
    std::unordered_set<const TComponent*> KnownComponents() const;
    /// Tells the application (its exception handler) which listed names found no job.
    void ReportMissingJobs(const QStringList& Names) const;
    /// Sets units, mode, width and height to Job's (the update lock is the caller's).
    void TakePageSize(const TCustomPrintJob* Job);

    std::vector<TEntry> FJobs;
    /// Set while PreparePage runs: multi jobs that list each other stop there.
    bool FPreparing = false;
};

/// A multi job with its published properties.
///
/// Published properties: Name, Tag, #Title, and the job list PrintJobs, which form files store by
/// the jobs' names.
///
/// Events: #OnCreate, #OnDestroy, #OnPrinterSetupChange, #OnStartPrint, #OnEndPrint,
/// #OnPrintProgress, #OnStartPrintPage, #OnEndPrintPage, #OnUpdate.
class VELLARO_EXPORT TMultiPrintJob : public TCustomMultiPrintJob {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
    Q_PROPERTY(Vellaro::TNotifyEvent OnCreate READ OnCreate WRITE SetOnCreate)
    Q_PROPERTY(Vellaro::TNotifyEvent OnDestroy READ OnDestroy WRITE SetOnDestroy)
    Q_PROPERTY(Vellaro::TNotifyEvent OnPrinterSetupChange READ OnPrinterSetupChange WRITE SetOnPrinterSetupChange)
    Q_PROPERTY(Vellaro::TNotifyEvent OnStartPrint READ OnStartPrint WRITE SetOnStartPrint)
    Q_PROPERTY(Vellaro::TNotifyEvent OnEndPrint READ OnEndPrint WRITE SetOnEndPrint)
    Q_PROPERTY(Vellaro::TProgressEvent OnPrintProgress READ OnPrintProgress WRITE SetOnPrintProgress)
    Q_PROPERTY(Vellaro::TPageNotifyEvent OnStartPrintPage READ OnStartPrintPage WRITE SetOnStartPrintPage)
    Q_PROPERTY(Vellaro::TPageNotifyEvent OnEndPrintPage READ OnEndPrintPage WRITE SetOnEndPrintPage)
    Q_PROPERTY(Vellaro::TNotifyEvent OnUpdate READ OnUpdate WRITE SetOnUpdate)
public:
    /// See TCustomMultiPrintJob::TCustomMultiPrintJob.
    using TCustomMultiPrintJob::TCustomMultiPrintJob;
};

/// Puts TMultiPrintJob on the palette page "Print Jobs" of form designers.
VELLARO_EXPORT void RegisterPJMulti();

} // namespace Vellaro
