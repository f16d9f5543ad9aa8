// Form files round-trip: every published class of the library, set away from its initial
// values, is written, read back into a fresh root and written again to the same text.
#include "gridjobs/PJDBGrid.h"
#include "gridjobs/PJListView.h"
#include "gridjobs/PJSimpleGrid.h"
#include "gridjobs/PJSimpleTextGrid.h"
#include "gridjobs/PJStringGrid.h"
#include "multijobs/PJDraft.h"
#include "multijobs/PJMulti.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/Menus.h"
#include "platform/core/Reader.h"
#include "platform/core/Writer.h"
#include "preview/VLCombo.h"
#include "preview/VLLabel.h"
#include "preview/VLStatusBar.h"
#include "preview/VLToolbar.h"
#include "preview/VLWindow.h"
#include "textjobs/PJRichEdit.h"
#include "textjobs/PJStrings.h"

#include "TestSupport.h"

#include <QFile>
#include <QRegularExpression>
#include <functional>
#include <memory>

using namespace Vellaro;
using Vellaro::Testing::RecordingPrinterTest;

namespace {

/// Offers one handler of each event type the library publishes, under fixed names.
void RegisterHandlers(TComponent* root)
{
    root->RegisterMethod("AnyUpdate", QVariant::fromValue(TNotifyEvent([](TComponent*) {})));
    root->RegisterMethod("JobDraw", QVariant::fromValue(TDrawEvent([](TComponent*, TCanvas*, int, TRect, TDrawArea, TDrawTarget) {})));
    root->RegisterMethod("JobProgress", QVariant::fromValue(TProgressEvent([](TComponent*, int, int, int) {})));
    root->RegisterMethod("JobPage", QVariant::fromValue(TPageNotifyEvent([](TComponent*, int) {})));
    root->RegisterMethod("CellText", QVariant::fromValue(TCellTextEvent([](TComponent*, int, int, int, QString&) {})));
}

struct RoundTripCase {
    const char* Name;
    /// Fills the root with components set away from their initial values.
    std::function<void(TForm*)> Build;
    /// Lines the first text must hold: proof that the values were written at all.
    QStringList Expected;
};

template<class T>
T* Make(TForm* root, const char* name)
{
    auto* c = new T(root);
    c->SetName(QLatin1String(name));
    c->SetParentComponent(root);
    return c;
}

void SetJobPage(TCustomPrintJob* job)
{
    job->SetTitle(QStringLiteral("It's a 'quoted' title\twith a tab"));
    job->SetMargins(std::make_unique<TMargins>(10, 12.5, 0, 7).get());
    job->SetMarginsUnits(unMillimeters);
    job->SetHeader(15);
    job->SetOptions({joMargins, joHeader});
    job->SetOrientation(orLandscape);
}

std::vector<RoundTripCase> Cases()
{
    return {
        {"PrintJob", [](TForm* root) {
             auto* job = Make<TPrintJob>(root, "Job1");
             SetJobPage(job);
             job->SetPageCount(4);
             BindEvent(job, "OnDraw", "JobDraw");
             BindEvent(job, "OnUpdate", "AnyUpdate");
         },
            {"PageCount = 4", "Title = 'It''s a ''quoted'' title'#9'with a tab'", "Margins.Top = 12.5", "Options = [joMargins, joHeader]",
                "Orientation = orLandscape", "OnDraw = JobDraw"}},
        {"SimpleGridPrintJob", [](TForm* root) {
             auto* job = Make<TSimpleGridPrintJob>(root, "Grid1");
             SetJobPage(job);
             job->SetColCount(7);
             job->SetRowCount(31);
             job->SetPageCellBorders({cbLeft, cbBottom});
             BindEvent(job, "OnPrintProgress", "JobProgress");
         },
            {"ColCount = 7", "PageCellBorders = [cbLeft, cbBottom]", "OnPrintProgress = JobProgress"}},
        {"SimpleTextGridPrintJob", [](TForm* root) {
             auto* job = Make<TSimpleTextGridPrintJob>(root, "Text1");
             TFont font;
             font.SetName(QStringLiteral("Courier New"));
             font.SetHeight(-17);
             font.SetStyle(fsBold | fsItalic);
             font.SetColor(clNavy);
             job->SetPageFont(&font);
             job->SetClipMode(cmEllipsis);
             BindEvent(job, "OnCellText", "CellText");
         },
            {"PageFont.Height = -17", "PageFont.Name = 'Courier New'", "PageFont.Style = [fsBold, fsItalic]", "ClipMode = cmEllipsis"}},
        {"StringGridPrintJob, grid named later", [](TForm* root) {
             auto* job = Make<TStringGridPrintJob>(root, "Strings1");
             auto* grid = Make<TStringGrid>(root, "Grid1");
             grid->SetColCount(3);
             job->SetStringGrid(grid);
             job->SetIndexColumn(true);
         },
            {"StringGrid = Grid1", "IndexColumn = True", "ColCount = 3"}},
        {"ListViewPrintJob", [](TForm* root) {
             auto* view = Make<TListView>(root, "View1");
             auto* job = Make<TListViewPrintJob>(root, "ListJob1");
             job->SetListView(view);
             job->SetDrawIcons(true);
         },
            {"ListView = View1", "DrawIcons = True"}},
        {"StringsPrintJob", [](TForm* root) {
             auto* job = Make<TStringsPrintJob>(root, "Lines1");
             job->SetStringsList({QStringLiteral("First line"), QString(), QStringLiteral("It's the third")});
             job->SetWordWrap(false);
         },
            {"Strings = (", "    'First line'", "    ''", "    'It''s the third')", "WordWrap = False"}},
        {"RichEditPrintJob and its control", [](TForm* root) {
             auto* job = Make<TRichEditPrintJob>(root, "Rich1");
             auto* edit = Make<TRichEdit>(root, "Edit1");
             edit->SetLinesList({QStringLiteral("Some rich text")});
             edit->SetReadOnly(true);
             job->SetRichEdit(edit);
         },
            {"RichEdit = Edit1", "ReadOnly = True", "    'Some rich text')"}},
        {"DBGridPrintJob, its source and data set", [](TForm* root) {
             auto* job = Make<TDBGridPrintJob>(root, "Table1");
             auto* source = Make<TDataSource>(root, "Source1");
             auto* data = Make<TDataSet>(root, "Data1");
             data->SetConnectionName(QStringLiteral("towns"));
             data->SetSQL(QStringLiteral("SELECT name FROM towns ORDER BY name"));
             data->SetWindowSize(50);
             source->SetDataSet(data);
             job->SetDataSource(source);
             job->SetRowsPerPage(30);
         },
            {"DataSource = Source1", "DataSet = Data1", "ConnectionName = 'towns'", "WindowSize = 50", "RowsPerPage = 30"}},
        {"MultiPrintJob with a job renamed after adding", [](TForm* root) {
             auto* a = Make<TPrintJob>(root, "A");
             auto* b = Make<TPrintJob>(root, "B");
             auto* multi = Make<TMultiPrintJob>(root, "Multi1");
             multi->Add(a);
             multi->Add(b);
             multi->Add(a);
             b->SetName(QStringLiteral("Renamed"));
             multi->SetTitle(QStringLiteral("All"));
         },
            {"PrintJobs = (", "    'A'", "    'Renamed'", "    'A')"}},
        {"MultiPrintJob, empty list", [](TForm* root) { Make<TMultiPrintJob>(root, "Multi1"); }, {"PrintJobs = ()"}},
        {"DraftPrintJob", [](TForm* root) {
             auto* draft = Make<TDraftPrintJob>(root, "Draft1");
             auto* job = Make<TPrintJob>(root, "Job1");
             job->SetPageCount(9);
             draft->SetPrintJob(job);
             draft->SetScale(3);
             draft->SetSeparators(true);
         },
            {"PrintJob = Job1", "Scale = 3", "Separators = True"}},
        {"Preview and its companions", [](TForm* root) {
             auto* job = Make<TPrintJob>(root, "Job1");
             job->SetPageCount(5);
             auto* pane = Make<TPreview>(root, "Pane1");
             pane->SetViewMode(vmCustom);
             pane->SetViewScale(150);
             pane->SetMarginsVisible(false);
             auto* menu = Make<TPopupMenu>(root, "Menu1");
             auto* item = Make<TMenuItem>(root, "Item1");
             item->SetCaption(QStringLiteral("&Zoom"));
             menu->Add(item);
             auto* combo = Make<TPreviewComboBox>(root, "Combo1");
             combo->SetPopupMenu(menu);
             auto* bar = Make<TPreviewToolbar>(root, "Bar1");
             bar->SetButtons({btnPrint, btnNextPage});
             bar->SetUserButtonHint(QStringLiteral("Mine"));
             TBitmap glyph(4, 3);
             glyph.Canvas()->Brush()->SetColor(clRed);
             glyph.Canvas()->FillRect({0, 0, 2, 3});
             bar->SetUserButtonGlyph(&glyph);
             auto* status = Make<TPreviewStatusBar>(root, "Status1");
             status->SetPanels({pnScale});
             status->SetUserText(QStringLiteral("Ready"));
             status->SetPopupMenu(menu);
             auto* label = Make<TPreviewLabel>(root, "Label1");
             label->SetMode(lmScale);
             label->SetPopupMenu(menu);
             combo->SetPreview(pane);
             bar->SetPreview(pane);
             status->SetPreview(pane);
             label->SetPreview(pane);
             pane->SetPrintJob(job);
         },
            {"ViewMode = vmCustom", "ViewScale = 150", "Buttons = [btnPrint, btnNextPage]", "UserButtonGlyph.Data = {",
                "Panels = [pnScale]", "Mode = lmScale", "PopupMenu = Menu1", "Preview = Pane1", "Caption = '&Zoom'"}},
        {"PreviewWindow", [](TForm* root) {
             auto* job = Make<TPrintJob>(root, "Job1");
             auto* window = Make<TPreviewWindow>(root, "Window1");
             window->SetPrintJob(job);
             window->SetCaption(QStringLiteral("Preview of the report"));
             window->SetViewMode(vmPageWidth);
             window->SetBorderIcons({biSystemMenu});
             window->SetWidth(640);
         },
            {"PrintJob = Job1", "BorderIcons = [biSystemMenu]", "ViewMode = vmPageWidth", "Width = 640"}},
        {"Button", [](TForm* root) {
             auto* button = Make<TButton>(root, "Ok1");
             button->SetCaption(QStringLiteral("OK"));
             button->SetDefault(true);
             button->SetModalResult(mrOk);
             BindEvent(button, "OnClick", "AnyUpdate");
         },
            {"Caption = 'OK'", "Default = True", "ModalResult = 1", "OnClick = AnyUpdate"}},
    };
}

class FormFileRoundTrip : public RecordingPrinterTest {};

TEST_F(FormFileRoundTrip, EveryPublishedClassWritesReadsAndWritesTheSameText)
{
    for (const RoundTripCase& c : Cases()) {
        SCOPED_TRACE(c.Name);
        auto first = std::make_unique<TForm>();
        first->SetName(QStringLiteral("Form1"));
        first->SetCaption(QStringLiteral("Form with components"));
        first->SetClientWidth(500);
        first->SetClientHeight(400);
        RegisterHandlers(first.get());
        c.Build(first.get());
        const QString text = ComponentToText(first.get());
        for (const QString& line : c.Expected)
            EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("(^|\\n) *") + QRegularExpression::escape(line) + QStringLiteral(" *(\\n|$)"))))
                << "missing line: " << line.toStdString() << "\n" << text.toStdString();

        auto second = std::make_unique<TForm>();
        RegisterHandlers(second.get());
        ReadComponentText(text, second.get());
        EXPECT_EQ(ComponentToText(second.get()).toStdString(), text.toStdString());
        // The fuzz target's seeds are these texts: VELLARO_FORM_CORPUS names the folder.
        if (const QString dir = qEnvironmentVariable("VELLARO_FORM_CORPUS"); !dir.isEmpty()) {
            QFile seed(dir + QStringLiteral("/%1.vfm").arg(QString::fromLatin1(c.Name).section(u',', 0, 0).remove(u' ')));
            ASSERT_TRUE(seed.open(QIODevice::WriteOnly));
            seed.write(text.toUtf8());
        }
    }
}

} // namespace
