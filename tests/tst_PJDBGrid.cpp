// The database grid job on real databases, the same cases on SQLite and on PostgreSQL and
// MariaDB servers: counts from the data set, record walking while drawing, widths from display
// widths, titles and alignment from the fields, references cleared when the source or the data
// set goes away, a print run that reads the table as it was when printing began, and one that
// fails cleanly, leaving no PDF, when the database does.
#include "gridjobs/PJDBGrid.h"

#include "DatabaseTestSupport.h"
#include "GridTestSupport.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <functional>
#include <numeric>
#include <gtest/gtest.h>
#include <memory>
#include <set>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {
/// Fills the towns table: id, name, population, area for ids 1 to count.
void CreateTowns(int count)
{
    TestDatabase::CreateTable(QStringLiteral("towns"),
        QStringLiteral("id INTEGER PRIMARY KEY, name VARCHAR(30), population INTEGER, area REAL"));
    std::vector<QVariantList> rows;
    for (int id = 1; id <= count; ++id)
        rows.push_back({id, QStringLiteral("Town %1").arg(id), id * 1000, id + 0.5});
    TestDatabase::Insert(QStringLiteral("towns"), rows);
}

QStringList NonEmpty(const QStringList& texts)
{
    QStringList result;
    for (const QString& text : texts)
        if (!text.isEmpty())
            result << text;
    return result;
}

class PJDBGridTest : public RecordingPrinterTest, public ::testing::WithParamInterface<DatabaseBackend> {
protected:
    void SetUp() override
    {
        RecordingPrinterTest::SetUp();
        const QString reason = Db.Connect(GetParam());
        if (!reason.isEmpty())
            GTEST_SKIP() << reason.toStdString();
        CreateTowns(45);
        Towns.SetConnectionName(QString::fromLatin1(TestDatabase::ConnectionName));
        Towns.SetTableName(QStringLiteral("towns"));
        Towns.SetWindowSize(8);
        Source.SetDataSet(&Towns);
        // Page rectangle 100..4100 wide.
        SetPixelPage(Job, 4200, 1400, TMargins(100, 100, 100, 100), 100, 100, {joMargins, joHeader, joFooter});
        Job.SetRowsPerPage(20);
        Job.SetOnUpdate([this](TComponent*) { ++Updates; });
    }
    QStringList DrawnTexts(int page)
    {
        Canvas.Clear();
        Job.Draw(&Canvas.Canvas, page, dtPreview);
        return NonEmpty(RecordingPrinterTest::Texts(Canvas.Records()));
    }

    TestDatabase Db;
    TDataSet Towns;
    TDataSource Source;
    TDBGridPrintJob Job;
    RecordingCanvas Canvas;
    int Updates = 0;
};
} // namespace

TEST(PJDBGridProperties, PublishesItsPropertiesInStreamingOrder)
{
    const QStringList expected = QStringList{"Name", "Tag", "DataSource", "HeaderFont", "PageFont", "FooterFont", "ClipMode"}
        + GridLayoutProperties() + PageAndEventProperties(false);
    EXPECT_EQ(PublishedProperties(TDBGridPrintJob::staticMetaObject), expected);
}

TEST_P(PJDBGridTest, CountsPagesWalksTheRecordsOfEachPageAndSkipsHiddenFields)
{
    Job.SetDataSource(&Source);
    Towns.Open();
    EXPECT_EQ(Job.ColCount(), 4);
    EXPECT_EQ(Job.RowCount(), 45);
    EXPECT_EQ(Job.PageCount(), 3);

    const QStringList page2 = DrawnTexts(2);
    EXPECT_EQ(Towns.RecNo(), 40); // left on the last row drawn
    ASSERT_EQ(page2.size(), 4 + 20 * 4 + 1);
    EXPECT_EQ(page2.mid(0, 8), (QStringList{"id", "name", "population", "area", "21", "Town 21", "21000", "21.5"}));
    EXPECT_EQ(page2.last(), QStringLiteral("Page 2 from 3"));

    const QStringList page3 = DrawnTexts(3);
    EXPECT_EQ(page3.size(), 4 + 5 * 4 + 1);
    EXPECT_EQ(page3.mid(page3.size() - 5), (QStringList{"45", "Town 45", "45000", "45.5", "Page 3 from 3"}));
    EXPECT_EQ(Towns.RecNo(), 45);

    DrawnTexts(1); // back to the start of the table
    EXPECT_EQ(Towns.RecNo(), 20);

    // A hidden field is skipped and the columns after it move left; hiding it recounts.
    Updates = 0;
    Towns.FieldByName(QStringLiteral("name"))->SetVisible(false);
    EXPECT_GT(Updates, 0);
    EXPECT_EQ(Job.ColCount(), 3);
    EXPECT_EQ(Job.GetField(1), Towns.FieldByName(QStringLiteral("population")));
    EXPECT_EQ(Job.GetField(3), nullptr);
    EXPECT_EQ(DrawnTexts(1).mid(0, 6), (QStringList{"id", "population", "area", "1", "1000", "1.5"}));
}

TEST_P(PJDBGridTest, WithoutFieldsToShowOneEmptyRowIsPrinted)
{
    Job.SetDataSource(&Source);
    EXPECT_EQ(Job.ColCount(), 1);
    EXPECT_EQ(Job.RowCount(), 1);
    EXPECT_EQ(DrawnTexts(1), QStringList()); // no fields yet, so not even a page number
    EXPECT_EQ(Towns.RecNo(), 0);

    Updates = 0;
    Towns.Open();
    EXPECT_GT(Updates, 0);
    EXPECT_EQ(Job.ColCount(), 4);
    EXPECT_EQ(Job.RowCount(), 45);

    // Closed again, its fields stay: the first one titles the single column, no record moves.
    Towns.Close();
    EXPECT_EQ(Job.ColCount(), 1);
    EXPECT_EQ(Job.RowCount(), 1);
    EXPECT_EQ(DrawnTexts(1), (QStringList{"id", "Page 1 from 1"}));
    EXPECT_EQ(Towns.RecNo(), 0);

    // Open with no visible fields: one column without a field, 0 wide, nothing in it.
    Towns.Open();
    for (int i = 0; i < Towns.FieldCount(); ++i)
        Towns.Fields(i)->SetVisible(false);
    EXPECT_EQ(Job.ColCount(), 1);
    EXPECT_EQ(Job.RowCount(), 45);
    EXPECT_EQ(Job.GetColWidth(&Canvas.Canvas, 0), 0);
    EXPECT_EQ(DrawnTexts(1), QStringList()); // no titles, no cells, no page number
}

TEST_P(PJDBGridTest, ColumnWidthsFollowTheVisibleFieldsDisplayWidths)
{
    Job.SetDataSource(&Source);
    Towns.Open();
    TField* id = Towns.FieldByName(QStringLiteral("id"));
    TField* name = Towns.FieldByName(QStringLiteral("name"));
    Towns.FieldByName(QStringLiteral("population"))->SetVisible(false);
    TField* area = Towns.FieldByName(QStringLiteral("area"));
    struct Case {
        int Id, Name, Area;
        int Expected[3];
    };
    const Case cases[] = {
        {10, 30, 0, {1000, 3000, 0}},
        {1, 1, 1, {1333, 1333, 1333}},
        {0, 0, 0, {0, 0, 0}}, // nothing to share out
    };
    for (const Case& c : cases) {
        id->SetDisplayWidth(c.Id);
        name->SetDisplayWidth(c.Name);
        area->SetDisplayWidth(c.Area);
        for (int col = 0; col < 3; ++col)
            EXPECT_EQ(Job.GetColWidth(&Canvas.Canvas, col), c.Expected[col]) << "column " << col << " of " << c.Id << "/" << c.Name;
    }
    DrawnTexts(1); // zero widths lay out without a division by zero

    // The page drawn puts its cells where the reported widths say, index column first.
    Job.SetIndexColumn(true);
    Job.SetPageCellBorders({cbLeft});
    id->SetDisplayWidth(10);
    name->SetDisplayWidth(30);
    area->SetDisplayWidth(20);
    std::set<int> lefts;
    int x = 100;
    for (int col : {IndexCol, 0, 1, 2}) {
        lefts.insert(x);
        x += Job.GetColWidth(&Canvas.Canvas, col);
    }
    DrawnTexts(1);
    std::set<int> drawn;
    for (const TDrawRecord& line : RecordsOf(Canvas.Records(), TDrawRecord::drLine))
        drawn.insert(line.From.X);
    EXPECT_EQ(drawn, lefts);

    for (int col : {IndexCol, 0, 1})
        EXPECT_EQ(TDBGridPrintJob().GetColWidth(&Canvas.Canvas, col), 100); // no data source
}

TEST_P(PJDBGridTest, TitlesTakeTheFieldsAlignmentAndTheFooterIsRight)
{
    Job.SetDataSource(&Source);
    Towns.Open();
    EXPECT_EQ(Job.GetCellAlignment(0, HeaderRow), taRightJustify); // a number's title
    EXPECT_EQ(Job.GetCellAlignment(1, HeaderRow), taLeftJustify);
    EXPECT_EQ(Job.GetCellAlignment(1, FooterRow), taRightJustify);
    EXPECT_EQ(Job.GetCellAlignment(9, 0), taLeftJustify); // no such field
}

TEST_P(PJDBGridTest, GoingAwaySourceOrDataSetLeavesOneEmptyRow)
{
    for (const bool sourceGoes : {true, false}) {
        SCOPED_TRACE(sourceGoes ? "source destroyed" : "data set destroyed");
        // Owned by another form: only the removal notifications can tell the job.
        auto form = std::make_unique<TComponent>();
        auto* towns = new TDataSet(form.get());
        towns->SetConnectionName(QString::fromLatin1(TestDatabase::ConnectionName));
        towns->SetTableName(QStringLiteral("towns"));
        auto* source = new TDataSource(sourceGoes ? form.get() : nullptr);
        std::unique_ptr<TDataSource> keptSource(sourceGoes ? nullptr : source);
        source->SetDataSet(towns);
        Job.SetDataSource(source);
        towns->Open();
        ASSERT_EQ(Job.RowCount(), 45);
        form.reset();
        EXPECT_EQ(Job.DataSource(), sourceGoes ? nullptr : source);
        EXPECT_EQ(Job.ColCount(), 1);
        EXPECT_EQ(Job.RowCount(), 1);
        EXPECT_EQ(DrawnTexts(1), QStringList());
        Job.SetDataSource(nullptr);
    }
}

TEST_P(PJDBGridTest, DrawingHoldsRecountsBackAndReleasesTheLockEvenOnFailure)
{
    // A data-aware control on the same source that refreshes the data set while pages are drawn.
    class RefreshingLink : public TDataLink {
    public:
        bool Done = false;

    protected:
        void DataSetScrolled() override
        {
            if (Done)
                return;
            Done = true;
            TestDatabase::Insert(QStringLiteral("towns"), {{46, "Town 46", 46000, 46.5}});
            DataSet()->Refresh();
        }
    } control;
    control.SetDataSource(&Source);
    Job.SetDataSource(&Source);
    Towns.Open();
    Updates = 0;
    DrawnTexts(1);
    EXPECT_TRUE(control.Done);
    EXPECT_EQ(Towns.RecordCount(), 46);
    EXPECT_EQ(Job.RowCount(), 45);
    EXPECT_EQ(Updates, 0);
    EXPECT_FALSE(Job.GetUpdateLocked());
    Job.Update();
    EXPECT_EQ(Job.RowCount(), 46);

    // A preview page that cannot be read says why on the page, and releases the lock too.
    TestDatabase::Exec(QStringLiteral("DROP TABLE towns"));
    const QStringList texts = DrawnTexts(3);
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts[0].startsWith(QLatin1String("The data cannot be shown: Cannot read the rows from 41"))) << texts[0].toStdString();
    EXPECT_FALSE(Job.GetUpdateLocked());
    // On paper the failure ends the page.
    Canvas.Clear();
    EXPECT_THROW(Job.Draw(&Canvas.Canvas, 3, dtPrint), EDatabaseError);
    EXPECT_FALSE(Job.GetUpdateLocked());
}

namespace {
/// Prints to the PDF printer into tests/grid-pdf/<backend>-<name>.pdf.
class PJDBGridPdfTest : public ::testing::TestWithParam<DatabaseBackend> {
protected:
    void SetUp() override
    {
        const QString reason = Db.Connect(GetParam());
        if (!reason.isEmpty())
            GTEST_SKIP() << reason.toStdString();
        Printer()->SetPrintersHidden(false);
        ASSERT_TRUE(Printer()->SelectPrinter(QStringLiteral("PDF file")));
        QDir().mkpath(QStringLiteral("grid-pdf"));
        CreateTowns(95);
        TestDatabase::Insert(QStringLiteral("towns"), {{96, QStringLiteral("Αθήνα Москва"), 96000, 96.5}});
        Towns.SetConnectionName(QString::fromLatin1(TestDatabase::ConnectionName));
        Towns.SetTableName(QStringLiteral("towns"));
        Towns.SetWindowSize(16);
        Source.SetDataSet(&Towns);
        Job.SetDataSource(&Source);
        Job.SetOptions({joMargins, joHeader, joFooter});
        Job.SetHeader(5);
        Job.SetHeaderUnits(unPercents);
        Job.SetFooter(5);
        Job.SetFooterUnits(unPercents);
        Job.SetPageCellBorders({cbRight, cbBottom});
        Job.SetIndexColumn(true);
        Job.SetRowsPerPage(40);
        Towns.Open();
    }
    void TearDown() override { Printer()->PdfPrinter()->SetOutputPath(QString()); }
    QString PathFor(const QString& name) const
    {
        const QString path =
            QDir::current().absoluteFilePath(QStringLiteral("grid-pdf/%1-%2.pdf").arg(QLatin1String(GetParam().Name), name));
        QFile::remove(path);
        Printer()->PdfPrinter()->SetOutputPath(path);
        return path;
    }

    TestDatabase Db;
    TDataSet Towns;
    TDataSource Source;
    TDBGridPrintJob Job;
};
} // namespace

TEST_P(PJDBGridPdfTest, PrintsEveryRecordWithForeignScripts)
{
    const QString path = PathFor(QStringLiteral("Towns"));
    Job.Print();
    EXPECT_EQ(ReadPdfInfo(path).Pages, 3);
    const QString text = ReadPdfText(path);
    for (const char* expected : {"population", "Town 1", "Town 80", "95000", "Page 3 from 3"})
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected;
    EXPECT_TRUE(text.contains(QStringLiteral("Αθήνα Москва")));
}

TEST_P(PJDBGridPdfTest, LostConnectionFailsThePrintAndLeavesNoPdf)
{
    // Rows wide enough (4 MB in all) that the server cannot have sent them all before it goes.
    TestDatabase::CreateTable(QStringLiteral("letters"),
        QStringLiteral("id INTEGER PRIMARY KEY, body %1").arg(QLatin1String(GetParam().TextType)));
    std::vector<QVariantList> rows;
    for (int id = 1; id <= 2000; ++id)
        rows.push_back({id, QString(2000, QLatin1Char('a' + char(id % 26)))});
    TestDatabase::Insert(QStringLiteral("letters"), rows);
    TDataSet letters;
    letters.SetConnectionName(QString::fromLatin1(TestDatabase::ConnectionName));
    letters.SetTableName(QStringLiteral("letters"));
    letters.Open();
    Source.SetDataSet(&letters);

    const QString path = PathFor(QStringLiteral("Lost"));
    Job.SetOnEndPrintPage([this](TComponent*, int page) {
        if (page == 1)
            Db.LoseConnection();
    });
    EXPECT_THROW(Job.Print(), EDatabaseError);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(Printer()->Printing());
}

TEST_P(PJDBGridPdfTest, BadInputFailsThePrintAndLeavesNoPdf)
{
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"table dropped", [] { TestDatabase::Exec(QStringLiteral("DROP TABLE towns")); }},
        {"column dropped", [] { TestDatabase::Exec(QStringLiteral("ALTER TABLE towns DROP COLUMN area")); }},
    };
    for (const auto& [what, spoil] : cases) {
        SCOPED_TRACE(what);
        const QString path = PathFor(QStringLiteral("Bad"));
        spoil();
        EXPECT_THROW(Job.Print(), EDatabaseError);
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_FALSE(Printer()->Printing());
        EXPECT_FALSE(Towns.InRun());
        Towns.Close();
        CreateTowns(95);
        Towns.Open();
    }
}

TEST_P(PJDBGridPdfTest, PrintRunShowsTheTableAsItWasWhenPrintingBegan)
{
    // 1000 rows on 200 pages; between pages another client deletes rows still to come and rows
    // printed already, and inserts new ones.
    if (Db.IsSQLite())
        TestDatabase::Exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    Towns.Close();
    CreateTowns(1000);
    Towns.Open();
    Job.SetRowsPerPage(5);
    QSqlDatabase other = TestDatabase::OpenSecondConnection(QStringLiteral("vellaro-other"));
    int changes = 0;
    std::set<int> deleted;
    Job.SetOnEndPrintPage([&](TComponent*, int page) {
        deleted.insert({page * 5 - 2, 1000 - page});
        for (const QString& change : {QStringLiteral("DELETE FROM towns WHERE id IN (%1, %2)").arg(page * 5 - 2).arg(1000 - page),
                 QStringLiteral("INSERT INTO towns VALUES (%1, 'Town %1', 1, 1.5)").arg(5000 + page)}) {
            QSqlQuery write(other);
            changes += write.exec(change) ? 1 : 0;
        }
    });
    const QString path = PathFor(QStringLiteral("Snapshot"));
    Job.Print();
    EXPECT_EQ(changes, 400);
    other.close();
    QSqlDatabase::removeDatabase(QStringLiteral("vellaro-other"));

    EXPECT_EQ(ReadPdfInfo(path).Pages, 200);
    const QString text = ReadPdfText(path);
    std::vector<int> towns;
    static const QRegularExpression town(QStringLiteral("Town (\\d+)"));
    for (auto it = town.globalMatch(text); it.hasNext();)
        towns.push_back(it.next().captured(1).toInt());
    std::vector<int> expected(1000);
    std::iota(expected.begin(), expected.end(), 1);
    EXPECT_EQ(towns, expected);
    Towns.Refresh();
    EXPECT_EQ(Towns.RecordCount(), 1000 - int(deleted.size()) + 200); // the changes were made
}

TEST_P(PJDBGridPdfTest, HiddenBlobColumnIsNeverRead)
{
    // A 1 MB picture in every row, hidden: the print reads the text columns only, so a window
    // of 500 rows stays small; shown, it prints as a note of its size.
    TestDatabase::CreateTable(QStringLiteral("photos"),
        QStringLiteral("id INTEGER PRIMARY KEY, name VARCHAR(30), picture %1").arg(QLatin1String(GetParam().BlobType)));
    const QByteArray picture(1024 * 1024, '\x7f');
    std::vector<QVariantList> rows;
    for (int id = 1; id <= 20; ++id)
        rows.push_back({id, QStringLiteral("Photo %1").arg(id), picture});
    TestDatabase::Insert(QStringLiteral("photos"), rows);
    TDataSet photos;
    photos.SetConnectionName(QString::fromLatin1(TestDatabase::ConnectionName));
    photos.SetTableName(QStringLiteral("photos"));
    photos.Open();
    photos.FieldByName(QStringLiteral("picture"))->SetVisible(false);
    Source.SetDataSet(&photos);
    EXPECT_EQ(photos.FieldByName(QStringLiteral("picture"))->Value(), QVariant());

    const QString path = PathFor(QStringLiteral("Photos"));
    Job.Print();
    const QString text = ReadPdfText(path);
    EXPECT_TRUE(text.contains(QLatin1String("Photo 20")));
    EXPECT_FALSE(text.contains(QLatin1String("binary")));
    photos.FieldByName(QStringLiteral("picture"))->SetVisible(true);
    EXPECT_EQ(photos.FieldByName(QStringLiteral("picture"))->DisplayText(), QStringLiteral("(binary, 1048576 bytes)"));
}

INSTANTIATE_TEST_SUITE_P(SQLite, PJDBGridTest, ::testing::Values(SQLiteBackend));
INSTANTIATE_TEST_SUITE_P(PostgreSQL, PJDBGridTest, ::testing::Values(PostgresBackend));
INSTANTIATE_TEST_SUITE_P(MariaDB, PJDBGridTest, ::testing::Values(MariaDbBackend));
INSTANTIATE_TEST_SUITE_P(SQLite, PJDBGridPdfTest, ::testing::Values(SQLiteBackend));
INSTANTIATE_TEST_SUITE_P(PostgreSQL, PJDBGridPdfTest, ::testing::Values(PostgresBackend));
INSTANTIATE_TEST_SUITE_P(MariaDB, PJDBGridPdfTest, ::testing::Values(MariaDbBackend));
