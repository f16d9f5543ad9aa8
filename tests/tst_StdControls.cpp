// The standard controls: a form file builds them with their properties and reads back what
// it wrote; list and combo indexes are checked; the list box clicks on the user's changes only;
// an edit's key handler swallows or replaces keys; a check box clicks when its state changes;
// a memo's lines read back as set.
#include "platform/controls/Forms.h"
#include "platform/controls/StdControls.h"
#include "platform/core/Application.h"
#include "platform/core/Reader.h"
#include "platform/core/Writer.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace Vellaro;

namespace {

/// A form whose handlers count how often each ran.
class TCountingForm : public TForm {
public:
    TCountingForm()
    {
        SetName(QStringLiteral("frmTest"));
        for (const char* handler : {"ListClick", "ComboChange", "CheckClick", "EditChange", "MemoChange"})
            RegisterMethod(QLatin1String(handler), QVariant::fromValue(TNotifyEvent([this, handler](TComponent* sender) {
                Calls << QStringLiteral("%1(%2)").arg(QLatin1String(handler), sender->Name());
            })));
        RegisterMethod(QStringLiteral("DigitsOnly"), QVariant::fromValue(TKeyPressEvent([](TComponent*, QChar& key) {
            if (!key.isDigit() && key != QChar(VK_BACK))
                key = QChar();
        })));
    }
    template<class T>
    T* Find(const char* name) { return dynamic_cast<T*>(FindComponent(QLatin1String(name))); }
    QStringList Calls;
};

const char* const FormText = R"(object frmTest: TForm
  Caption = 'Controls'
  ClientHeight = 300
  ClientWidth = 400
  object pnlTop: TPanel
    Left = 0
    Top = 0
    Width = 400
    Height = 120
    Align = alTop
    BevelInner = bvLowered
    BorderWidth = 3
    Caption = ''
    object lblChoose: TLabel
      Left = 8
      Top = 8
      Caption = 'Choose print job'
      FocusControl = lsbMain
    end
    object lsbMain: TListBox
      Left = 8
      Top = 24
      Width = 150
      Height = 80
      ItemIndex = 1
      Items = (
        'About'
        'Areas'
        'Published')
      OnClick = ListClick
    end
    object grpUnits: TGroupBox
      Left = 170
      Top = 8
      Width = 200
      Height = 100
      Caption = 'Units'
      object cbxUnits: TComboBox
        Left = 8
        Top = 20
        Width = 120
        Height = 21
        Style = csDropDownList
        Items = (
          'Pixels'
          'Percents'
          'Inches'
          'Mms')
        ItemIndex = 2
        OnChange = ComboChange
      end
      object chkHeader: TCheckBox
        Left = 8
        Top = 50
        Width = 120
        Height = 17
        Caption = 'Header'
        Checked = True
        OnClick = CheckClick
      end
    end
  end
  object edtTop: TEdit
    Left = 8
    Top = 130
    Width = 80
    Height = 21
    MaxLength = 6
    Text = '1.5'
    OnChange = EditChange
    OnKeyPress = DigitsOnly
  end
  object memText: TMemo
    Left = 8
    Top = 160
    Width = 300
    Height = 100
    Lines = (
      'First line'
      ''
      'Third line')
    ScrollBars = ssVertical
    WordWrap = False
    OnChange = MemoChange
  end
end
)";

} // namespace

TEST(StdControls, FormFileBuildsTheControlsInTheirParentsAndReadsBackWhatItWrote)
{
    TCountingForm form;
    ReadComponentText(QString::fromLatin1(FormText), &form);
    auto* panel = form.Find<TPanel>("pnlTop");
    auto* list = form.Find<TListBox>("lsbMain");
    auto* group = form.Find<TGroupBox>("grpUnits");
    auto* combo = form.Find<TComboBox>("cbxUnits");
    auto* check = form.Find<TCheckBox>("chkHeader");
    auto* edit = form.Find<TEdit>("edtTop");
    auto* memo = form.Find<TMemo>("memText");
    auto* label = form.Find<TLabel>("lblChoose");
    ASSERT_TRUE(panel && list && group && combo && check && edit && memo && label);

    // Parents follow the nesting of the file.
    EXPECT_EQ(list->Parent(), panel);
    EXPECT_EQ(combo->Parent(), group);
    EXPECT_EQ(check->GetParentComponent(), group);
    EXPECT_EQ(edit->Parent(), &form);
    // An index given before the items it picks from still picks from them.
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(list->Items()->Strings(1), QStringLiteral("Areas"));
    EXPECT_EQ(combo->Style(), csDropDownList);
    EXPECT_EQ(combo->Text(), QStringLiteral("Inches"));
    EXPECT_TRUE(check->Checked());
    EXPECT_EQ(edit->MaxLength(), 6);
    EXPECT_EQ(memo->Lines()->Count(), 3);
    EXPECT_FALSE(memo->WordWrap());
    EXPECT_EQ(memo->ScrollBars(), ssVertical);
    EXPECT_EQ(label->FocusControl(), list);
    EXPECT_EQ(panel->ClientWidth(), 400 - 2 * (1 + 3 + 1)); // outer bevel, border width, inner bevel
    // Reading runs no handler: the values were the file's, not the user's.
    EXPECT_EQ(form.Calls, QStringList());

    const QString written = ComponentToText(&form);
    TCountingForm again;
    ReadComponentText(written, &again);
    EXPECT_EQ(ComponentToText(&again), written);
    EXPECT_EQ(again.Find<TMemo>("memText")->LinesList(), memo->LinesList());
    EXPECT_EQ(again.Find<TComboBox>("cbxUnits")->ItemIndex(), 2);
    EXPECT_EQ(again.Find<TLabel>("lblChoose")->FocusControl(), again.Find<TListBox>("lsbMain"));
}

TEST(StdControls, BadValuesInAFormFileNameTheLine)
{
    const struct {
        const char* Name;
        const char* Body;
        const char* Message;
    } cases[] = {
        {"list index beyond the items", "  object l: TListBox\n    Items = ('a')\n    ItemIndex = 1\n  end\n", "Item index 1 of l is out of range"},
        {"combo index below -1", "  object c: TComboBox\n    ItemIndex = -2\n  end\n", "Item index -2 of c is out of range"},
        {"negative MaxLength", "  object e: TEdit\n    MaxLength = -1\n  end\n", "MaxLength -1 of e is negative"},
        {"negative BorderWidth", "  object p: TPanel\n    BorderWidth = -2\n  end\n", "BorderWidth -2 is negative"},
        {"unknown combo style", "  object c: TComboBox\n    Style = csSimple\n  end\n", "'csSimple' is not a value of Style"},
    };
    for (const auto& c : cases) {
        TForm form;
        const QString text = QStringLiteral("object f: TForm\n") + QLatin1String(c.Body) + QStringLiteral("end\n");
        try {
            ReadComponentText(text, &form);
            ADD_FAILURE() << c.Name << ": read without error";
        } catch (const EReadError& e) {
            EXPECT_TRUE(e.Message().contains(QLatin1String(c.Message))) << c.Name << ": " << e.Message().toStdString();
            EXPECT_EQ(form.ComponentCount(), 0) << c.Name;
        }
    }
}

TEST(StdControls, ItemIndexIsCheckedAgainstTheItems)
{
    TListBox list;
    TComboBox combo;
    for (TStrings* items : {list.Items(), combo.Items()})
        items->SetStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    for (int index : {-1, 0, 2}) {
        list.SetItemIndex(index);
        combo.SetItemIndex(index);
        EXPECT_EQ(list.ItemIndex(), index);
        EXPECT_EQ(combo.ItemIndex(), index);
    }
    for (int index : {-2, 3}) {
        EXPECT_THROW(list.SetItemIndex(index), EComponentError) << index;
        EXPECT_THROW(combo.SetItemIndex(index), EComponentError) << index;
    }
    EXPECT_THROW(list.Objects(3), EComponentError);
}

TEST(StdControls, ListBoxClicksWhenTheUserChangesTheItemNotWhenCodeDoes)
{
    TCountingForm form;
    auto* list = new TListBox(&form);
    list->SetName(QStringLiteral("lsb"));
    list->SetParent(&form);
    list->SetBounds(0, 0, 120, 200);
    list->Items()->SetStringList({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});
    BindEvent(list, "OnClick", QStringLiteral("ListClick"));
    form.ShowForm();
    list->SetFocus();

    list->SetItemIndex(0);
    EXPECT_EQ(form.Calls.size(), 0);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->ItemIndex(), 1);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down); // at the last item: no change, no click
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(form.Calls, QStringList({QStringLiteral("ListClick(lsb)"), QStringLiteral("ListClick(lsb)")}));

    const QRect first = list->visualItemRect(list->item(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(form.Calls.size(), 3);
    list->Items()->Delete(0); // the current item goes: a change, but not the user's
    EXPECT_EQ(form.Calls.size(), 3);
}

TEST(StdControls, ItemsForgetTheirComponentWhenItGoes)
{
    TForm form;
    TListBox list(&form);
    TComboBox combo(&form);
    auto* kept = new TEdit(&form);
    auto* going = new TEdit(&form);
    for (auto add : {std::function<void(const QString&, TComponent*)>([&](const QString& s, TComponent* c) { list.AddItem(s, c); }),
             std::function<void(const QString&, TComponent*)>([&](const QString& s, TComponent* c) { combo.AddItem(s, c); })}) {
        add(QStringLiteral("kept"), kept);
        add(QStringLiteral("going"), going);
        add(QStringLiteral("none"), nullptr);
    }
    delete going;
    for (auto objects : {std::function<TComponent*(int)>([&](int i) { return list.Objects(i); }),
             std::function<TComponent*(int)>([&](int i) { return combo.Objects(i); })}) {
        EXPECT_EQ(objects(0), kept);
        EXPECT_EQ(objects(1), nullptr);
        EXPECT_EQ(objects(2), nullptr);
    }
    EXPECT_EQ(combo.Items()->Strings(1), QStringLiteral("going"));
}

TEST(StdControls, ComboBoxChangesOnTheUsersChoiceAndTypingOnly)
{
    TCountingForm form;
    auto* combo = new TComboBox(&form);
    combo->SetName(QStringLiteral("cbx"));
    combo->SetParent(&form);
    combo->Items()->SetStringList({QStringLiteral("Pixels"), QStringLiteral("Inches")});
    BindEvent(combo, "OnChange", QStringLiteral("ComboChange"));
    form.ShowForm();
    combo->SetFocus();

    combo->SetItemIndex(1);
    combo->SetText(QStringLiteral("Mms"));
    EXPECT_EQ(form.Calls.size(), 0);
    QTest::keyClicks(combo, QStringLiteral("ab"));
    EXPECT_EQ(form.Calls.size(), 2);
    combo->SetStyle(csDropDownList);
    combo->SetItemIndex(0);
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(combo->Text(), QStringLiteral("Inches"));
    EXPECT_EQ(form.Calls.size(), 3);
    combo->SetText(QStringLiteral("Pixels")); // a drop-down list takes the item of that text
    EXPECT_EQ(combo->ItemIndex(), 0);
    combo->SetText(QStringLiteral("Feet"));
    EXPECT_EQ(combo->ItemIndex(), -1);
}

TEST(StdControls, EditKeyPressSwallowsOrReplacesTypedCharacters)
{
    const struct {
        const char* Name;
        QString Typed;
        QString Expected;
    } cases[] = {
        {"digits pass", QStringLiteral("123"), QStringLiteral("123")},
        {"letters are swallowed", QStringLiteral("1a2b"), QStringLiteral("12")},
        {"a comma becomes a point", QStringLiteral("1,5"), QStringLiteral("1.5")},
    };
    for (const auto& c : cases) {
        TForm form;
        TEdit edit(&form);
        edit.SetParent(&form);
        int changes = 0;
        edit.SetOnChange([&](TComponent*) { ++changes; });
        edit.SetOnKeyPress([](TComponent*, QChar& key) {
            if (key == u',')
                key = u'.';
            else if (!key.isDigit() && key != QChar(VK_BACK))
                key = QChar();
        });
        form.ShowForm();
        edit.SetFocus();
        QTest::keyClicks(&edit, c.Typed);
        EXPECT_EQ(edit.Text(), c.Expected) << c.Name;
        EXPECT_EQ(changes, c.Expected.size()) << c.Name; // a swallowed key changes nothing
        QTest::keyClick(&edit, Qt::Key_Backspace);
        EXPECT_EQ(edit.Text(), c.Expected.chopped(1)) << c.Name << ": backspace reaches the handler and passes";
    }
}

TEST(StdControls, AKeyHandlerThatFailsSwallowsTheKeyAndIsReported)
{
    TForm form;
    TEdit edit(&form);
    edit.SetParent(&form);
    QStringList reported;
    Application().SetOnException([&](const QString& message) { reported << message; });
    edit.SetOnKeyPress([](TComponent*, QChar&) { throw EComponentError(QStringLiteral("no keys today")); });
    form.ShowForm();
    edit.SetFocus();
    QTest::keyClicks(&edit, QStringLiteral("x"));
    Application().SetOnException(nullptr);
    EXPECT_EQ(edit.Text(), QString());
    EXPECT_EQ(reported, QStringList{QStringLiteral("no keys today")});
}

TEST(StdControls, CheckBoxClicksWhenItsStateChangesFromCodeOrTheUser)
{
    TForm form;
    TCheckBox check(&form);
    check.SetParent(&form);
    check.resize(100, 20);
    int clicks = 0;
    check.SetOnClick([&](TComponent*) { ++clicks; });
    form.ShowForm();

    const struct {
        TCheckBoxState State;
        int Clicks;
    } steps[] = {{cbChecked, 1}, {cbChecked, 1}, {cbGrayed, 2}, {cbUnchecked, 3}, {cbUnchecked, 3}};
    for (const auto& s : steps) {
        check.SetState(s.State);
        EXPECT_EQ(check.State(), s.State);
        EXPECT_EQ(clicks, s.Clicks);
    }
    check.SetChecked(true);
    EXPECT_EQ(clicks, 4);
    QTest::mouseClick(&check, Qt::LeftButton, {}, QPoint(5, check.height() / 2));
    EXPECT_NE(check.State(), cbChecked);
    EXPECT_EQ(clicks, 5);
}

TEST(StdControls, MemoLinesReadBackAsSet)
{
    TMemo memo;
    const QList<QStringList> cases = {
        {},
        {QStringLiteral("one")},
        {QStringLiteral("one"), QString()},
        {QString(), QStringLiteral("two")},
        {QString(), QString()},
        {QStringLiteral("a b"), QStringLiteral("  indented"), QStringLiteral("tab\there")},
    };
    for (const QStringList& lines : cases) {
        memo.SetLinesList(lines);
        EXPECT_EQ(memo.LinesList(), lines) << lines.join(u'|').toStdString();
        EXPECT_EQ(memo.Lines()->Count(), lines.size());
    }
    memo.SetLinesList({QStringLiteral("a"), QStringLiteral("c")});
    memo.Lines()->Insert(1, QStringLiteral("b"));
    memo.Lines()->Add(QStringLiteral("d"));
    memo.Lines()->Delete(0);
    memo.Lines()->SetStrings(0, QStringLiteral("B"));
    EXPECT_EQ(memo.LinesList(), QStringList({QStringLiteral("B"), QStringLiteral("c"), QStringLiteral("d")}));
    // Typed text without a final line break: its last line counts.
    memo.SetText(QStringLiteral("x\ny"));
    EXPECT_EQ(memo.LinesList(), QStringList({QStringLiteral("x"), QStringLiteral("y")}));
    EXPECT_THROW(memo.Lines()->Delete(2), EStringListError);
}

TEST(StdControls, MemoChangeRunsForCodeAndTyping)
{
    TForm form;
    TMemo memo(&form);
    memo.SetParent(&form);
    int changes = 0;
    memo.SetOnChange([&](TComponent*) { ++changes; });
    memo.SetOnKeyPress([](TComponent*, QChar& key) {
        if (key == u'#')
            key = QChar();
    });
    form.ShowForm();
    memo.SetFocus();
    memo.Lines()->Add(QStringLiteral("line"));
    EXPECT_EQ(changes, 1);
    QTest::keyClicks(&memo, QStringLiteral("a#b"));
    EXPECT_EQ(changes, 3);
    EXPECT_FALSE(memo.Text().contains(u'#'));
}

TEST(StdControls, WrappedAutoSizeLabelKeepsItsWidthAndGrowsDown)
{
    TLabel label;
    label.SetCaption(QStringLiteral("short"));
    const int oneLine = label.Height();
    EXPECT_EQ(label.Width(), label.sizeHint().width());
    label.SetAutoSize(false);
    label.SetWidth(60);
    label.SetWordWrap(true);
    label.SetAutoSize(true);
    label.SetCaption(QStringLiteral("a caption long enough to need several lines at this width"));
    EXPECT_EQ(label.Width(), 60);
    EXPECT_GT(label.Height(), 2 * oneLine);
    for (TAlignment a : {taRightJustify, taCenter, taLeftJustify}) {
        label.SetTextAlignment(a);
        EXPECT_EQ(label.TextAlignment(), a);
    }
}

TEST(StdControls, LabelForgetsItsFocusControlWhenItGoes)
{
    TForm form;
    TLabel label(&form);
    auto* edit = new TEdit(&form);
    label.SetFocusControl(edit);
    EXPECT_EQ(label.buddy(), edit);
    delete edit;
    EXPECT_EQ(label.FocusControl(), nullptr);
    QWidget plain;
    EXPECT_THROW(label.SetFocusControl(&plain), EComponentError);
}
