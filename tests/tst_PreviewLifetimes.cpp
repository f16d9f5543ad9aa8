// A job, a pane and its companions may go away in any order, with any owners: nobody calls
// into a component that is being or has been destroyed. Run under the sanitizer build, these
// tests turn any such call into a failure.
#include "preview/VLCombo.h"
#include "preview/VLLabel.h"
#include "preview/VLStatusBar.h"
#include "preview/VLToolbar.h"
#include "preview/VLWindow.h"

#include "TestSupport.h"

#include <QApplication>
#include <algorithm>
#include <array>
#include <memory>

using namespace Vellaro;

namespace {

/// One job, one pane and the four companions, each held by its own pointer.
struct Group {
    std::unique_ptr<TPrintJob> Job = std::make_unique<TPrintJob>();
    std::unique_ptr<TPreview> Pane = std::make_unique<TPreview>();
    std::unique_ptr<TPreviewToolbar> Toolbar = std::make_unique<TPreviewToolbar>();
    std::unique_ptr<TPreviewStatusBar> StatusBar = std::make_unique<TPreviewStatusBar>();
    std::unique_ptr<TPreviewLabel> Label = std::make_unique<TPreviewLabel>();
    std::unique_ptr<TPreviewComboBox> Combo = std::make_unique<TPreviewComboBox>();

    Group()
    {
        Job->SetPageCount(3);
        Pane->SetPrintJob(Job.get());
        Toolbar->SetPreview(Pane.get());
        StatusBar->SetPreview(Pane.get());
        Label->SetPreview(Pane.get());
        Combo->SetPreview(Pane.get());
    }
    void Destroy(int which)
    {
        switch (which) {
        case 0: Job.reset(); break;
        case 1: Pane.reset(); break;
        case 2: Toolbar.reset(); break;
        case 3: StatusBar.reset(); break;
        case 4: Label.reset(); break;
        case 5: Combo.reset(); break;
        }
    }
    /// Makes every survivor reach for the others.
    void Exercise()
    {
        if (Job)
            Job->Update();
        if (Pane) {
            Pane->Update();
            Pane->SetPageIndex(2);
        }
        if (Toolbar) {
            Toolbar->Update();
            Toolbar->ButtonClick(btnNextPage);
        }
        if (StatusBar)
            StatusBar->Update();
        if (Label)
            Label->Update();
        if (Combo)
            Combo->Update();
    }
    void CheckLinks() const
    {
        const TCustomPreview* pane = Pane.get();
        if (Pane)
            EXPECT_EQ(Pane->PrintJob(), Job.get());
        if (Toolbar)
            EXPECT_EQ(Toolbar->Preview(), pane);
        if (StatusBar)
            EXPECT_EQ(StatusBar->Preview(), pane);
        if (Label)
            EXPECT_EQ(Label->Preview(), pane);
        if (Combo)
            EXPECT_EQ(Combo->Preview(), pane);
        if (Job)
            EXPECT_EQ(Job->ControlNotificationCount(), Pane ? 1 : 0);
    }
};

using LifetimeTest = Testing::RecordingPrinterTest;

} // namespace

TEST_F(LifetimeTest, SeparatelyHeldComponentsGoAwayInEveryOrder)
{
    std::array<int, 6> order{0, 1, 2, 3, 4, 5};
    int orders = 0;
    do {
        Group group;
        for (int which : order) {
            group.Destroy(which);
            group.CheckLinks();
            group.Exercise();
        }
        ++orders;
    } while (std::next_permutation(order.begin(), order.end()) && !HasFailure());
    EXPECT_EQ(orders, 720);
}

TEST_F(LifetimeTest, OwnerTearsDownComponentsCreatedInAnyOrder)
{
    // The owner destroys its components last created first: every creation order gives
    // another destruction order, with links running both ways between them.
    std::array<int, 4> order{0, 1, 2, 3};
    do {
        auto owner = std::make_unique<TComponent>();
        TPrintJob* job = nullptr;
        TPreview* pane = nullptr;
        TPreviewToolbar* toolbar = nullptr;
        TPreviewStatusBar* bar = nullptr;
        for (int which : order) {
            switch (which) {
            case 0: job = new TPrintJob(owner.get()); break;
            case 1: pane = new TPreview(owner.get()); break;
            case 2: toolbar = new TPreviewToolbar(owner.get()); break;
            case 3: bar = new TPreviewStatusBar(owner.get()); break;
            }
        }
        pane->SetPrintJob(job);
        toolbar->SetPreview(pane);
        bar->SetPreview(pane);
        owner.reset();
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(LifetimeTest, ComponentsOfDifferentOwnersAndWidgetParents)
{
    auto jobOwner = std::make_unique<TComponent>();
    auto form = std::make_unique<TCustomForm>(nullptr);
    auto other = std::make_unique<TComponent>();
    auto* job = new TPrintJob(jobOwner.get());
    auto* pane = new TPreview(form.get());
    pane->SetParent(form.get());
    auto* toolbar = new TPreviewToolbar(other.get()); // owned elsewhere, shown on the form
    toolbar->SetParent(form.get());
    toolbar->SetPreview(pane);
    pane->SetPrintJob(job);
    form->ShowForm();
    form.reset(); // the pane goes; the toolbar is a child widget of the form and goes with it
    EXPECT_EQ(other->ComponentCount(), 0);
    EXPECT_EQ(job->ControlNotificationCount(), 0);
    job->Update();
    jobOwner.reset();
}

TEST_F(LifetimeTest, WindowJobAndOpenFormGoInEitherOrder)
{
    for (int jobFirst = 0; jobFirst < 2; ++jobFirst) {
        auto job = std::make_unique<TPrintJob>();
        auto window = std::make_unique<TPreviewWindow>();
        window->SetPrintJob(job.get());
        window->Show();
        if (jobFirst) {
            job.reset();
            EXPECT_EQ(window->PrintJob(), nullptr);
            window->Update();
            window.reset();
        } else {
            window.reset();
            EXPECT_EQ(job->ControlNotificationCount(), 0);
            job->Update();
            job.reset();
        }
    }
    // A released form still waiting for its deletion when its window goes.
    auto window = std::make_unique<TPreviewWindow>();
    window->Show();
    window->Close();
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
