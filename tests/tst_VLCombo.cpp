// The zoom box: typed and chosen scales, the characters it accepts, and its link to the pane.
#include "preview/VLCombo.h"

#include "PreviewFixture.h"

using namespace Vellaro;

namespace {
class ComboTest : public Testing::PreviewFixture {
protected:
    void SetUp() override
    {
        PreviewFixture::SetUp();
        Box = std::make_unique<TPreviewComboBox>();
        Box->SetPreview(Pane.get());
    }
    void TearDown() override
    {
        Box.reset();
        PreviewFixture::TearDown();
    }
    void TypeAndEnter(const QString& text)
    {
        Box->SetText(text);
        Press(Box.get(), Qt::Key_Return);
    }
    std::unique_ptr<TPreviewComboBox> Box;
};
} // namespace

TEST_F(ComboTest, ShowsThePanesScaleTextOrNotLinked)
{
    EXPECT_EQ(Box->Text(), Pane->GetScaleText());
    EXPECT_TRUE(Box->Text().startsWith(QStringLiteral("Whole page (")));
    TPreviewComboBox alone;
    EXPECT_EQ(alone.Text(), QStringLiteral("not linked"));
    alone.Update();
    EXPECT_EQ(alone.Text(), QStringLiteral("not linked"));
    EXPECT_EQ(alone.Width(), 125);
}

TEST_F(ComboTest, EnterAppliesTheDigitsOfTheTypedText)
{
    const int wholePage = Pane->ViewScale();
    struct Case { QString typed; int scale; };
    const Case cases[] = {
        {QStringLiteral("250"), 250}, {QStringLiteral("5"), 10}, {QStringLiteral("5000"), 1000},
        {QStringLiteral("12.5"), 13}, {QStringLiteral("99.4%"), 99}, {QStringLiteral("1.2.3"), 10},
        {QStringLiteral(".5"), 10}, {QStringLiteral("Whole page (%1%)").arg(wholePage), wholePage},
    };
    for (const Case& c : cases) {
        Pane->SetViewMode(vmWholePage);
        TypeAndEnter(c.typed);
        EXPECT_EQ(Pane->ViewMode(), vmCustom) << c.typed.toStdString();
        EXPECT_EQ(Pane->ViewScale(), c.scale) << c.typed.toStdString();
        EXPECT_EQ(Box->Text(), QStringLiteral("%1%").arg(c.scale));
    }
}

TEST_F(ComboTest, TextWithoutDigitsLeavesTheFreeScaleAsItWas)
{
    Pane->SetViewMode(vmCustom);
    Pane->SetViewScale(200);
    for (const QString& bad : {QString(), QStringLiteral("99999999999")}) {
        testing::internal::CaptureStderr(); // a headless session shows messages there
        TypeAndEnter(bad);
        EXPECT_NE(testing::internal::GetCapturedStderr().find("Invalid scale value"), std::string::npos);
        EXPECT_EQ(Pane->ViewMode(), vmCustom);
        EXPECT_EQ(Pane->ViewScale(), 200);
    }
}

TEST_F(ComboTest, OnlyDigitsPeriodAndBackspaceCanBeTyped)
{
    Box->SetText(QString());
    Press(Box.get(), Qt::Key_1, QStringLiteral("1"));
    Press(Box.get(), Qt::Key_A, QStringLiteral("a"));
    Press(Box.get(), Qt::Key_Percent, QStringLiteral("%"));
    Press(Box.get(), Qt::Key_Period, QStringLiteral("."));
    Press(Box.get(), Qt::Key_5, QStringLiteral("5"));
    EXPECT_EQ(Box->Text(), QStringLiteral("1.5"));
    Press(Box.get(), Qt::Key_Backspace, QString(QChar(8)));
    EXPECT_EQ(Box->Text(), QStringLiteral("1."));
}

TEST_F(ComboTest, ListOffersViewsAndScalesAndAppliesTheChoice)
{
    Box->showPopup();
    Box->hidePopup();
    ASSERT_EQ(Box->ItemCount(), 13);
    EXPECT_EQ(Box->itemText(0), QStringLiteral("Whole page"));
    EXPECT_EQ(Box->itemText(12), QStringLiteral("1000%"));
    EXPECT_EQ(Box->DropDownCount(), 13);
    Box->SelectItem(1);
    EXPECT_EQ(Pane->ViewMode(), vmPageWidth);
    EXPECT_EQ(Box->Text(), QStringLiteral("Page width (%1%)").arg(Pane->ViewScale()));
    Box->SelectItem(7); // 150%
    EXPECT_EQ(Pane->ViewMode(), vmCustom);
    EXPECT_EQ(Pane->ViewScale(), 150);
    EXPECT_EQ(Box->Text(), QStringLiteral("150%"));
    Box->SelectItem(0);
    EXPECT_EQ(Pane->ViewMode(), vmWholePage);
}

TEST_F(ComboTest, EscapeDiscardsTheTypedText)
{
    const QString shown = Box->Text();
    Box->SetText(QStringLiteral("77"));
    Press(Box.get(), Qt::Key_Escape);
    EXPECT_EQ(Box->Text(), shown);
    EXPECT_EQ(Pane->ViewMode(), vmWholePage);
}

TEST_F(ComboTest, RemovedPaneUnlinksTheBox)
{
    Pane.reset();
    EXPECT_EQ(Box->Preview(), nullptr);
    EXPECT_EQ(Box->Text(), QStringLiteral("not linked"));
}
