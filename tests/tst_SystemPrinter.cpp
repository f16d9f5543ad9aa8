// Printing to a real system printer: the test starts its own CUPS daemon on a private
// configuration directory and socket, adds a cups-pdf queue as the default destination, and
// prints through Printer() to it; cups-pdf writes what the queue received as a PDF, which is
// checked for its pages, paper and orientation. Without root or the packages the cases are
// skipped with the reason, never passed.
#include "job/VLJob.h"
#include "multijobs/PJMulti.h"

#include "TestSupport.h"
#include "platform/printing/Dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {
const QString QueueName = QStringLiteral("VellaroCupsPdf");

/// A private cupsd with one cups-pdf queue; stopped and removed when it goes.
class PrivateCups {
public:
    /// Empty when the daemon runs; otherwise why it cannot.
    QString Start()
    {
        if (geteuid() != 0)
            return QStringLiteral("cupsd needs root to start");
        for (const char* file : {"/usr/sbin/cupsd", "/usr/sbin/lpadmin", "/usr/lib/cups/backend/cups-pdf",
                 "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"})
            if (!QFileInfo::exists(QString::fromLatin1(file)))
                return QStringLiteral("%1 is missing (packages cups and printer-driver-cups-pdf)").arg(QLatin1String(file));
        if (!FDir.isValid())
            return QStringLiteral("no temporary directory");
        WriteConfiguration();
        FDaemon.setProcessChannelMode(QProcess::MergedChannels);
        FDaemon.start(QStringLiteral("/usr/sbin/cupsd"), {QStringLiteral("-f"), QStringLiteral("-c"), Path("root/cupsd.conf"),
            QStringLiteral("-s"), Path("root/cups-files.conf")});
        if (!FDaemon.waitForStarted(10000))
            return QStringLiteral("cupsd did not start");
        qputenv("CUPS_SERVER", Socket().toLocal8Bit());
        QElapsedTimer waited;
        waited.start();
        while (!QFileInfo::exists(Socket()) && waited.elapsed() < 10000)
            QThread::msleep(50);
        if (!QFileInfo::exists(Socket()))
            return QStringLiteral("cupsd did not listen: %1").arg(QString::fromLocal8Bit(FDaemon.readAll()));
        QString error = Run(QStringLiteral("/usr/sbin/lpadmin"), {QStringLiteral("-p"), QueueName, QStringLiteral("-E"), QStringLiteral("-v"),
            QStringLiteral("cups-pdf:/"), QStringLiteral("-P"), QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd")});
        if (error.isEmpty())
            error = Run(QStringLiteral("/usr/sbin/lpadmin"), {QStringLiteral("-d"), QueueName});
        return error;
    }
    ~PrivateCups()
    {
        if (FDaemon.state() != QProcess::NotRunning) {
            FDaemon.terminate();
            if (!FDaemon.waitForFinished(10000))
                FDaemon.kill();
        }
    }
    QString Socket() const { return Path("cups.sock"); }
    QString ErrorLog() const
    {
        QFile log(Path("log/error_log"));
        return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll().right(3000)) : QString();
    }

private:
    QString Path(const char* relative) const { return FDir.filePath(QString::fromLatin1(relative)); }
    void WriteConfiguration()
    {
        QDir dir(FDir.path());
        for (const char* sub : {"root", "root/ppd", "spool", "cache", "state", "log", "tmp"})
            dir.mkpath(QString::fromLatin1(sub));
        // The filters run as lp: they need the folders on the way and a writable temporary folder.
        QFile::setPermissions(FDir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther);
        ::chmod(Path("tmp").toLocal8Bit().constData(), 01777);
        Write("root/cupsd.conf", QStringLiteral("Listen %1\nLogLevel info\nWebInterface no\nBrowsing off\n"
                                                "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                                "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
                                      .arg(Socket()));
        Write("root/cups-files.conf",
            QStringLiteral("ServerRoot %1/root\nRequestRoot %1/spool\nCacheDir %1/cache\nStateDir %1/state\nTempDir %1/tmp\n"
                           "AccessLog %1/log/access_log\nErrorLog %1/log/error_log\nPageLog %1/log/page_log\n"
                           "Printcap %1/printcap\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\nUser lp\nGroup lp\n"
                           "SystemGroup root lpadmin\n")
                .arg(FDir.path()));
    }
    void Write(const char* relative, const QString& text)
    {
        QFile file(Path(relative));
        if (file.open(QIODevice::WriteOnly))
            file.write(text.toLocal8Bit());
    }
    static QString Run(const QString& program, const QStringList& args)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, args);
        if (!process.waitForFinished(30000))
            return QStringLiteral("%1 did not finish").arg(program);
        return process.exitCode() == 0 ? QString() : QStringLiteral("%1 failed: %2").arg(program, QString::fromLocal8Bit(process.readAll()));
    }
    QTemporaryDir FDir{QStringLiteral("/tmp/vellaro-cups-XXXXXX")};
    QProcess FDaemon;
};

PrivateCups* Cups = nullptr;
QString CupsProblem;

/// Starts the daemon once for the program, before anything asks Printer() for the system's printers.
class CupsEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        Cups = new PrivateCups;
        CupsProblem = Cups->Start();
    }
    void TearDown() override
    {
        delete Cups;
        Cups = nullptr;
    }
};
const auto* const Registered = ::testing::AddGlobalTestEnvironment(new CupsEnvironment);

/// Where cups-pdf writes for this user (its default configuration: ~/PDF).
QDir OutputFolder()
{
    const passwd* user = getpwuid(getuid());
    return QDir(QString::fromLocal8Bit(user ? user->pw_dir : "/root") + QStringLiteral("/PDF"));
}

/// Waits for cups-pdf's file of a job whose title starts with stem; empty when none came.
QString WaitForOutput(const QString& stem)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 60000) {
        const QStringList files = OutputFolder().entryList({stem + QStringLiteral("*.pdf")}, QDir::Files);
        if (!files.isEmpty()) {
            const QString path = OutputFolder().filePath(files.first());
            // cups-pdf writes the file and then closes it: wait until its size holds still.
            qint64 size = -1;
            while (QFileInfo(path).size() != size) {
                size = QFileInfo(path).size();
                QThread::msleep(300);
            }
            return path;
        }
        QCoreApplication::processEvents();
        QThread::msleep(200);
    }
    return {};
}

class SystemPrinter : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!CupsProblem.isEmpty())
            GTEST_SKIP() << "No private CUPS daemon: " << CupsProblem.toStdString();
        Stem = QStringLiteral("VellaroCupsTest%1x%2").arg(getpid()).arg(++Count);
    }
    void TearDown() override
    {
        TPrintDialog::SetExecuteHook({});
        if (qEnvironmentVariableIsEmpty("VELLARO_KEEP_CUPS_OUTPUT"))
        for (const QString& file : OutputFolder().entryList({Stem + QStringLiteral("*")}, QDir::Files))
            OutputFolder().remove(file);
    }
    /// A job whose page N shows N black squares in a row and a long bar under them (the
    /// printed PDF holds no extractable text: the queue's Ghostscript turns text into outlines).
    std::unique_ptr<TPrintJob> NumberedJob(int pages)
    {
        auto job = std::make_unique<TPrintJob>();
        job->SetTitle(Stem);
        job->SetPageCount(pages);
        job->SetOnDraw([](TComponent*, TCanvas* canvas, int page, TRect r, TDrawArea area, TDrawTarget) {
            if (area != daPage)
                return;
            canvas->Brush()->SetColor(clBlack);
            const int unit = canvas->Font()->PixelsPerInch() / 2; // half an inch at any resolution
            for (int i = 0; i < page; ++i)
                canvas->FillRect({r.Left + unit + 2 * i * unit, r.Top + unit, r.Left + 2 * unit + 2 * i * unit, r.Top + 2 * unit});
            canvas->FillRect({r.Left + unit, r.Top + 3 * unit, r.Left + 11 * unit, r.Top + 3 * unit + unit / 3});
        });
        return job;
    }
    QString Stem;
    static inline int Count = 0;
};
/// The bounding boxes of the dark areas of an image (4-connected).
std::vector<QRect> DarkBlobs(const QImage& image)
{
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    std::vector<bool> seen(size_t(gray.width()) * size_t(gray.height()), false);
    const auto dark = [&](int x, int y) { return gray.constScanLine(y)[x] < 128; };
    std::vector<QRect> blobs;
    for (int y = 0; y < gray.height(); ++y)
        for (int x = 0; x < gray.width(); ++x) {
            if (seen[size_t(y) * gray.width() + x] || !dark(x, y))
                continue;
            QRect box(x, y, 1, 1);
            std::vector<QPoint> stack{{x, y}};
            seen[size_t(y) * gray.width() + x] = true;
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                box = box.united(QRect(p, QSize(1, 1)));
                for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint n = p + d;
                    if (n.x() < 0 || n.y() < 0 || n.x() >= gray.width() || n.y() >= gray.height())
                        continue;
                    if (!seen[size_t(n.y()) * gray.width() + n.x()] && dark(n.x(), n.y())) {
                        seen[size_t(n.y()) * gray.width() + n.x()] = true;
                        stack.push_back(n);
                    }
                }
            }
            blobs.push_back(box);
        }
    return blobs;
}

/// The page number a printed page shows (its squares), and whether its bar runs across.
struct PageMarks {
    int Number = 0;
    bool Across = false;
};
PageMarks ReadMarks(const QString& pdf, int page)
{
    const std::vector<QRect> blobs = DarkBlobs(RasterizePdfPage(pdf, page, 20));
    PageMarks marks;
    if (blobs.empty())
        return marks;
    const auto longest = std::max_element(blobs.begin(), blobs.end(),
        [](const QRect& a, const QRect& b) { return std::max(a.width(), a.height()) < std::max(b.width(), b.height()); });
    marks.Number = int(blobs.size()) - 1;
    marks.Across = longest->width() > longest->height();
    return marks;
}
} // namespace

TEST_F(SystemPrinter, QueueIsListedFirstAndSelectedAsTheDefault)
{
    ASSERT_FALSE(Printer()->Printers().isEmpty());
    EXPECT_EQ(Printer()->Printers().first(), QueueName);
    EXPECT_EQ(Printer()->Printers().at(Printer()->PrinterIndex()), QueueName);
    EXPECT_TRUE(Printer()->Printers().contains(QStringLiteral("PDF file")));
}

TEST_F(SystemPrinter, PrintsPortraitAndLandscapeOnA4)
{
    ASSERT_TRUE(Printer()->SelectPrinter(QueueName));
    Printer()->Device()->SetPaperSize(QPageSize(QPageSize::A4));
    struct Case {
        TPageOrientation orientation;
        bool wide;
    };
    for (const Case c : {Case{orPortrait, false}, Case{orLandscape, true}}) {
        SCOPED_TRACE(c.wide ? "landscape" : "portrait");
        auto job = NumberedJob(3);
        job->SetOrientation(c.orientation);
        const QString title = Stem + (c.wide ? QStringLiteral("L") : QStringLiteral("P"));
        job->SetTitle(title);
        job->Print();
        const QString output = WaitForOutput(title);
        ASSERT_FALSE(output.isEmpty()) << "cups-pdf wrote nothing; CUPS log:\n" << Cups->ErrorLog().toStdString();
        const PdfInfo facts = ReadPdfInfo(output);
        EXPECT_EQ(facts.Pages, 3);
        const bool rotated = facts.RotationDegrees == 90 || facts.RotationDegrees == 270;
        const double shown = rotated ? facts.HeightPt : facts.WidthPt;
        const double other = rotated ? facts.WidthPt : facts.HeightPt;
        EXPECT_NEAR(std::min(shown, other), 595, 2) << "A4 is 595 x 842 points";
        EXPECT_NEAR(std::max(shown, other), 842, 2);
        // The queue may turn a landscape job's content instead of its sheet: the bar that runs
        // across the job's page says which way the printed page reads.
        const bool sheetWide = shown > other;
        for (int page = 1; page <= 3; ++page) {
            const PageMarks marks = ReadMarks(output, page);
            EXPECT_EQ(marks.Number, page);
            EXPECT_EQ(marks.Across == sheetWide, c.wide) << "page " << page;
        }
    }
    Printer()->SetOrientation(poPortrait);
}

TEST_F(SystemPrinter, PrintDialogRangeReachesThePaper)
{
    ASSERT_TRUE(Printer()->SelectPrinter(QueueName));
    auto job = NumberedJob(5);
    TPrintDialog::SetExecuteHook([](TPrintDialog& dialog) {
        dialog.SetFromPage(2);
        dialog.SetToPage(3);
        return true;
    });
    job->PrintDialog();
    const QString output = WaitForOutput(Stem);
    ASSERT_FALSE(output.isEmpty()) << "cups-pdf wrote nothing; CUPS log:\n" << Cups->ErrorLog().toStdString();
    EXPECT_EQ(ReadPdfInfo(output).Pages, 2);
    EXPECT_EQ(ReadMarks(output, 1).Number, 2);
    EXPECT_EQ(ReadMarks(output, 2).Number, 3);
}

// A multi job with one landscape job among portrait ones: every page reaches the queue laid out
// in its own job's orientation. The queue puts each page on its paper (it may turn a landscape
// page onto a portrait sheet), so the bar that runs across the job's page tells which way the
// page reads on the sheet.
TEST_F(SystemPrinter, MultiJobPagesKeepTheirJobsOrientationOnTheQueue)
{
    ASSERT_TRUE(Printer()->SelectPrinter(QueueName));
    Printer()->Device()->SetPaperSize(QPageSize(QPageSize::A4));
    Printer()->SetOrientation(poPortrait);
    struct Case {
        const char* name;
        std::vector<TPageOrientation> jobs; // one job of one page each
    };
    for (const Case& c : {Case{"landscape among portrait", {orPortrait, orLandscape, orPortrait}},
             Case{"landscape first and last", {orLandscape, orPortrait, orLandscape}}}) {
        SCOPED_TRACE(c.name);
        std::vector<std::unique_ptr<TPrintJob>> jobs;
        for (const TPageOrientation orientation : c.jobs) {
            jobs.push_back(NumberedJob(1));
            jobs.back()->SetOrientation(orientation);
        }
        const QString title = Stem + QString::number(c.jobs.front() == orLandscape);
        {
            TMultiPrintJob multi;
            multi.SetTitle(title);
            for (const auto& job : jobs)
                multi.Add(job.get());
            multi.Print();
        }
        const QString output = WaitForOutput(title);
        ASSERT_FALSE(output.isEmpty()) << "cups-pdf wrote nothing; CUPS log:\n" << Cups->ErrorLog().toStdString();
        const std::vector<QSizeF> sheets = ReadPdfPageSizes(output);
        ASSERT_EQ(sheets.size(), c.jobs.size());
        for (size_t page = 0; page < sheets.size(); ++page) {
            SCOPED_TRACE(page + 1);
            const bool sheetWide = sheets[page].width() > sheets[page].height();
            EXPECT_NEAR(std::min(sheets[page].width(), sheets[page].height()), 595, 2) << "A4";
            EXPECT_NEAR(std::max(sheets[page].width(), sheets[page].height()), 842, 2) << "A4";
            const PageMarks marks = ReadMarks(output, int(page) + 1);
            EXPECT_EQ(marks.Number, 1);
            // The bar runs along the page's long side only when the page is landscape.
            EXPECT_EQ(marks.Across == sheetWide, c.jobs[page] == orLandscape)
                << "sheet " << sheets[page].width() << " x " << sheets[page].height() << " pt, bar " << (marks.Across ? "across" : "down");
        }
    }
    Printer()->SetOrientation(poPortrait);
}
