// The demo program: the headless run prints every demonstration with the right pages and
// content, each preview shows what its PDF prints, and the main form answers the keyboard and
// the mouse (choosing a demonstration, paging, zooming, printing, the preview window).
#include "Headless.h"
#include "Splash.h"
#include "TestSupport.h"
#include "VLDemoUnit.h"
#include "gridjobs/PJSimpleTextGrid.h"
#include "multijobs/PJDraft.h"
#include "multijobs/PJMulti.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/Dialogs.h"
#include "textjobs/PJStrings.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdControls.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {

const QString DataDir = QStringLiteral(VELLARO_DEMO_DATA_DIR);

/// A count from one of the sample databases, so that expectations follow the data.
int CountRows(const QString& file, const QString& table)
{
    const QString name = QStringLiteral("tst_Demo-") + file;
    int count = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QDir(DataDir).filePath(file));
        QSqlQuery query(db);
        if (db.open() && query.exec(QStringLiteral("SELECT COUNT(*) FROM ") + table) && query.next())
            count = query.value(0).toInt();
    }
    QSqlDatabase::removeDatabase(name);
    return count;
}

/// The data rows of a tab-separated sample file (its first row holds captions).
QList<QStringList> TableRows(const QString& file)
{
    QFile f(QDir(DataDir).filePath(file));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(f.fileName());
    QList<QStringList> rows;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts))
        rows.append(line.split(u'\t'));
    if (!rows.isEmpty())
        rows.removeFirst();
    return rows;
}

int PagesFor(int rows, int rowsPerPage)
{
    return (rows + rowsPerPage - 1) / rowsPerPage;
}

/// One main form and one headless run shared by the cases that only look at the results.
class DemoRun : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Dir = std::make_unique<QTemporaryDir>();
        Form = std::make_unique<TfrmMain>(nullptr, DataDir);
        Form->resize(1280, 800);
        Form->show();
        Outputs = Demo::RunHeadless(*Form, Dir->path());
    }
    static void TearDownTestSuite()
    {
        Form.reset();
        Dir.reset();
    }
    static int Index(const QString& caption)
    {
        for (int i = 0; i < Form->DemoCount(); ++i)
            if (Form->PageCaption(i) == caption)
                return i;
        ADD_FAILURE() << "no demonstration " << qPrintable(caption);
        return 0;
    }

    static inline std::unique_ptr<QTemporaryDir> Dir;
    static inline std::unique_ptr<TfrmMain> Form;
    static inline std::vector<Demo::THeadlessOutput> Outputs;
};

} // namespace

TEST_F(DemoRun, EveryDemonstrationPrintsItsPagesAndContent)
{
    const int fish = CountRows(QStringLiteral("fish.sqlite"), QStringLiteral("fish"));
    const int customers = CountRows(QStringLiteral("customers.sqlite"), QStringLiteral("customers"));
    ASSERT_GT(fish, 0);
    ASSERT_GT(customers, 0);
    const QList<QStringList> products = TableRows(QStringLiteral("products.tsv"));
    const QList<QStringList> items = TableRows(QStringLiteral("listview.tsv"));
    ASSERT_FALSE(products.isEmpty());
    ASSERT_FALSE(items.isEmpty());

    struct Case {
        QString Page;
        int Pages; // 0: checked elsewhere
        QStringList Texts;
    };
    const std::vector<Case> cases{
        {QStringLiteral("About"), 2, {QStringLiteral("Vellaro"), QStringLiteral("Meets all of your printing needs.")}},
        {QStringLiteral("Areas"), 1, {}},
        {QStringLiteral("Published"), 16, {QStringLiteral("TPrintJob"), QStringLiteral("TDraftPrintJob"), QStringLiteral("OnDraw"), QStringLiteral("Properties")}},
        {QStringLiteral("Simpliest"), 3, {QStringLiteral("2"), QStringLiteral("3")}},
        {QStringLiteral("Rules"), 1, {QStringLiteral("millimeters"), QStringLiteral("inches"), QStringLiteral("240")}},
        {QStringLiteral("BioLife"), fish, {QStringLiteral("Clown Anemonefish"), QStringLiteral("Species name"),
            QStringLiteral("11 cm / 4.3 inches"), QStringLiteral("Page 1 from %1").arg(fish)}},
        {QStringLiteral("DBGrid"), PagesFor(customers, 20), {QStringLiteral("First_Name"), QStringLiteral("Fax")}},
        {QStringLiteral("SimpleTextGrid"), PagesFor(50, 20), {QStringLiteral("H.0"), QStringLiteral("F.4"), QStringLiteral("4.49")}},
        {QStringLiteral("SimpleGrid"), 1, {QStringLiteral("RGB Hex"), QStringLiteral("Fuchsia"), QStringLiteral("ff00ff"), QStringLiteral("255,0,255")}},
        {QStringLiteral("StringGrid"), PagesFor(int(products.size()), 20), {QStringLiteral("Product"), products.first().first()}},
        {QStringLiteral("ListView"), PagesFor(int(items.size()), 20), {QStringLiteral("Name"), items.first().first(), items.last().first()}},
        {QStringLiteral("StringsPrint"), 0, {QStringLiteral("Vellaro prints a list of lines in one font.")}},
        {QStringLiteral("RichEdit"), 0, {QStringLiteral("What Vellaro does"), QStringLiteral("A few tips")}},
        {QStringLiteral("MultiPrint"), 0, {QStringLiteral("Meets all of your printing needs."), QStringLiteral("Clown Anemonefish"), QStringLiteral("millimeters")}},
        {QStringLiteral("Draft"), 1, {QStringLiteral("Meets all of your printing needs.")}},
    };
    ASSERT_EQ(Outputs.size(), cases.size());
    int multiPages = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.Page));
        const int index = Index(c.Page);
        const QString pdf = Outputs.at(size_t(index)).Pdf;
        EXPECT_TRUE(pdf.endsWith(QStringLiteral("demo-%1.pdf").arg(c.Page))) << qPrintable(pdf);
        const PdfInfo info = ReadPdfInfo(pdf);
        const int expected = c.Pages > 0 ? c.Pages : Form->DemoJob(index)->PageCount();
        EXPECT_EQ(info.Pages, expected);
        EXPECT_EQ(info.Title, Form->DemoJob(index)->Title());
        const QString text = ReadPdfText(pdf).simplified();
        for (const QString& wanted : c.Texts)
            EXPECT_TRUE(text.contains(wanted)) << "missing: " << qPrintable(wanted);
        if (c.Page != QLatin1String("MultiPrint") && c.Page != QLatin1String("Draft"))
            multiPages += info.Pages;
    }
    // The multi job prints all the others but the draft job, one after the other.
    EXPECT_EQ(ReadPdfInfo(Outputs.at(size_t(Index(QStringLiteral("MultiPrint")))).Pdf).Pages, multiPages);
}

// The multi job's PDF has every page in the orientation of the job that owns it: the database
// grid's and the rulers' pages are landscape sheets among portrait ones.
TEST_F(DemoRun, MultiJobPagesAreInTheirJobsOrientation)
{
    const int index = Index(QStringLiteral("MultiPrint"));
    auto* multi = dynamic_cast<TCustomMultiPrintJob*>(Form->DemoJob(index));
    ASSERT_NE(multi, nullptr);
    const std::vector<QSizeF> sheets = ReadPdfPageSizes(Outputs.at(size_t(index)).Pdf);
    ASSERT_EQ(int(sheets.size()), multi->PageCount());
    int landscape = 0;
    for (int page = 1; page <= int(sheets.size()); ++page) {
        const TCustomPrintJob* job = multi->GetPageJob(page);
        ASSERT_NE(job, nullptr);
        const bool wide = sheets[size_t(page - 1)].width() > sheets[size_t(page - 1)].height();
        EXPECT_EQ(wide, job->Orientation() == orLandscape) << "page " << page << " of " << qPrintable(job->Name());
        landscape += wide;
    }
    EXPECT_GT(landscape, 0);
    EXPECT_LT(landscape, int(sheets.size()));
}

TEST_F(DemoRun, AreasPageFillsEachAreaWithItsColour)
{
    const QImage page = RasterizePdfPage(Outputs.at(size_t(Index(QStringLiteral("Areas")))).Pdf, 1, 20);
    ASSERT_FALSE(page.isNull());
    // One inch of margin all round, one-inch header and footer bands (20 dpi: 20 pixels an inch).
    const int x = page.width() / 2;
    EXPECT_EQ(page.pixelColor(x, 30).rgb() & 0xFFFFFF, 0xCCFFCCu);        // header, 0x00BBGGRR = 0xCCFFCC
    EXPECT_EQ(page.pixelColor(x, page.height() / 2).rgb() & 0xFFFFFF, 0xFFCCCCu); // page, 0xCCCCFF
    EXPECT_EQ(page.pixelColor(x, page.height() - 30).rgb() & 0xFFFFFF, 0xCCCCFFu); // footer, 0xFFCCCC
    EXPECT_EQ(page.pixelColor(5, 5).rgb() & 0xFFFFFF, 0xFFFFFFu);          // the margin stays paper
}

TEST_F(DemoRun, EachPreviewShowsWhatItsPdfPrints)
{
    for (int i = 0; i < Form->DemoCount(); ++i) {
        SCOPED_TRACE(qPrintable(Form->PageCaption(i)));
        const QImage shown(Outputs.at(size_t(i)).Png);
        ASSERT_FALSE(shown.isNull());
        const QString mismatch = ShapeMismatch(Outputs.at(size_t(i)).Pdf, 1, shown.size());
        EXPECT_TRUE(mismatch.isEmpty()) << qPrintable(mismatch);
        const QImage printed = RasterizePdfPage(Outputs.at(size_t(i)).Pdf, 1, shown.size());
        ASSERT_EQ(printed.size(), shown.size());
        const double mean = ImageDifference(shown, printed, 4).first;
        // Measured: 0.3 to 4.2 (text is rasterized differently on screen and from PDF).
        EXPECT_LT(mean, 6.0);
        // Negative control: the same page moved by two pixels differs at least twice as much
        // (measured 2.4 to 7 times), so a misplaced or missing drawing would not pass.
        QImage blank(printed.size(), printed.format());
        blank.fill(Qt::white);
        if (ImageDifference(blank, printed, 4).first < 0.5)
            continue; // no ink to misplace
        const QImage shifted = printed.copy(QRect(2, 2, printed.width(), printed.height()));
        EXPECT_GT(ImageDifference(shown, shifted, 4).first, 2 * mean);
    }
}

TEST_F(DemoRun, TheProgramRunsHeadlessAndSaysWhereTheFilesAre)
{
    QTemporaryDir out;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM")); // the program chooses the offscreen platform itself
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(VELLARO_DEMO_PROGRAM), {QStringLiteral("--headless"), out.path()});
    ASSERT_TRUE(program.waitForFinished(240000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().constData();
    const QStringList lines = QString::fromLocal8Bit(program.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2 * Form->DemoCount());
    for (const QString& path : lines)
        EXPECT_TRUE(QFile::exists(path) && path.startsWith(QDir(out.path()).absolutePath())) << qPrintable(path);
}

TEST(DemoStart, MissingOrUnreadableSampleDatabaseIsShownOnItsPagesAndTheRestWorks)
{
    // The sample data without its fish database, and a customers database that is no database.
    QTemporaryDir data;
    for (const QString& name : QDir(DataDir).entryList(QDir::Files))
        if (name != QLatin1String("fish.sqlite") && name != QLatin1String("customers.sqlite"))
            ASSERT_TRUE(QFile::copy(QDir(DataDir).filePath(name), data.filePath(name))) << qPrintable(name);
    {
        QFile garbage(data.filePath(QStringLiteral("customers.sqlite")));
        ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(4096, 'x'));
    }
    TfrmMain form(nullptr, data.path());
    Printer()->SelectPrinter(QStringLiteral("PDF file"));
    const auto printedText = [&](int index) {
        const QString path = data.filePath(QStringLiteral("demo-%1.pdf").arg(index));
        Printer()->PdfPrinter()->SetOutputPath(path);
        form.ShowDemo(index);
        EXPECT_EQ(form.PreviewPane()->PrintJob(), form.DemoJob(index));
        form.DemoJob(index)->Print();
        Printer()->PdfPrinter()->SetOutputPath(QString());
        return ReadPdfText(path).simplified();
    };
    const int detail = int(TfrmMain::DemoJobNames().indexOf(QStringLiteral("vljDBDetail")));
    const int grid = int(TfrmMain::DemoJobNames().indexOf(QStringLiteral("vljDBGrid")));
    const QString fishPage = printedText(detail);
    EXPECT_TRUE(fishPage.contains(QStringLiteral("fish.sqlite' is missing"))) << qPrintable(fishPage);
    const QString gridPage = printedText(grid);
    EXPECT_TRUE(gridPage.contains(QStringLiteral("customers.sqlite' cannot be read"))) << qPrintable(gridPage);
    // The demonstrations without a database work as ever.
    const int textGrid = int(TfrmMain::DemoJobNames().indexOf(QStringLiteral("vljSimpleTextGrid")));
    EXPECT_TRUE(printedText(textGrid).contains(QStringLiteral("H.0")));
}

namespace {

/// A main form of its own, shown, for the cases that drive it with the keyboard and the mouse.
class DemoForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = std::make_unique<TfrmMain>(nullptr, DataDir);
        Form->resize(1260, 760);
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
    }
    void TearDown() override { Form.reset(); }

    template<class T>
    T* Get(const char* name) const
    {
        auto* component = dynamic_cast<T*>(Form->FindComponent(QString::fromLatin1(name)));
        EXPECT_NE(component, nullptr) << name;
        return component;
    }
    /// What a chosen demonstration shows: its list row, notebook page and the pane's job.
    void ExpectShown(int index) const
    {
        EXPECT_EQ(Form->CurrentDemo(), index);
        EXPECT_EQ(Form->Notebook()->PageIndex(), index);
        EXPECT_EQ(Form->PreviewPane()->PrintJob(), Form->DemoJob(index));
        EXPECT_EQ(Form->PreviewWindow()->PrintJob(), Form->DemoJob(index));
    }
    void ClickButton(TButtonKind kind) const
    {
        TSpeedButton* button = Form->Toolbar()->SpeedButton(kind);
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }

    std::unique_ptr<TfrmMain> Form;
};

} // namespace

TEST_F(DemoForm, KeyboardChoosesADemonstrationInTheList)
{
    ExpectShown(0);
    TListBox* list = Form->DemoList();
    list->setFocus();
    struct Step {
        Qt::Key Key;
        int Expected;
    };
    for (const Step& step : {Step{Qt::Key_Down, 1}, Step{Qt::Key_Down, 2}, Step{Qt::Key_End, 14}, Step{Qt::Key_Up, 13}, Step{Qt::Key_Home, 0}}) {
        QTest::keyClick(list, step.Key);
        SCOPED_TRACE(step.Expected);
        ExpectShown(step.Expected);
    }
}

TEST_F(DemoForm, MouseChoosesADemonstrationInTheList)
{
    TListBox* list = Form->DemoList();
    for (int row : {4, 9, 5}) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        SCOPED_TRACE(row);
        ExpectShown(row);
        EXPECT_EQ(Form->Notebook()->ActivePage(), Form->PageCaption(row));
    }
    EXPECT_EQ(Form->Notebook()->ActivePage(), QStringLiteral("BioLife"));
}

TEST_F(DemoForm, KeyboardPagesThroughTheJobInThePane)
{
    Form->ShowDemo(2); // sixteen pages
    TPreview* pane = Form->PreviewPane();
    pane->setFocus();
    QTest::keyClick(pane, Qt::Key_PageDown);
    QTest::keyClick(pane, Qt::Key_PageDown);
    EXPECT_EQ(pane->PageIndex(), 3);
    EXPECT_EQ(Form->StatusBar()->PartText(0), QStringLiteral("Page 3 from 16"));
    QTest::keyClick(pane, Qt::Key_PageUp);
    EXPECT_EQ(pane->PageIndex(), 2);
}

TEST_F(DemoForm, ZoomWithTheToolbarAndTheZoomBox)
{
    TPreview* pane = Form->PreviewPane();
    EXPECT_EQ(pane->ViewMode(), vmWholePage);
    ClickButton(btnZoomIn);
    EXPECT_EQ(pane->ViewMode(), vmCustom);
    const int stepped = pane->ViewScale();
    ClickButton(btnZoomIn);
    EXPECT_GT(pane->ViewScale(), stepped);
    ClickButton(btnPageWidth);
    EXPECT_EQ(pane->ViewMode(), vmPageWidth);

    TPreviewComboBox* box = Form->Toolbar()->ScaleCombo();
    box->setFocus();
    box->lineEdit()->selectAll();
    QTest::keyClicks(box, QStringLiteral("150"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(pane->ViewMode(), vmCustom);
    EXPECT_EQ(pane->ViewScale(), 150);
    EXPECT_EQ(Form->StatusBar()->PartText(1), QStringLiteral("150%"));
}

TEST_F(DemoForm, ToolbarPrintsTheShownJobToPdf)
{
    QTemporaryDir dir;
    const int previous = Printer()->PrinterIndex();
    ASSERT_TRUE(Printer()->SelectPrinter(Printer()->PdfPrinter()->Name()));
    const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
    Printer()->PdfPrinter()->SetOutputPath(pdf);
    Form->ShowDemo(3); // Simpliest: three pages
    ClickButton(btnPrint);
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(ReadPdfInfo(pdf).Pages, 3);
    EXPECT_TRUE(ReadPdfText(pdf).contains(u'3'));
    Printer()->SetPrinterIndex(previous);
}

TEST_F(DemoForm, UserButtonOpensThePreviewWindowAndTheMultiPageClosesIt)
{
    Form->ShowDemo(4);
    ASSERT_TRUE(Form->Toolbar()->SpeedButton(btnUser)->isEnabled());
    ClickButton(btnUser);
    ASSERT_NE(Form->PreviewWindow()->Form(), nullptr);
    EXPECT_TRUE(Form->PreviewWindow()->Form()->isVisible());
    EXPECT_EQ(Form->PreviewWindow()->PrintJob(), Form->DemoJob(4));

    TListBox* list = Form->DemoList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(TfrmMain::MultiDemo)).center());
    EXPECT_FALSE(Form->Toolbar()->SpeedButton(btnUser)->isEnabled());
    EXPECT_TRUE(Form->PreviewWindow()->Form() == nullptr || !Form->PreviewWindow()->Form()->isVisible());

    // Back on another page the button works again.
    Form->ShowDemo(0);
    EXPECT_TRUE(Form->Toolbar()->SpeedButton(btnUser)->isEnabled());
}

TEST_F(DemoForm, AreasSizeEditsSwallowLettersAndApplyNumbers)
{
    Form->ShowDemo(1);
    auto* left = Get<TEdit>("edtLeft");
    left->setFocus();
    left->selectAll();
    QTest::keyClicks(left, QStringLiteral("0x.a5 "));
    EXPECT_EQ(left->Text(), QStringLiteral("0.5"));
    auto* job = Form->DemoJob(1);
    EXPECT_DOUBLE_EQ(job->Margins()->Left(), 0.5);
    QTest::keyClick(left, Qt::Key_Backspace);
    EXPECT_EQ(left->Text(), QStringLiteral("0."));
    left->selectAll();
    QTest::keyClicks(left, QStringLiteral("1,25"));
    EXPECT_DOUBLE_EQ(job->Margins()->Left(), 1.25); // a comma before the decimals as well
}

TEST_F(DemoForm, AreasFieldThatDoesNotConvertIsSkippedAndTheLockReleased)
{
    Form->ShowDemo(1);
    auto* job = Form->DemoJob(1);
    Get<TEdit>("edtTop")->SetText(QStringLiteral("."));     // no number: Top stays
    Get<TEdit>("edtHeader")->SetText(QStringLiteral("0,5")); // applied
    Get<TCheckBox>("chkFooter")->SetChecked(false);
    EXPECT_DOUBLE_EQ(job->Margins()->Top(), 1.0);
    EXPECT_DOUBLE_EQ(job->Header(), 0.5);
    EXPECT_EQ(job->Options(), (TJobOptionsSet{joMargins, joHeader}));
    EXPECT_FALSE(job->GetUpdateLocked());
    // The pane follows: the footer band is gone from the page it shows.
    EXPECT_EQ(job->GetFooterRect().Height(), 0);

    Get<TComboBox>("cmbMarginsUnits")->SelectItem(3); // "Mms": the margins are now 1 mm
    EXPECT_EQ(job->MarginsUnits(), unMillimeters);
    EXPECT_FALSE(job->GetUpdateLocked());
}

TEST_F(DemoForm, BorderCheckBoxesRebuildTheTextGridBorders)
{
    auto* job = dynamic_cast<TSimpleTextGridPrintJob*>(Form->DemoJob(7));
    ASSERT_NE(job, nullptr);
    Get<TCheckBox>("chkTableLeft")->SetChecked(false);
    Get<TCheckBox>("chkPageBottom")->SetChecked(false);
    EXPECT_EQ(job->TableBorders(), (TCellBorders{cbTop, cbRight, cbBottom}));
    EXPECT_EQ(job->PageCellBorders(), (TCellBorders{cbLeft, cbTop, cbRight}));
    EXPECT_EQ(job->HeaderCellBorders(), (TCellBorders{cbLeft, cbTop, cbRight, cbBottom}));
    EXPECT_FALSE(job->GetUpdateLocked());
}

TEST_F(DemoForm, DraftComboListsEveryPlainJobAndLinksTheChosenOne)
{
    auto* combo = Get<TComboBox>("cmbDraftJob");
    ASSERT_EQ(combo->ItemCount(), Form->DemoCount() - 2); // not the multi job, not the draft job itself
    EXPECT_EQ(combo->ItemsList().first(), QStringLiteral("About Vellaro - vljAbout"));
    EXPECT_EQ(combo->DropDownCount(), combo->ItemCount());
    for (int i = 0; i < combo->ItemCount(); ++i)
        EXPECT_FALSE(combo->ItemsList().at(i).endsWith(QStringLiteral("vljMulti")) || combo->ItemsList().at(i).endsWith(QStringLiteral("vljDraft")));
    combo->SelectItem(4);
    auto* draft = Get<TDraftPrintJob>("vljDraft");
    EXPECT_EQ(draft->PrintJob(), combo->Objects(4));
    EXPECT_EQ(draft->PrintJob(), Form->DemoJob(4));
}

TEST_F(DemoForm, StatusBarShowsTheShortHint)
{
    Application().SetHint(QStringLiteral("Demonstrations|Choose a demonstration"));
    EXPECT_EQ(Form->StatusBar()->UserText(), QStringLiteral("Demonstrations"));
    Application().SetHint(QString());
    EXPECT_EQ(Form->StatusBar()->UserText(), QString());
}

TEST(DemoSplash, ShowsTheApplicationIconWithoutABorder)
{
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    TIcon appIcon;
    appIcon.SetIcon(QIcon(QPixmap::fromImage(icon)));
    Application().SetIcon(&appIcon);
    TfrmSplash splash;
    EXPECT_EQ(splash.BorderStyle(), bsNone);
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    auto* image = dynamic_cast<TImage*>(splash.FindComponent(QStringLiteral("imgIcon")));
    ASSERT_NE(image, nullptr);
    ASSERT_FALSE(image->Picture()->Empty());
    EXPECT_EQ(image->Picture()->Image().pixelColor(16, 16), QColor(Qt::red));
    auto* product = dynamic_cast<TLabel*>(splash.FindComponent(QStringLiteral("lblProduct")));
    ASSERT_NE(product, nullptr);
    EXPECT_EQ(product->Caption(), QStringLiteral("Vellaro"));
    splash.ShowForm();
    const QImage shown = splash.grab().toImage();
    if (!qEnvironmentVariableIsEmpty("VELLARO_DEMO_DUMP"))
        shown.save(QStringLiteral("/tmp/demo-splash.png"));
    // The icon is drawn where the image is.
    const TRect where = image->DestRect();
    EXPECT_EQ(shown.pixelColor(image->mapTo(&splash, QPoint(where.Left + 8, where.Top + 8))), QColor(Qt::red));
    Application().SetIcon(nullptr);
}

TEST_F(DemoForm, UpDownsSetThePageCountAndTheDraftScale)
{
    Form->ShowDemo(3);
    auto* pages = Get<TUpDown>("udPageCount");
    QTest::mouseClick(pages->Button(btNext), Qt::LeftButton);
    QTest::mouseClick(pages->Button(btNext), Qt::LeftButton);
    EXPECT_EQ(Form->DemoJob(3)->PageCount(), 5);
    EXPECT_EQ(Get<TEdit>("edtPageCount")->Text(), QStringLiteral("5"));
    EXPECT_EQ(Form->StatusBar()->PartText(0), QStringLiteral("Page 1 from 5"));

    auto* scale = Get<TUpDown>("udScale");
    for (int i = 0; i < 12; ++i) // beyond the largest scale
        QTest::mouseClick(scale->Button(btNext), Qt::LeftButton);
    EXPECT_EQ(Get<TDraftPrintJob>("vljDraft")->Scale(), 10);
    QTest::mouseClick(scale->Button(btPrev), Qt::LeftButton);
    EXPECT_EQ(Get<TDraftPrintJob>("vljDraft")->Scale(), 9);
}

TEST_F(DemoForm, LoadTextAndChooseFontThroughTheDialogs)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lines.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("first line\nsecond line\nthird line\n");
    file.close();
    QString filter;
    TOpenDialog::SetExecuteHook([&](TOpenDialog& dialog) {
        filter = dialog.Filter();
        dialog.SetFileName(path);
        return true;
    });
    Form->ShowDemo(11);
    auto* job = Get<TStringsPrintJob>("vljStrings");
    QTest::mouseClick(Get<TButton>("btnLoadText"), Qt::LeftButton);
    TOpenDialog::SetExecuteHook({});
    EXPECT_EQ(filter, QStringLiteral("Text files (*.txt)|*.txt|Any files (*.*)|*.*"));
    EXPECT_EQ(Get<TMemo>("memStrings")->LinesList(), (QStringList{"first line", "second line", "third line"}));
    EXPECT_EQ(job->StringsList(), (QStringList{"first line", "second line", "third line"}));

    TFontDialog::SetExecuteHook([](TFontDialog& dialog) {
        dialog.Font()->SetName(QStringLiteral("Liberation Serif"));
        dialog.Font()->SetHeight(-20);
        return true;
    });
    QTest::mouseClick(Get<TButton>("btnChooseFont"), Qt::LeftButton);
    TFontDialog::SetExecuteHook({});
    EXPECT_EQ(job->Font()->Name(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(job->Font()->Height(), -20);
    EXPECT_EQ(Get<TMemo>("memStrings")->Font().family(), QStringLiteral("Liberation Serif"));

    // A cancelled dialog changes nothing.
    TOpenDialog::SetExecuteHook([](TOpenDialog&) { return false; });
    QTest::mouseClick(Get<TButton>("btnLoadText"), Qt::LeftButton);
    TOpenDialog::SetExecuteHook({});
    EXPECT_EQ(job->StringsList().size(), 3);
}

namespace {

struct Resolution {
    int X, Y;
};

/// The Rules page printed on recording printers of several resolutions.
class DemoRules : public RecordingPrinterTest, public ::testing::WithParamInterface<Resolution> {
protected:
    // A large sheet: with unequal resolutions the landscape sheet keeps the portrait pixel counts.
    void SetUp() override { Install(GetParam().X, GetParam().Y, QSize(20 * GetParam().X, 20 * GetParam().Y)); }
};

} // namespace

TEST_P(DemoRules, TicksFallAtTrueMillimetresAndTenthsOfAnInch)
{
    const Resolution dpi = GetParam();
    TfrmMain form(nullptr, DataDir);
    TCustomPrintJob* rules = form.DemoJob(4);
    rules->Print();
    const TRect area = rules->GetPageRect();
    const int middle = (area.Top + area.Bottom) / 2;
    std::vector<int> millimetres, tenths; // tick positions, left to right
    int longTick = 0;
    for (const TDrawRecord& line : OfKind(PageRecords(1), TDrawRecord::drLine)) {
        if (line.From.X != line.To.X || line.From.Y != middle)
            continue;
        (line.To.Y < middle ? millimetres : tenths).push_back(line.From.X);
        if (millimetres.size() == 1 && line.To.Y < middle)
            longTick = middle - line.To.Y; // the tick of 0 is a long one
    }
    ASSERT_GT(millimetres.size(), 101u);
    ASSERT_GT(tenths.size(), 51u);
    std::sort(millimetres.begin(), millimetres.end());
    std::sort(tenths.begin(), tenths.end());
    // 100 mm and 5 inches measured on paper, within a pixel of rounding.
    EXPECT_NEAR(millimetres[100] - millimetres[0], 100 / 25.4 * dpi.X, 1.0);
    EXPECT_NEAR(tenths[50] - tenths[0], 5.0 * dpi.X, 1.0);
    // Both rulers start a tenth of an inch into the page area; long ticks are 0.3 inch tall.
    EXPECT_NEAR(millimetres[0] - area.Left, 0.1 * dpi.X, 1.0);
    EXPECT_NEAR(longTick, 0.3 * dpi.Y, 1.0);
    // The ruler's width decides how many ticks there are: as many as fit between the starts.
    const double width = area.Width() - 0.2 * dpi.X;
    EXPECT_EQ(int(millimetres.size()), int(width / dpi.X * 25.4) + 1);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, DemoRules, ::testing::Values(Resolution{600, 600}, Resolution{300, 300}, Resolution{600, 300}),
    [](const ::testing::TestParamInfo<Resolution>& info) { return "Dpi" + std::to_string(info.param.X) + "x" + std::to_string(info.param.Y); });

namespace {

/// The database detail job printed on a recording printer.
class DemoFishPages : public RecordingPrinterTest {};

QString CommonName(int id)
{
    const QString name = QStringLiteral("tst_Demo-fish-names");
    QString value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QDir(DataDir).filePath(QStringLiteral("fish.sqlite")));
        QSqlQuery query(db);
        if (db.open() && query.exec(QStringLiteral("SELECT Common_Name FROM fish ORDER BY Id LIMIT 1 OFFSET %1").arg(id - 1)) && query.next())
            value = query.value(0).toString();
    }
    QSqlDatabase::removeDatabase(name);
    return value;
}

} // namespace

TEST_F(DemoFishPages, EachPageShowsItsRecordWithThePictureBesideTheTexts)
{
    TfrmMain form(nullptr, DataDir);
    TCustomPrintJob* fish = form.DemoJob(5);
    const int records = CountRows(QStringLiteral("fish.sqlite"), QStringLiteral("fish"));
    ASSERT_EQ(fish->PageCount(), records);
    fish->Print();
    const TRect area = fish->GetPageRect();
    const int middle = (area.Left + area.Right) / 2;
    for (int page : {1, 2, records}) {
        SCOPED_TRACE(page);
        const auto& records = PageRecords(page);
        const QStringList texts = Texts(records);
        ASSERT_FALSE(texts.isEmpty());
        EXPECT_EQ(texts.first(), CommonName(page)); // the header comes first
        EXPECT_TRUE(texts.contains(QStringLiteral("Page %1 from %2").arg(page).arg(fish->PageCount())));
        const auto bitmaps = OfKind(records, TDrawRecord::drBitmap);
        ASSERT_EQ(bitmaps.size(), 1u);
        const TRect picture = bitmaps.front().Rect;
        EXPECT_EQ(picture.Left, middle);
        EXPECT_EQ(picture.Right, area.Right);
        EXPECT_EQ(picture.Top, area.Top + fish->DPIY()); // one inch down
        // Nothing written in the page area runs into the picture.
        for (const TDrawRecord& text : OfKind(records, TDrawRecord::drText)) {
            const bool besidePicture = text.Rect.Bottom > picture.Top && text.Rect.Top < picture.Bottom;
            if (besidePicture)
                EXPECT_LE(text.Rect.Right, picture.Left) << qPrintable(text.Text);
        }
    }
}

// Regression: the multi job takes the orientation of the job whose page it draws, which updated
// the pane inside its own paint event; paging from a portrait page to the landscape rulers
// repainted recursively and crashed.
TEST_F(DemoForm, PagingTheMultiJobAcrossOrientationsLaysThePageOutAfterThePaint)
{
    Form->ShowDemo(TfrmMain::MultiDemo);
    auto* multi = dynamic_cast<TCustomMultiPrintJob*>(Form->DemoJob(TfrmMain::MultiDemo));
    ASSERT_NE(multi, nullptr);
    TPreview* pane = Form->PreviewPane();
    int rulesPage = 0;
    for (int page = 1; page <= multi->PageCount(); ++page) {
        pane->SetPageIndex(page);
        pane->PagePanel()->repaint();
        QApplication::processEvents();
        if (multi->GetPageJob(page) == Form->DemoJob(4))
            rulesPage = page;
    }
    ASSERT_GT(rulesPage, 0);
    pane->SetPageIndex(rulesPage);
    pane->PagePanel()->repaint();
    QApplication::processEvents();
    EXPECT_GT(pane->PagePanel()->width(), pane->PagePanel()->height()); // laid out landscape
}
