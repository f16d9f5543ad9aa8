// Progress of long print runs from the toolbar: a dialog only when a run takes longer than
// about half a second, page reached and total in it, Cancel aborting the run, and the
// application's own progress handler running throughout.
#include "preview/VLProgress.h"
#include "preview/VLToolbar.h"

#include "PreviewFixture.h"
#include "platform/printing/Dialogs.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QThread>

using namespace Vellaro;

namespace {

class ProgressTest : public Testing::PreviewFixture {
protected:
    void SetUp() override
    {
        PreviewFixture::SetUp();
        Bar = std::make_unique<TPreviewToolbar>();
        Bar->SetPreview(Pane.get());
    }
    void TearDown() override
    {
        TPrintDialog::SetExecuteHook({});
        Bar.reset();
        PreviewFixture::TearDown();
    }
    /// Makes every printed page take Ms milliseconds.
    void SlowPages(int pages, int ms)
    {
        Job->SetPageCount(pages);
        Job->SetOnDraw([ms](TComponent*, TCanvas*, int, TRect, TDrawArea, TDrawTarget target) {
            if (target == dtPrint)
                QThread::msleep(ms);
        });
    }
    /// The progress dialog shown over the application, if any.
    static QProgressDialog* ShownDialog()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QProgressDialog*>(w); dialog && dialog->isVisible())
                return dialog;
        return nullptr;
    }

    std::unique_ptr<TPreviewToolbar> Bar;
};

} // namespace

TEST_F(ProgressTest, ShortRunsShowNothingAndTheApplicationHandlerStillRuns)
{
    std::vector<int> reached;
    bool everShown = false;
    Job->SetOnPrintProgress([&](TComponent*, int pos, int, int) {
        reached.push_back(pos);
        everShown = everShown || ShownDialog();
    });
    Bar->ButtonClick(btnPrint);
    EXPECT_EQ(reached, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_FALSE(everShown);
    EXPECT_FALSE(Job->HasProgressMonitor()) << "the run's watcher must go when the run ends";
}

TEST_F(ProgressTest, LongRunShowsPageAndTotalAndCancelAbortsIt)
{
    SlowPages(40, 60);
    std::vector<int> reached;
    QString labelSeen;
    int maximumSeen = 0;
    Job->SetOnPrintProgress([&](TComponent*, int pos, int, int) {
        reached.push_back(pos);
        QProgressDialog* dialog = ShownDialog();
        if (!dialog)
            return;
        if (labelSeen.isEmpty()) {
            // The dialog reports the previous page here: the handler runs before it.
            labelSeen = dialog->labelText();
            maximumSeen = dialog->maximum();
            auto* cancel = dialog->findChild<QPushButton*>();
            ASSERT_NE(cancel, nullptr);
            cancel->click();
        }
    });
    Bar->ButtonClick(btnPrint);

    ASSERT_FALSE(labelSeen.isEmpty()) << "a 2.4 s run showed no progress dialog";
    EXPECT_TRUE(labelSeen.startsWith(QStringLiteral("Printing page "))) << labelSeen.toStdString();
    EXPECT_TRUE(labelSeen.endsWith(QStringLiteral(" of 40"))) << labelSeen.toStdString();
    EXPECT_EQ(maximumSeen, 40);
    ASSERT_FALSE(reached.empty());
    EXPECT_GE(reached.front(), 1);
    // Shown after about half a second (8 pages of 60 ms), cancelled at once: the run stopped
    // well short of its 40 pages, and the application saw every page that was printed.
    EXPECT_LT(reached.back(), 30);
    for (size_t i = 0; i < reached.size(); ++i)
        EXPECT_EQ(reached[i], int(i) + 1);
    EXPECT_LT(Recording()->Recorder().PageCount(), 31);
    EXPECT_EQ(ShownDialog(), nullptr);
    EXPECT_FALSE(Job->HasProgressMonitor());
}

TEST_F(ProgressTest, TimeInThePrintDialogDoesNotCountTowardsShowing)
{
    TPrintDialog::SetExecuteHook([](TPrintDialog&) {
        QThread::msleep(TPrintProgress::ShowAfterMs + 200); // the user takes a while to choose
        return true;
    });
    bool everShown = false;
    Job->SetOnPrintProgress([&](TComponent*, int, int, int) { everShown = everShown || ShownDialog(); });
    Bar->SetButtons(Bar->Buttons() + TButtons{btnPrintDialog});
    Bar->ButtonClick(btnPrintDialog);
    EXPECT_EQ(Recording()->Recorder().PageCount(), 5);
    EXPECT_FALSE(everShown);
}

TEST_F(ProgressTest, FreedJobIsNotTouchedByItsWatcherUnderTheSanitizer)
{
    auto job = std::make_unique<TPrintJob>();
    auto progress = std::make_unique<TPrintProgress>(job.get(), nullptr);
    job.reset();
    progress.reset(); // a use after free here shows only in the sanitizer build
}
