#include "VLDemoUnit.h"

#include "VLDemoDraw.h"
#include "gridjobs/PJSimpleGrid.h"
#include "gridjobs/PJSimpleTextGrid.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/Reader.h"
#include "platform/controls/ListView.h"
#include "platform/controls/RichEdit.h"
#include "platform/controls/StringGrid.h"
#include "platform/data/DataSet.h"
#include "platform/graphics/ImageList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QFileInfo>
#include <QSqlDatabase>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TfrmMain)

namespace {

/// The SQLite files of the sample data and the connection names the form file gives them.
const std::pair<const char*, const char*> SampleDatabases[] = {
    {"VLDemoFish", "fish.sqlite"}, {"VLDemoCustomers", "customers.sqlite"}};

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
    , FDataDir(DataDir.isEmpty() ? QCoreApplication::applicationDirPath() : DataDir)
{
    // The data sets open on named connections: they must exist before the form is read.
    OpenSampleData();
    RegisterHandlers();
    ReadComponentRes(QStringLiteral(":/vellaro/demo/VLDemoUnit.vfm"), this);
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
    DestroyComponent(); // the data sets close before their connections go
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
    return dynamic_cast<TCustomPrintJob*>(FindComponent(DemoJobNames().value(Index)));
}

QString TfrmMain::PageCaption(int Index) const
{
    static const QStringList captions{QStringLiteral("About"), QStringLiteral("Areas"), QStringLiteral("Published"),
        QStringLiteral("Simpliest"), QStringLiteral("Rules"), QStringLiteral("BioLife"), QStringLiteral("DBGrid"),
        QStringLiteral("SimpleTextGrid"), QStringLiteral("SimpleGrid"), QStringLiteral("StringGrid"),
        QStringLiteral("ListView"), QStringLiteral("StringsPrint"), QStringLiteral("RichEdit"),
        QStringLiteral("MultiPrint"), QStringLiteral("Draft")};
    return captions.value(Index);
}

void TfrmMain::OpenSampleData()
{
    for (const auto& [connection, file] : SampleDatabases) {
        const QString path = QDir(FDataDir).filePath(QString::fromLatin1(file));
        // SQLite would create an empty database instead of failing.
        if (!QFileInfo::exists(path))
            throw Exception(QStringLiteral("The demo's sample data '%1' is missing: build the VLDemo target, "
                                           "or run demo/data/make_demo_data.py %2").arg(path, FDataDir));
        const QString name = QString::fromLatin1(connection);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        FConnections << name;
        if (!db.open())
            throw Exception(QStringLiteral("Cannot open the sample data '%1'").arg(path));
    }
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
    RegisterMethod(QStringLiteral("vltMainUserButtonClick"), Handler(TNotifyEvent([this](TComponent*) { UserButtonClick(); })));
}

void TfrmMain::FormCreate()
{
    Printer()->SetOrientation(poPortrait);
    FFish->Open();
    FCustomers->Open();
    Find<TCustomPrintJob>(QStringLiteral("vljDBDetail"))->SetPageCount(FFish->RecordCount());
    FillStringGrid();
    FillListView();
    LoadRichText();
    ShowDemo(0);
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
    Find<TCustomPrintJob>(QStringLiteral("vljStringGrid"))->Update();
}

void TfrmMain::FillListView()
{
    // Name, size, type, modified and the icon's number; the first row holds the captions.
    const QList<QStringList> rows = ReadTable(QStringLiteral("listview.tsv"));
    auto* view = Find<TListView>(QStringLiteral("lsvMain"));
    view->Columns().Clear();
    for (int col = 0; col + 1 < rows.value(0).size(); ++col) {
        TListColumn column = view->Columns().Add();
        column.SetCaption(rows.at(0).at(col));
        column.SetWidth(col == 0 ? 180 : 90);
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

void TfrmMain::LoadRichText()
{
    Find<TRichEdit>(QStringLiteral("reMain"))->LoadFromFile(QDir(FDataDir).filePath(QStringLiteral("Vellaro.rtf")));
    Find<TCustomPrintJob>(QStringLiteral("vljRichEdit"))->Update();
}

void TfrmMain::ShowDemo(int Index)
{
    if (Index < 0 || Index >= DemoCount())
        return;
    FCurrentDemo = Index;
    ListClick();
}

void TfrmMain::ListClick()
{
    FPreview->SetPrintJob(DemoJob(FCurrentDemo));
    FWindow->SetPrintJob(FPreview->PrintJob());
    FPreview->Update();
    FToolbar->SetUserButtonEnabled(FCurrentDemo != MultiDemo);
    if (!FToolbar->UserButtonEnabled())
        FWindow->Close();
}

void TfrmMain::UserButtonClick()
{
    FWindow->Show();
}

} // namespace Vellaro
