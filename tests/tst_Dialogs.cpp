// The common dialogs: filters as Qt reads them, and the open and font dialogs answered through
// their hooks as a user would answer them, with what they are set to from a form file.
#include "platform/controls/Dialogs.h"
#include "platform/controls/Forms.h"
#include "platform/core/Reader.h"
#include "platform/core/Writer.h"

#include <gtest/gtest.h>

using namespace Vellaro;

namespace {
/// Removes a dialog hook when the test ends, whatever happens.
template<class D>
struct THookGuard {
    explicit THookGuard(typename D::TExecuteHook hook) { D::SetExecuteHook(std::move(hook)); }
    ~THookGuard() { D::SetExecuteHook(nullptr); }
};
} // namespace

TEST(OpenDialog, FiltersBecomeQtNameFilters)
{
    const struct {
        QString Filter;
        QStringList Expected;
    } cases[] = {
        {QStringLiteral("Text files (*.txt)|*.txt|Any files (*.*)|*.*"), {QStringLiteral("Text files (*.txt)"), QStringLiteral("Any files (*)")}},
        {QStringLiteral("Rich text files (*.rtf)|*.rtf|Text files (*.txt)|*.txt|Any files (*.*)|*.*"),
            {QStringLiteral("Rich text files (*.rtf)"), QStringLiteral("Text files (*.txt)"), QStringLiteral("Any files (*)")}},
        {QStringLiteral("Pictures|*.png;*.bmp; *.jpg"), {QStringLiteral("Pictures (*.png *.bmp *.jpg)")}},
        {QStringLiteral("|*.csv"), {QStringLiteral("*.csv (*.csv)")}},
        {QString(), {}},
    };
    TOpenDialog dialog;
    for (const auto& c : cases) {
        dialog.SetFilter(c.Filter);
        EXPECT_EQ(dialog.NameFilters(), c.Expected) << c.Filter.toStdString();
    }
    for (const QString& odd : {QStringLiteral("Text files"), QStringLiteral("a|*.a|b")})
        EXPECT_THROW(dialog.SetFilter(odd), EComponentError) << odd.toStdString();
    EXPECT_EQ(dialog.Filter(), QString());
}

TEST(OpenDialog, HookAnswersWithWhatTheFormFileSetUp)
{
    const QString text = QStringLiteral(R"(object frmOpen: TForm
  object dlgOpen: TOpenDialog
    DefaultExt = 'txt'
    Filter = 'Text files (*.txt)|*.txt|Any files (*.*)|*.*'
    FilterIndex = 2
    InitialDir = '/data'
    Title = 'Load text'
  end
end
)");
    TForm form;
    ReadComponentText(text, &form);
    auto* dialog = dynamic_cast<TOpenDialog*>(form.FindComponent(QStringLiteral("dlgOpen")));
    ASSERT_NE(dialog, nullptr);
    const QString written = ComponentToText(&form);
    TForm again;
    ReadComponentText(written, &again);
    EXPECT_EQ(ComponentToText(&again), written);
    EXPECT_TRUE(written.contains(QStringLiteral("FilterIndex = 2")));

    QStringList seen;
    bool answer = true;
    THookGuard<TOpenDialog> guard([&](TOpenDialog& d) {
        seen = {d.Title(), d.InitialDir(), d.NameFilters().value(d.FilterIndex() - 1), d.DefaultExt()};
        if (answer) {
            d.SetFileName(QStringLiteral("/data/notes.txt"));
            d.SetFilterIndex(1);
        }
        return answer;
    });
    EXPECT_TRUE(dialog->Execute());
    EXPECT_EQ(seen, QStringList({QStringLiteral("Load text"), QStringLiteral("/data"), QStringLiteral("Any files (*)"), QStringLiteral("txt")}));
    EXPECT_EQ(dialog->FileName(), QStringLiteral("/data/notes.txt"));
    EXPECT_EQ(dialog->FilterIndex(), 1);
    answer = false;
    dialog->SetFileName(QString());
    EXPECT_FALSE(dialog->Execute());
    EXPECT_EQ(dialog->FileName(), QString());

    TForm bad;
    EXPECT_THROW(ReadComponentText(QStringLiteral("object f: TForm\n  object d: TOpenDialog\n    Filter = 'Text|*.txt|Any'\n  end\nend\n"), &bad), EReadError);
}

TEST(FontDialog, HookChoosesTheFontAndTheFormFileKeepsIt)
{
    const QString text = QStringLiteral(R"(object frmFont: TForm
  object dlgFont: TFontDialog
    Font.Color = 255
    Font.Height = -16
    Font.Name = 'Courier New'
    Font.Style = [fsBold]
  end
end
)");
    TForm form;
    ReadComponentText(text, &form);
    auto* dialog = dynamic_cast<TFontDialog*>(form.FindComponent(QStringLiteral("dlgFont")));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Font()->Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(dialog->Font()->Height(), -16);
    const QString written = ComponentToText(&form);
    EXPECT_TRUE(written.contains(QStringLiteral("Font.Name = 'Courier New'")));
    TForm again;
    ReadComponentText(written, &again);
    EXPECT_EQ(ComponentToText(&again), written);

    TFont shown;
    THookGuard<TFontDialog> guard([&](TFontDialog& d) {
        shown.Assign(*d.Font());
        QFont chosen(QStringLiteral("Arial"));
        chosen.setPixelSize(20);
        chosen.setItalic(true);
        AssignQFont(*d.Font(), chosen);
        return true;
    });
    EXPECT_TRUE(dialog->Execute());
    EXPECT_EQ(shown.Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(dialog->Font()->Name(), QStringLiteral("Arial"));
    EXPECT_EQ(dialog->Font()->Height(), -20);
    EXPECT_EQ(dialog->Font()->Style(), TFontStyles(fsItalic));
    EXPECT_EQ(dialog->Font()->Color(), TColor(255)); // a font dialog has no colour to change
}

TEST(FontDialog, QtFontsBecomeFontsOfTheSameHeight)
{
    const struct {
        const char* Name;
        int PixelSize;
        double PointSize;
        int PixelsPerInch;
        int Height;
    } cases[] = {
        {"pixel size", 13, 0, 96, -13},
        {"10 points at 96 dpi", 0, 10, 96, -13},
        {"12 points at 96 dpi", 0, 12, 96, -16},
        {"12 points at 600 dpi", 0, 12, 600, -100},
    };
    for (const auto& c : cases) {
        QFont source(QStringLiteral("Times New Roman"));
        if (c.PixelSize > 0)
            source.setPixelSize(c.PixelSize);
        else
            source.setPointSizeF(c.PointSize);
        source.setBold(true);
        source.setUnderline(true);
        TFont font;
        font.SetPixelsPerInch(c.PixelsPerInch);
        AssignQFont(font, source);
        EXPECT_EQ(font.Height(), c.Height) << c.Name;
        EXPECT_EQ(font.Style(), TFontStyles(fsBold | fsUnderline)) << c.Name;
        if (c.PointSize > 0)
            EXPECT_EQ(font.Size(), int(c.PointSize)) << c.Name;
    }
}
