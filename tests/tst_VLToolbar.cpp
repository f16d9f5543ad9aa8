// The toolbar: layout of the shown buttons and the zoom box, enabling after the pane's state,
// the button actions and the glyph strip.
#include "preview/VLToolbar.h"

#include "PreviewFixture.h"
#include "platform/controls/Forms.h"

using namespace Vellaro;

namespace {
class ToolbarTest : public Testing::PreviewFixture {
protected:
    void SetUp() override
    {
        PreviewFixture::SetUp();
        Bar = std::make_unique<TPreviewToolbar>();
        Bar->SetPreview(Pane.get());
    }
    void TearDown() override
    {
        Bar.reset();
        PreviewFixture::TearDown();
    }
    /// Left edge of every shown button, -1 for hidden ones, in kind order; the box last.
    std::vector<int> Lefts() const
    {
        std::vector<int> lefts;
        for (int k = btnPrint; k <= btnUser; ++k) {
            TSpeedButton* b = Bar->SpeedButton(TButtonKind(k));
            lefts.push_back(b->Visible() ? b->Left() : -1);
        }
        lefts.push_back(Bar->ScaleCombo()->Visible() ? Bar->ScaleCombo()->Left() : -1);
        return lefts;
    }
    bool Enabled(TButtonKind k) const { return Bar->SpeedButton(k)->Enabled(); }
    std::unique_ptr<TPreviewToolbar> Bar;
};
} // namespace

TEST_F(ToolbarTest, LaysOutTheShownButtonsWithTheBoxInItsSlot)
{
    //                           prt pdl set fst prv nxt lst wp  pw  out  in   ref cls usr box
    EXPECT_EQ(Lefts(), (std::vector<int>{1, -1, 25, 49, 73, 97, 121, -1, -1, 274, 298, -1, -1, -1, 147}));
    for (int k = btnPrint; k <= btnUser; ++k)
        EXPECT_EQ(Bar->SpeedButton(TButtonKind(k))->Top(), 1);
    EXPECT_EQ(Bar->ScaleCombo()->Top(), 2);
    EXPECT_EQ(Bar->Height(), 26);

    Bar->SetScaleBox(false);
    EXPECT_EQ(Lefts(), (std::vector<int>{1, -1, 25, 49, 73, 97, 121, -1, -1, 145, 169, -1, -1, -1, -1}));

    Bar->SetScaleBox(true);
    Bar->SetScaleBoxPos(btnPrint);
    EXPECT_EQ(Lefts(), (std::vector<int>{130, -1, 154, 178, 202, 226, 250, -1, -1, 274, 298, -1, -1, -1, 3}));

    // A hidden kind: the box takes the slot where the next shown button starts.
    Bar->SetScaleBoxPos(btnPrintDialog);
    EXPECT_EQ(Lefts(), (std::vector<int>{1, -1, 154, 178, 202, 226, 250, -1, -1, 274, 298, -1, -1, -1, 27}));
}

TEST_F(ToolbarTest, EmptyButtonsHideAllButAtDesignTimeAllShow)
{
    Bar->SetButtons({});
    for (int k = btnPrint; k <= btnUser; ++k)
        EXPECT_FALSE(Bar->SpeedButton(TButtonKind(k))->Visible());
    TPreviewToolbar designed;
    designed.SetDesigning(true);
    designed.SetButtons({});
    for (int k = btnPrint; k <= btnUser; ++k)
        EXPECT_TRUE(designed.SpeedButton(TButtonKind(k))->Visible()) << k;
}

TEST_F(ToolbarTest, EnablesNavigationAndZoomAfterThePane)
{
    struct Case { int pages, page; int scale; bool back, forward, out, in; };
    const Case cases[] = {
        {5, 1, 37, false, true, true, true},
        {5, 5, 37, true, false, true, true},
        {1, 1, 37, false, false, true, true},
        {5, 3, 1000, true, true, true, false},
        {5, 3, 10, true, true, false, true},
    };
    for (const Case& c : cases) {
        Job->SetPageCount(c.pages);
        Pane->SetPageIndex(c.page);
        Pane->SetViewMode(vmCustom);
        Pane->SetViewScale(c.scale);
        EXPECT_EQ(Enabled(btnFirstPage), c.back) << c.page << "/" << c.pages;
        EXPECT_EQ(Enabled(btnPrevPage), c.back);
        EXPECT_EQ(Enabled(btnNextPage), c.forward);
        EXPECT_EQ(Enabled(btnLastPage), c.forward);
        EXPECT_EQ(Enabled(btnZoomOut), c.out) << c.scale;
        EXPECT_EQ(Enabled(btnZoomIn), c.in) << c.scale;
        EXPECT_TRUE(Enabled(btnPrint));
        EXPECT_TRUE(Enabled(btnWholePage));
    }
    Bar->SetUserButtonEnabled(false);
    Pane->Update();
    EXPECT_FALSE(Enabled(btnUser));
}

TEST_F(ToolbarTest, ButtonsDriveThePaneAndTheJob)
{
    int updates = 0;
    Job->SetOnUpdate([&](TComponent*) { ++updates; });
    Bar->ButtonClick(btnNextPage);
    EXPECT_EQ(Pane->PageIndex(), 2);
    Bar->ButtonClick(btnLastPage);
    EXPECT_EQ(Pane->PageIndex(), 5);
    EXPECT_FALSE(Enabled(btnNextPage));
    Bar->ButtonClick(btnPrevPage);
    EXPECT_EQ(Pane->PageIndex(), 4);
    Bar->ButtonClick(btnFirstPage);
    EXPECT_EQ(Pane->PageIndex(), 1);
    Bar->ButtonClick(btnPageWidth);
    EXPECT_EQ(Pane->ViewMode(), vmPageWidth);
    Pane->SetViewMode(vmCustom);
    Pane->SetViewScale(100);
    Bar->ButtonClick(btnZoomIn);
    EXPECT_EQ(Pane->ViewScale(), 150);
    Bar->ButtonClick(btnZoomOut);
    Bar->ButtonClick(btnZoomOut);
    EXPECT_EQ(Pane->ViewScale(), 75);
    Bar->ButtonClick(btnWholePage);
    EXPECT_EQ(Pane->ViewMode(), vmWholePage);
    Bar->ButtonClick(btnRefresh);
    EXPECT_EQ(updates, 1);
    Bar->ButtonClick(btnPrint);
    EXPECT_EQ(Recording()->Recorder().PageCount(), 5);
}

TEST_F(ToolbarTest, UserButtonRaisesItsEventAndCloseClosesTheOwningForm)
{
    TComponent* sender = nullptr;
    Bar->SetOnUserButtonClick([&](TComponent* s) { sender = s; });
    Bar->SetButtons(Bar->Buttons() + TButtons{btnUser, btnClose});
    Bar->SpeedButton(btnUser)->Click();
    EXPECT_EQ(sender, Bar.get());

    TCustomForm form(nullptr);
    auto* onForm = new TPreviewToolbar(&form);
    onForm->SetParent(&form);
    form.ShowForm();
    int closes = 0;
    form.SetOnClose([&](TComponent*, TCloseAction&) { ++closes; });
    onForm->ButtonClick(btnClose);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(form.isVisible());
    Bar->ButtonClick(btnClose); // no form owns it: nothing
}

TEST_F(ToolbarTest, GlyphsAreCutFromTheStripWithAPurpleBackground)
{
    TBitmap strip;
    strip.LoadFromResourceName(QStringLiteral("SMALL"));
    ASSERT_EQ(strip.Width(), 208);
    ASSERT_EQ(strip.Height(), 16);
    for (int k = btnPrint; k < btnUser; ++k) {
        const QImage glyph = Bar->SpeedButton(TButtonKind(k))->Glyph()->Image();
        ASSERT_EQ(glyph.size(), QSize(16, 16));
        EXPECT_EQ(glyph, strip.Image().copy(16 * k, 0, 16, 16)) << k;
        EXPECT_EQ(Bar->SpeedButton(TButtonKind(k))->Glyph()->TransparentColor(), clPurple) << k;
        EXPECT_FALSE(Bar->SpeedButton(TButtonKind(k))->icon().isNull());
        EXPECT_EQ(Bar->SpeedButton(TButtonKind(k))->Hint(), HintArray[size_t(k)]);
    }
    // Every picture draws something besides its background.
    for (int k = btnPrint; k < btnUser; ++k) {
        const QImage cell = strip.Image().copy(16 * k, 0, 16, 16);
        int drawn = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                drawn += FromQColor(cell.pixelColor(x, y)) != clPurple;
        EXPECT_GT(drawn, 10) << k;
    }
    EXPECT_EQ(Bar->ScaleCombo()->Hint(), QStringLiteral("View mode and scale"));
}
