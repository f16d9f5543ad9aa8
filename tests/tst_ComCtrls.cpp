// The up-down control: its position stays within Min..Max and shows in its edit; arrows, keys
// and a typed number step it; OnChanging can refuse a step; a form file ties it to its edit.
#include "platform/controls/ComCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/core/Reader.h"
#include "platform/core/Writer.h"

#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace Vellaro;

TEST(UpDown, PositionStaysWithinTheRangeAndShowsInTheEdit)
{
    TEdit edit;
    TUpDown updown;
    updown.SetAssociate(&edit);
    EXPECT_EQ(edit.Text(), QStringLiteral("0"));
    const struct {
        int Min, Max, Given, Expected;
    } cases[] = {
        {1, 10, 5, 5}, {1, 10, 0, 1}, {1, 10, 11, 10}, {1, 10, -100000, 1},
        {2, 10, 10, 10}, {10, 2, 1, 2}, {10, 2, 20, 10}, // the range holds whichever way round it is given
        {-5, -1, 0, -1},
    };
    for (const auto& c : cases) {
        updown.SetMin(c.Min);
        updown.SetMax(c.Max);
        updown.SetPosition(c.Given);
        EXPECT_EQ(updown.Position(), c.Expected) << c.Min << ".." << c.Max << " given " << c.Given;
        EXPECT_EQ(edit.Text(), QString::number(c.Expected));
    }
    updown.SetMin(0);
    updown.SetMax(3);
    updown.SetPosition(3);
    updown.SetMax(2); // a narrower range takes the position along
    EXPECT_EQ(updown.Position(), 2);
    EXPECT_THROW(updown.SetIncrement(0), EComponentError);
}

TEST(UpDown, ArrowsStepFromTheTypedNumberAndStopAtTheLimits)
{
    TEdit edit;
    TUpDown updown;
    updown.SetAssociate(&edit);
    updown.SetMin(2);
    updown.SetMax(10);
    updown.SetIncrement(3);
    updown.SetPosition(2);
    QList<TUDBtnType> clicks;
    updown.SetOnClick([&](TComponent*, TUDBtnType button) { clicks << button; });
    const struct {
        const char* Name;
        QString Typed; // empty: leave the edit as it is
        TUDBtnType Button;
        int Expected;
    } steps[] = {
        {"next", {}, btNext, 5},
        {"next again", {}, btNext, 8},
        {"next stops at Max", {}, btNext, 10},
        {"next at Max stays", {}, btNext, 10},
        {"typed number is where the step starts", QStringLiteral("4"), btPrev, 2},
        {"typed number beyond Max counts as Max", QStringLiteral("99"), btPrev, 7},
        {"text that is no number is ignored", QStringLiteral("seven"), btNext, 10},
    };
    for (const auto& s : steps) {
        if (!s.Typed.isEmpty())
            edit.SetText(s.Typed);
        updown.Click(s.Button);
        EXPECT_EQ(updown.Position(), s.Expected) << s.Name;
        EXPECT_EQ(edit.Text(), QString::number(s.Expected)) << s.Name;
    }
    EXPECT_EQ(clicks.size(), int(std::size(steps))); // a click at a limit is still a click
}

TEST(UpDown, ChangingCanRefuseAStep)
{
    TUpDown updown;
    updown.SetPosition(5);
    bool allow = false;
    int asked = 0;
    updown.SetOnChanging([&](TComponent*, bool& AllowChange) { ++asked; AllowChange = allow; });
    updown.Click(btNext);
    EXPECT_EQ(updown.Position(), 5);
    allow = true;
    updown.Click(btNext);
    EXPECT_EQ(updown.Position(), 6);
    updown.SetPosition(100);
    updown.Click(btNext); // nothing to change at Max: not asked
    EXPECT_EQ(asked, 2);
}

TEST(UpDown, ArrowButtonsAndTheEditsArrowKeysStep)
{
    TForm form;
    TEdit edit(&form);
    TUpDown updown(&form);
    edit.SetParent(&form);
    updown.SetParent(&form);
    updown.SetBounds(100, 0, 17, 24);
    updown.SetAssociate(&edit);
    form.ShowForm();
    edit.SetFocus();

    QTest::mouseClick(updown.Button(btNext), Qt::LeftButton);
    EXPECT_EQ(updown.Position(), 1);
    QTest::keyClick(&edit, Qt::Key_Up);
    QTest::keyClick(&edit, Qt::Key_Up);
    QTest::keyClick(&edit, Qt::Key_Down);
    EXPECT_EQ(updown.Position(), 2);
    EXPECT_EQ(edit.Text(), QStringLiteral("2"));
    updown.SetArrowKeys(false);
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(updown.Position(), 2);

    updown.SetOrientation(udHorizontal);
    updown.SetArrowKeys(true);
    QTest::keyClick(&edit, Qt::Key_Right);
    EXPECT_EQ(updown.Position(), 3);
    EXPECT_LT(updown.Button(btPrev)->x(), updown.Button(btNext)->x());
}

TEST(UpDown, FormFileTiesItToItsEditAndBringsThePositionIntoRange)
{
    const QString text = QStringLiteral(R"(object frmPages: TForm
  object edtPages: TEdit
    Left = 8
    Top = 8
    Width = 40
    Height = 21
  end
  object udPages: TUpDown
    Left = 48
    Top = 8
    Width = 17
    Height = 21
    Associate = edtPages
    Position = 50
    Min = 2
    Max = 10
  end
end
)");
    TForm form;
    ReadComponentText(text, &form);
    auto* updown = dynamic_cast<TUpDown*>(form.FindComponent(QStringLiteral("udPages")));
    auto* edit = dynamic_cast<TEdit*>(form.FindComponent(QStringLiteral("edtPages")));
    ASSERT_TRUE(updown && edit);
    EXPECT_EQ(updown->Associate(), edit);
    EXPECT_EQ(updown->Position(), 10);
    EXPECT_EQ(edit->Text(), QStringLiteral("10"));

    const QString written = ComponentToText(&form);
    EXPECT_TRUE(written.contains(QStringLiteral("Associate = edtPages")));
    TForm again;
    ReadComponentText(written, &again);
    EXPECT_EQ(ComponentToText(&again), written);

    delete edit; // forgotten, and stepping goes on without it
    EXPECT_EQ(updown->Associate(), nullptr);
    updown->Click(btPrev);
    EXPECT_EQ(updown->Position(), 9);

    TForm bad;
    const QString notAnEdit = QStringLiteral("object f: TForm\n  object l: TListBox\n  end\n  object u: TUpDown\n    Associate = l\n  end\nend\n");
    try {
        ReadComponentText(notAnEdit, &bad);
        FAIL() << "a list box was taken as the associate";
    } catch (const EReadError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("l is a TListBox; expected a TCustomEdit for Associate"))) << e.Message().toStdString();
    }
}
