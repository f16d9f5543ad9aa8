// The preview label's captions.
#include "preview/VLLabel.h"

#include "PreviewFixture.h"

using namespace Vellaro;

using LabelTest = Testing::PreviewFixture;

TEST_F(LabelTest, CaptionFollowsThePaneInEitherMode)
{
    TPreviewLabel label;
    EXPECT_EQ(label.Caption(), QStringLiteral("not linked"));
    label.SetPreview(Pane.get());
    EXPECT_EQ(label.Caption(), QStringLiteral("Page 1 from 5"));
    label.SetMode(lmScale);
    EXPECT_EQ(label.Caption(), Pane->GetScaleText());
    Pane->SetViewMode(vmCustom);
    Pane->SetViewScale(150);
    EXPECT_EQ(label.Caption(), QStringLiteral("150%"));
    // Autosized to each caption.
    const int narrow = label.Width();
    Pane->SetViewMode(vmPageWidth);
    EXPECT_GT(label.Width(), narrow);
    EXPECT_EQ(label.Width(), label.sizeHint().width());
}

TEST_F(LabelTest, PaneWithoutJobGivesAnEmptyPageTextAndRemovalUnlinks)
{
    TPreview empty;
    TPreviewLabel label;
    label.SetPreview(&empty);
    EXPECT_EQ(label.Caption(), QString());
    label.SetMode(lmScale);
    EXPECT_EQ(label.Caption(), QStringLiteral("Whole page (0%)"));
    label.SetPreview(Pane.get());
    Pane.reset();
    EXPECT_EQ(label.Preview(), nullptr);
    EXPECT_EQ(label.Caption(), QStringLiteral("not linked"));
}

TEST_F(LabelTest, AmpersandShowsAsItself)
{
    TPreviewLabel label;
    label.SetCaption(QStringLiteral("A&B"));
    EXPECT_EQ(label.text(), QStringLiteral("A&B"));
    EXPECT_EQ(label.textFormat(), Qt::PlainText);
}
