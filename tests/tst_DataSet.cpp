// Data sets on real databases, the same cases on SQLite and on a PostgreSQL server: counting,
// walking in key order across windows, positioning, display texts of awkward values, and
// clear failures for bad input without side effects.
#include "platform/data/DataSet.h"

#include "DatabaseTestSupport.h"

#include <QSqlQuery>
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
        // Inserted in descending key order, so storage order and key order differ.
        TestDatabase::CreateTable(QStringLiteral("towns"),
            QStringLiteral("id INTEGER PRIMARY KEY, name VARCHAR(30), population INTEGER, area REAL"));
        std::vector<QVariantList> rows;
        for (int id = 45; id >= 1; --id)
            rows.push_back({id, QStringLiteral("Town %1").arg(id), id * 1000, id + 0.5});
        TestDatabase::Insert(QStringLiteral("towns"), rows);
        Towns.SetConnectionName(QString::fromLatin1(TestDatabase::ConnectionName));
        Towns.SetTableName(QStringLiteral("towns"));
        Towns.SetWindowSize(8);
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
    EXPECT_TRUE(Towns.Active());
    EXPECT_EQ(Towns.RecordCount(), 45);
    EXPECT_EQ(Towns.RecNo(), 1);
    ASSERT_EQ(Towns.FieldCount(), 4);
    struct Expected {
        const char* Name;
        TFieldType Type;
        TAlignment Alignment;
    };
    const Expected expected[] = {{"id", ftInteger, taRightJustify}, {"name", ftString, taLeftJustify},
        {"population", ftInteger, taRightJustify}, {"area", ftFloat, taRightJustify}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(expected[i].Name);
        const TField* field = Towns.Fields(i);
        EXPECT_EQ(field->FieldName(), QLatin1String(expected[i].Name));
        EXPECT_EQ(field->DisplayLabel(), QLatin1String(expected[i].Name));
        EXPECT_EQ(field->DataType(), expected[i].Type);
        EXPECT_EQ(field->Alignment(), expected[i].Alignment);
    }
    EXPECT_EQ(Towns.FieldByName(QStringLiteral("NAME")), Towns.Fields(1));
    EXPECT_THROW(Towns.FieldByName(QStringLiteral("mayor")), EDatabaseError);
    EXPECT_THROW(Towns.Fields(4), EDatabaseError);
}

TEST_P(DataSetTest, WalksEveryRecordInKeyOrderAcrossWindows)
{
    Towns.Open();
    std::vector<int> ids;
    for (Towns.First(); !Towns.Eof(); Towns.Next())
        ids.push_back(CurrentId());
    ASSERT_EQ(ids.size(), 45u);
    for (int i = 0; i < 45; ++i)
        EXPECT_EQ(ids[size_t(i)], i + 1);
    EXPECT_EQ(Towns.RecNo(), 45);
    EXPECT_EQ(Towns.Fields(1)->DisplayText(), QStringLiteral("Town 45"));
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
    struct Move {
        int To, RecNo;
    };
    // Forward and back across windows of 8, and numbers outside the records.
    const Move moves[] = {{40, 40}, {3, 3}, {9, 9}, {8, 8}, {0, 1}, {-5, 1}, {99, 45}, {17, 17}};
    for (const Move& move : moves) {
        SCOPED_TRACE(move.To);
        Towns.SetRecNo(move.To);
        EXPECT_EQ(Towns.RecNo(), move.RecNo);
        EXPECT_EQ(CurrentId(), move.RecNo);
        EXPECT_EQ(Towns.Fields(3)->DisplayText(), QString::number(move.RecNo + 0.5));
    }
}

TEST_P(DataSetTest, QueryKeepsItsOwnOrderAndCount)
{
    Towns.SetTableName(QString());
    Towns.SetSQL(QStringLiteral("SELECT name, population FROM towns WHERE population > 20000 ORDER BY id DESC ;"));
    Towns.Open();
    EXPECT_EQ(Towns.RecordCount(), 25);
    EXPECT_EQ(Towns.FieldCount(), 2);
    QStringList names;
    for (Towns.First(); !Towns.Eof(); Towns.Next())
        names << Towns.Fields(0)->DisplayText();
    ASSERT_EQ(names.size(), 25);
    EXPECT_EQ(names.first(), QStringLiteral("Town 45"));
    EXPECT_EQ(names.last(), QStringLiteral("Town 21"));
}

TEST_P(DataSetTest, EmptyResultHasFieldsButNoCurrentRecord)
{
    Towns.SetTableName(QString());
    Towns.SetSQL(QStringLiteral("SELECT * FROM towns WHERE id < 0"));
    Towns.Open();
    EXPECT_EQ(Towns.RecordCount(), 0);
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
    struct Row {
        QString Body, Data, Amount;
    };
    const Row expected[] = {{"", "", ""}, {foreign, "(binary, 5 bytes)", "2.5"},
        {"line one line two end", "(binary, 3 bytes)", "-0.25"},
        {QString(TField::MaxDisplayLength - 1, QLatin1Char('x')) + QChar(0x2026), "", "1000000"}};
    for (int r = 0; r < 4; ++r) {
        SCOPED_TRACE(r);
        notes.SetRecNo(r + 1);
        EXPECT_EQ(notes.Fields(1)->DisplayText(), expected[r].Body);
        EXPECT_EQ(notes.Fields(2)->DisplayText(), expected[r].Data);
        EXPECT_EQ(notes.Fields(3)->DisplayText(), expected[r].Amount);
    }
    EXPECT_TRUE(notes.Fields(3)->IsNull() == false);
    EXPECT_EQ(notes.Fields(1)->Value().toString().size(), huge.size()); // the value itself is whole
}

TEST_P(DataSetTest, BadInputFailsClearlyAndChangesNothing)
{
    struct Case {
        const char* What;
        QString Connection, Table, Sql;
    };
    const QString connection = QString::fromLatin1(TestDatabase::ConnectionName);
    const Case cases[] = {
        {"unknown connection", "no-such-connection", "towns", ""},
        {"nothing to open", connection, "", ""},
        {"missing table", connection, "no_such_table", ""},
        {"not SQL", connection, "", "this is not a query"},
        {"a statement that is no query", connection, "", "DELETE FROM towns"},
        {"a second statement", connection, "", "SELECT * FROM towns; DROP TABLE towns"},
        {"a table name that tries to be SQL", connection, "towns; DROP TABLE towns", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        TDataSet dataSet;
        dataSet.SetConnectionName(c.Connection);
        dataSet.SetTableName(c.Table);
        dataSet.SetSQL(c.Sql);
        EXPECT_THROW(dataSet.Open(), EDatabaseError);
        EXPECT_FALSE(dataSet.Active());
        EXPECT_EQ(dataSet.RecordCount(), 0);
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
    name->SetVisible(false);
    EXPECT_THROW(Towns.SetTableName(QStringLiteral("other")), EDatabaseError);
    Towns.Close();
    EXPECT_EQ(Towns.RecordCount(), 0);
    EXPECT_EQ(name->Value(), QVariant());
    Towns.Open();
    EXPECT_EQ(Towns.FieldByName(QStringLiteral("name")), name);
    EXPECT_EQ(name->DisplayLabel(), QStringLiteral("Town"));
    EXPECT_FALSE(name->Visible());
}

TEST_P(DataSetTest, ReadingAfterTheTableWasDroppedFailsAndKeepsTheRecord)
{
    Towns.Open();
    Towns.SetRecNo(5);
    TestDatabase::Exec(QStringLiteral("DROP TABLE towns"));
    Towns.SetRecNo(7); // still in the window read before
    EXPECT_THROW(Towns.SetRecNo(20), EDatabaseError);
    EXPECT_EQ(Towns.RecNo(), 7);
    EXPECT_EQ(CurrentId(), 7);
    EXPECT_THROW(Towns.Refresh(), EDatabaseError);
}

TEST_P(DataSetTest, LostConnectionFailsTheNextRead)
{
    Towns.Open();
    Db.LoseConnection();
    EXPECT_THROW(Towns.SetRecNo(30), EDatabaseError);
    EXPECT_EQ(Towns.RecNo(), 1);
}

TEST_P(DataSetTest, RecordsRemovedAfterCountingAreReportedNotInvented)
{
    Towns.Open();
    TestDatabase::Exec(QStringLiteral("DELETE FROM towns WHERE id > 20"));
    EXPECT_THROW(Towns.SetRecNo(30), EDatabaseError);
    Towns.Refresh();
    EXPECT_EQ(Towns.RecordCount(), 20);
    Towns.SetRecNo(30);
    EXPECT_EQ(CurrentId(), 20);
}

INSTANTIATE_TEST_SUITE_P(SQLite, DataSetTest, ::testing::Values(SQLiteBackend));
INSTANTIATE_TEST_SUITE_P(PostgreSQL, DataSetTest, ::testing::Values(PostgresBackend));
