// Every seed of the fuzz corpora (and every real document kept as test data) goes through the
// fuzz targets' own code in the ordinary suite, so an input that once crashed, hung or leaked
// stays fixed also where no fuzzer runs; the sanitized suite checks the memory of each.
#include "fuzz/FuzzInputs.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>

using namespace Vellaro;

namespace {

/// The files under the source tree's folder Relative (recursively) whose names match Filters.
QStringList FilesUnder(const QString& relative, const QStringList& filters = {})
{
    QStringList files;
    QDirIterator it(QStringLiteral(VELLARO_SOURCE_DIR "/") + relative, filters, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

void ReadEach(const QStringList& files, const std::function<QString(const QByteArray&)>& read)
{
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(read(file.readAll()), QString());
    }
}

} // namespace

TEST(FuzzCorpus, EveryFormFileSeedReadsOrIsRefusedCleanly)
{
    const QStringList seeds = FilesUnder(QStringLiteral("tests/fuzz/corpus/FormReader"));
    ASSERT_FALSE(seeds.isEmpty());
    ReadEach(seeds, &Fuzz::ReadFormInput);
}

TEST(FuzzCorpus, EveryRtfSeedAndDocumentReadsOrIsRefusedCleanly)
{
    const QStringList seeds = FilesUnder(QStringLiteral("tests/fuzz/corpus/Rtf"));
    ASSERT_FALSE(seeds.isEmpty());
    ReadEach(seeds + FilesUnder(QStringLiteral("tests/data/documents"), {QStringLiteral("*.rtf")}), &Fuzz::ReadRtfInput);
}
