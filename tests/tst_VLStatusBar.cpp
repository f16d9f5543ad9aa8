// The status bar: its parts for each choice of panels, their texts, and the size grip.
#include "preview/VLStatusBar.h"

#include "PreviewFixture.h"

using namespace Vellaro;

namespace {
class StatusBarTest : public Testing::PreviewFixture {
protected:
    void SetUp() override
    {
        PreviewFixture::SetUp();
        Holder = std::make_unique<QWidget>();
        Bar = new TPreviewStatusBar(nullptr, Holder.get());
        Bar->SetPreview(Pane.get());
    }
    void TearDown() override
    {
        Holder.reset();
        PreviewFixture::TearDown();
    }
    std::vector<int> Rights() const
    {
        std::vector<int> rights;
        for (int i = 0; i < Bar->PartCount(); ++i)
            rights.push_back(Bar->PartRight(i));
        return rights;
    }
    QStringList Texts() const
    {
        QStringList texts;
        for (int i = 0; i < Bar->PartCount(); ++i)
            texts << Bar->PartText(i);
        return texts;
    }
    std::unique_ptr<QWidget> Holder;
    TPreviewStatusBar* Bar = nullptr;
};
} // namespace

TEST_F(StatusBarTest, PartsFollowThePanelsAndThePanesWidth)
{
    Job->SetPageCount(7);
    Pane->SetPageIndex(2);
    const int paneWidth = Pane->ClientWidth();
    const QString page = QStringLiteral("Page 2 from 7");
    const QString scale = Pane->GetScaleText();
    struct Case { TPanels panels; std::vector<int> rights; QStringList texts; };
    const Case cases[] = {
        {{pnPage, pnScale}, {100, 200, paneWidth}, {page, scale, QString()}},
        {{pnScale}, {100, paneWidth}, {scale, QString()}},
        {{pnPage}, {100, paneWidth}, {page, QString()}},
        {{}, {paneWidth}, {QString()}},
    };
    for (const Case& c : cases) {
        Bar->SetPanels(c.panels);
        EXPECT_EQ(Rights(), c.rights) << c.panels.Bits();
        EXPECT_EQ(Texts(), c.texts) << c.panels.Bits();
    }
    Bar->SetPanels({pnPage, pnScale});
    Bar->SetPagePanelWidth(150);
    Bar->SetScalePanelWidth(80);
    EXPECT_EQ(Rights(), (std::vector<int>{150, 230, paneWidth}));
    Bar->SetUserText(QStringLiteral("Ready"));
    EXPECT_EQ(Bar->PartText(2), QStringLiteral("Ready"));
    Pane->SetPageIndex(3);
    EXPECT_EQ(Bar->PartText(0), QStringLiteral("Page 3 from 7"));
}

TEST_F(StatusBarTest, SizeGripFollowsTheProperty)
{
    EXPECT_TRUE(Bar->HasSizeGrip());
    Bar->SetSizeGrip(false);
    EXPECT_FALSE(Bar->HasSizeGrip());
    EXPECT_EQ(Bar->PartCount(), 3);
    Bar->SetSizeGrip(true);
    EXPECT_TRUE(Bar->HasSizeGrip());
}

TEST_F(StatusBarTest, WithoutParentOrPaneOnlyOnUpdateIsRaised)
{
    TPreviewStatusBar loose;
    int updates = 0;
    loose.SetOnUpdate([&](TComponent*) { ++updates; });
    loose.SetPreview(Pane.get());
    EXPECT_EQ(loose.PartCount(), 0);
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(loose.Height(), 19);
    EXPECT_EQ(loose.Align(), alBottom);
}

TEST_F(StatusBarTest, DestroyedJobLeavesNoStalePageText)
{
    Job->SetPageCount(334);
    ASSERT_EQ(Texts().first(), QStringLiteral("Page 1 from 334"));
    Job.reset();
    EXPECT_EQ(Texts().first(), QString()) << "the bar shows what it shows for a pane without a job";
}
