// String lists: splitting text into lines, index checks, change notification with update
// brackets, and reading and writing files in the encodings met in practice.
#include "platform/core/Strings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Vellaro;

TEST(Strings, TextSplitsAtEveryKindOfLineBreak)
{
    struct Case { const char* Text; QStringList Lines; };
    const Case cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"one\n", {"one"}},
        {"\n", {""}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\n\nb\r\n", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
    };
    for (const Case& c : cases) {
        TStringList list;
        list.SetText(QString::fromUtf8(c.Text));
        EXPECT_EQ(list.ToStringList(), c.Lines) << c.Text;
    }
    TStringList list({"x", "", "y"});
    EXPECT_EQ(list.Text(), QStringLiteral("x\n\ny\n"));
    TStringList again;
    again.SetText(list.Text());
    EXPECT_TRUE(again.Equals(list));
}

TEST(Strings, IndexesOutsideTheListRaise)
{
    TStringList list({"a", "b"});
    EXPECT_THROW(list.Strings(-1), EStringListError);
    EXPECT_THROW(list.Strings(2), EStringListError);
    EXPECT_THROW(list.SetStrings(2, "x"), EStringListError);
    EXPECT_THROW(list.Delete(2), EStringListError);
    EXPECT_THROW(list.Insert(3, "x"), EStringListError);
    EXPECT_THROW(list.Insert(-1, "x"), EStringListError);
    list.Insert(2, "c"); // at the end is allowed
    list.Insert(0, "first");
    list.Delete(1);
    EXPECT_EQ(list.ToStringList(), (QStringList{"first", "b", "c"}));
    EXPECT_EQ(list.IndexOf("c"), 2);
    EXPECT_EQ(list.IndexOf("a"), -1);
    EXPECT_EQ(list.Add("d"), 3);
}

TEST(Strings, OnChangeFiresPerChangeOrOncePerUpdateBracket)
{
    TStringList list;
    int changes = 0;
    list.SetOnChange([&](TStrings* sender) {
        EXPECT_EQ(sender, &list);
        ++changes;
    });
    list.Add("a");
    list.Insert(0, "b");
    list.SetStrings(0, "c");
    list.Delete(0);
    EXPECT_EQ(changes, 4);
    list.Clear();
    list.Clear(); // already empty: nothing changes
    EXPECT_EQ(changes, 5);

    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("x");
    list.Add("y");
    list.EndUpdate();
    EXPECT_EQ(changes, 5) << "inner EndUpdate must not fire";
    list.EndUpdate();
    EXPECT_EQ(changes, 6);
    list.BeginUpdate();
    list.EndUpdate();
    EXPECT_EQ(changes, 6) << "a bracket without a change fires nothing";
    list.EndUpdate(); // unbalanced: ignored
    EXPECT_EQ(list.UpdateCount(), 0);
}

TEST(Strings, AssignCopiesAndIgnoresNullAndItself)
{
    TStringList source({"one", "two"});
    TStringList target({"old"});
    target.Assign(&source);
    EXPECT_EQ(target.ToStringList(), source.ToStringList());
    source.Add("three");
    EXPECT_EQ(target.Count(), 2) << "a copy, not a share";
    target.Assign(nullptr);
    target.Assign(&target);
    EXPECT_EQ(target.Count(), 2);
}

TEST(Strings, LoadFromFileDetectsTheEncoding)
{
    QTemporaryDir dir;
    struct Case { const char* Name; QByteArray Bytes; QStringList Lines; };
    const QString cafe = QStringLiteral("caf\u00E9");
    const Case cases[] = {
        {"utf8 with mark", QByteArray("\xEF\xBB\xBF" "caf\xC3\xA9\r\n\xE2\x82\xAC"), {cafe, QStringLiteral("\u20AC")}},
        {"utf8 without mark", QByteArray("caf\xC3\xA9\n"), {cafe}},
        {"utf16 little endian", QByteArray("\xFF\xFE" "c\0a\0f\0\xE9\0\n\0", 12), {cafe}},
        {"utf16 big endian", QByteArray("\xFE\xFF" "\0c\0a\0f\0\xE9\0\n", 12), {cafe}},
        {"windows-1252", QByteArray("caf\xE9 \x80\n\x93quoted\x94"), {cafe + QStringLiteral(" \u20AC"), QStringLiteral("\u201Cquoted\u201D")}},
        {"empty", QByteArray(), {}},
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.Name));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.Bytes);
        file.close();
        TStringList list;
        list.LoadFromFile(path);
        EXPECT_EQ(list.ToStringList(), c.Lines) << c.Name;
    }
}

TEST(Strings, SaveToFileWritesUtf8WithAMarkThatReadsBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    TStringList list({QStringLiteral("\u00C5ngstr\u00F6m \u20AC"), "", "plain"});
    list.SaveToFile(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF\xC3\x85ngstr"));
    TStringList back;
    back.LoadFromFile(path);
    EXPECT_TRUE(back.Equals(list));
}

TEST(Strings, FileErrorsRaiseAndLeaveTheListAlone)
{
    QTemporaryDir dir;
    TStringList list({"kept"});
    EXPECT_THROW(list.LoadFromFile(dir.filePath("missing.txt")), EFOpenError);
    EXPECT_THROW(list.SaveToFile(dir.filePath("no/such/folder/out.txt")), EFCreateError);
    EXPECT_EQ(list.ToStringList(), QStringList{"kept"});
}
