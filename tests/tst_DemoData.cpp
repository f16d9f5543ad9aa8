// The demo program's sample content: the script writes complete tables, pictures that load, a
// document with balanced groups, and the same bytes on every run.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString Script = QStringLiteral(VELLARO_SOURCE_DIR "/demo/data/make_demo_data.py");

/// Runs the script with the given arguments; returns its exit code and writes its error output.
int RunScript(const QStringList& arguments, QString* errors = nullptr)
{
    QProcess process;
    process.start(QStringLiteral("python3"), QStringList{Script} + arguments);
    if (!process.waitForFinished(60000))
        return -1;
    if (errors)
        *errors = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<QStringList> ReadTsv(const QString& path)
{
    QList<QStringList> rows;
    for (const QString& line : QString::fromUtf8(ReadBytes(path)).split(u'\n', Qt::SkipEmptyParts))
        rows.append(line.split(u'\t'));
    return rows;
}

/// An SQLite connection of its own, removed when the scope ends.
class Connection {
public:
    explicit Connection(const QString& file) : FName(QStringLiteral("tst_DemoData-") + file)
    {
        FDb = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), FName);
        FDb.setDatabaseName(file);
        FDb.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        FDb.open();
    }
    ~Connection()
    {
        FDb.close();
        FDb = QSqlDatabase();
        QSqlDatabase::removeDatabase(FName);
    }
    QSqlDatabase& Db() { return FDb; }

private:
    QString FName;
    QSqlDatabase FDb;
};

/// Two runs of the script into fresh folders, shared by the cases.
class DemoData : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (auto& dir : Runs) {
            dir = std::make_unique<QTemporaryDir>();
            QString errors;
            RunExitCodes.append(RunScript({dir->filePath(QStringLiteral("out"))}, &errors));
            if (!errors.isEmpty())
                ADD_FAILURE() << errors.toStdString();
        }
    }
    static void TearDownTestSuite()
    {
        for (auto& dir : Runs)
            dir.reset();
        RunExitCodes.clear();
    }
    void SetUp() override { ASSERT_EQ(RunExitCodes, QList<int>({0, 0})); }
    static QString Out(const QString& name, int run = 0) { return Runs[run]->filePath(QStringLiteral("out/") + name); }

    static inline std::unique_ptr<QTemporaryDir> Runs[2];
    static inline QList<int> RunExitCodes;
};

TEST_F(DemoData, TablesHaveTheirFieldsInOrderAndTheirRecords)
{
    struct Case {
        const char* File;
        const char* Table;
        QStringList Fields;
        int MinRecords, MaxRecords;
    };
    const Case cases[] = {
        {"fish.sqlite", "fish", {"Id", "Category", "Common_Name", "Species_Name", "Length_Cm", "Length_In", "Notes", "Graphic"}, 25, 30},
        {"customers.sqlite", "customers", {"Id", "First_Name", "Last_Name", "Phone", "Fax"}, 55, 65},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Table);
        Connection connection(Out(QLatin1String(c.File)));
        ASSERT_TRUE(connection.Db().isOpen());
        const QSqlRecord record = connection.Db().record(QLatin1String(c.Table));
        QStringList fields;
        for (int i = 0; i < record.count(); ++i)
            fields.append(record.fieldName(i));
        EXPECT_EQ(fields.join(u' ').toStdString(), c.Fields.join(u' ').toStdString());
        QSqlQuery query(QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT Id) FROM ") + QLatin1String(c.Table), connection.Db());
        ASSERT_TRUE(query.next());
        EXPECT_GE(query.value(0).toInt(), c.MinRecords);
        EXPECT_LE(query.value(0).toInt(), c.MaxRecords);
        EXPECT_EQ(query.value(1).toInt(), query.value(0).toInt());
    }
}

TEST_F(DemoData, EveryFishHasItsTextsLengthsAndOwnPicture)
{
    Connection connection(Out(QStringLiteral("fish.sqlite")));
    QSqlQuery query(QStringLiteral("SELECT * FROM fish ORDER BY Id"), connection.Db());
    QSet<QString> names;
    QSet<QByteArray> pictures;
    int records = 0;
    while (query.next()) {
        ++records;
        const QString name = query.value(2).toString();
        SCOPED_TRACE(name.toStdString());
        for (int field : {1, 2, 3})
            EXPECT_FALSE(query.value(field).toString().trimmed().isEmpty()) << field;
        names.insert(name);
        // The lengths are the same length in two units.
        const double cm = query.value(4).toDouble(), inches = query.value(5).toDouble();
        EXPECT_GT(cm, 0);
        EXPECT_NEAR(inches * 2.54, cm, 0.02);
        EXPECT_GE(query.value(6).toString().count(QStringLiteral(". ")), 2) << "several sentences";
        const QByteArray png = query.value(7).toByteArray();
        const QImage picture = QImage::fromData(png, "PNG");
        EXPECT_EQ(picture.size(), QSize(240, 160));
        pictures.insert(png);
    }
    EXPECT_EQ(names.size(), records);
    EXPECT_EQ(pictures.size(), records) << "each fish is drawn in its own colours";
}

TEST_F(DemoData, CustomersAreDistinctPeopleWithPlausibleNumbers)
{
    Connection connection(Out(QStringLiteral("customers.sqlite")));
    QSqlQuery query(QStringLiteral("SELECT First_Name, Last_Name, Phone, Fax FROM customers"), connection.Db());
    const QRegularExpression number(QStringLiteral("^\\(\\d{3}\\) 555-\\d{4}$"));
    QSet<QString> people;
    while (query.next()) {
        people.insert(query.value(0).toString() + u' ' + query.value(1).toString());
        for (int field : {2, 3})
            EXPECT_TRUE(number.match(query.value(field).toString()).hasMatch()) << query.value(field).toString().toStdString();
        EXPECT_NE(query.value(2).toString(), query.value(3).toString());
    }
    EXPECT_GE(people.size(), 55);
}

TEST_F(DemoData, DocumentIsWellFormedRtf)
{
    const QByteArray rtf = ReadBytes(Out(QStringLiteral("Vellaro.rtf")));
    ASSERT_TRUE(rtf.startsWith("{\\rtf1"));
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        ASSERT_LT(static_cast<unsigned char>(c), 128) << "RTF is 7-bit text, offset " << i;
        if (c == '\\') {
            ++i; // an escaped character or the first letter of a control word
        } else if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth == 0) {
            EXPECT_EQ(rtf.mid(i + 1).trimmed(), QByteArray()) << "the document's group closes only at the end";
            break;
        }
        ASSERT_GE(depth, 0) << "offset " << i;
    }
    EXPECT_EQ(depth, 0);
    // Every Unicode character carries the one fallback character the header announces.
    EXPECT_TRUE(rtf.contains("\\uc1"));
    const QRegularExpression unicode(QStringLiteral("\\\\u\\d+(?!\\d)(?!\\\\'[0-9a-f]{2})(?!\\?)"));
    EXPECT_FALSE(unicode.match(QString::fromLatin1(rtf)).hasMatch());
    EXPECT_TRUE(QString::fromLatin1(rtf).contains(QRegularExpression(QStringLiteral("\\\\u\\d+\\\\'"))));
    EXPECT_GT(rtf.size(), 6000) << "a few pages of text";
}

TEST_F(DemoData, GridAndListViewTablesAndIcons)
{
    const auto products = ReadTsv(Out(QStringLiteral("products.tsv")));
    ASSERT_GE(products.size(), 11);
    EXPECT_EQ(products.first().join(u'|').toStdString(), "Product|Description");
    for (const QStringList& row : products)
        EXPECT_EQ(row.size(), 2) << row.join(u'|').toStdString();

    const auto items = ReadTsv(Out(QStringLiteral("listview.tsv")));
    ASSERT_GE(items.size(), 13);
    QSet<int> iconsUsed;
    for (const QStringList& row : items.mid(1)) {
        ASSERT_EQ(row.size(), 5) << row.join(u'|').toStdString();
        bool ok = false;
        const int icon = row[4].toInt(&ok);
        EXPECT_TRUE(ok && icon >= 0 && icon < 5) << row[4].toStdString();
        iconsUsed.insert(icon);
    }
    EXPECT_EQ(iconsUsed.size(), 5);

    for (int size : {16, 32}) {
        QSet<QByteArray> distinct;
        for (int kind = 0; kind < 5; ++kind) {
            const QString name = QStringLiteral("icon%1_%2.png").arg(size).arg(kind);
            const QImage icon(Out(name));
            EXPECT_EQ(icon.size(), QSize(size, size)) << name.toStdString();
            EXPECT_TRUE(icon.hasAlphaChannel() && qAlpha(icon.pixel(0, size - 1)) == 0) << "transparent corner";
            distinct.insert(ReadBytes(Out(name)));
        }
        EXPECT_EQ(distinct.size(), 5);
    }
}

TEST_F(DemoData, TwoRunsWriteTheSameBytes)
{
    const QStringList files = QDir(Out(QString())).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(files.join(u' ').toStdString(), QDir(Out(QString(), 1)).entryList(QDir::Files, QDir::Name).join(u' ').toStdString());
    EXPECT_EQ(files.size(), 15) << files.join(u' ').toStdString();
    for (const QString& name : files) {
        EXPECT_FALSE(name.endsWith(QLatin1String(".tmp"))) << "no temporary file is left";
        EXPECT_EQ(ReadBytes(Out(name)), ReadBytes(Out(name, 1))) << name.toStdString();
    }
}

TEST(DemoDataScript, RefusesToRunWithoutAnOutputFolder)
{
    QString errors;
    EXPECT_EQ(RunScript({}, &errors), 2);
    EXPECT_TRUE(errors.contains(QLatin1String("usage"))) << errors.toStdString();
}
} // namespace
