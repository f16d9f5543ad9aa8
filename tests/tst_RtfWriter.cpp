// Writing RTF: what the writer writes, the reader reads back with the same text, character
// formatting, paragraph properties and pictures.
#include "platform/controls/RtfReader.h"
#include "platform/controls/RtfWriter.h"

#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextTable>
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
        // A hanging indent reads back as a tab stop of its own, where the text after a bullet goes.
        QList<double> tabs = c.Indent < 0 ? QList<double>{-c.Indent} + c.Tabs : c.Tabs;
        QList<double> read;
        for (const QTextOption::Tab& tab : f.tabPositions())
            read << tab.position;
        EXPECT_EQ(read, tabs) << i;
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

TEST(RtfWriter, TablesSurviveARoundTrip)
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(QStringLiteral("before"));
    QTextTableFormat format;
    format.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, 96), QTextLength(QTextLength::FixedLength, 144),
        QTextLength(QTextLength::FixedLength, 48)});
    QTextTable* table = cursor.insertTable(3, 3, format);
    const QStringList texts{"a", "b", "c", "d", "e", "f", "g", "h", "i"};
    for (int i = 0; i < 9; ++i)
        table->cellAt(i / 3, i % 3).firstCursorPosition().insertText(texts[i]);
    table->cellAt(1, 1).lastCursorPosition().insertText(QStringLiteral("\u2029second"));
    QTextTableCellFormat bordered = table->cellAt(0, 0).format().toTableCellFormat();
    bordered.setTopBorder(2);
    bordered.setBottomBorder(1);
    table->cellAt(0, 0).setFormat(bordered);
    table->mergeCells(2, 0, 1, 2);
    table->mergeCells(0, 2, 2, 1);
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("after"));

    const auto back = RoundTrip(doc);
    QTextTable* read = nullptr;
    for (QTextFrame* frame : back->rootFrame()->childFrames())
        read = read ? read : qobject_cast<QTextTable*>(frame);
    ASSERT_NE(read, nullptr) << WriteRtf(doc).toStdString();
    ASSERT_EQ(read->rows(), 3);
    ASSERT_EQ(read->columns(), 3);
    const auto cells = [](const QTextTable& t) {
        QStringList texts;
        for (int r = 0; r < t.rows(); ++r)
            for (int c = 0; c < t.columns(); ++c) {
                const QTextTableCell cell = t.cellAt(r, c);
                QTextCursor text = cell.firstCursorPosition();
                text.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
                texts << (cell.row() == r && cell.column() == c ? text.selectedText().replace(QChar(0x2029), QLatin1Char('|')) : "-");
            }
        return texts;
    };
    EXPECT_EQ(cells(*read), cells(*table));
    EXPECT_EQ(cells(*read)[4], QStringLiteral("e|second"));
    EXPECT_EQ(cells(*read)[5], QStringLiteral("-"));
    const QList<QTextLength> widths = read->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 3);
    EXPECT_DOUBLE_EQ(widths[0].rawValue(), 96);
    EXPECT_DOUBLE_EQ(widths[1].rawValue(), 144);
    EXPECT_DOUBLE_EQ(widths[2].rawValue(), 48);
    const QTextTableCellFormat first = read->cellAt(0, 0).format().toTableCellFormat();
    EXPECT_DOUBLE_EQ(first.topBorder(), 2);
    EXPECT_DOUBLE_EQ(first.bottomBorder(), 1);
    EXPECT_TRUE(back->toPlainText().startsWith(QStringLiteral("before")));
    EXPECT_TRUE(back->toPlainText().endsWith(QStringLiteral("after")));
}

TEST(RtfWriter, PageBreaksLineSpacingAndWordProcessorFormattingSurvive)
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextCharFormat sub, super, raised, marked, caps, smallCaps;
    sub.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    super.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    raised.setBaselineOffset(25);
    raised.setFontPointSize(12);
    marked.setBackground(QColor(255, 255, 0));
    caps.setFontCapitalization(QFont::AllUppercase);
    smallCaps.setFontCapitalization(QFont::SmallCaps);
    cursor.insertText(QStringLiteral("sub"), sub);
    cursor.insertText(QStringLiteral("super"), super);
    cursor.insertText(QStringLiteral("raised"), raised);
    cursor.insertText(QStringLiteral("marked"), marked);
    cursor.insertText(QStringLiteral("caps"), caps);
    cursor.insertText(QStringLiteral("small"), smallCaps);
    QTextBlockFormat broken;
    broken.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    broken.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
    cursor.insertBlock(broken);
    cursor.insertText(QStringLiteral("next page"));
    // A font name outside ASCII.
    QTextCharFormat named;
    named.setFontFamilies({QStringLiteral("\u00C9l\u00E9gante \u65E5\u672C")});
    cursor.insertText(QStringLiteral("named"), named);

    const auto back = RoundTrip(doc);
    const auto formatOf = [&](const QString& text) {
        QTextCursor at(back.get());
        at.setPosition(back->find(text).selectionStart() + 1);
        return at.charFormat();
    };
    EXPECT_EQ(back->toPlainText(), doc.toPlainText());
    EXPECT_EQ(formatOf(QStringLiteral("sub")).verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_EQ(formatOf(QStringLiteral("super")).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_DOUBLE_EQ(formatOf(QStringLiteral("raised")).baselineOffset(), 25);
    EXPECT_EQ(formatOf(QStringLiteral("marked")).background().color(), QColor(255, 255, 0));
    EXPECT_EQ(formatOf(QStringLiteral("caps")).fontCapitalization(), QFont::AllUppercase);
    EXPECT_EQ(formatOf(QStringLiteral("small")).fontCapitalization(), QFont::SmallCaps);
    EXPECT_EQ(formatOf(QStringLiteral("named")).fontFamilies().toStringList().value(0), named.fontFamilies().toStringList().value(0));
    const QTextBlockFormat second = back->findBlockByNumber(1).blockFormat();
    EXPECT_TRUE(second.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_EQ(second.lineHeightType(), QTextBlockFormat::ProportionalHeight);
    EXPECT_DOUBLE_EQ(second.lineHeight(), 150);
}
