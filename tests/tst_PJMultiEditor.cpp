// The job list editor and its add dialog: layouts read from their form files, button states,
// deleting, moving, clearing, adding, and what OK, Cancel, Enter and Escape do to the multi job.
#include "multijobs/PJMulti.h"
#include "multijobs/PJMultiAdd.h"
#include "multijobs/PJMultiEditor.h"
#include "platform/core/Application.h"
#include "platform/core/DataModule.h"
#include "platform/core/Reader.h"
#include "platform/core/Writer.h"

#include "TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <functional>

using namespace Vellaro;
using Vellaro::Testing::RecordingPrinterTest;

namespace {

TButton* ButtonOf(TComponent* form, const char* name)
{
    return dynamic_cast<TButton*>(form->FindComponent(QLatin1String(name)));
}

QStringList Captions(TListView* view)
{
    QStringList captions;
    for (int i = 0; i < view->Items().Count(); ++i)
        captions << view->Items().Items(i).Caption();
    return captions;
}

/// "D C U M" for the enabled Delete, Clear, Up and Move Down buttons, "-" for disabled ones.
QString ButtonStates(TComponent* editor)
{
    const std::pair<const char*, QChar> buttons[] = {{"btnDelete", u'D'}, {"btnClear", u'C'}, {"btnMoveUp", u'U'}, {"btnMoveDown", u'M'}};
    QString s;
    for (const auto& [name, letter] : buttons)
        s += ButtonOf(editor, name)->isEnabled() ? letter : QChar(u'-');
    return s;
}

void PressKey(QWidget* form, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(form, &press);
}

/// Runs action on the first shown form of type T once the modal loop runs.
template<class T>
void WhenShown(std::function<void(T*)> action)
{
    QTimer::singleShot(0, [action] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* form = dynamic_cast<T*>(w); form && form->isVisible()) {
                action(form);
                return;
            }
        ADD_FAILURE() << "no dialog shown";
    });
}

class Editor : public RecordingPrinterTest {
protected:
    void SetUp() override
    {
        RecordingPrinterTest::SetUp();
        Form.SetName("Form1");
        Multi = new TMultiPrintJob(&Form);
        Multi->SetName("Multi1");
        for (const char* name : {"A", "B", "C"}) {
            auto* job = new TPrintJob(&Form);
            job->SetName(QLatin1String(name));
            job->SetTitle(QStringLiteral("Title of %1").arg(QLatin1String(name)));
            Jobs << job;
        }
    }
    /// Lists A, B and C in the editor and shows it (not modally).
    void ShowFilled(TfrmMultiEditor& editor)
    {
        for (TPrintJob* job : Jobs) {
            TListItem item = editor.PrintJobsView()->Items().Add();
            item.SetCaption(job->Name());
            item.SetData(static_cast<TComponent*>(job));
        }
        editor.show();
        QApplication::processEvents();
    }
    QStringList ListedNames() const
    {
        QStringList names;
        for (int i = 0; i < Multi->GetPrintJobCount(); ++i)
            names << Multi->GetPrintJob(i)->Name();
        return names;
    }

    TDataModule Form;
    TMultiPrintJob* Multi = nullptr;
    QList<TPrintJob*> Jobs;
};

TEST_F(Editor, DialogsAreBuiltFromTheirFormFilesAndWriteThemBackUnchanged)
{
    TfrmMultiEditor editor;
    TfrmMultiAdd add;
    for (const auto& [form, path] : {std::pair<TComponent*, const char*>{&editor, ":/vellaro/PJMultiEditor.vfm"}, {&add, ":/vellaro/PJMultiAdd.vfm"}}) {
        QFile file{QString::fromLatin1(path)};
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(ComponentToText(form).toStdString(), QString::fromUtf8(file.readAll()).toStdString());
    }
    EXPECT_EQ(editor.ClientWidth(), 449);
    EXPECT_EQ(editor.ClientHeight(), 236);
    EXPECT_EQ(add.Caption(), QStringLiteral("Add Print Jobs"));
    const struct {
        TComponent* Form;
        const char* Name;
        QRect Geometry;
        const char* Caption;
    } controls[] = {
        {&editor, "btnAdd", {364, 8, 77, 25}, "&Add..."},
        {&editor, "btnMoveDown", {364, 120, 77, 25}, "&Move Down"},
        {&editor, "btnCancel", {364, 204, 77, 25}, "Cancel"},
        {&add, "btnSelectAll", {8, 212, 77, 25}, "Select &All"},
        {&add, "btnOk", {192, 212, 77, 25}, "OK"},
    };
    for (const auto& c : controls) {
        TButton* button = ButtonOf(c.Form, c.Name);
        ASSERT_NE(button, nullptr) << c.Name;
        EXPECT_EQ(button->geometry(), c.Geometry) << c.Name;
        EXPECT_EQ(button->Caption(), QLatin1String(c.Caption));
        EXPECT_EQ(button->parentWidget(), dynamic_cast<QWidget*>(c.Form));
    }
    TListView* view = editor.PrintJobsView();
    EXPECT_EQ(view->geometry(), QRect(8, 8, 345, 221));
    ASSERT_EQ(view->Columns().Count(), 2);
    EXPECT_EQ(view->Columns().Items(1).Caption(), QStringLiteral("Title"));
    EXPECT_EQ(view->Columns().Items(1).Width(), 200);
    EXPECT_FALSE(view->MultiSelect());
    EXPECT_TRUE(add.AddJobsView()->MultiSelect());
    // Tab order follows the TabOrder values of the form file.
    QWidget* next = view->nextInFocusChain();
    while (next && (view->isAncestorOf(next) || next->focusPolicy() == Qt::NoFocus))
        next = next->nextInFocusChain();
    EXPECT_EQ(next, ButtonOf(&editor, "btnAdd"));
}

TEST_F(Editor, ButtonsFollowTheSelectionThroughDeletingMovingAndClearing)
{
    TfrmMultiEditor editor;
    ShowFilled(editor);
    TListView* view = editor.PrintJobsView();
    EXPECT_EQ(view->Selected().Index(), 0);
    EXPECT_EQ(ButtonStates(&editor), QStringLiteral("DC-M"));

    ButtonOf(&editor, "btnMoveDown")->click();
    EXPECT_EQ(Captions(view), (QStringList{"B", "A", "C"}));
    EXPECT_EQ(view->Selected().Index(), 1);
    EXPECT_EQ(view->Items().Items(1).Data(), static_cast<TComponent*>(Jobs[0]));
    ButtonOf(&editor, "btnMoveDown")->click();
    EXPECT_EQ(Captions(view), (QStringList{"B", "C", "A"}));
    EXPECT_EQ(ButtonStates(&editor), QStringLiteral("DCU-"));

    // Deleting the last of three selects the new last one.
    ButtonOf(&editor, "btnDelete")->click();
    EXPECT_EQ(Captions(view), (QStringList{"B", "C"}));
    EXPECT_EQ(view->Selected().Index(), 1);
    ButtonOf(&editor, "btnMoveUp")->click();
    EXPECT_EQ(Captions(view), (QStringList{"C", "B"}));
    EXPECT_EQ(ButtonStates(&editor), QStringLiteral("DC-M"));

    ButtonOf(&editor, "btnDelete")->click();
    ButtonOf(&editor, "btnDelete")->click();
    EXPECT_TRUE(Captions(view).isEmpty());
    EXPECT_FALSE(view->Selected());
    EXPECT_EQ(ButtonStates(&editor), QStringLiteral("----"));

    ShowFilled(editor);
    view->Items().Items(1).SetSelected(true);
    EXPECT_EQ(ButtonStates(&editor), QStringLiteral("DCUM"));
    ButtonOf(&editor, "btnClear")->click();
    EXPECT_EQ(view->Items().Count(), 0);
    EXPECT_EQ(ButtonStates(&editor), QStringLiteral("----"));
    EXPECT_TRUE(ButtonOf(&editor, "btnAdd")->isEnabled());
}

TEST_F(Editor, CaptionsAreNotEditedInPlace)
{
    TfrmMultiEditor editor;
    ShowFilled(editor);
    TListView* view = editor.PrintJobsView();
    view->editItem(view->topLevelItem(0));
    EXPECT_EQ(view->findChild<QLineEdit*>(), nullptr);
    // A list view without the refusing handler does edit.
    TListView plain;
    plain.Columns().Add();
    plain.Items().Add().SetCaption("x");
    plain.show();
    plain.editItem(plain.topLevelItem(0));
    EXPECT_NE(plain.findChild<QLineEdit*>(), nullptr);
}

TEST_F(Editor, OkTakesTheEditedListAndCancelKeepsTheOldOne)
{
    Multi->Add(Jobs[0]);
    Multi->Add(Jobs[1]);
    QString caption;
    WhenShown<TfrmMultiEditor>([&](TfrmMultiEditor* editor) {
        caption = editor->Caption();
        ButtonOf(editor, "btnMoveDown")->click();
        ButtonOf(editor, "btnCancel")->click();
    });
    Multi->EditPrintJobs();
    EXPECT_EQ(caption, QStringLiteral("Form1.Multi1.PrintJobs"));
    EXPECT_EQ(ListedNames(), (QStringList{"A", "B"}));

    WhenShown<TfrmMultiEditor>([](TfrmMultiEditor* editor) {
        ButtonOf(editor, "btnMoveDown")->click();
        PressKey(editor, Qt::Key_Return);
    });
    Multi->EditPrintJobs();
    EXPECT_EQ(ListedNames(), (QStringList{"B", "A"}));

    WhenShown<TfrmMultiEditor>([](TfrmMultiEditor* editor) {
        ButtonOf(editor, "btnClear")->click();
        PressKey(editor, Qt::Key_Escape);
    });
    Multi->EditPrintJobs();
    EXPECT_EQ(ListedNames(), (QStringList{"B", "A"}));
    EXPECT_EQ(Multi->PageCount(), 2);
}

TEST_F(Editor, AddAppendsTheSelectedJobsInListOrder)
{
    Multi->Add(Jobs[1]);
    QStringList offered;
    WhenShown<TfrmMultiEditor>([&](TfrmMultiEditor* editor) {
        WhenShown<TfrmMultiAdd>([&](TfrmMultiAdd* add) {
            TListView* view = add->AddJobsView();
            offered = Captions(view);
            view->clearSelection();
            view->Items().Items(2).SetSelected(true); // clicked first
            view->Items().Items(1).SetSelected(true);
            ButtonOf(add, "btnOk")->click();
        });
        ButtonOf(editor, "btnAdd")->click();
        ButtonOf(editor, "btnOk")->click();
    });
    Multi->EditPrintJobs();
    // The owner's jobs without the multi job itself; B, already listed, may come twice.
    EXPECT_EQ(offered, (QStringList{"A", "B", "C"}));
    EXPECT_EQ(ListedNames(), (QStringList{"B", "B", "C"}));

    WhenShown<TfrmMultiEditor>([&](TfrmMultiEditor* editor) {
        WhenShown<TfrmMultiAdd>([&](TfrmMultiAdd* add) {
            ButtonOf(add, "btnSelectAll")->click();
            PressKey(add, Qt::Key_Return);
        });
        ButtonOf(editor, "btnAdd")->click();
        ButtonOf(editor, "btnOk")->click();
    });
    Multi->EditPrintJobs();
    EXPECT_EQ(ListedNames(), (QStringList{"B", "B", "C", "A", "B", "C"}));
}

TEST_F(Editor, AddDialogOfAnOwnerWithoutOtherJobsOffersNothing)
{
    TDataModule lonely;
    auto* multi = new TMultiPrintJob(&lonely);
    int offered = -1;
    WhenShown<TfrmMultiEditor>([&](TfrmMultiEditor* editor) {
        WhenShown<TfrmMultiAdd>([&](TfrmMultiAdd* add) {
            offered = add->AddJobsView()->Items().Count();
            ButtonOf(add, "btnOk")->click();
        });
        ButtonOf(editor, "btnAdd")->click();
        EXPECT_EQ(editor->PrintJobsView()->Items().Count(), 0);
        ButtonOf(editor, "btnOk")->click();
    });
    multi->EditPrintJobs();
    EXPECT_EQ(offered, 0);
    EXPECT_EQ(multi->GetPrintJobCount(), 0);
}

} // namespace

TEST_F(Editor, EntriesWhoseJobWasNotFoundStayUntilTheUserRemovesThem)
{
    Multi->Add(Jobs[0]);
    Multi->Add(Jobs[1]);
    QString text = ComponentToText(&Form);
    text.replace(QStringLiteral("'B'"), QStringLiteral("'Ghost'"));
    Application().SetOnException([](const QString&) {});
    TDataModule copy;
    ReadComponentText(text, &copy);
    Application().SetOnException({});
    auto* multi = dynamic_cast<TMultiPrintJob*>(copy.FindComponent("Multi1"));
    ASSERT_NE(multi, nullptr);
    QStringList shown;
    WhenShown<TfrmMultiEditor>([&](TfrmMultiEditor* editor) {
        const TListItem ghost = editor->PrintJobsView()->Items().Items(1);
        shown << ghost.Caption() << ghost.SubItems();
        PressKey(editor, Qt::Key_Return);
    });
    multi->EditPrintJobs();
    EXPECT_EQ(shown, (QStringList{"Ghost", TCustomMultiPrintJob::MissingJobText()}));
    ASSERT_EQ(multi->GetPrintJobCount(), 2) << "OK without changes keeps the entry";
    EXPECT_EQ(multi->GetPrintJobName(1), QStringLiteral("Ghost"));
    EXPECT_EQ(multi->GetPrintJob(1), nullptr);
    EXPECT_TRUE(ComponentToText(&copy).contains(QStringLiteral("'Ghost'")));

    WhenShown<TfrmMultiEditor>([](TfrmMultiEditor* editor) {
        editor->PrintJobsView()->Items().Items(0).SetSelected(false);
        editor->PrintJobsView()->Items().Items(1).SetSelected(true);
        ButtonOf(editor, "btnDelete")->click();
        PressKey(editor, Qt::Key_Return);
    });
    multi->EditPrintJobs();
    ASSERT_EQ(multi->GetPrintJobCount(), 1);
    EXPECT_EQ(multi->GetPrintJob(0), copy.FindComponent("A"));
}
