// Printing a table from a database to PDF against the same rows printed from memory through
// the simple text grid, in the same run, on SQLite and a PostgreSQL server of the benchmark's
// own: 4 visible text columns and a hidden picture column holding 1 MB in every 100th row, at
// three sizes. Memory is reported as the growth of the resident set while printing, which must
// not grow with the record count nor with the pictures. Then the cost of showing page 20,000
// of a 400,000-record table in the preview against page 1, and of walking every record by
// window size.
#include "gridjobs/PJDBGrid.h"
#include "gridjobs/PJSimpleTextGrid.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/DeviceContext.h"

#include "../tests/PostgresServer.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <functional>
#include <unistd.h>

using namespace Vellaro;

namespace {
constexpr int Columns = 4;
constexpr int PictureEvery = 100; // rows
constexpr int PictureBytes = 1024 * 1024;
constexpr int RowsPerPage = 20;
const QString Connection = QStringLiteral("bench");

/// Current resident memory in MiB.
double ResidentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? double(fields[1].toLongLong()) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0;
}

QString CellText(int col, int row)
{
    return QStringLiteral("Cell %1 of row %2").arg(col).arg(row, 7, 10, QLatin1Char('0'));
}

/// Page, bands and borders shared by both jobs.
void DescribePage(TCustomGridPrintJob& job)
{
    job.SetRowsPerPage(RowsPerPage);
    job.SetIndexColumn(true);
    job.SetTableBorders({cbTop, cbLeft, cbRight, cbBottom});
    job.SetPageCellBorders({cbRight, cbBottom});
    job.SetOptions({joMargins, joHeader, joFooter});
    job.SetHeader(5);
    job.SetHeaderUnits(unPercents);
    job.SetFooter(5);
    job.SetFooterUnits(unPercents);
}

/// Prints the job to a temporary PDF once per iteration, sampling memory after every page.
void PrintAndReport(benchmark::State& state, TCustomPrintJob& job, const std::function<void()>& beforePrint = {})
{
    Printer()->SelectPrinter(QStringLiteral("PDF file"));
    const QString path = QDir::temp().filePath(QStringLiteral("vellaro-bench-db-%1.pdf").arg(getpid()));
    Printer()->PdfPrinter()->SetOutputPath(path);
    double start = 0, peak = 0;
    job.SetOnEndPrintPage([&peak](TComponent*, int) { peak = std::max(peak, ResidentMiB()); });
    int pages = 0;
    for (auto _ : state) {
        start = ResidentMiB();
        peak = start;
        if (beforePrint)
            beforePrint();
        job.Print();
        pages = job.PageCount();
    }
    state.counters["pages"] = pages;
    state.counters["pages/s"] = benchmark::Counter(double(pages) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["growth MiB"] = peak - start;
    state.counters["peak MiB"] = peak; // resident while printing, the program's own code and Qt included
    QFile::remove(path);
    Printer()->PdfPrinter()->SetOutputPath(QString());
}

void BM_PrintRowsFromMemory(benchmark::State& state)
{
    const int records = int(state.range(0));
    std::vector<QString> cells;
    cells.reserve(size_t(records) * Columns);
    for (int row = 0; row < records; ++row)
        for (int col = 0; col < Columns; ++col)
            cells.push_back(CellText(col, row));
    TSimpleTextGridPrintJob job;
    DescribePage(job);
    job.SetColCount(Columns);
    job.SetRowCount(records);
    job.SetOnColWidth([&job](TComponent*, TCanvas*, int col, int& width) {
        width = col == IndexCol ? 400 : (job.GetPageRect().Width() - 400) / Columns;
    });
    job.SetOnCellText([&job, &cells](TComponent*, int page, int col, int row, QString& text) {
        if (row == HeaderRow)
            text = col == IndexCol ? QStringLiteral("#") : QStringLiteral("Column %1").arg(col);
        else if (row == FooterRow)
            text = col == Columns - 1 ? QStringLiteral("Page %1 from %2").arg(page).arg(job.PageCount()) : QString();
        else
            text = col == IndexCol ? QString::number(row) : cells[size_t(row) * Columns + size_t(col)];
    });
    job.SetOnCellAlign([](TComponent*, int col, int row, TAlignment& a) { a = col == IndexCol || row == FooterRow ? taRightJustify : taLeftJustify; });
    PrintAndReport(state, job);
}

/// Fills table "cells" of the open connection with the rows the memory baseline prints, and
/// with a 1 MB picture in every PictureEvery-th row when Pictures.
bool FillTable(benchmark::State& state, int records, bool Pictures)
{
    QSqlDatabase db = QSqlDatabase::database(Connection, false);
    const bool postgres = db.driverName() == QLatin1String("QPSQL");
    QSqlQuery query(db);
    QStringList columns{QStringLiteral("id INTEGER PRIMARY KEY")};
    for (int col = 0; col < Columns; ++col)
        columns << QStringLiteral("c%1 VARCHAR(30)").arg(col);
    columns << QStringLiteral("picture %1").arg(QLatin1String(postgres ? "BYTEA" : "BLOB"));
    if (!query.exec(QStringLiteral("CREATE TABLE cells (%1)").arg(columns.join(QLatin1String(", "))))) {
        state.SkipWithError(query.lastError().text().toStdString().c_str());
        return false;
    }
    db.transaction();
    if (postgres) {
        // One statement for the server: the same texts as CellText.
        QStringList texts;
        for (int col = 0; col < Columns; ++col)
            texts << QStringLiteral("'Cell %1 of row ' || lpad(g::text, 7, '0')").arg(col);
        query.exec(QStringLiteral("INSERT INTO cells SELECT g, %1, NULL FROM generate_series(0, %2) g")
                       .arg(texts.join(QLatin1String(", ")))
                       .arg(records - 1));
    } else {
        query.prepare(QStringLiteral("INSERT INTO cells VALUES (?, ?, ?, ?, ?, NULL)"));
        for (int row = 0; row < records; ++row) {
            query.bindValue(0, row);
            for (int col = 0; col < Columns; ++col)
                query.bindValue(col + 1, CellText(col, row));
            query.exec();
        }
    }
    if (Pictures) {
        // Bytes that do not compress, as a photograph's would not.
        QByteArray picture(PictureBytes, Qt::Uninitialized);
        quint32 seed = 12345;
        for (char& byte : picture) {
            seed = seed * 1664525u + 1013904223u;
            byte = char(seed >> 24);
        }
        query.prepare(QStringLiteral("UPDATE cells SET picture = ? WHERE id % %1 = 0").arg(PictureEvery));
        query.bindValue(0, picture);
        query.exec();
    }
    db.commit();
    return true;
}

void PrintFromDatabase(benchmark::State& state, int records)
{
    TDataSet cells;
    cells.SetConnectionName(Connection);
    cells.SetTableName(QStringLiteral("cells"));
    TDataSource source;
    source.SetDataSet(&cells);
    TDBGridPrintJob job;
    DescribePage(job);
    job.SetDataSource(&source);
    cells.Open();
    cells.FieldByName(QStringLiteral("id"))->SetVisible(false);
    cells.FieldByName(QStringLiteral("picture"))->SetVisible(false);
    for (int col = 0; col < Columns; ++col)
        cells.Fields(col + 1)->SetDisplayLabel(QStringLiteral("Column %1").arg(col));
    cells.Close();
    if (job.PageCount() != 1)
        state.SkipWithError("the job did not follow its data set");
    // Opening, and so counting, is part of every print.
    PrintAndReport(state, job, [&cells] { cells.Close(); cells.Open(); });
    if (job.PageCount() != (records + RowsPerPage - 1) / RowsPerPage)
        state.SkipWithError("wrong page count");
}

/// Walks every record once, reading each cell's display text: the cost of the windows alone.
void WalkRecords(benchmark::State& state, int windowSize)
{
    TDataSet cells;
    cells.SetConnectionName(Connection);
    cells.SetTableName(QStringLiteral("cells"));
    cells.SetWindowSize(windowSize);
    qint64 characters = 0;
    for (auto _ : state) {
        cells.Open();
        for (cells.First(); !cells.Eof(); cells.Next())
            for (int col = 1; col <= Columns; ++col)
                characters += cells.Fields(col)->DisplayText().size();
        cells.Close();
    }
    benchmark::DoNotOptimize(characters);
}

/// Runs body against a table of records rows on the given driver (a server of its own for
/// PostgreSQL), connected as Connection.
void WithTable(benchmark::State& state, const QString& driver, int records, bool pictures, const std::function<void()>& body)
{
    QTemporaryDir folder;
    std::unique_ptr<Testing::PostgresServer> server;
    if (driver == QLatin1String("QPSQL")) {
        server = std::make_unique<Testing::PostgresServer>();
        if (!server->Running()) {
            state.SkipWithError(("PostgreSQL server did not start: " + server->Error()).toStdString().c_str());
            return;
        }
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, Connection);
        if (server) {
            db.setHostName(server->SocketDir());
            db.setUserName(QStringLiteral("postgres"));
            db.setDatabaseName(QStringLiteral("postgres"));
        } else {
            db.setDatabaseName(folder.filePath(QStringLiteral("bench.sqlite")));
        }
        if (!db.open())
            state.SkipWithError(db.lastError().text().toStdString().c_str());
        else if (FillTable(state, records, pictures))
            body();
        db.close();
    }
    QSqlDatabase::removeDatabase(Connection);
}

void BM_PrintFromSQLite(benchmark::State& state)
{
    const int records = int(state.range(0));
    WithTable(state, QStringLiteral("QSQLITE"), records, true, [&] { PrintFromDatabase(state, records); });
}

void BM_PrintFromPostgreSQL(benchmark::State& state)
{
    const int records = int(state.range(0));
    WithTable(state, QStringLiteral("QPSQL"), records, true, [&] { PrintFromDatabase(state, records); });
}

void BM_WalkSQLite(benchmark::State& state)
{
    WithTable(state, QStringLiteral("QSQLITE"), 100000, false, [&] { WalkRecords(state, int(state.range(0))); });
}

void BM_WalkPostgreSQL(benchmark::State& state)
{
    WithTable(state, QStringLiteral("QPSQL"), 100000, false, [&] { WalkRecords(state, int(state.range(0))); });
}

/// Draws page N of a 400,000-record table as the preview does, after another page far away,
/// so that the page's window is read every time.
void PreviewPage(benchmark::State& state)
{
    const int page = int(state.range(0));
    TDataSet cells;
    cells.SetConnectionName(Connection);
    cells.SetTableName(QStringLiteral("cells"));
    TDataSource source;
    source.SetDataSet(&cells);
    TDBGridPrintJob job;
    DescribePage(job);
    job.SetDataSource(&source);
    cells.Open();
    cells.FieldByName(QStringLiteral("picture"))->SetVisible(false);
    TDrawRecorder recorder;
    TDeviceContext context(&recorder, 600, 600);
    TCanvas canvas;
    canvas.SetHandle(&context);
    const int elsewhere = page == 1 ? job.PageCount() / 2 : 1;
    for (auto _ : state) {
        state.PauseTiming();
        job.Draw(&canvas, elsewhere, dtPreview);
        recorder.Clear();
        state.ResumeTiming();
        job.Draw(&canvas, page, dtPreview);
    }
    state.counters["records drawn"] = double(recorder.Current().size());
}

constexpr int PreviewRecords = 400000;

void BM_PreviewPageSQLite(benchmark::State& state)
{
    WithTable(state, QStringLiteral("QSQLITE"), PreviewRecords, false, [&] { PreviewPage(state); });
}

void BM_PreviewPagePostgreSQL(benchmark::State& state)
{
    WithTable(state, QStringLiteral("QPSQL"), PreviewRecords, false, [&] { PreviewPage(state); });
}
} // namespace

// Page 20,000 of 400,000 records in the preview against page 1.
BENCHMARK(BM_PreviewPageSQLite)->Arg(1)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_PreviewPagePostgreSQL)->Arg(1)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// Walking 100,000 records by window size: what the windows cost.
BENCHMARK(BM_WalkSQLite)->Arg(100)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_WalkPostgreSQL)->Arg(100)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// The databases first, so that no memory freed by the in-memory rows hides a database run's
// growth; the baseline of the same rows from memory last, in the same run.
// Three sizes (1,000,000 records would be 50,000 pages, about four minutes a run on the
// shared machine these were measured on, and 10 GB of pictures).
BENCHMARK(BM_PrintFromSQLite)->Arg(3000)->Arg(10000)->Arg(30000)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_PrintFromPostgreSQL)->Arg(3000)->Arg(10000)->Arg(30000)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_PrintRowsFromMemory)->Arg(3000)->Arg(10000)->Arg(30000)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
