#pragma once
// The demo's main form: a list of fifteen demonstrations, a notebook page of controls for the
// chosen one and a live preview of its job (toolbar, pane, status bar), plus a preview window.
// Every component and job setting comes from the form file VLDemoUnit.vfm; the code wires the
// events and draws the pages of the drawing-event jobs.

#include "job/VLJob.h"
#include "platform/controls/Forms.h"
#include "preview/VLPreview.h"
#include "preview/VLToolbar.h"
#include "preview/VLStatusBar.h"
#include "preview/VLWindow.h"

#include <QString>
#include <QStringList>

namespace Vellaro {

class TDataSet;

class TfrmMain : public TForm {
    Q_OBJECT
public:
    /// The demonstrations' job components, in list order.
    static const QStringList& DemoJobNames();
    /// The multi job's demonstration: the preview window is not offered there.
    static constexpr int MultiDemo = 13;

    /// Builds the form from its form file. DataDir holds the sample data (by default the
    /// program's own directory); a missing file raises an exception naming it.
    explicit TfrmMain(TComponent* AOwner = nullptr, const QString& DataDir = {});
    ~TfrmMain() override;

    int DemoCount() const { return int(DemoJobNames().size()); }
    TCustomPrintJob* DemoJob(int Index) const;
    /// Chooses a demonstration as a click in the list does.
    void ShowDemo(int Index);
    /// The demonstration shown.
    int CurrentDemo() const { return FCurrentDemo; }
    /// The caption of a demonstration's notebook page ("About", "Areas", ...).
    QString PageCaption(int Index) const;

    TPreview* PreviewPane() const { return FPreview; }
    TPreviewToolbar* Toolbar() const { return FToolbar; }
    TPreviewStatusBar* StatusBar() const { return FStatusBar; }
    TPreviewWindow* PreviewWindow() const { return FWindow; }

private:
    template<class T>
    T* Find(const QString& Name) const;
    void RegisterHandlers();
    void OpenSampleData();
    void FormCreate();
    void FillStringGrid();
    void FillListView();
    void LoadRichText();
    /// The rows of a tab-separated sample file.
    QList<QStringList> ReadTable(const QString& FileName) const;
    void ListClick();
    void UserButtonClick();

    QString FDataDir;
    QStringList FConnections;
    int FCurrentDemo = -1;
    TPreview* FPreview = nullptr;
    TPreviewToolbar* FToolbar = nullptr;
    TPreviewStatusBar* FStatusBar = nullptr;
    TPreviewWindow* FWindow = nullptr;
    TDataSet* FFish = nullptr;
    TDataSet* FCustomers = nullptr;
};

} // namespace Vellaro
