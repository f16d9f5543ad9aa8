#pragma once
// The demo's main form: a list of fifteen demonstrations, a notebook page of controls for the
// chosen one and a live preview of its job (toolbar, pane, status bar), plus a preview window.
// Every component and job setting comes from the form file VLDemoUnit.vfm; the code wires the
// events and draws the pages of the drawing-event jobs.

#include "job/VLJob.h"
#include "platform/controls/Forms.h"
#include "preview/VLPreview.h"
#include "preview/VLStatusBar.h"
#include "preview/VLToolbar.h"
#include "preview/VLWindow.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace Vellaro {

class TDataSet;
class TEdit;
class TListBox;
class TNotebook;

class TfrmMain : public TForm {
    Q_OBJECT
public:
    /// The demonstrations' job components, in list order.
    static const QStringList& DemoJobNames();
    /// The multi job's demonstration: the preview window is not offered there.
    static constexpr int MultiDemo = 13;

    /// Builds the form from its form file. DataDir holds the sample data (by default the
    /// program's own directory, or <prefix>/share/vellaro-demo for an installed program). A
    /// sample database that is missing or cannot be read leaves its demonstrations showing a
    /// page that says so; any other missing file raises an exception naming it.
    explicit TfrmMain(TComponent* AOwner = nullptr, const QString& DataDir = {});
    ~TfrmMain() override;

    int DemoCount() const { return int(DemoJobNames().size()); }
    /// The job of a demonstration; for one whose sample database is missing, a job whose page
    /// says what is missing.
    TCustomPrintJob* DemoJob(int Index) const;
    /// Chooses a demonstration as the user does in the list: selects it and runs the click.
    void ShowDemo(int Index);
    /// The demonstration chosen in the list.
    int CurrentDemo() const;
    /// The caption of a demonstration's notebook page ("About", "Areas", ...).
    QString PageCaption(int Index) const;

    TPreview* PreviewPane() const { return FPreview; }
    TPreviewToolbar* Toolbar() const { return FToolbar; }
    TPreviewStatusBar* StatusBar() const { return FStatusBar; }
    TPreviewWindow* PreviewWindow() const { return FWindow; }
    TListBox* DemoList() const { return FList; }
    TNotebook* Notebook() const { return FNotebook; }

    /// The job of the Areas page, set from its controls (also what any of their edits runs).
    void ApplyAreas();
    /// The size edits of the Areas page take digits, ',' '.' and backspace; any other key is
    /// swallowed with a beep.
    static void FilterSizeKey(QChar& Key);

private:
    template<class T>
    T* Find(const QString& Name) const;
    void RegisterHandlers();
    void RegisterPageHandlers();
    void OpenSampleData();
    /// Opens a demonstration's data set; when it cannot, the demonstration shows why.
    void OpenDemoData(TDataSet* DataSet, const QString& JobName);
    TCustomPrintJob* DemoJobByName(const QString& Name) const;
    void FormCreate();
    void FitZoomBox();
    void FillStringGrid();
    void FillListView();
    void FillDraftJobs();
    void LoadRichText(const QString& Path);
    void LoadText();
    void ChooseFont();
    QList<QStringList> ReadTable(const QString& FileName) const;
    void ListClick();
    void ApplyBorders();
    void ApplyHint();

    QString FDataDir;
    QStringList FConnections;
    TListBox* FList = nullptr;
    TNotebook* FNotebook = nullptr;
    TPreview* FPreview = nullptr;
    TPreviewToolbar* FToolbar = nullptr;
    TPreviewStatusBar* FStatusBar = nullptr;
    TPreviewWindow* FWindow = nullptr;
    TDataSet* FFish = nullptr;
    TDataSet* FCustomers = nullptr;
    /// Why a sample database cannot be used, by connection name.
    QMap<QString, QString> FDataProblems;
    /// The pages shown instead of demonstrations without their sample data, by job name (owned
    /// by the form).
    QMap<QString, TCustomPrintJob*> FMissingDataJobs;
};

} // namespace Vellaro
