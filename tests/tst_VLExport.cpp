// Save as… in the preview window: the dialog's choice of file and format decides what is
// written; a cancelled dialog writes nothing; a name without the format's extension gets it.
#include "PreviewFixture.h"

#include "preview/VLExport.h"
#include "preview/VLWindow.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {
class SaveAsTest : public PreviewFixture {
protected:
    void SetUp() override
    {
        PreviewFixture::SetUp();
        ASSERT_TRUE(Dir.isValid());
        Job->SetPageCount(2);
        Job->SetTitle(QStringLiteral("Report"));
        Window = std::make_unique<TPreviewWindow>();
        Window->SetPrintJob(Job.get());
        Window->Show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        TExportDialog::SetExecuteHook({});
        Window.reset();
        PreviewFixture::TearDown();
    }
    QStringList Files() const { return QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    QTemporaryDir Dir;
    std::unique_ptr<TPreviewWindow> Window;
};
} // namespace

TEST_F(SaveAsTest, TheChosenFormatDecidesWhatCtrlSWrites)
{
    const struct {
        TExportFormat format;
        const char* name;
        QStringList files;
    } cases[] = {
        {efPdf, "report", {"report.pdf"}},
        {efPng, "report.png", {"report-1.png", "report-2.png"}},
        {efSvg, "sheet{page}", {"sheet1.svg", "sheet2.svg"}},
    };
    for (const auto& c : cases) {
        QDir(Dir.path()).removeRecursively();
        QDir().mkpath(Dir.path());
        TExportChoice offered;
        TExportDialog::SetExecuteHook([&](TExportChoice& choice) {
            offered = choice;
            choice.FileName = Dir.filePath(QString::fromLatin1(c.name));
            choice.Format = c.format;
            choice.ImageDpi = 30;
            return true;
        });
        QTest::keyClick(Window->GetPreview(), Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(Files(), c.files) << c.name;
        EXPECT_TRUE(offered.FileName.endsWith(QStringLiteral("Report.pdf"))) << "the job's title is offered";
    }
}

TEST_F(SaveAsTest, ACancelledDialogWritesNothing)
{
    TExportDialog::SetExecuteHook([&](TExportChoice& choice) {
        choice.FileName = Dir.filePath(QStringLiteral("x.pdf"));
        return false;
    });
    EXPECT_FALSE(Window->Form()->SaveAs());
    EXPECT_TRUE(Files().isEmpty());
    EXPECT_EQ(TExportDialog::Filters().size(), 3);
}

TEST_F(SaveAsTest, TheToolbarsExportButtonSavesTheShownJob)
{
    TPreviewToolbar* bar = Window->GetToolbar();
    EXPECT_FALSE(bar->SpeedButton(btnExport)->Visible()) << "not among the default buttons";
    bar->SetButtons(bar->Buttons() + TButtons{btnExport});
    TSpeedButton* button = bar->SpeedButton(btnExport);
    ASSERT_TRUE(button->Visible());
    EXPECT_GT(button->Left(), bar->SpeedButton(btnZoomIn)->Left());
    EXPECT_EQ(button->Hint(), QStringLiteral("Save as PDF, PNG or SVG"));
    // Its own picture: more than the purple background.
    const QImage glyph = button->Glyph()->Image();
    int drawn = 0;
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x)
            drawn += FromQColor(glyph.pixelColor(x, y)) != clPurple;
    EXPECT_GT(drawn, 40);
    TExportDialog::SetExecuteHook([&](TExportChoice& choice) {
        choice.FileName = Dir.filePath(QStringLiteral("toolbar"));
        choice.Format = efPdf;
        return true;
    });
    button->Click();
    EXPECT_EQ(Files(), QStringList{"toolbar.pdf"});
    EXPECT_EQ(ReadPdfInfo(Dir.filePath(QStringLiteral("toolbar.pdf"))).Pages, 2);
}
