// The README's examples: each code block is the example program as it stands in examples/,
// and each program builds, runs without a display and prints what it says.
#include "DatabaseTestSupport.h"
#include "TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace Vellaro::Testing;

namespace {
QString ReadText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

/// Runs an example in a fresh folder without a display; returns the folder.
std::unique_ptr<QTemporaryDir> RunExample(const QString& program, const QStringList& arguments = {})
{
    auto dir = std::make_unique<QTemporaryDir>();
    QProcess process;
    process.setWorkingDirectory(dir->path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return dir;
}
} // namespace

TEST(Examples, ReadmeShowsEachExampleAsItStands)
{
    const QString readme = ReadText(QStringLiteral(VELLARO_SOURCE_DIR "/README.md"));
    ASSERT_FALSE(readme.isEmpty());
    // A block is marked with the file it shows: <!-- examples/Name.cpp --> before ```cpp.
    const QRegularExpression block(QStringLiteral("<!-- (examples/\\w+\\.cpp) -->\\n```cpp\\n(.*?)```"),
        QRegularExpression::DotMatchesEverythingOption);
    int blocks = 0;
    for (auto match = block.globalMatch(readme); match.hasNext();) {
        const auto m = match.next();
        const QString file = ReadText(QStringLiteral(VELLARO_SOURCE_DIR "/") + m.captured(1));
        EXPECT_EQ(m.captured(2).toStdString(), file.toStdString()) << m.captured(1).toStdString();
        ++blocks;
    }
    EXPECT_EQ(blocks, 7);
    EXPECT_EQ(readme.count(QStringLiteral("```cpp")), blocks) << "every C++ block of the README is an example";
}

TEST(Examples, FirstJobPrintsTwoPagesWithItsBands)
{
    const auto dir = RunExample(QStringLiteral(VELLARO_EXAMPLE_FirstJob));
    const QString pdf = dir->filePath(QStringLiteral("first-job.pdf"));
    EXPECT_EQ(ReadPdfInfo(pdf).Pages, 2);
    const QString text = ReadPdfText(pdf);
    for (const char* expected : {"Monthly report", "Page 1 starts here", "Page 2 of 2"})
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected;
}

TEST(Examples, TablePrintsItsRowsWithHeaderAndFooterOnEveryPage)
{
    const auto dir = RunExample(QStringLiteral(VELLARO_EXAMPLE_TablePreview));
    const QString pdf = dir->filePath(QStringLiteral("price-list.pdf"));
    EXPECT_EQ(ReadPdfInfo(pdf).Pages, 13); // 500 rows, 40 a page
    const QString text = ReadPdfText(pdf);
    EXPECT_EQ(text.count(QStringLiteral("Article")) - 500 * 3, 13) << "a header on every page";
    EXPECT_TRUE(text.contains(QStringLiteral("Article 1, column 1")));
    EXPECT_TRUE(text.contains(QStringLiteral("Article 500, column 3")));
    EXPECT_TRUE(text.contains(QStringLiteral("Page 13")));
}

TEST(Examples, DatabaseTablePrintsItsVisibleFields)
{
    const auto dir = RunExample(QStringLiteral(VELLARO_EXAMPLE_DatabaseTable));
    const QString pdf = dir->filePath(QStringLiteral("towns.pdf"));
    EXPECT_EQ(ReadPdfInfo(pdf).Pages, 4); // 100 records, 30 a page
    const QString text = ReadPdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Town 100")));
    EXPECT_TRUE(text.contains(QStringLiteral("125000")));
    EXPECT_TRUE(text.contains(QStringLiteral("inhabitants")));
    const QStringList lines = text.split(QLatin1Char('\n'));
    EXPECT_TRUE(lines.contains(QStringLiteral("Town"))) << "the field's display label heads its column";
    EXPECT_FALSE(lines.contains(QStringLiteral("id"))) << "the hidden field is left out";
}

TEST(Examples, TextJobsWrapLinesAndPrintRichText)
{
    const auto dir = RunExample(QStringLiteral(VELLARO_EXAMPLE_TextJobs));
    const QString lines = dir->filePath(QStringLiteral("lines.pdf"));
    EXPECT_GE(ReadPdfInfo(lines).Pages, 3);
    const QString text = ReadPdfText(lines);
    EXPECT_TRUE(text.contains(QStringLiteral("Line 1:")));
    EXPECT_TRUE(text.contains(QStringLiteral("Line 150:")));
    const QString letter = dir->filePath(QStringLiteral("letter.pdf"));
    EXPECT_EQ(ReadPdfInfo(letter).Pages, 1);
    EXPECT_TRUE(ReadPdfText(letter).contains(QStringLiteral("Dear reader,")));
}

TEST(Examples, MultiJobNumbersPagesOnAndReadsBackFromItsFormFile)
{
    const auto dir = RunExample(QStringLiteral(VELLARO_EXAMPLE_MultiJob));
    const QString all = dir->filePath(QStringLiteral("all.pdf"));
    EXPECT_EQ(ReadPdfInfo(all).Pages, 4);
    const QString text = ReadPdfText(all);
    EXPECT_TRUE(text.contains(QStringLiteral("Cover, page 1")));
    EXPECT_TRUE(text.contains(QStringLiteral("Body, page 3")));
    EXPECT_EQ(ReadPdfInfo(dir->filePath(QStringLiteral("sheets.pdf"))).Pages, 1) << "four pages on one sheet";
    EXPECT_EQ(ReadPdfText(dir->filePath(QStringLiteral("again.pdf"))), text) << "the jobs read back print the same";
}

TEST(Examples, FormMadeInDesignerPrintsItsMultiJob)
{
    // The jobs' properties and the multi job's list come from the .ui file through uic.
    const auto dir = RunExample(QStringLiteral(VELLARO_EXAMPLE_DesignedForm));
    const QString pdf = dir->filePath(QStringLiteral("book.pdf"));
    EXPECT_EQ(ReadPdfInfo(pdf).Pages, 4) << "the cover and the report's three pages";
    const QString text = ReadPdfText(pdf);
    for (const char* expected : {"Cover, page 1", "Report, page 1", "Report, page 3"})
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected;
}

namespace {
class ServerExample : public ::testing::TestWithParam<DatabaseBackend> {
protected:
    void SetUp() override
    {
        const QString reason = Db.Connect(GetParam());
        if (!reason.isEmpty())
            GTEST_SKIP() << reason.toStdString();
    }
    TestDatabase Db;
};
} // namespace

TEST_P(ServerExample, ServerTablePrintsAQueryWithItsPictureHidden)
{
    TestDatabase::CreateTable(QStringLiteral("customers"),
        QStringLiteral("id INTEGER PRIMARY KEY, name VARCHAR(40), city VARCHAR(40), picture %1").arg(QLatin1String(GetParam().BlobType)));
    std::vector<QVariantList> rows;
    for (int id = 1; id <= 100; ++id)
        rows.push_back({id, QStringLiteral("Customer %1").arg(id), QStringLiteral("Zürich"), QByteArray(1000, 'p')});
    TestDatabase::Insert(QStringLiteral("customers"), rows);
    const QStringList arguments = Db.IsPostgres()
        ? QStringList{"QPSQL", SharedPostgres().SocketDir(), "postgres", "postgres"}
        : QStringList{"QMYSQL", SharedMariaDb().Socket(), "root", "vellaro"};
    const auto dir = RunExample(QStringLiteral(VELLARO_EXAMPLE_ServerTable), arguments);
    const QString pdf = dir->filePath(QStringLiteral("customers.pdf"));
    EXPECT_EQ(ReadPdfInfo(pdf).Pages, 3); // 100 records, 40 a page
    const QString text = ReadPdfText(pdf);
    for (const char* expected : {"No.", "Customer 1", "Customer 100", "city"})
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected;
    EXPECT_TRUE(text.contains(QStringLiteral("Zürich")));
    EXPECT_FALSE(text.contains(QLatin1String("picture"))) << "the hidden field is left out";

    // A table that is not there: a clear message and no PDF.
    TestDatabase::Exec(QStringLiteral("DROP TABLE customers"));
    auto failed = std::make_unique<QTemporaryDir>();
    QProcess process;
    process.setWorkingDirectory(failed->path());
    process.start(QStringLiteral(VELLARO_EXAMPLE_ServerTable), arguments);
    ASSERT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(process.readAllStandardError().contains("customers"));
    EXPECT_FALSE(QFile::exists(failed->filePath(QStringLiteral("customers.pdf"))));
}

INSTANTIATE_TEST_SUITE_P(PostgreSQL, ServerExample, ::testing::Values(PostgresBackend));
INSTANTIATE_TEST_SUITE_P(MariaDB, ServerExample, ::testing::Values(MariaDbBackend));
