// Data sets on real databases, the same cases on SQLite and on a PostgreSQL server: counting,
// walking in key order across windows, positioning, display texts of awkward values, and
// clear failures for bad input without side effects.
#include "platform/data/DataSet.h"

#include "DatabaseTestSupport.h"

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
        QStringLiteral("id INTEGER PRIMARY KEY, body TEXT, data %1, amount REAL").arg(QLatin1String(GetParam().BlobType)));
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

INSTANTIATE_TEST_SUITE_P(SQLite, DataSetTest, ::testing::Values(SQLiteBackend));
INSTANTIATE_TEST_SUITE_P(PostgreSQL, DataSetTest, ::testing::Values(PostgresBackend));
