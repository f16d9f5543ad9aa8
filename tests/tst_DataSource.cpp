// Data sources and links: which notices a link hears and when, held-back notices, and every
// order of destroying a data set, its source and a link; on SQLite, PostgreSQL and MariaDB.
#include "platform/data/DataSource.h"

#include "DatabaseTestSupport.h"

#include <gtest/gtest.h>
#include <memory>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {
/// A link that writes down what it hears, with the active state it is in at that moment.
class RecordingLink : public TDataLink {
public:
    QStringList Heard;

protected:
    void ActiveChanged() override { Heard << (Active() ? QStringLiteral("opened") : QStringLiteral("closed")); }
    void DataSetChanged() override { Heard << QStringLiteral("changed"); }
    void DataSetScrolled() override { Heard << QStringLiteral("scrolled"); }
};

class DataSourceTest : public ::testing::TestWithParam<DatabaseBackend> {
protected:
    void SetUp() override
    {
        const QString reason = Db.Connect(GetParam());
        if (!reason.isEmpty())
            GTEST_SKIP() << reason.toStdString();
        TestDatabase::CreateTable(QStringLiteral("items"), QStringLiteral("id INTEGER PRIMARY KEY, label TEXT"));
        TestDatabase::Insert(QStringLiteral("items"), {{1, "one"}, {2, "two"}, {3, "three"}});
    }
    static std::unique_ptr<TDataSet> MakeDataSet()
    {
        auto dataSet = std::make_unique<TDataSet>();
        dataSet->SetConnectionName(QString::fromLatin1(TestDatabase::ConnectionName));
        dataSet->SetTableName(QStringLiteral("items"));
        return dataSet;
    }
    TestDatabase Db;
};
} // namespace

TEST_P(DataSourceTest, LinkHearsOpenCloseChangesAndMovesButHeldBackNoticesOnlyOnce)
{
    auto items = MakeDataSet();
    TDataSource source;
    RecordingLink link;
    link.SetDataSource(&source);
    source.SetDataSet(items.get()); // closed: nothing to tell
    items->Open();
    items->Fields(1)->SetVisible(false);
    items->Fields(1)->SetVisible(false); // unchanged: no notice
    items->SetRecNo(2);
    items->SetRecNo(2);
    EXPECT_EQ(link.Heard, (QStringList{"opened", "changed", "scrolled"}));

    // Nested DisableControls: moves and changes wait for the last EnableControls and come
    // as one change; closing and opening pass at once.
    link.Heard.clear();
    items->DisableControls();
    items->DisableControls();
    items->SetRecNo(3);
    items->Fields(0)->SetDisplayLabel(QStringLiteral("Number"));
    items->Close();
    items->Open();
    items->EnableControls();
    EXPECT_EQ(link.Heard, (QStringList{"closed", "opened"}));
    items->EnableControls();
    items->EnableControls(); // one too many changes nothing
    EXPECT_EQ(link.Heard, (QStringList{"closed", "opened", "changed"}));
}

TEST_P(DataSourceTest, SwitchingSourcesOrDataSetsTellsTheLink)
{
    auto open = MakeDataSet();
    auto other = MakeDataSet();
    auto closed = MakeDataSet();
    open->Open();
    other->Open();
    TDataSource first, second;
    first.SetDataSet(open.get());
    second.SetDataSet(closed.get());
    RecordingLink link;
    link.SetDataSource(&first);    // reaches an open data set
    first.SetDataSet(other.get()); // another open one: new data
    link.SetDataSource(&second);   // a closed one
    link.SetDataSource(nullptr);   // nothing: still not active
    EXPECT_EQ(link.Heard, (QStringList{"opened", "changed", "closed"}));
    EXPECT_EQ(first.LinkCount(), 0);
}

TEST_P(DataSourceTest, EveryDestructionOrderLeavesNoDanglingReference)
{
    // 'd' data set, 's' source, 'l' link: destroyed in the order given, the data set open.
    for (const QString order : {"dsl", "dls", "sdl", "sld", "lds", "lsd"}) {
        SCOPED_TRACE(order.toStdString());
        auto items = MakeDataSet();
        auto source = std::make_unique<TDataSource>();
        auto link = std::make_unique<RecordingLink>();
        source->SetDataSet(items.get());
        link->SetDataSource(source.get());
        items->Open();
        for (QChar which : order) {
            if (which == QLatin1Char('d')) {
                items.reset();
                if (source)
                    EXPECT_EQ(source->DataSet(), nullptr);
                if (link)
                    EXPECT_FALSE(link->Active());
            } else if (which == QLatin1Char('s')) {
                source.reset();
                if (link) {
                    EXPECT_EQ(link->DataSource(), nullptr);
                    EXPECT_EQ(link->Heard.last(), QStringLiteral("closed"));
                }
            } else {
                link.reset();
                if (source)
                    EXPECT_EQ(source->LinkCount(), 0);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(SQLite, DataSourceTest, ::testing::Values(SQLiteBackend));
INSTANTIATE_TEST_SUITE_P(PostgreSQL, DataSourceTest, ::testing::Values(PostgresBackend));
INSTANTIATE_TEST_SUITE_P(MariaDB, DataSourceTest, ::testing::Values(MariaDbBackend));
