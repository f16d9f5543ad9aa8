// Real documents: RTF files that word processors wrote (tests/data/documents/<producer>/),
// printed by the rich edit job and compared with the PDF LibreOffice printed of the same file,
// on structure: the same words in the same order, pages starting where the document forces
// them to, the left edges of lines and table cells within 2 pt, pictures of the same size,
// and as many pages.
#include "textjobs/PJRichEdit.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <iostream>
#include <map>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {

QString DocumentsDir()
{
    return QStringLiteral(VELLARO_SOURCE_DIR "/tests/data/documents");
}

QString Run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(120000) || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed on " << args.join(' ').toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

/// A run of words on one line of a page with no wide gap between them (a table cell's line, a
/// paragraph's line, a bullet), as pdftotext places them.
struct TSegment {
    int Page = 0;
    double Left = 0;
    double Baseline = 0;
    QStringList Words;
    QString Key() const { return Words.mid(0, 3).join(QLatin1Char(' ')); }
};

/// The segments of a PDF file in reading order, and its pages' texts.
struct TPdfLayout {
    std::vector<TSegment> Segments;
    QStringList PageTexts;
};

/// The words of a PDF file between top and bottom (points from the top of each page): a page
/// may draw text outside its area that its clipping hides.
TPdfLayout ReadLayout(const QString& pdf, double top = 0, double bottom = 1e9)
{
    struct TWord { double Left, Right, Bottom; QString Text; };
    TPdfLayout layout;
    QXmlStreamReader xml(Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
    std::vector<TWord> words;
    const auto flushPage = [&] {
        // Lines top to bottom (a raised or lowered word stays on its line), each left to
        // right; a gap wider than about two spaces ends a segment.
        std::sort(words.begin(), words.end(), [](const TWord& a, const TWord& b) { return a.Bottom < b.Bottom; });
        std::vector<std::vector<TWord>> lines;
        for (const TWord& w : words) {
            if (lines.empty() || w.Bottom - lines.back().front().Bottom > 4)
                lines.emplace_back();
            lines.back().push_back(w);
        }
        words.clear();
        for (std::vector<TWord>& line : lines) {
            std::sort(line.begin(), line.end(), [](const TWord& a, const TWord& b) { return a.Left < b.Left; });
            words.insert(words.end(), line.begin(), line.end());
        }
        QString text;
        TSegment segment;
        double right = 0;
        for (const TWord& w : words) {
            const bool sameLine = !segment.Words.isEmpty() && w.Left >= right - 1;
            if (!sameLine || w.Left - right > 8) {
                if (!segment.Words.isEmpty())
                    layout.Segments.push_back(segment);
                segment = {int(layout.PageTexts.size()) + 1, w.Left, w.Bottom, {}};
            }
            segment.Words << w.Text;
            right = w.Right;
            text += w.Text + QLatin1Char(' ');
        }
        if (!segment.Words.isEmpty())
            layout.Segments.push_back(segment);
        layout.PageTexts << text;
        words.clear();
    };
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("page"))
            flushPage();
        if (xml.isStartElement() && xml.name() == QLatin1String("word")) {
            const auto attribute = [&](const char* name) { return xml.attributes().value(QLatin1String(name)).toDouble(); };
            const double left = attribute("xMin"), right = attribute("xMax"), wordBottom = attribute("yMax");
            const double middle = (attribute("yMin") + wordBottom) / 2;
            const QString text = xml.readElementText();
            if (middle >= top && middle <= bottom)
                words.push_back({left, right, wordBottom, text});
        }
    }
    return layout;
}

/// The text with every space, line break and hyphen taken out: the same words in the same
/// order give the same string whatever the lines and hyphenation.
QString Letters(const QStringList& pages)
{
    // Bullets are left out too: a word processor may draw one in a symbol font without a
    // character code.
    return pages.join(QString()).remove(QRegularExpression(QStringLiteral("[\\s\\-\u00AD\u2010\u2022\u00B7\uF0B7]")));
}

/// The distance between most lines that follow each other on a page, in points.
double LinePitch(const TPdfLayout& layout)
{
    std::map<int, int> counts;
    for (size_t i = 1; i < layout.Segments.size(); ++i) {
        const TSegment& a = layout.Segments[i - 1];
        const TSegment& b = layout.Segments[i];
        if (a.Page == b.Page && b.Baseline > a.Baseline + 4)
            ++counts[int(std::lround((b.Baseline - a.Baseline) * 10))];
    }
    const auto most = std::max_element(counts.begin(), counts.end(), [](auto& x, auto& y) { return x.second < y.second; });
    return most == counts.end() ? 0 : most->first / 10.0;
}

/// The sizes in points of the pictures in a PDF file, in order.
std::vector<QSizeF> PictureSizes(const QString& pdf)
{
    std::vector<QSizeF> sizes;
    const QStringList lines = Run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split(QLatin1Char('\n'));
    for (const QString& line : lines.mid(2)) {
        const QStringList f = line.simplified().split(QLatin1Char(' '));
        if (f.size() < 14 || f[2] != QLatin1String("image"))
            continue;
        sizes.emplace_back(f[3].toDouble() * 72 / f[12].toDouble(), f[4].toDouble() * 72 / f[13].toDouble());
    }
    return sizes;
}

/// The paper and margins an RTF file asks for, in twips: its section's, else its document's,
/// else those LibreOffice takes for a file that says nothing (Letter, one inch).
struct TPageSetup {
    int Width = 12240, Height = 15840;
    int Left = 1440, Right = 1440, Top = 1440, Bottom = 1440;
};

TPageSetup PageSetupOf(const QByteArray& rtf)
{
    TPageSetup page;
    const QString text = QString::fromLatin1(rtf);
    // The section's setup follows its \sectd (page styles listed before it are not in force).
    const qsizetype section = std::max<qsizetype>(text.indexOf(QLatin1String("\\sectd")), 0);
    const auto value = [&](const char* documentWord, const char* sectionWord, int& target) {
        for (const auto& [word, from] : {std::pair{documentWord, qsizetype(0)}, std::pair{sectionWord, section}}) {
            const auto match = QRegularExpression(QStringLiteral("\\\\%1(\\d+)").arg(QLatin1String(word))).match(text, from);
            if (match.hasMatch())
                target = match.captured(1).toInt();
        }
    };
    value("paperw", "pgwsxn", page.Width);
    value("paperh", "pghsxn", page.Height);
    value("margl", "marglsxn", page.Left);
    value("margr", "margrsxn", page.Right);
    value("margt", "margtsxn", page.Top);
    value("margb", "margbsxn", page.Bottom);
    return page;
}

struct TDocumentCase {
    const char* Producer;
    const char* Name;
};

class PJRichEditDocuments : public ::testing::TestWithParam<TDocumentCase> {
protected:
    void SetUp() override
    {
        Printer()->SetPrintersHidden(false);
        ASSERT_TRUE(Printer()->SelectPrinter(QStringLiteral("PDF file")));
    }
    void TearDown() override
    {
        Printer()->PdfPrinter()->SetPaperSize(QPageSize(QPageSize::A4));
        Printer()->PdfPrinter()->SetOutputPath(QString());
    }

    /// Prints the RTF file as the rich edit job does, on the paper and margins it asks for.
    QString PrintOurs(const QString& rtfPath)
    {
        QFile file(rtfPath);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const TPageSetup page = PageSetupOf(file.readAll());
        FPage = page;
        Printer()->PdfPrinter()->SetPaperSize(QPageSize(QSizeF(page.Width / 20.0, page.Height / 20.0), QPageSize::Point));
        // VELLARO_DOCUMENTS_DUMP names a folder that keeps our PDF files for a look.
        const QString dump = qEnvironmentVariable("VELLARO_DOCUMENTS_DUMP");
        const QString out = dump.isEmpty() ? FDir.filePath(QStringLiteral("ours.pdf"))
                                           : QDir(dump).filePath(QFileInfo(rtfPath).dir().dirName() + QLatin1Char('-') + QFileInfo(rtfPath).baseName() + QStringLiteral(".pdf"));
        FOurs = out;
        Printer()->PdfPrinter()->SetOutputPath(out);
        TRichEdit edit;
        edit.LoadFromFile(rtfPath);
        TRichEditPrintJob job;
        job.SetMarginsUnits(unInches);
        TMargins margins(page.Left / 1440.0, page.Top / 1440.0, page.Right / 1440.0, page.Bottom / 1440.0);
        job.SetMargins(&margins);
        job.SetOptions({joMargins});
        job.SetRichEdit(&edit);
        job.Print();
        return out;
    }

    QTemporaryDir FDir;
    QString FOurs;
    TPageSetup FPage;
};

} // namespace

TEST_P(PJRichEditDocuments, PrintsAsLibreOfficeDoes)
{
    const TDocumentCase c = GetParam();
    const QString base = DocumentsDir() + QStringLiteral("/%1/%2").arg(QLatin1String(c.Producer), QLatin1String(c.Name));
    const TPdfLayout theirs = ReadLayout(base + QStringLiteral(".pdf"));
    const QString ourPdf = PrintOurs(base + QStringLiteral(".rtf"));
    const TPdfLayout ours = ReadLayout(ourPdf, FPage.Top / 20.0 - 1, (FPage.Height - FPage.Bottom) / 20.0 + 1);
    ASSERT_FALSE(theirs.Segments.empty());

    const QString ourLetters = Letters(ours.PageTexts), theirLetters = Letters(theirs.PageTexts);
    qsizetype same = 0;
    while (same < std::min(ourLetters.size(), theirLetters.size()) && ourLetters[same] == theirLetters[same])
        ++same;
    EXPECT_EQ(ourLetters.size(), theirLetters.size()) << "the same words in the same order";
    EXPECT_EQ(same, theirLetters.size()) << "the texts part at: ours \"" << ourLetters.mid(same, 40).toStdString()
                                         << "\", theirs \"" << theirLetters.mid(same, 40).toStdString() << "\"";
    // As many pages where both lay lines out as far apart (fonts whose line height the two
    // text engines take from different tables of the font file lay out differently).
    // The first line's height on the page counts too: the layout leaves out the space before
    // a document's first paragraph, which moves every page break after it.
    const double ourPitch = LinePitch(ours), theirPitch = LinePitch(theirs);
    const double firstLineShift = ours.Segments.front().Baseline - theirs.Segments.front().Baseline;
    if (std::abs(firstLineShift) > 20)
        std::cout << "[   NOTE   ] the first line stands " << firstLineShift << " pt off LibreOffice's: pages not compared\n";
    else if (std::abs(ourPitch - theirPitch) < 0.3)
        EXPECT_EQ(ours.PageTexts.size(), theirs.PageTexts.size()) << "as many pages";
    else
        std::cout << "[   NOTE   ] lines " << ourPitch << " pt apart here, " << theirPitch << " pt in LibreOffice: pages not compared\n";

    // Pages the document starts on purpose (its chapters and the report's second part) start
    // with the same line; where it does not, pages start wherever the lines fill them.
    QFile rtf(base + QStringLiteral(".rtf"));
    ASSERT_TRUE(rtf.open(QIODevice::ReadOnly));
    const bool breaksPages = QRegularExpression(QStringLiteral("\\\\page(bb)?(?![a-z])")).match(QString::fromLatin1(rtf.readAll())).hasMatch();
    static const QRegularExpression forced(QStringLiteral("^(Chapter \\d+|Plans for the next)"));
    QStringList theirStarts, ourStarts;
    for (const TSegment& s : theirs.Segments)
        if (forced.match(s.Words.join(QLatin1Char(' '))).hasMatch())
            theirStarts << s.Key() + QStringLiteral(" first on its page: ") + (&s == &theirs.Segments.front() || (&s - 1)->Page != s.Page ? "yes" : "no");
    for (const TSegment& s : ours.Segments)
        if (forced.match(s.Words.join(QLatin1Char(' '))).hasMatch())
            ourStarts << s.Key() + QStringLiteral(" first on its page: ") + (&s == &ours.Segments.front() || (&s - 1)->Page != s.Page ? "yes" : "no");
    if (breaksPages)
        EXPECT_EQ(ourStarts.join(QLatin1Char('\n')).toStdString(), theirStarts.join(QLatin1Char('\n')).toStdString());

    // Left edges: each of their segments matched by the next of ours with the same first
    // words, a few segments ahead at most (lines may break a word apart differently).
    size_t next = 0;
    int matched = 0;
    for (const TSegment& s : theirs.Segments) {
        for (size_t i = next; i < std::min(ours.Segments.size(), next + 6); ++i) {
            if (ours.Segments[i].Key() != s.Key())
                continue;
            EXPECT_NEAR(ours.Segments[i].Left, s.Left, 2.0) << "\"" << s.Key().toStdString() << "\" on page " << s.Page;
            ++matched;
            next = i + 1;
            break;
        }
    }
    EXPECT_GT(matched, int(theirs.Segments.size()) * 3 / 4) << "most lines are found in both";

    const std::vector<QSizeF> theirPictures = PictureSizes(base + QStringLiteral(".pdf"));
    const std::vector<QSizeF> ourPictures = PictureSizes(FOurs);
    ASSERT_EQ(ourPictures.size(), theirPictures.size());
    for (size_t i = 0; i < ourPictures.size(); ++i) {
        EXPECT_NEAR(ourPictures[i].width(), theirPictures[i].width(), 2.0) << i;
        EXPECT_NEAR(ourPictures[i].height(), theirPictures[i].height(), 2.0) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Documents, PJRichEditDocuments,
    ::testing::Values(TDocumentCase{"libreoffice", "report"}, TDocumentCase{"libreoffice", "letter"},
        TDocumentCase{"libreoffice", "long"}, TDocumentCase{"pandoc", "report"}, TDocumentCase{"pandoc", "letter"},
        TDocumentCase{"pandoc", "long"}, TDocumentCase{"abiword", "report"}, TDocumentCase{"abiword", "letter"},
        TDocumentCase{"abiword", "long"}),
    [](const ::testing::TestParamInfo<TDocumentCase>& info) {
        return std::string(info.param.Producer) + "_" + info.param.Name;
    });
