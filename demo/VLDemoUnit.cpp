#include "VLDemoUnit.h"

#include "VLDemoDraw.h"
#include "gridjobs/PJSimpleGrid.h"
#include "gridjobs/PJSimpleTextGrid.h"
#include "multijobs/PJDraft.h"
#include "multijobs/PJMulti.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/ListView.h"
#include "platform/controls/RichEdit.h"
#include "platform/controls/StdControls.h"
#include "platform/controls/StringGrid.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/Reader.h"
#include "platform/data/DataSet.h"
#include "platform/graphics/ImageList.h"
#include "textjobs/PJStrings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QSqlDatabase>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TfrmMain)

namespace {

/// The SQLite files of the sample data and the connection names the form file gives them.
const std::pair<const char*, const char*> SampleDatabases[] = {
    {"VLDemoFish", "fish.sqlite"}, {"VLDemoCustomers", "customers.sqlite"}};

/// The program's own folder when the sample data is there (a build), otherwise the installed
/// data folder beside it (<prefix>/bin and <prefix>/share/vellaro-demo).
QString DefaultDataDir()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    if (programDir.exists(QStringLiteral("Vellaro.rtf")))
        return programDir.path();
    return QDir::cleanPath(programDir.filePath(QStringLiteral("../share/vellaro-demo")));
}

template<class Event>
QVariant Handler(Event event)
{
    return QVariant::fromValue(std::move(event));
}

} // namespace

const QStringList& TfrmMain::DemoJobNames()
{
    static const QStringList names{QStringLiteral("vljAbout"), QStringLiteral("vljAreas"),
        QStringLiteral("vljPublished"), QStringLiteral("vljSimpliest"), QStringLiteral("vljRules"),
        QStringLiteral("vljDBDetail"), QStringLiteral("vljDBGrid"), QStringLiteral("vljSimpleTextGrid"),
        QStringLiteral("vljSimpleGrid"), QStringLiteral("vljStringGrid"), QStringLiteral("vljListView"),
        QStringLiteral("vljStrings"), QStringLiteral("vljRichEdit"), QStringLiteral("vljMulti"),
        QStringLiteral("vljDraft")};
    return names;
}

TfrmMain::TfrmMain(TComponent* AOwner, const QString& DataDir)
    : TForm(AOwner)
    , FDataDir(DataDir.isEmpty() ? DefaultDataDir() : DataDir)
{
    // The data sets open on named connections: they must exist before the form is read.
    OpenSampleData();
    RegisterHandlers();
    RegisterPageHandlers();
    ReadComponentRes(QStringLiteral(":/vellaro/demo/VLDemoUnit.vfm"), this);
    FList = Find<TListBox>(QStringLiteral("lsbMain"));
    FNotebook = Find<TNotebook>(QStringLiteral("ntbMain"));
    FPreview = Find<TPreview>(QStringLiteral("Preview"));
    FToolbar = Find<TPreviewToolbar>(QStringLiteral("vltMain"));
    FStatusBar = Find<TPreviewStatusBar>(QStringLiteral("vlsMain"));
    FWindow = Find<TPreviewWindow>(QStringLiteral("vlwMain"));
    FFish = Find<TDataSet>(QStringLiteral("tblBioLife"));
    FCustomers = Find<TDataSet>(QStringLiteral("tblCustomers"));
    for (const QString& name : DemoJobNames())
        Find<TCustomPrintJob>(name);
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    Application().SetOnHint({}); // the handler refers to this form
    DestroyComponent();          // the data sets close before their connections go
    for (const QString& name : FConnections)
        QSqlDatabase::removeDatabase(name);
}

template<class T>
T* TfrmMain::Find(const QString& Name) const
{
    auto* component = dynamic_cast<T*>(FindComponent(Name));
    if (!component)
        throw Exception(QStringLiteral("The main form's form file has no %1 of the expected class").arg(Name));
    return component;
}

TCustomPrintJob* TfrmMain::DemoJob(int Index) const
{
    const QString name = DemoJobNames().value(Index);
    if (TCustomPrintJob* missing = FMissingDataJobs.value(name))
        return missing;
    return DemoJobByName(name);
}

QString TfrmMain::PageCaption(int Index) const
{
    return Index >= 0 && Index < FNotebook->PageCount() ? FNotebook->Page(Index)->Caption() : QString();
}

int TfrmMain::CurrentDemo() const
{
    return FList->ItemIndex();
}

void TfrmMain::OpenSampleData()
{
    for (const auto& [connection, file] : SampleDatabases) {
        const QString path = QDir(FDataDir).filePath(QString::fromLatin1(file));
        const QString name = QString::fromLatin1(connection);
        // SQLite would create an empty database instead of failing. Its demonstrations say so;
        // the others work without it.
        if (!QFileInfo::exists(path)) {
            FDataProblems[name] = QStringLiteral("The demo's sample data '%1' is missing.").arg(path);
            continue;
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        FConnections << name;
        if (!db.open())
            FDataProblems[name] = QStringLiteral("Cannot open the demo's sample data '%1'.").arg(path);
    }
}

void TfrmMain::OpenDemoData(TDataSet* DataSet, const QString& JobName)
{
    QString problem = FDataProblems.value(DataSet->ConnectionName());
    if (problem.isEmpty()) {
        try {
            DataSet->Open();
            return;
        } catch (const Exception& error) {
            const QString path = QSqlDatabase::database(DataSet->ConnectionName(), false).databaseName();
            problem = QStringLiteral("The demo's sample data '%1' cannot be read: %2").arg(path, error.Message());
        }
    }
    // The demonstration's page shows why instead of an empty table.
    auto* job = new TPrintJob(this);
    const QString title = DemoJobByName(JobName)->Title();
    job->SetTitle(title + QStringLiteral(" (no sample data)"));
    const QStringList lines{title, problem,
        QStringLiteral("Build the VLDemo target, or run demo/data/make_demo_data.py %1").arg(FDataDir)};
    job->SetOnDraw([lines](TComponent*, TCanvas* canvas, int, TRect r, TDrawArea area, TDrawTarget) {
        if (area != daPage)
            return;
        canvas->Font()->SetName(QStringLiteral("Arial"));
        canvas->Font()->SetSize(12);
        const int lineHeight = canvas->TextHeight(QStringLiteral("Hg")) * 3 / 2;
        for (int i = 0; i < lines.size(); ++i)
            canvas->TextOut(r.Left, r.Top + i * lineHeight, lines[i]);
    });
    FMissingDataJobs[JobName] = job;
}

TCustomPrintJob* TfrmMain::DemoJobByName(const QString& Name) const
{
    return dynamic_cast<TCustomPrintJob*>(FindComponent(Name));
}

void TfrmMain::RegisterHandlers()
{
    using namespace Demo;
    RegisterMethod(QStringLiteral("VerdanaInitDraw"), Handler(TInitDrawEvent(InitVerdana)));
    RegisterMethod(QStringLiteral("ArialInitDraw"), Handler(TInitDrawEvent(InitArial)));
    RegisterMethod(QStringLiteral("Arial12InitDraw"), Handler(TInitDrawEvent(InitArial12)));
    RegisterMethod(QStringLiteral("vljAboutDraw"), Handler(TDrawEvent(DrawAbout)));
    RegisterMethod(QStringLiteral("vljAreasDraw"), Handler(TDrawEvent(DrawAreas)));
    RegisterMethod(QStringLiteral("vljPublishedDraw"), Handler(TDrawEvent(DrawPublished)));
    RegisterMethod(QStringLiteral("vljSimpliestDraw"), Handler(TDrawEvent(DrawSimpliest)));
    RegisterMethod(QStringLiteral("vljRulesDraw"), Handler(TDrawEvent(DrawRules)));
    RegisterMethod(QStringLiteral("vljDBDetailDraw"),
        Handler(TDrawEvent([this](TComponent* sender, TCanvas* canvas, int page, TRect r, TDrawArea area, TDrawTarget target) {
            DrawFish(FFish, sender, canvas, page, r, area, target);
        })));
    RegisterMethod(QStringLiteral("vljSimpleTextGridColWidth"), Handler(TColWidthEvent(TextGridColWidth)));
    RegisterMethod(QStringLiteral("vljSimpleTextGridCellText"), Handler(TCellTextEvent(TextGridCellText)));
    RegisterMethod(QStringLiteral("vljSimpleGridColWidth"), Handler(TColWidthEvent(ColourGridColWidth)));
    RegisterMethod(QStringLiteral("vljSimpleGridDrawCell"), Handler(TDrawCellEvent(ColourGridDrawCell)));
    RegisterMethod(QStringLiteral("lsbMainClick"), Handler(TNotifyEvent([this](TComponent*) { ListClick(); })));
    RegisterMethod(QStringLiteral("vltMainUserButtonClick"), Handler(TNotifyEvent([this](TComponent*) { FWindow->Show(); })));
}

void TfrmMain::RegisterPageHandlers()
{
    const auto onClick = [this](const char* name, std::function<void()> action) {
        RegisterMethod(QString::fromLatin1(name), Handler(TNotifyEvent([this, action](TComponent*) {
            if (!HasState(csLoading)) // controls read from the form file may raise events early
                action();
        })));
    };
    const auto job = [this](const char* name) { return Find<TCustomPrintJob>(QString::fromLatin1(name)); };
    onClick("AreasChange", [this] { ApplyAreas(); });
    RegisterMethod(QStringLiteral("AreasKeyPress"), Handler(TKeyPressEvent([](TComponent*, QChar& key) { FilterSizeKey(key); })));
    onClick("BordersClick", [this] { ApplyBorders(); });
    onClick("btnStringGridUpdateClick", [job] { job("vljStringGrid")->Update(); });
    onClick("btnListViewUpdateClick", [job] { job("vljListView")->Update(); });
    RegisterMethod(QStringLiteral("lsvMainEditing"),
        Handler(TLVEditingEvent([](TComponent*, TListItem, bool& AllowEdit) { AllowEdit = false; })));
    onClick("chkWordWrapClick", [this] {
        Find<TStringsPrintJob>(QStringLiteral("vljStrings"))->SetWordWrap(Find<TCheckBox>(QStringLiteral("chkWordWrap"))->Checked());
    });
    onClick("btnStringsUpdateClick", [this] {
        Find<TStringsPrintJob>(QStringLiteral("vljStrings"))->SetStringsList(Find<TMemo>(QStringLiteral("memStrings"))->LinesList());
    });
    onClick("btnRichUpdateClick", [job] { job("vljRichEdit")->Update(); });
    onClick("btnLoadRichClick", [this] {
        auto* dialog = Find<TOpenDialog>(QStringLiteral("dlgOpenRich"));
        if (dialog->Execute())
            LoadRichText(dialog->FileName());
    });
    onClick("btnLoadTextClick", [this] { LoadText(); });
    onClick("btnChooseFontClick", [this] { ChooseFont(); });
    RegisterMethod(QStringLiteral("udPageCountClick"), Handler(TUDClickEvent([this](TComponent* sender, TUDBtnType) {
        Find<TCustomPrintJob>(QStringLiteral("vljSimpliest"))->SetPageCount(static_cast<TUpDown*>(sender)->Position());
    })));
    RegisterMethod(QStringLiteral("udScaleClick"), Handler(TUDClickEvent([this](TComponent* sender, TUDBtnType) {
        Find<TDraftPrintJob>(QStringLiteral("vljDraft"))->SetScale(static_cast<TUpDown*>(sender)->Position());
    })));
    onClick("btnEditJobsClick", [this] { Find<TMultiPrintJob>(QStringLiteral("vljMulti"))->EditPrintJobs(); });
    onClick("cmbDraftJobChange", [this] {
        auto* combo = Find<TComboBox>(QStringLiteral("cmbDraftJob"));
        if (combo->ItemIndex() >= 0)
            Find<TDraftPrintJob>(QStringLiteral("vljDraft"))->SetPrintJob(dynamic_cast<TCustomPrintJob*>(combo->Objects(combo->ItemIndex())));
    });
    onClick("chkSeparatorsClick", [this] {
        Find<TDraftPrintJob>(QStringLiteral("vljDraft"))->SetSeparators(Find<TCheckBox>(QStringLiteral("chkSeparators"))->Checked());
    });
}

void TfrmMain::FormCreate()
{
    Application().SetOnHint([this](TComponent*) { ApplyHint(); });
    Find<TImage>(QStringLiteral("imgAbout"))->Picture()->Assign(*Application().Icon());
    Printer()->SetOrientation(poPortrait);
    FitZoomBox();
    for (const char* name : {"cmbMarginsUnits", "cmbHeaderUnits", "cmbFooterUnits"})
        Find<TComboBox>(QString::fromLatin1(name))->SetItemIndex(unInches);
    OpenDemoData(FFish, QStringLiteral("vljDBDetail"));
    OpenDemoData(FCustomers, QStringLiteral("vljDBGrid"));
    if (FFish->Active())
        Find<TCustomPrintJob>(QStringLiteral("vljDBDetail"))->SetPageCount(FFish->RecordCount());
    FillStringGrid();
    FillListView();
    Find<TStringsPrintJob>(QStringLiteral("vljStrings"))->SetStringsList(Find<TMemo>(QStringLiteral("memStrings"))->LinesList());
    FillDraftJobs();
    LoadRichText(QDir(FDataDir).filePath(QStringLiteral("Vellaro.rtf")));
    ShowDemo(0);
}

void TfrmMain::FitZoomBox()
{
    // The zoom box's longest text ("Whole page (100%)") needs more room in this font; setting
    // the buttons again lays them out after the wider box.
    FToolbar->ScaleCombo()->SetWidth(150);
    const TButtons buttons = FToolbar->Buttons();
    FToolbar->SetButtons(buttons - TButtons{btnUser});
    FToolbar->SetButtons(buttons);
}

QList<QStringList> TfrmMain::ReadTable(const QString& FileName) const
{
    QFile file(QDir(FDataDir).filePath(FileName));
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Cannot read the demo's sample data '%1'").arg(file.fileName()));
    QList<QStringList> rows;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts))
        rows.append(line.split(u'\t'));
    return rows;
}

void TfrmMain::FillStringGrid()
{
    const QList<QStringList> rows = ReadTable(QStringLiteral("products.tsv"));
    auto* grid = Find<TStringGrid>(QStringLiteral("sgrMain"));
    grid->SetRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row)
        for (int col = 0; col < grid->ColCount(); ++col)
            grid->SetCells(col, row, rows.at(row).value(col));
    grid->SetColWidths(0, 120);
    grid->SetColWidths(1, 170);
    Find<TCustomPrintJob>(QStringLiteral("vljStringGrid"))->Update();
}

void TfrmMain::FillListView()
{
    // Name, size, type, modified and the icon's number; the first row holds the captions.
    const QList<QStringList> rows = ReadTable(QStringLiteral("listview.tsv"));
    auto* view = Find<TListView>(QStringLiteral("lsvMain"));
    view->Columns().Clear();
    const int widths[] = {100, 60, 66, 82};
    for (int col = 0; col + 1 < rows.value(0).size(); ++col) {
        TListColumn column = view->Columns().Add();
        column.SetCaption(rows.at(0).at(col));
        column.SetWidth(widths[std::min(col, 3)]);
    }
    // The job prints image N on row N, so the lists hold each row's icon in row order.
    auto* small = new TImageList(this);
    small->SetSize(16, 16);
    auto* large = new TImageList(this);
    large->SetSize(32, 32);
    view->Items().Clear();
    for (int row = 1; row < rows.size(); ++row) {
        const QStringList& cells = rows.at(row);
        TListItem item = view->Items().Add();
        item.SetCaption(cells.value(0));
        item.SetSubItems(cells.mid(1, cells.size() - 2));
        const QString icon = cells.value(cells.size() - 1);
        const QImage image16(QDir(FDataDir).filePath(QStringLiteral("icon16_%1.png").arg(icon)));
        const QImage image32(QDir(FDataDir).filePath(QStringLiteral("icon32_%1.png").arg(icon)));
        small->Add(TBitmap(image16));
        large->Add(TBitmap(image32));
        view->topLevelItem(item.Index())->setIcon(0, QIcon(QPixmap::fromImage(image16)));
    }
    view->SetSmallImages(small);
    view->SetLargeImages(large);
    Find<TCustomPrintJob>(QStringLiteral("vljListView"))->Update();
}

void TfrmMain::FillDraftJobs()
{
    auto* combo = Find<TComboBox>(QStringLiteral("cmbDraftJob"));
    const TComponent* draft = Find<TDraftPrintJob>(QStringLiteral("vljDraft"));
    combo->Items()->Clear();
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* job = dynamic_cast<TCustomPrintJob*>(Components(i));
        if (job && job != draft && !dynamic_cast<TCustomMultiPrintJob*>(job))
            combo->AddItem(job->Title() + QStringLiteral(" - ") + job->Name(), job);
    }
    if (combo->ItemCount() > 0) {
        combo->SetItemIndex(0);
        combo->SetDropDownCount(combo->ItemCount());
    }
}

void TfrmMain::LoadRichText(const QString& Path)
{
    Find<TRichEdit>(QStringLiteral("reMain"))->LoadFromFile(Path);
    Find<TCustomPrintJob>(QStringLiteral("vljRichEdit"))->Update();
}

void TfrmMain::LoadText()
{
    auto* dialog = Find<TOpenDialog>(QStringLiteral("dlgOpenText"));
    if (!dialog->Execute())
        return;
    Find<TMemo>(QStringLiteral("memStrings"))->Lines()->LoadFromFile(dialog->FileName());
    auto* job = Find<TStringsPrintJob>(QStringLiteral("vljStrings"));
    job->Strings()->LoadFromFile(dialog->FileName());
    job->Update();
}

void TfrmMain::ChooseFont()
{
    auto* dialog = Find<TFontDialog>(QStringLiteral("dlgFont"));
    auto* job = Find<TStringsPrintJob>(QStringLiteral("vljStrings"));
    dialog->SetFont(job->Font());
    if (!dialog->Execute())
        return;
    Find<TMemo>(QStringLiteral("memStrings"))->SetFont(dialog->Font()->ToQFont());
    job->SetFont(dialog->Font());
}

void TfrmMain::ShowDemo(int Index)
{
    if (Index < 0 || Index >= DemoCount())
        return;
    FList->SetItemIndex(Index);
    ListClick();
}

void TfrmMain::ListClick()
{
    const int index = FList->ItemIndex();
    if (index < 0 || index >= DemoCount())
        return;
    FNotebook->SetPageIndex(index);
    // A job in the printer's orientation lays its page out again: a job shown before may
    // have turned the printer.
    DemoJob(index)->Update();
    FPreview->SetPrintJob(DemoJob(index));
    FWindow->SetPrintJob(FPreview->PrintJob());
    FPreview->Update();
    FToolbar->SetUserButtonEnabled(index != MultiDemo);
    if (!FToolbar->UserButtonEnabled())
        FWindow->Close();
}

void TfrmMain::ApplyHint()
{
    FStatusBar->SetUserText(GetShortHint(Application().Hint()));
}

void TfrmMain::FilterSizeKey(QChar& Key)
{
    if (Key.isDigit() || Key == u',' || Key == u'.' || Key == QChar(u'\b'))
        return;
    Key = QChar();
    MessageBeep();
}

namespace {

/// The edit's text as a number ("," or "." before the decimals); false when it is none.
bool ReadSize(const TEdit* edit, double& value)
{
    bool ok = false;
    const double read = QString(edit->Text()).replace(u',', u'.').toDouble(&ok);
    if (ok)
        value = read;
    return ok;
}

} // namespace

void TfrmMain::ApplyAreas()
{
    auto* job = Find<TCustomPrintJob>(QStringLiteral("vljAreas"));
    {
        // Many settings, one update: the lock is released also when one of them fails.
        TJobLock lock(job, &TCustomPrintJob::LockUpdate, &TCustomPrintJob::UnlockUpdate);
        TJobOptionsSet options;
        const std::pair<const char*, TJobOptions> checks[] = {{"chkMargins", joMargins}, {"chkHeader", joHeader}, {"chkFooter", joFooter}};
        for (const auto& [name, option] : checks)
            if (Find<TCheckBox>(QString::fromLatin1(name))->Checked())
                options.Include(option);
        job->SetOptions(options);
        const auto units = [this](const char* name) { return TUnits(std::max(0, Find<TComboBox>(QString::fromLatin1(name))->ItemIndex())); };
        job->SetMarginsUnits(units("cmbMarginsUnits"));
        job->SetHeaderUnits(units("cmbHeaderUnits"));
        job->SetFooterUnits(units("cmbFooterUnits"));
        TMargins margins;
        margins.Assign(job->Margins());
        double value = 0;
        if (ReadSize(Find<TEdit>(QStringLiteral("edtLeft")), value)) margins.SetLeft(value);
        if (ReadSize(Find<TEdit>(QStringLiteral("edtTop")), value)) margins.SetTop(value);
        if (ReadSize(Find<TEdit>(QStringLiteral("edtRight")), value)) margins.SetRight(value);
        if (ReadSize(Find<TEdit>(QStringLiteral("edtBottom")), value)) margins.SetBottom(value);
        job->SetMargins(&margins);
        if (ReadSize(Find<TEdit>(QStringLiteral("edtHeader")), value)) job->SetHeader(value);
        if (ReadSize(Find<TEdit>(QStringLiteral("edtFooter")), value)) job->SetFooter(value);
    }
    job->Update();
}

void TfrmMain::ApplyBorders()
{
    auto* job = Find<TSimpleTextGridPrintJob>(QStringLiteral("vljSimpleTextGrid"));
    const auto borders = [this](const QString& prefix) {
        TCellBorders set;
        const std::pair<const char*, TCellBorder> sides[] = {{"Left", cbLeft}, {"Top", cbTop}, {"Right", cbRight}, {"Bottom", cbBottom}};
        for (const auto& [side, border] : sides)
            if (Find<TCheckBox>(QStringLiteral("chk") + prefix + QString::fromLatin1(side))->Checked())
                set.Include(border);
        return set;
    };
    {
        TJobLock lock(job, &TCustomPrintJob::LockUpdate, &TCustomPrintJob::UnlockUpdate);
        job->SetHeaderCellBorders(borders(QStringLiteral("Header")));
        job->SetFooterCellBorders(borders(QStringLiteral("Footer")));
        job->SetPageCellBorders(borders(QStringLiteral("Page")));
        job->SetTableBorders(borders(QStringLiteral("Table")));
    }
    job->Update();
}

} // namespace Vellaro
