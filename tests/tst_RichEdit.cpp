// The rich edit control: its paragraphs as a string list, loading each file format (and a
// failed load keeping the text), saving, the edit events, and the formatting operation's
// measuring: its cached layout follows the text.
#include "platform/controls/RichEdit.h"
#include "platform/controls/RtfReader.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <gtest/gtest.h>

using namespace Vellaro;

namespace {

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

/// Measures from a position into a rectangle of the given twips on a 600 dpi measuring context.
int FirstNotFitting(TCustomRichEdit& edit, int from, int widthTwips, int heightTwips)
{
    TDeviceContext dc(600, 600);
    TFormatRange range;
    range.hdc = range.hdcTarget = &dc;
    range.rc = {0, 0, widthTwips, heightTwips};
    range.rcPage = range.rc;
    range.chrg = {from, -1};
    return edit.FormatRange(&range, false);
}

} // namespace

TEST(RichEdit, LinesEditTheParagraphs)
{
    TRichEdit edit;
    TStrings* lines = edit.Lines();
    EXPECT_EQ(lines->Count(), 0) << "an empty control has no lines";
    EXPECT_EQ(edit.GetTextLen(), 0);
    lines->Add(QStringLiteral("first"));
    lines->Add(QStringLiteral("third"));
    lines->Insert(1, QStringLiteral("second"));
    lines->Insert(0, QStringLiteral("zero"));
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("zero\nfirst\nsecond\nthird"));
    EXPECT_EQ(edit.GetTextLen(), 23);
    lines->SetStrings(2, QStringLiteral("2nd"));
    lines->Delete(0);
    EXPECT_EQ(lines->ToStringList(), (QStringList{"first", "2nd", "third"}));
    lines->Delete(2); // the last one
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("first\n2nd"));
    lines->Delete(1);
    lines->Delete(0); // the only one
    EXPECT_EQ(lines->Count(), 0);
    EXPECT_THROW(lines->Delete(0), EStringListError);
    lines->SetText(QStringLiteral("a\nb\n"));
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("a\nb"));
    // Through the published list, as a form file sets it.
    ASSERT_TRUE(edit.setProperty("Lines", QStringList{"x", "y", "z"}));
    EXPECT_EQ(edit.property("Lines").toStringList(), (QStringList{"x", "y", "z"}));
    lines->Clear();
    EXPECT_TRUE(edit.toPlainText().isEmpty());
}

TEST(RichEdit, LoadFromFileReadsEachFormat)
{
    QTemporaryDir dir;
    struct Case { const char* Name; QByteArray Bytes; QString Text; bool FirstBold; };
    const Case cases[] = {
        {"doc.rtf", "{\\rtf1\\ansi {\\b Bold} caf\\'e9\\par next}", QStringLiteral("Bold caf\u00E9\nnext"), true},
        {"rtf-without-suffix.txt", "{\\rtf1 {\\b B}}", QStringLiteral("B"), true},
        {"page.html", "<p><b>Bold</b> text</p><p>next</p>", QStringLiteral("Bold text\nnext"), true},
        {"notes.md", "**Bold** text\n\nnext\n", QStringLiteral("Bold text\nnext"), true},
        {"plain.txt", "caf\xE9 <b>not bold</b>\r\nnext", QStringLiteral("caf\u00E9 <b>not bold</b>\nnext"), false},
    };
    for (const Case& c : cases) {
        TRichEdit edit;
        edit.LoadFromFile(WriteFile(dir, QString::fromLatin1(c.Name), c.Bytes));
        EXPECT_EQ(edit.toPlainText(), c.Text) << c.Name;
        QTextCursor cursor(edit.document());
        cursor.setPosition(1);
        EXPECT_EQ(cursor.charFormat().fontWeight() >= QFont::Bold, c.FirstBold) << c.Name;
    }
}

TEST(RichEdit, AFailedLoadKeepsTheText)
{
    QTemporaryDir dir;
    TRichEdit edit;
    edit.setPlainText(QStringLiteral("kept"));
    EXPECT_THROW(edit.LoadFromFile(dir.filePath("missing.rtf")), EFOpenError);
    EXPECT_THROW(edit.LoadFromFile(WriteFile(dir, "bad.rtf", "{\\rtf1 " + QByteArray(2000, '{')), ffRtf), ERtfError);
    EXPECT_THROW(edit.LoadFromFile(WriteFile(dir, "other.rtf", "not rtf at all")), ERtfError);
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("kept"));
}

TEST(RichEdit, SaveToFileWritesRtfThatLoadsBack)
{
    QTemporaryDir dir;
    TRichEdit edit;
    QTextCursor cursor(edit.document());
    QTextCharFormat italic;
    italic.setFontItalic(true);
    cursor.insertText(QStringLiteral("Stra\u00DFe "));
    cursor.insertText(QStringLiteral("{italic}"), italic);
    const QString path = dir.filePath("saved.rtf");
    edit.SaveToFile(path);
    TRichEdit loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.toPlainText(), edit.toPlainText());
    QTextCursor at(loaded.document());
    at.setPosition(9);
    EXPECT_TRUE(at.charFormat().fontItalic());
    EXPECT_THROW(edit.SaveToFile(dir.filePath("no/folder/x.rtf")), EFCreateError);
}

TEST(RichEdit, EventsReportChangesAndKeysCanBeSwallowed)
{
    TRichEdit edit;
    int changes = 0;
    edit.SetOnChange([&](TComponent* sender) {
        EXPECT_EQ(sender, static_cast<TComponent*>(&edit));
        ++changes;
    });
    edit.setPlainText(QStringLiteral("abc"));
    EXPECT_GE(changes, 1);
    std::vector<int> keys;
    edit.SetOnKeyDown([&](TComponent*, int& key, Qt::KeyboardModifiers) { keys.push_back(key); });
    edit.SetOnKeyPress([](TComponent*, QChar& key) {
        if (key == QLatin1Char('x'))
            key = QChar();
    });
    edit.moveCursor(QTextCursor::End);
    for (const auto& [code, text] : {std::pair{int(Qt::Key_X), QStringLiteral("x")}, std::pair{int(Qt::Key_Y), QStringLiteral("y")}}) {
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
        QApplication::sendEvent(&edit, &press);
    }
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("abcy")) << "x was swallowed";
    edit.SetReadOnly(true);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"));
    QApplication::sendEvent(&edit, &press);
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("abcy"));
}

TEST(RichEdit, MeasuringFollowsTheTextAndTheRectangle)
{
    TRichEdit edit;
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(12);
    edit.document()->setDefaultFont(font);
    QStringList paragraphs;
    for (int i = 0; i < 40; ++i)
        paragraphs << QStringLiteral("Line %1").arg(i, 2, 10, QLatin1Char('0'));
    edit.setPlainText(paragraphs.join('\n'));
    const int width = 6 * TwipsPerInch;
    // About 14 pt a line: one inch holds 5 lines, two inches 10.
    const int oneInch = FirstNotFitting(edit, 0, width, TwipsPerInch);
    const int twoInches = FirstNotFitting(edit, 0, width, 2 * TwipsPerInch);
    EXPECT_EQ(oneInch % 8, 0) << "a page ends at a line start";
    EXPECT_EQ(twoInches, 2 * oneInch);
    EXPECT_EQ(FirstNotFitting(edit, oneInch, width, TwipsPerInch), twoInches) << "measuring from a later position";
    EXPECT_EQ(FirstNotFitting(edit, 0, width, 100 * TwipsPerInch), edit.GetTextLen());
    EXPECT_EQ(FirstNotFitting(edit, 0, width, 0), 0) << "no room: the start itself";
    EXPECT_EQ(FirstNotFitting(edit, 0, width, 10), 8) << "lower than a line: still one line";

    // Editing drops the cached layout: a larger font fits fewer lines.
    QTextCursor all(edit.document());
    all.select(QTextCursor::Document);
    QTextCharFormat large;
    large.setFontPointSize(24);
    all.mergeCharFormat(large);
    EXPECT_LT(FirstNotFitting(edit, 0, width, TwipsPerInch), oneInch);
    // A narrower rectangle wraps each line in two.
    edit.setPlainText(QString(40, QLatin1Char('w')).append(QStringLiteral(" ")).repeated(1).append(QStringLiteral("end")));
    EXPECT_LT(FirstNotFitting(edit, 0, TwipsPerInch / 2, TwipsPerInch / 4), edit.GetTextLen());
    EXPECT_THROW(edit.FormatRange(std::make_unique<TFormatRange>().get(), false), EInvalidOperation) << "no device";

    // A document set on the editor directly is measured, and so are its later edits.
    auto* other = new QTextDocument(&edit); // the editor's child: it owns it
    other->setDefaultFont(font);
    other->setPlainText(paragraphs.join('\n'));
    edit.setDocument(other);
    EXPECT_EQ(FirstNotFitting(edit, 0, width, TwipsPerInch), oneInch);
    other->setPlainText(QStringLiteral("short"));
    EXPECT_EQ(FirstNotFitting(edit, 0, width, TwipsPerInch), 5);
}

TEST(RichEdit, LoadingRtfKeepsTheDocumentsTabDistanceAndWrapping)
{
    QTemporaryDir dir;
    TRichEdit edit;
    edit.LoadFromFile(WriteFile(dir, "tabs.rtf", "{\\rtf1\\deftab1440 a\\tab b}"));
    EXPECT_DOUBLE_EQ(edit.document()->defaultTextOption().tabStopDistance(), 96);
    EXPECT_EQ(edit.document()->defaultTextOption().wrapMode(), QTextOption::WordWrap);
    edit.LoadFromFile(WriteFile(dir, "plain.rtf", "{\\rtf1 a\\tab b}"));
    EXPECT_DOUBLE_EQ(edit.document()->defaultTextOption().tabStopDistance(), 48) << "half an inch";
}
