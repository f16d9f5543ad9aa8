// The global printer: its list, the built-in PDF printer, the document calls and their errors.
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {
class PdfPrinterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Printer()->SelectPrinter(Printer()->PdfPrinter()->Name()));
        Printer()->SetOrientation(poPortrait);
    }
    void TearDown() override
    {
        if (Printer()->Printing())
            Printer()->Abort();
        Printer()->PdfPrinter()->SetOutputPath(QString());
        Printer()->SetOrientation(poPortrait);
    }
    QTemporaryDir Dir;
};
} // namespace

TEST_F(PdfPrinterTest, IsAlwaysListedAndMeasuresA4At600Dpi)
{
    EXPECT_TRUE(Printer()->Printers().contains(QStringLiteral("PDF file")));
    EXPECT_EQ(Printer()->PageWidth(), 4958);
    EXPECT_EQ(Printer()->PageHeight(), 7017);
    EXPECT_EQ(GetDeviceCaps(Printer()->Handle(), LOGPIXELSX), 600);
    Printer()->SetOrientation(poLandscape);
    EXPECT_EQ(Printer()->PageWidth(), 7017);
    EXPECT_EQ(Printer()->PageHeight(), 4958);
}

TEST_F(PdfPrinterTest, WritesPagesOnlyWhenTheDocumentEnds)
{
    const QString path = Dir.filePath(QStringLiteral("two.pdf"));
    Printer()->PdfPrinter()->SetOutputPath(path);
    Printer()->SetTitle(QStringLiteral("Two pages"));
    Printer()->BeginDoc();
    Printer()->Canvas()->TextOut(100, 100, QStringLiteral("first"));
    Printer()->NewPage();
    Printer()->Canvas()->TextOut(100, 100, QStringLiteral("second"));
    EXPECT_FALSE(QFile::exists(path));
    Printer()->EndDoc();
    const PdfInfo info = ReadPdfInfo(path);
    EXPECT_EQ(info.Pages, 2);
    EXPECT_NEAR(info.WidthPt, 595, 1);
    EXPECT_NEAR(info.HeightPt, 842, 1);
    EXPECT_EQ(info.Title, QStringLiteral("Two pages"));
    EXPECT_EQ(Printer()->PdfPrinter()->LastOutputPath(), path);
}

TEST_F(PdfPrinterTest, AbortLeavesNoFileAndKeepsAnOlderOne)
{
    const QString path = Dir.filePath(QStringLiteral("kept.pdf"));
    {
        QFile older(path);
        ASSERT_TRUE(older.open(QIODevice::WriteOnly));
        older.write("older document");
    }
    Printer()->PdfPrinter()->SetOutputPath(path);
    Printer()->BeginDoc();
    Printer()->Canvas()->TextOut(100, 100, QStringLiteral("never finished"));
    Printer()->Abort();
    EXPECT_TRUE(Printer()->Aborted());
    EXPECT_FALSE(Printer()->Printing());
    QFile older(path);
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_EQ(older.readAll(), QByteArray("older document"));
}

TEST_F(PdfPrinterTest, UnwritablePathFailsClearlyAtBeginDoc)
{
    const QString path = Dir.filePath(QStringLiteral("missing/folder/out.pdf"));
    Printer()->PdfPrinter()->SetOutputPath(path);
    try {
        Printer()->BeginDoc();
        FAIL() << "BeginDoc succeeded";
    } catch (const EPrinter& e) {
        EXPECT_TRUE(e.Message().contains(path)) << e.what();
    }
    EXPECT_FALSE(Printer()->Printing());
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(PdfPrinterTest, DefaultFileNameComesFromTheTitle)
{
    EXPECT_TRUE(TPdfPrinterDevice::PathForTitle(QStringLiteral("Sales 2026/Q4: final")).endsWith(QStringLiteral("/Sales 2026_Q4_ final.pdf")));
    EXPECT_TRUE(TPdfPrinterDevice::PathForTitle(QString()).endsWith(QStringLiteral("/document.pdf")));
}

TEST_F(PdfPrinterTest, DocumentCallsOutOfOrderRaisePrinterErrors)
{
    EXPECT_THROW(Printer()->NewPage(), EPrinter);
    EXPECT_THROW(Printer()->EndDoc(), EPrinter);
    Printer()->PdfPrinter()->SetOutputPath(Dir.filePath(QStringLiteral("x.pdf")));
    Printer()->BeginDoc();
    EXPECT_THROW(Printer()->BeginDoc(), EPrinter);
    EXPECT_THROW(Printer()->SetOrientation(poLandscape), EPrinter);
    EXPECT_THROW(Printer()->SetPrinterIndex(0), EPrinter);
    Printer()->EndDoc();
    EXPECT_NO_THROW(Printer()->SetOrientation(poLandscape));
}

TEST(NoPrinter, HiddenPrintersLeaveAnEmptyListAndClearErrors)
{
    Printer()->SetPrintersHidden(true);
    EXPECT_TRUE(Printer()->Printers().isEmpty());
    EXPECT_THROW(Printer()->PageWidth(), EPrinter);
    EXPECT_THROW(Printer()->BeginDoc(), EPrinter);
    Printer()->SetPrintersHidden(false);
    EXPECT_FALSE(Printer()->Printers().isEmpty());
}

class RecordingPrinter : public RecordingPrinterTest {};

TEST_F(RecordingPrinter, RecordsPagesInDeviceCoordinatesAndCountsCalls)
{
    Printer()->BeginDoc();
    Printer()->Canvas()->MoveTo(10, 20);
    Printer()->Canvas()->LineTo(30, 20);
    Printer()->NewPage();
    Printer()->Canvas()->Rectangle(1, 2, 3, 4);
    Printer()->EndDoc();
    EXPECT_EQ(Recording()->BeginDocCount(), 1);
    EXPECT_EQ(Recording()->NewPageCount(), 1);
    EXPECT_EQ(Recording()->EndDocCount(), 1);
    ASSERT_EQ(Recording()->Recorder().PageCount(), 2);
    ASSERT_EQ(PageRecords(1).size(), 1u);
    EXPECT_EQ(PageRecords(1)[0].To, (TPoint{30, 20}));
    EXPECT_EQ(PageRecords(2)[0].Rect, (TRect{1, 2, 3, 4}));
    // The printer's canvas measures points at the printer's resolution.
    EXPECT_EQ(Printer()->Canvas()->Font()->PixelsPerInch(), 600);
}
