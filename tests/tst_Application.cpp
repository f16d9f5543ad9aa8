// The application's title, icon and hint: the hint follows the mouse and the focus over
// controls (a control without one shows the hint around it), tool tips show its short part.
#include "platform/controls/Forms.h"
#include "platform/controls/StdControls.h"
#include "platform/core/Application.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace Vellaro;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

TEST(Application, HintSplitsIntoShortAndLongAtTheFirstBar)
{
    const struct {
        QString Hint, Short, Long;
    } cases[] = {
        {QStringLiteral("Print|Prints the document"), QStringLiteral("Print"), QStringLiteral("Prints the document")},
        {QStringLiteral("Zoom"), QStringLiteral("Zoom"), QStringLiteral("Zoom")},
        {QStringLiteral("|Only long"), QString(), QStringLiteral("Only long")},
        {QStringLiteral("Only short|"), QStringLiteral("Only short"), QString()},
        {QStringLiteral("a|b|c"), QStringLiteral("a"), QStringLiteral("b|c")},
        {QString(), QString(), QString()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetShortHint(c.Hint), c.Short) << c.Hint.toStdString();
        EXPECT_EQ(GetLongHint(c.Hint), c.Long) << c.Hint.toStdString();
    }
}

class ApplicationHint : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application().SetHint(QString());
        Application().SetOnHint([this](TComponent*) { Seen << Application().Hint(); });
        Form.SetBounds(0, 0, 300, 200);
        Panel = new TPanel(&Form);
        Panel->SetParent(&Form);
        Panel->SetBounds(0, 0, 200, 100);
        Panel->SetHint(QStringLiteral("Panel|The panel around the edit"));
        Edit = new TEdit(&Form);
        Edit->SetParent(Panel);
        Edit->SetBounds(10, 10, 80, 20);
        Edit->SetHint(QStringLiteral("Pages|How many pages to print"));
        Label = new TLabel(&Form);
        Label->SetParent(Panel);
        Label->SetAutoSize(false);
        Label->SetBounds(10, 50, 80, 20);
        Plain = new TEdit(&Form);
        Plain->SetParent(&Form);
        Plain->SetBounds(10, 150, 80, 20);
        Form.ShowForm();
        QApplication::setActiveWindow(&Form); // focus events reach only the active window
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Form));
    }
    void TearDown() override
    {
        Application().SetOnHint(nullptr);
        Application().SetHint(QString());
    }
    TForm Form;
    TPanel* Panel = nullptr;
    TEdit* Edit = nullptr;
    TLabel* Label = nullptr;
    TEdit* Plain = nullptr;
    QStringList Seen;
};

TEST_F(ApplicationHint, FollowsTheMouseOverControlsAndTheirSurroundings)
{
    EXPECT_EQ(Edit->toolTip(), QStringLiteral("Pages"));
    EXPECT_EQ(Edit->Hint(), QStringLiteral("Pages|How many pages to print"));

    const struct {
        const char* Where;
        QWidget* Widget;
        QString Hint;
    } moves[] = {
        {"the edit", Edit, QStringLiteral("Pages|How many pages to print")},
        {"a label without a hint, inside the panel", Label, QStringLiteral("Panel|The panel around the edit")},
        {"an edit without a hint, on the form", Plain, QString()},
        {"the edit again", Edit, QStringLiteral("Pages|How many pages to print")},
        {"the panel itself", Panel, QStringLiteral("Panel|The panel around the edit")},
    };
    for (const auto& m : moves) {
        QTest::mouseMove(m.Widget, QPoint(m.Widget->width() - 2, m.Widget->height() - 2));
        QApplication::processEvents();
        EXPECT_EQ(Application().Hint(), m.Hint) << m.Where;
    }
    EXPECT_EQ(Seen, QStringList({QStringLiteral("Pages|How many pages to print"), QStringLiteral("Panel|The panel around the edit"),
                        QString(), QStringLiteral("Pages|How many pages to print"), QStringLiteral("Panel|The panel around the edit")}));
    // The status bar's use of it: the short part.
    EXPECT_EQ(GetShortHint(Application().Hint()), QStringLiteral("Panel"));
}

TEST_F(ApplicationHint, FollowsTheFocus)
{
    QTest::mouseMove(Plain, QPoint(2, 2)); // the mouse rests on a control without a hint
    Plain->SetFocus(); // the first control took the focus when the form became active
    QApplication::processEvents();
    EXPECT_EQ(Application().Hint(), QString());
    Edit->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(Application().Hint(), QStringLiteral("Pages|How many pages to print"));
    Plain->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(Application().Hint(), QString());
    Edit->SetHint(QString());
    EXPECT_EQ(Edit->toolTip(), QString());
    Edit->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(Application().Hint(), QStringLiteral("Panel|The panel around the edit"));
}

TEST(Application, TitleAndIconGoToEveryWindow)
{
    Application().SetTitle(QStringLiteral("Vellaro Demo"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("Vellaro Demo"));
    EXPECT_EQ(Application().Title(), QStringLiteral("Vellaro Demo"));

    QPixmap picture(32, 32);
    picture.fill(Qt::darkCyan);
    TIcon icon;
    icon.SetIcon(QIcon(picture));
    Application().SetIcon(&icon);
    TForm form;
    EXPECT_FALSE(form.windowIcon().isNull());
    EXPECT_EQ(form.windowIcon().pixmap(32, 32).toImage().pixel(3, 3), picture.toImage().pixel(3, 3));
    EXPECT_EQ(Application().Icon()->LargestImage().size(), QSize(32, 32));
    Application().SetIcon(nullptr);
    EXPECT_TRUE(Application().Icon()->Empty());
}
