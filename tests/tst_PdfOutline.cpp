// The outline (bookmarks) of written PDF files, read back by an independent tool (qpdf --json):
// a multi job's listed jobs, a rich text job's headings nested by level, bookmarks a drawing
// handler adds, through the PDF printer and through PDF export alike.
#include "TestSupport.h"

#include "job/VLJob.h"
#include "multijobs/PJMulti.h"
#include "platform/controls/RichEdit.h"
#include "platform/core/DataModule.h"
#include "textjobs/PJRichEdit.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {
/// An outline as "title@page" with children in brackets: "A@1[B@2,C@3],D@4".
QString Describe(const QJsonArray& items)
{
    QStringList parts;
    for (const QJsonValue& value : items) {
        const QJsonObject item = value.toObject();
        QString part = item.value("title").toString() + "@" + QString::number(item.value("destpageposfrom1").toInt());
        const QJsonArray kids = item.value("kids").toArray();
        if (!kids.isEmpty())
            part += "[" + Describe(kids) + "]";
        parts << part;
    }
    return parts.join(',');
}

QJsonArray ReadOutlineItems(const QString& path)
{
    QProcess qpdf;
    qpdf.start(QStringLiteral("qpdf"), {QStringLiteral("--json"), QStringLiteral("--json-key=outlines"), path});
    if (!qpdf.waitForFinished(30000) || qpdf.exitCode() != 0) {
        ADD_FAILURE() << "qpdf failed on " << path.toStdString() << ": " << qpdf.readAllStandardError().toStdString();
        return {};
    }
    return QJsonDocument::fromJson(qpdf.readAllStandardOutput()).object().value("outlines").toArray();
}

QString ReadOutline(const QString& path)
{
    return Describe(ReadOutlineItems(path));
}

/// An outline's titles only, nested as in Describe: "A[B,C],D".
QString Titles(const QJsonArray& items)
{
    QStringList parts;
    for (const QJsonValue& value : items) {
        const QJsonObject item = value.toObject();
        const QJsonArray kids = item.value("kids").toArray();
        parts << item.value("title").toString() + (kids.isEmpty() ? QString() : "[" + Titles(kids) + "]");
    }
    return parts.join(',');
}

/// Every entry of an outline with its page, depth first.
void Flatten(const QJsonArray& items, std::vector<std::pair<QString, int>>& out)
{
    for (const QJsonValue& value : items) {
        const QJsonObject item = value.toObject();
        out.emplace_back(item.value("title").toString(), item.value("destpageposfrom1").toInt());
        Flatten(item.value("kids").toArray(), out);
    }
}

/// The text of each page of a PDF file, as poppler extracts it.
QStringList PageTexts(const QString& pdf)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(60000) || pdftotext.exitCode() != 0)
        return {};
    return QString::fromUtf8(pdftotext.readAllStandardOutput()).split(QLatin1Char('\f'));
}

/// The first page (from 1) on which a line reads text; 0 for none.
int PageWithLine(const QStringList& pages, const QString& text)
{
    for (int i = 0; i < pages.size(); ++i)
        for (const QString& line : pages[i].split(QLatin1Char('\n')))
            if (line.simplified() == text)
                return i + 1;
    return 0;
}

class PdfOutline : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        Printer()->SetPrintersHidden(false);
        Previous = Printer()->PrinterIndex();
        ASSERT_TRUE(Printer()->SelectPrinter(Printer()->PdfPrinter()->Name()));
    }
    void TearDown() override
    {
        Printer()->PdfPrinter()->SetOutputPath(QString());
        if (Previous >= 0)
            Printer()->SetPrinterIndex(Previous);
    }
    QString Print(TCustomPrintJob& job)
    {
        const QString path = Dir.filePath(QStringLiteral("printed.pdf"));
        Printer()->PdfPrinter()->SetOutputPath(path);
        job.Print();
        return path;
    }
    QTemporaryDir Dir;
    int Previous = -1;
};

TPrintJob* MakeJob(TComponent* owner, const QString& name, const QString& title, int pages)
{
    auto* job = new TPrintJob(owner);
    job->SetName(name);
    job->SetTitle(title);
    job->SetPageCount(pages);
    return job;
}
} // namespace

TEST_F(PdfOutline, AMultiJobHasOneBookmarkPerListedJobAtItsFirstPage)
{
    TDataModule form;
    auto* multi = new TMultiPrintJob(&form);
    multi->Add(MakeJob(&form, "Cover", "Cover page", 1));
    multi->Add(MakeJob(&form, "Fish", "Fish list", 3));
    multi->Add(MakeJob(&form, "Untitled", QString(), 2));
    ASSERT_EQ(multi->PageCount(), 6);
    EXPECT_EQ(ReadOutline(Print(*multi)).toStdString(), "Cover page@1,Fish list@2,Untitled@5");
    // Exported from page 3, the second job's first page is not in the document.
    const QString exported = Dir.filePath(QStringLiteral("part.pdf"));
    ASSERT_TRUE(multi->ExportToPdf(exported, 3, 6));
    EXPECT_EQ(ReadOutline(exported).toStdString(), "Untitled@3");
}

TEST_F(PdfOutline, RichTextHeadingsNestByLevel)
{
    TRichEdit edit;
    QString html = QStringLiteral("<h1>Fish</h1><p>Intro</p><h2>Salt water</h2><h3>Reef</h3><h2>Fresh water</h2>");
    QString filler;
    for (int i = 0; i < 120; ++i)
        filler += QStringLiteral("<p>Line %1 of the river chapter</p>").arg(i);
    html += filler + QStringLiteral("<h1>Birds</h1><p>Gulls</p>");
    edit.setHtml(html);
    TRichEditPrintJob job;
    job.SetRichEdit(&edit);
    ASSERT_GE(job.PageCount(), 2);
    // The page whose character range holds the second top heading.
    const int birds = int(edit.toPlainText().indexOf(QStringLiteral("Birds")));
    int birdsPage = 0;
    for (int i = 0; i < job.PageRangeCount(); ++i)
        if (job.PageRange(i).FStartPos <= birds && birds < job.PageRange(i).FEndPos)
            birdsPage = i + 1;
    ASSERT_GT(birdsPage, 1);
    EXPECT_EQ(ReadOutline(Print(job)).toStdString(),
        QStringLiteral("Fish@1[Salt water@1[Reef@1],Fresh water@1],Birds@%1").arg(birdsPage).toStdString());
}

TEST_F(PdfOutline, ADrawingHandlerAddsBookmarksOnlyInARun)
{
    TPrintJob job;
    job.SetPageCount(4);
    int previewCalls = 0;
    job.SetOnDraw([&](TComponent*, TCanvas*, int page, TRect, TDrawArea area, TDrawTarget target) {
        if (area != daPage)
            return;
        if (target == dtPreview)
            ++previewCalls;
        if (page % 2 == 1)
            job.AddBookmark(QStringLiteral("Part %1").arg(page), 0);
        // A level that skips one is taken as one below the entry before it.
        job.AddBookmark(QStringLiteral("Detail %1").arg(page), 2);
    });
    // Drawn outside a run (as a pane does), nothing is recorded and nothing fails.
    TDrawRecorder recorder;
    TDeviceContext dc(&recorder, 600, 600);
    TCanvas canvas;
    canvas.SetHandle(&dc);
    job.Draw(&canvas, 1, dtPreview);
    EXPECT_EQ(previewCalls, 1);
    EXPECT_EQ(ReadOutline(Print(job)).toStdString(), "Part 1@1[Detail 1@1,Detail 2@2],Part 3@3[Detail 3@3,Detail 4@4]");
    // A run without bookmarks writes no outline.
    job.SetOnDraw({});
    EXPECT_EQ(ReadOutline(Print(job)).toStdString(), "");
}

TEST_F(PdfOutline, HeadingsOfDocumentsFromWordProcessorsBecomeTheOutline)
{
    // LibreOffice and pandoc mark headings with \outlinelevel, AbiWord only with its heading
    // styles' names; every heading is found, nested, at the page that shows it.
    QStringList chapters;
    for (int i = 1; i <= 50; ++i)
        chapters << QStringLiteral("Chapter %1").arg(i);
    const QString report = QStringLiteral("Quarterly report of the harbour workshop[What we did,Figures,Plans for the next quarter]");
    const struct {
        const char* producer;
        const char* name;
        QString titles;
    } cases[] = {
        {"libreoffice", "report", report}, {"pandoc", "report", report}, {"abiword", "report", report},
        {"libreoffice", "long", chapters.join(',')}, {"pandoc", "long", chapters.join(',')},
        {"abiword", "long", chapters.join(',')}, {"libreoffice", "letter", QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.producer) + "/" + c.name);
        TRichEdit edit;
        edit.LoadFromFile(QStringLiteral(VELLARO_SOURCE_DIR "/tests/data/documents/%1/%2.rtf").arg(QLatin1String(c.producer), QLatin1String(c.name)));
        TRichEditPrintJob job;
        job.SetRichEdit(&edit);
        const QString pdf = Dir.filePath(QStringLiteral("%1-%2.pdf").arg(QLatin1String(c.producer), QLatin1String(c.name)));
        ASSERT_TRUE(job.ExportToPdf(pdf));
        const QJsonArray outline = ReadOutlineItems(pdf);
        EXPECT_EQ(Titles(outline).toStdString(), c.titles.toStdString());
        std::vector<std::pair<QString, int>> entries;
        Flatten(outline, entries);
        const QStringList pages = PageTexts(pdf);
        int previous = 1;
        for (const auto& [title, page] : entries) {
            EXPECT_EQ(page, PageWithLine(pages, title)) << title.toStdString();
            EXPECT_GE(page, previous) << title.toStdString();
            previous = page;
        }
        if (QLatin1String(c.name) == QLatin1String("long"))
            EXPECT_GT(previous, 50) << "every chapter starts a page";
    }
}
