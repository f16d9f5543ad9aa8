// Data sets on real databases, the same cases on SQLite and on PostgreSQL and MariaDB servers:
// counting, walking in key order across windows bounded in rows and bytes, reading only the
// visible columns, print runs that read one snapshot, positioning, display texts of awkward
// values, clear failures for bad input without side effects, and what each driver can do.
#include "platform/data/DataSet.h"

#include "DatabaseTestSupport.h"

#include <QSqlError>
#include <QSqlQuery>
#include <functional>
#include <gtest/gtest.h>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {
class DataSetTest : public ::testing::TestWithParam<DatabaseBackend> {
protected:
    void SetUp() override
    {
        const QString reason = Db.Connect(GetParam());
        if (!reason.isEmpty())
            GTEST_SKIP() << reason.toStdString();
        CreateTowns();
        Towns.SetConnectionName(QString::fromLatin1(TestDatabase::ConnectionName));
        Towns.SetTableName(QStringLiteral("towns"));
        Towns.SetWindowSize(8);
    }
    static void CreateTowns()
    {
        // Inserted in descending key order, so storage order and key order differ.
        TestDatabase::CreateTable(QStringLiteral("towns"),
            QStringLiteral("id INTEGER PRIMARY KEY, name VARCHAR(30), population INTEGER, area REAL"));
        std::vector<QVariantList> rows;
        for (int id = 45; id >= 1; --id)
            rows.push_back({id, QStringLiteral("Town %1").arg(id), id * 1000, id + 0.5});
        TestDatabase::Insert(QStringLiteral("towns"), rows);
    }
    int CurrentId() const { return Towns.FieldByName(QStringLiteral("id"))->Value().toInt(); }
    static int CountTowns()
    {
        QSqlQuery query(TestDatabase::Db());
        return query.exec(QStringLiteral("SELECT COUNT(*) FROM towns")) && query.next() ? query.value(0).toInt() : -1;
    }

    TestDatabase Db;
    TDataSet Towns;
};
} // namespace

TEST_P(DataSetTest, OpensWithCountedRowsAndTypedFields)
{
    Towns.Open();
    EXPECT_EQ(Towns.RecordCount(), 45);
    EXPECT_EQ(Towns.RecNo(), 1);
    ASSERT_EQ(Towns.FieldCount(), 4);
    const TFieldType types[] = {ftInteger, ftString, ftInteger, ftFloat};
    const TAlignment alignments[] = {taRightJustify, taLeftJustify, taRightJustify, taRightJustify};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Towns.Fields(i)->DataType(), types[i]) << i;
        EXPECT_EQ(Towns.Fields(i)->Alignment(), alignments[i]) << i;
    }
    EXPECT_EQ(Towns.FieldByName(QStringLiteral("NAME")), Towns.Fields(1));
    EXPECT_THROW(Towns.FieldByName(QStringLiteral("mayor")), EDatabaseError);
    EXPECT_THROW(Towns.Fields(4), EDatabaseError);
}

TEST_P(DataSetTest, CompositeKeyTableWalksInKeyOrder)
{
    TestDatabase::CreateTable(QStringLiteral("stock"),
        QStringLiteral("region VARCHAR(10), num INTEGER, qty INTEGER, PRIMARY KEY (region, num)"));
    std::vector<QVariantList> rows;
    QStringList expected;
    for (const char* region : {"south", "east", "north"})
        for (int num = 7; num >= 1; --num)
            rows.push_back({region, num, num * 10});
    for (const char* region : {"east", "north", "south"})
        for (int num = 1; num <= 7; ++num)
            expected << QStringLiteral("%1/%2").arg(QLatin1String(region)).arg(num);
    TestDatabase::Insert(QStringLiteral("stock"), rows);
    TDataSet stock;
    stock.SetConnectionName(QString::fromLatin1(TestDatabase::ConnectionName));
    stock.SetTableName(QStringLiteral("stock"));
    stock.SetWindowSize(3); // windows end inside a region and between regions
    stock.Open();
    QStringList walked;
    for (stock.First(); !stock.Eof(); stock.Next())
        walked << stock.Fields(0)->DisplayText() + QLatin1Char('/') + stock.Fields(1)->DisplayText();
    EXPECT_EQ(walked, expected);

    // A jump reads on from a key sampled when counting (every 4 windows: north/5 at record
    // 12), not by passing over the rows before it: a row removed since before the sample does
    // not shift the records after it.
    stock.Close();
    stock.Open();
    TestDatabase::Exec(QStringLiteral("DELETE FROM stock WHERE region = 'east' AND num = 1"));
    for (const int recNo : {15, 20, 13}) {
        stock.SetRecNo(recNo);
        EXPECT_EQ(stock.Fields(0)->DisplayText() + QLatin1Char('/') + stock.Fields(1)->DisplayText(), expected[recNo - 1]) << recNo;
    }
}

TEST_P(DataSetTest, RecNoJumpsBackAndForthAndStopsAtTheEnds)
{
    Towns.Open();
    // Forward and back across windows of 8, and numbers outside the records.
    const int moves[][2] = {{40, 40}, {3, 3}, {9, 9}, {8, 8}, {0, 1}, {-5, 1}, {99, 45}, {17, 17}};
    for (const auto& move : moves) {
        Towns.SetRecNo(move[0]);
        EXPECT_EQ(Towns.RecNo(), move[1]) << move[0];
        EXPECT_EQ(CurrentId(), move[1]) << move[0];
    }
}

TEST_P(DataSetTest, QueryKeepsItsOwnOrderAndCount)
{
    Towns.SetTableName(QString());
    Towns.SetSQL(QStringLiteral("SELECT name, population FROM towns WHERE population > 20000 ORDER BY id DESC -- newest first"));
    Towns.Open();
    EXPECT_EQ(Towns.RecordCount(), 25);
    QStringList names;
    for (Towns.First(); !Towns.Eof(); Towns.Next())
        names << Towns.Fields(0)->DisplayText();
    ASSERT_EQ(names.size(), 25);
    EXPECT_EQ(names.first(), QStringLiteral("Town 45"));
    EXPECT_EQ(names.last(), QStringLiteral("Town 21"));

    // An empty result has its fields but no current record.
    Towns.Close();
    Towns.SetSQL(QStringLiteral("SELECT * FROM towns WHERE id < 0 ;"));
    Towns.Open();
    EXPECT_EQ(Towns.FieldCount(), 4);
    EXPECT_TRUE(Towns.Eof());
    Towns.SetRecNo(1);
    EXPECT_EQ(Towns.RecNo(), 0);
    EXPECT_EQ(Towns.Fields(1)->DisplayText(), QString());
}

TEST_P(DataSetTest, AwkwardValuesGiveOneLineDisplayTexts)
{
    TestDatabase::CreateTable(QStringLiteral("notes"),
        QStringLiteral("id INTEGER PRIMARY KEY, body %1, data %2, amount REAL")
            .arg(QLatin1String(GetParam().TextType), QLatin1String(GetParam().BlobType)));
    const QString foreign = QStringLiteral("Ελληνικά · 漢字 · Кириллица");
    const QString huge(1024 * 1024, QLatin1Char('x'));
    TestDatabase::Insert(QStringLiteral("notes"),
        {{1, QVariant(), QVariant(), QVariant()}, {2, foreign, QByteArray("\0\1\2\3\4", 5), 2.5},
            {3, QStringLiteral("line one\nline two\tend"), QByteArray("abc"), -0.25}, {4, huge, QVariant(), 1e6}});
    TDataSet notes;
    notes.SetConnectionName(QString::fromLatin1(TestDatabase::ConnectionName));
    notes.SetTableName(QStringLiteral("notes"));
    notes.Open();
    const QString expected[4][3] = {{"", "", ""}, {foreign, "(binary, 5 bytes)", "2.5"},
        {"line one line two end", "(binary, 3 bytes)", "-0.25"},
        {QString(TField::MaxDisplayLength - 1, QLatin1Char('x')) + QChar(0x2026), "", "1000000"}};
    for (int r = 0; r < 4; ++r) {
        notes.SetRecNo(r + 1);
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(notes.Fields(c + 1)->DisplayText(), expected[r][c]) << r << "," << c;
    }
    EXPECT_EQ(notes.Fields(1)->Value().toString().size(), huge.size()); // the value itself is whole
}

TEST_P(DataSetTest, BadInputFailsClearlyAndChangesNothing)
{
    const QString connection = QString::fromLatin1(TestDatabase::ConnectionName);
    const QString cases[][3] = {// connection, table, SQL
        {"no-such-connection", "towns", ""}, {connection, "", ""}, {connection, "no_such_table", ""},
        {connection, "", "this is not a query"}, {connection, "", "DELETE FROM towns"},
        {connection, "", "SELECT * FROM towns; DROP TABLE towns"}, {connection, "towns; DROP TABLE towns", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE((c[0] + " " + c[1] + " " + c[2]).toStdString());
        TDataSet dataSet;
        dataSet.SetConnectionName(c[0]);
        dataSet.SetTableName(c[1]);
        dataSet.SetSQL(c[2]);
        EXPECT_THROW(dataSet.Open(), EDatabaseError);
        EXPECT_FALSE(dataSet.Active());
        EXPECT_EQ(CountTowns(), 45);
    }
}

TEST_P(DataSetTest, ClosedDataSetRefusesToMoveAndKeepsItsFieldSettings)
{
    EXPECT_THROW(Towns.SetRecNo(1), EDatabaseError);
    EXPECT_THROW(Towns.Next(), EDatabaseError);
    Towns.Open();
    TField* name = Towns.FieldByName(QStringLiteral("name"));
    name->SetDisplayLabel(QStringLiteral("Town"));
    EXPECT_THROW(Towns.SetTableName(QStringLiteral("other")), EDatabaseError);
    Towns.Close();
    EXPECT_EQ(name->Value(), QVariant());
    Towns.Open();
    EXPECT_EQ(Towns.FieldByName(QStringLiteral("name")), name);
    EXPECT_EQ(name->DisplayLabel(), QStringLiteral("Town"));
}

TEST_P(DataSetTest, FailedReadKeepsTheCurrentRecord)
{
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"table dropped", [] { TestDatabase::Exec(QStringLiteral("DROP TABLE towns")); }},
        {"connection lost", [this] { Db.LoseConnection(); }},
        // Rows removed after counting are reported, never made up from their neighbours.
        {"rows removed", [] { TestDatabase::Exec(QStringLiteral("DELETE FROM towns WHERE id > 20")); }},
    };
    for (const auto& [what, spoil] : cases) {
        SCOPED_TRACE(what);
        QSqlDatabase db = TestDatabase::Db();
        db.close(); // a fresh session after the lost one
        ASSERT_TRUE(db.open());
        CreateTowns();
        Towns.Open();
        Towns.SetRecNo(5);
        spoil();
        Towns.SetRecNo(7); // still in the window read before
        EXPECT_THROW(Towns.SetRecNo(30), EDatabaseError);
        EXPECT_EQ(Towns.RecNo(), 7);
        EXPECT_EQ(CurrentId(), 7);
        Towns.Close();
    }
}

TEST_P(DataSetTest, HiddenFieldsAreNotReadAndShowingOneReadsItAgain)
{
    Towns.Open();
    Towns.SetRecNo(12);
    TField* name = Towns.FieldByName(QStringLiteral("name"));
    TField* id = Towns.FieldByName(QStringLiteral("id"));
    name->SetVisible(false);
    id->SetVisible(false); // the key is still read: it orders the windows
    EXPECT_EQ(name->Value(), QVariant());
    EXPECT_EQ(id->Value().toInt(), 12);
    QStringList walked; // keyset windows after a change of columns
    for (Towns.SetRecNo(5); !Towns.Eof(); Towns.Next())
        walked << Towns.FieldByName(QStringLiteral("population"))->DisplayText();
    ASSERT_EQ(walked.size(), 41);
    EXPECT_EQ(walked.first(), QStringLiteral("5000"));
    EXPECT_EQ(walked.last(), QStringLiteral("45000"));
    Towns.SetRecNo(20);
    name->SetVisible(true);
    EXPECT_EQ(name->DisplayText(), QStringLiteral("Town 20"));

    // A query without a key reads only the visible columns too, and nothing at all when none is.
    Towns.Close();
    Towns.SetTableName(QString());
    Towns.SetSQL(QStringLiteral("SELECT id, name FROM towns ORDER BY id"));
    Towns.Open();
    Towns.Fields(0)->SetVisible(false);
    Towns.Fields(1)->SetVisible(false);
    Towns.SetRecNo(30);
    EXPECT_EQ(Towns.RecNo(), 30);
    EXPECT_EQ(Towns.Fields(1)->Value(), QVariant());
    Towns.Fields(1)->SetVisible(true);
    EXPECT_EQ(Towns.Fields(1)->DisplayText(), QStringLiteral("Town 30"));
}

TEST_P(DataSetTest, WindowsBoundedInBytesWalkEveryRowOnce)
{
    // 30 rows of 100,000 characters and windows of about 250,000 bytes: two rows at a time,
    // however many rows the window may hold.
    TestDatabase::CreateTable(QStringLiteral("letters"),
        QStringLiteral("id INTEGER PRIMARY KEY, body %1").arg(QLatin1String(GetParam().TextType)));
    std::vector<QVariantList> rows;
    for (int id = 1; id <= 30; ++id)
        rows.push_back({id, QString(100000, QLatin1Char('a' + char(id % 26)))});
    TestDatabase::Insert(QStringLiteral("letters"), rows);
    for (const bool query : {false, true}) {
        SCOPED_TRACE(query ? "query" : "table");
        TDataSet letters;
        letters.SetConnectionName(QString::fromLatin1(TestDatabase::ConnectionName));
        if (query)
            letters.SetSQL(QStringLiteral("SELECT * FROM letters ORDER BY id"));
        else
            letters.SetTableName(QStringLiteral("letters"));
        letters.SetWindowBytes(250000);
        letters.Open();
        QList<int> ids;
        for (letters.First(); !letters.Eof(); letters.Next()) {
            ids << letters.Fields(0)->Value().toInt();
            ASSERT_EQ(letters.Fields(1)->Value().toString().size(), 100000);
        }
        QList<int> expected;
        for (int id = 1; id <= 30; ++id)
            expected << id;
        EXPECT_EQ(ids, expected);
        letters.SetRecNo(7); // back, then forward past a gap
        EXPECT_EQ(letters.Fields(0)->Value().toInt(), 7);
        letters.SetRecNo(25);
        EXPECT_EQ(letters.Fields(0)->Value().toInt(), 25);
    }
}

TEST_P(DataSetTest, PrintRunReadsTheSnapshotItBeganWith)
{
    if (Db.IsSQLite()) // readers and a writer side by side
        TestDatabase::Exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    for (const bool query : {false, true}) {
        SCOPED_TRACE(query ? "query" : "table");
        CreateTowns();
        if (query) {
            Towns.SetTableName(QString());
            Towns.SetSQL(QStringLiteral("SELECT * FROM towns ORDER BY id"));
        }
        Towns.Open();
        Towns.SetRecNo(30);
        QList<int> ids;
        {
            QSqlDatabase other = TestDatabase::OpenSecondConnection(QStringLiteral("vellaro-other"));
            const TDataSetRun run(&Towns);
            EXPECT_TRUE(Towns.InRun());
            Towns.SetRecNo(40); // the run's first read; then another client changes the table
            for (const char* change : {"DELETE FROM towns WHERE id BETWEEN 10 AND 20", "DELETE FROM towns WHERE id = 44",
                     "INSERT INTO towns VALUES (100, 'Town 100', 1, 1.5)", "UPDATE towns SET name = 'Renamed' WHERE id = 5"}) {
                QSqlQuery write(other);
                ASSERT_TRUE(write.exec(QLatin1String(change))) << write.lastError().text().toStdString();
            }
            // Walking back and forth inside the run finds the table as it was.
            Towns.SetRecNo(3);
            for (Towns.First(); !Towns.Eof(); Towns.Next())
                ids << CurrentId();
            EXPECT_EQ(Towns.RecordCount(), 45);
            Towns.SetRecNo(5);
            EXPECT_EQ(Towns.FieldByName(QStringLiteral("name"))->DisplayText(), QStringLiteral("Town 5"));
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("vellaro-other"));
        QList<int> expected;
        for (int id = 1; id <= 45; ++id)
            expected << id;
        EXPECT_EQ(ids, expected);
        EXPECT_FALSE(Towns.InRun());
        Towns.Refresh(); // after the run the changes show
        EXPECT_EQ(Towns.RecordCount(), 45 - 11 - 1 + 1);
        Towns.Close();
    }
}

TEST_P(DataSetTest, PrintRunRefusesToStartInsideTheApplicationsTransaction)
{
    // The run's own transaction must not commit, nor end, what the application has not.
    Towns.Open();
    QSqlDatabase db = TestDatabase::Db();
    ASSERT_TRUE(db.transaction());
    TestDatabase::Exec(QStringLiteral("INSERT INTO towns VALUES (100, 'Town 100', 1, 1.5)"));
    EXPECT_THROW(Towns.BeginRun(), EDatabaseError);
    EXPECT_FALSE(Towns.InRun());
    ASSERT_TRUE(db.rollback());
    EXPECT_EQ(CountTowns(), 45); // the insert was never committed
    const TDataSetRun run(&Towns); // outside a transaction the run starts
    EXPECT_TRUE(Towns.InRun());
}

TEST_P(DataSetTest, RowsRemovedInTheMiddleAreReportedWhenReadAgain)
{
    for (const char* change : {"DELETE FROM towns WHERE id = 3", "INSERT INTO towns VALUES (0, 'Town 0', 0, 0.5)"}) {
        SCOPED_TRACE(change);
        CreateTowns();
        Towns.Open();
        Towns.SetRecNo(20); // records 1 to 8 were read, then 20 onward
        TestDatabase::Exec(QLatin1String(change));
        // Reading the first window again finds other rows at the places seen before: the rows
        // after the change would print shifted, so the move fails instead.
        EXPECT_THROW(Towns.SetRecNo(2), EDatabaseError);
        EXPECT_EQ(Towns.RecNo(), 20);
        Towns.Refresh(); // counted again, the data set reads on
        Towns.SetRecNo(2);
        EXPECT_EQ(Towns.RecordCount(), std::string(change).starts_with("DELETE") ? 44 : 46);
        Towns.Close();
    }
}

TEST(SqlCapabilities, FollowTheDriversDatabaseKindAndFeatures)
{
    struct Case {
        QSqlDriver::DbmsType Kind;
        bool Transactions;
        TSqlPaging Paging;
        bool Streams;
        TSqlSnapshot Snapshot;
    };
    const Case cases[] = {
        {QSqlDriver::SQLite, true, TSqlPaging::LimitOffset, true, TSqlSnapshot::ReadTransaction},
        {QSqlDriver::PostgreSQL, true, TSqlPaging::LimitOffset, true, TSqlSnapshot::RepeatableRead},
        {QSqlDriver::MySqlServer, true, TSqlPaging::LimitOffset, false, TSqlSnapshot::ConsistentRead},
        {QSqlDriver::MSSqlServer, true, TSqlPaging::OffsetFetch, false, TSqlSnapshot::DriverDefault},
        {QSqlDriver::Oracle, false, TSqlPaging::OffsetFetch, false, TSqlSnapshot::None},
        {QSqlDriver::UnknownDbms, true, TSqlPaging::Scan, false, TSqlSnapshot::DriverDefault},
        {QSqlDriver::Sybase, false, TSqlPaging::Scan, false, TSqlSnapshot::None},
    };
    for (const Case& c : cases) {
        const TSqlCapabilities caps = TSqlCapabilities::Of(QStringLiteral("QX"), c.Kind, c.Transactions);
        EXPECT_EQ(caps.Paging, c.Paging) << c.Kind;
        EXPECT_EQ(caps.StreamsRows, c.Streams) << c.Kind;
        EXPECT_EQ(caps.Snapshot, c.Snapshot) << c.Kind;
    }
    const QString select = QStringLiteral("SELECT a FROM t ORDER BY a");
    const auto window = [&](QSqlDriver::DbmsType kind, qint64 skip, qint64 rows) {
        return TSqlCapabilities::Of(QStringLiteral("QX"), kind, true).Window(select, skip, rows);
    };
    EXPECT_EQ(window(QSqlDriver::SQLite, 20, 10), select + " LIMIT 10 OFFSET 20");
    EXPECT_EQ(window(QSqlDriver::SQLite, 20, -1), select + " LIMIT 9223372036854775807 OFFSET 20");
    EXPECT_EQ(window(QSqlDriver::PostgreSQL, 0, -1), select);
    EXPECT_EQ(window(QSqlDriver::Oracle, 20, 10), select + " OFFSET 20 ROWS FETCH NEXT 10 ROWS ONLY");
    EXPECT_EQ(window(QSqlDriver::Oracle, 20, -1), select + " OFFSET 20 ROWS");
    EXPECT_EQ(window(QSqlDriver::UnknownDbms, 20, 10), select); // the caller passes over rows itself

    // A driver without transactions cannot give a print run one snapshot, and says so by name.
    try {
        TSqlCapabilities::Of(QStringLiteral("QNOTX"), QSqlDriver::UnknownDbms, false).BeginSnapshot();
        ADD_FAILURE() << "no error";
    } catch (const EDatabaseError& error) {
        EXPECT_TRUE(error.Message().contains(QLatin1String("QNOTX"))) << error.what();
        EXPECT_TRUE(error.Message().contains(QLatin1String("transactions"))) << error.what();
    }
}

TEST_P(DataSetTest, OpenConnectionReportsItsOwnDriversCapabilities)
{
    Towns.Open();
    EXPECT_EQ(Towns.Capabilities().Driver, QLatin1String(GetParam().Driver));
    EXPECT_NE(Towns.Capabilities().Snapshot, TSqlSnapshot::None);
    EXPECT_EQ(Towns.Capabilities().Paging, TSqlPaging::LimitOffset);
}

INSTANTIATE_TEST_SUITE_P(SQLite, DataSetTest, ::testing::Values(SQLiteBackend));
INSTANTIATE_TEST_SUITE_P(PostgreSQL, DataSetTest, ::testing::Values(PostgresBackend));
INSTANTIATE_TEST_SUITE_P(MariaDB, DataSetTest, ::testing::Values(MariaDbBackend));
