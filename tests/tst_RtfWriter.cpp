// Writing RTF: what the writer writes, the reader reads back with the same text, character
// formatting, paragraph properties and pictures.
#include "platform/controls/RtfReader.h"
#include "platform/controls/RtfWriter.h"

#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <gtest/gtest.h>

using namespace Vellaro;

namespace {

/// Each fragment as its text and the formatting the writer keeps, paragraphs ending in "|".
QStringList Runs(const QTextDocument& document)
{
    QStringList runs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            runs << QStringLiteral("%1 [%2 %3%4%5%6%7 %8]").arg(it.fragment().text(),
                f.fontFamilies().toStringList().value(0, document.defaultFont().family()))
                .arg(f.fontPointSize() > 0 ? f.fontPointSize() : document.defaultFont().pointSizeF())
                .arg(f.fontWeight() >= QFont::Bold ? "b" : "", f.fontItalic() ? "i" : "", f.fontUnderline() ? "u" : "",
                    f.fontStrikeOut() ? "s" : "")
                .arg(f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().name() : QString());
        }
        runs << QStringLiteral("|");
    }
    return runs;
}

std::unique_ptr<QTextDocument> RoundTrip(const QTextDocument& document)
{
    auto back = std::make_unique<QTextDocument>();
    back->setDefaultFont(document.defaultFont());
    ReadRtf(WriteRtf(document), back.get());
    return back;
}

} // namespace

TEST(RtfWriter, TextAndCharacterFormattingSurviveARoundTrip)
{
    QTextDocument doc;
    QFont base(QStringLiteral("Times New Roman"));
    base.setPointSize(11);
    doc.setDefaultFont(base);
    QTextCursor cursor(&doc);
    const auto format = [](const char* family, double points, bool b, bool i, bool u, bool s, QColor color) {
        QTextCharFormat f;
        f.setFontFamilies(QStringList{QString::fromLatin1(family)});
        f.setFontPointSize(points);
        f.setFontWeight(b ? QFont::Bold : QFont::Normal);
        f.setFontItalic(i);
        f.setFontUnderline(u);
        f.setFontStrikeOut(s);
        if (color.isValid())
            f.setForeground(color);
        return f;
    };
    cursor.insertText(QStringLiteral("Plain, "), format("Arial", 10, false, false, false, false, QColor()));
    cursor.insertText(QStringLiteral("bold red "), format("Arial", 10, true, false, false, false, QColor(200, 10, 10)));
    cursor.insertText(QStringLiteral("italic 18 "), format("Courier New", 18, false, true, false, false, QColor()));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("under{line} \\ strike"), format("Arial", 9.5, false, false, true, true, QColor(0, 128, 0)));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("Unicode: \u00E9\u20AC\u0416 \U0001F600\ttab\u2028line\u00A0nbsp"), format("Arial", 12, false, false, false, false, QColor()));
    cursor.insertBlock();
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("after an empty paragraph"), format("Arial", 12, false, false, false, false, QColor()));

    const auto back = RoundTrip(doc);
    EXPECT_EQ(back->toPlainText(), doc.toPlainText());
    EXPECT_EQ(Runs(*back), Runs(doc));
    EXPECT_FALSE(WriteRtf(doc).contains('\xE9')) << "only ASCII is written";
}

TEST(RtfWriter, ParagraphPropertiesSurviveARoundTrip)
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    struct Case { Qt::Alignment Align; double Left, Right, Indent, Before, After; QList<double> Tabs; };
    const Case cases[] = {
        {Qt::AlignLeft, 0, 0, 0, 0, 0, {}},
        {Qt::AlignHCenter, 10, 0, 0, 4, 0, {}},
        {Qt::AlignRight, 0, 20, 0, 0, 6, {}},
        {Qt::AlignJustify, 48, 24, -24, 16, 8, {96, 192}},
    };
    bool first = true;
    for (const Case& c : cases) {
        if (!first)
            cursor.insertBlock();
        first = false;
        QTextBlockFormat f;
        f.setAlignment(c.Align);
        f.setLeftMargin(c.Left);
        f.setRightMargin(c.Right);
        f.setTextIndent(c.Indent);
        f.setTopMargin(c.Before);
        f.setBottomMargin(c.After);
        QList<QTextOption::Tab> tabs;
        for (double t : c.Tabs)
            tabs << QTextOption::Tab(t, QTextOption::LeftTab);
        f.setTabPositions(tabs);
        cursor.setBlockFormat(f);
        cursor.insertText(QStringLiteral("paragraph"));
    }
    const auto back = RoundTrip(doc);
    ASSERT_EQ(back->blockCount(), 4);
    for (int i = 0; i < 4; ++i) {
        const QTextBlockFormat f = back->findBlockByNumber(i).blockFormat();
        const Case& c = cases[i];
        EXPECT_EQ(f.alignment() & Qt::AlignHorizontal_Mask, c.Align) << i;
        EXPECT_EQ(f.leftMargin(), c.Left) << i;
        EXPECT_EQ(f.rightMargin(), c.Right) << i;
        EXPECT_EQ(f.textIndent(), c.Indent) << i;
        EXPECT_EQ(f.topMargin(), c.Before) << i;
        EXPECT_EQ(f.bottomMargin(), c.After) << i;
        EXPECT_EQ(f.tabPositions().size(), c.Tabs.size()) << i;
    }
}

TEST(RtfWriter, ImagesAreWrittenAsPngPictures)
{
    QTextDocument doc;
    QImage image(6, 3, QImage::Format_RGB32);
    image.fill(Qt::blue);
    doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("mem://blue")), image);
    QTextCursor cursor(&doc);
    cursor.insertText(QStringLiteral("a"));
    QTextImageFormat format;
    format.setName(QStringLiteral("mem://blue"));
    format.setWidth(60);
    cursor.insertImage(format);
    cursor.insertText(QStringLiteral("b"));
    const QByteArray rtf = WriteRtf(doc);
    EXPECT_TRUE(rtf.contains("\\pngblip"));
    const auto back = RoundTrip(doc);
    EXPECT_EQ(back->toPlainText(), doc.toPlainText());
    QTextCursor at(back.get());
    at.setPosition(2);
    const QTextImageFormat read = at.charFormat().toImageFormat();
    ASSERT_TRUE(read.isValid());
    EXPECT_EQ(read.width(), 60);
    EXPECT_EQ(read.height(), 3) << "the image's own height where none was set";
    const QImage resource = back->resource(QTextDocument::ImageResource, QUrl(read.name())).value<QImage>();
    EXPECT_EQ(resource.size(), QSize(6, 3));
}
