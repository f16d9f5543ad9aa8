// Reading RTF: each construct read into the formatting it stands for, and malformed input
// read as far as it goes or refused with the position, never a crash or a hang.
#include "platform/controls/RtfReader.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace Vellaro;

namespace {

std::unique_ptr<QTextDocument> Read(const QByteArray& rtf)
{
    auto document = std::make_unique<QTextDocument>();
    ReadRtf(rtf, document.get());
    return document;
}

/// The character format of the first character of the first occurrence of text.
QTextCharFormat FormatOf(const QTextDocument& document, const QString& text)
{
    const QTextCursor found = document.find(text);
    EXPECT_FALSE(found.isNull()) << text.toStdString() << " not in " << document.toPlainText().toStdString();
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(found.selectionStart() + 1);
    return cursor.charFormat();
}

QStringList Paragraphs(const QTextDocument& document)
{
    QStringList paragraphs;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
        paragraphs << b.text();
    return paragraphs;
}

/// The text with line separators and no-break spaces as they are, paragraphs ending in "\n".
QString RawText(const QTextDocument& document)
{
    return document.toRawText().replace(QChar(0x2029), QLatin1Char('\n'));
}

QString Family(const QTextCharFormat& format)
{
    return format.fontFamilies().toStringList().value(0);
}

QByteArray ImageBytes(const char* type, QColor color)
{
    QImage image(8, 4, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, type);
    return bytes;
}

const QByteArray Tables = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}"
                          "{\\f1\\fswiss Arial;}{\\f2\\fcharset204 Cyrillic Sans;}}"
                          "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}";

} // namespace

TEST(RtfReader, CharacterFormattingFollowsControlWordsAndGroups)
{
    const auto doc = Read(Tables + "Plain {\\f1\\fs36 Big} {\\b Bold\\b0  Unbold} {\\i Italic} {\\ul Under\\ulnone  Over}"
        " {\\strike Struck} {\\cf2 Blue} {\\b\\i\\cf1 {\\plain Reset}} After}");
    struct Case { const char* Text; const char* Family; double Points; bool Bold, Italic, Underline, Strike; QColor Color; };
    const Case cases[] = {
        {"Plain", "Times New Roman", 12, false, false, false, false, QColor()},
        {"Big", "Arial", 18, false, false, false, false, QColor()},
        {"Bold", "Times New Roman", 12, true, false, false, false, QColor()},
        {"Unbold", "Times New Roman", 12, false, false, false, false, QColor()},
        {"Italic", "Times New Roman", 12, false, true, false, false, QColor()},
        {"Under", "Times New Roman", 12, false, false, true, false, QColor()},
        {"Over", "Times New Roman", 12, false, false, false, false, QColor()},
        {"Struck", "Times New Roman", 12, false, false, false, true, QColor()},
        {"Blue", "Times New Roman", 12, false, false, false, false, QColor(0, 0, 255)},
        {"Reset", "Times New Roman", 12, false, false, false, false, QColor()},
        {"After", "Times New Roman", 12, false, false, false, false, QColor()},
    };
    for (const Case& c : cases) {
        const QTextCharFormat f = FormatOf(*doc, QString::fromLatin1(c.Text));
        EXPECT_EQ(Family(f), QString::fromLatin1(c.Family)) << c.Text;
        EXPECT_EQ(f.fontPointSize(), c.Points) << c.Text;
        EXPECT_EQ(f.fontWeight() >= QFont::Bold, c.Bold) << c.Text;
        EXPECT_EQ(f.fontItalic(), c.Italic) << c.Text;
        EXPECT_EQ(f.fontUnderline(), c.Underline) << c.Text;
        EXPECT_EQ(f.fontStrikeOut(), c.Strike) << c.Text;
        if (c.Color.isValid())
            EXPECT_EQ(f.foreground().color(), c.Color) << c.Text;
        else
            EXPECT_FALSE(f.hasProperty(QTextFormat::ForegroundBrush)) << c.Text;
    }
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("Plain Big Bold Unbold Italic Under Over Struck Blue Reset After"));
}

TEST(RtfReader, ParagraphPropertiesBelongToTheParagraphTheyEnd)
{
    const auto doc = Read(Tables + "\\pard\\qc Centred\\par\\pard\\qr Right\\par\\pard\\qj\\li720\\ri360\\fi-360\\sb240\\sa120"
        "\\tx1440\\tx2880 Justified\\par\\pard Left\\par}");
    ASSERT_EQ(Paragraphs(*doc), (QStringList{"Centred", "Right", "Justified", "Left"}));
    const QTextBlockFormat centred = doc->findBlockByNumber(0).blockFormat();
    const QTextBlockFormat right = doc->findBlockByNumber(1).blockFormat();
    const QTextBlockFormat justified = doc->findBlockByNumber(2).blockFormat();
    const QTextBlockFormat left = doc->findBlockByNumber(3).blockFormat();
    EXPECT_EQ(centred.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(right.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(justified.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    EXPECT_EQ(left.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    // Twips to 96 dpi pixels: 15 twips a pixel.
    EXPECT_EQ(justified.leftMargin(), 48);
    EXPECT_EQ(justified.rightMargin(), 24);
    EXPECT_EQ(justified.textIndent(), -24);
    EXPECT_EQ(justified.topMargin(), 16);
    EXPECT_EQ(justified.bottomMargin(), 8);
    // Tab stops from the first line's start (a quarter inch in), the hanging indent's first.
    ASSERT_EQ(justified.tabPositions().size(), 3);
    EXPECT_EQ(justified.tabPositions()[0].position, 24);
    EXPECT_EQ(justified.tabPositions()[2].position, 168);
    EXPECT_EQ(left.leftMargin(), 0);
    // Lengths beyond any page are kept to 22 inches.
    const auto huge = Read(Tables + "\\li2147483647\\sb-99999999 Wide\\par}");
    EXPECT_EQ(huge->begin().blockFormat().leftMargin(), 22 * 96);
    EXPECT_EQ(huge->begin().blockFormat().topMargin(), 0) << "no negative spacing";
    EXPECT_TRUE(left.tabPositions().isEmpty());
}

TEST(RtfReader, CharactersBreaksAndEscapes)
{
    struct Case { QByteArray Body; QString Text; };
    const Case cases[] = {
        {"a\\tab b", QStringLiteral("a\tb")},
        {"a\\line b", QStringLiteral("a\u2028b")},
        {"a\\par b", QStringLiteral("a\nb")},
        {"a\\par\\par", QStringLiteral("a\n")},   // the last mark is the document's own
        {"a\\par", QStringLiteral("a")},
        {"\\\\ \\{ \\} a\\~b", QStringLiteral("\\ { } a\u00A0b")},
        {"caf\\'e9 \\'80", QStringLiteral("caf\u00E9 \u20AC")},
        {"\\u8364?uro", QStringLiteral("\u20ACuro")},                 // the fallback is skipped
        {"\\uc2\\u8364\\'80\\'80 x", QStringLiteral("\u20AC x")},      // two fallback characters
        {"\\uc0\\u8364 x", QStringLiteral("\u20ACx")},
        {"\\u-3913?", QStringLiteral("\uF0B7")},                      // negative: above 32767
        {"{\\u8364}?", QStringLiteral("\u20AC?")},                    // a group ends the skipping
        {"\\u55357?\\u56832?", QStringLiteral("\U0001F600")},          // a surrogate pair
        {"\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote", QStringLiteral("\u2014\u2013\u2022\u2018\u2019\u201C\u201D")},
        {"\\trowd\\cellx1000\\cellx2000 A\\cell B\\cell\\row C", QStringLiteral("A\tB\t\nC")},
        {"{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}} text", QStringLiteral("link text")},
        {"{\\*\\unknown hidden}{\\stylesheet{\\s1 Normal;}}{\\info{\\title T}}{\\header head}shown", QStringLiteral("shown")},
        {"line\r\nbreaks\n in source", QStringLiteral("linebreaks in source")},
        {"\\bin4 \x01\x02\x03\x04 after", QStringLiteral(" after")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RawText(*Read(Tables + c.Body + "}")), c.Text) << c.Body.toStdString();
}

TEST(RtfReader, EightBitCharactersUseTheFontsCodePage)
{
    // \fcharset204 is Cyrillic (code page 1251); \ansicpg applies where the font says nothing.
    const auto doc = Read(Tables + "{\\f2 \\'c0\\'e1} {\\f1 \\'c0}}");
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("\u0410\u0431 \u00C0"));
}

TEST(RtfReader, PngAndJpegPicturesBecomeImagesOfTheirGoalSize)
{
    for (const char* type : {"PNG", "JPEG"}) {
        const QByteArray blip = QByteArray(type) == "PNG" ? "\\pngblip" : "\\jpegblip";
        const auto doc = Read(Tables + "before{\\*\\shppict{\\pict" + blip + "\\picw8\\pich4\\picwgoal1500\\pichgoal750\n"
            + ImageBytes(type, Qt::red).toHex() + "}}{\\nonshppict{\\pict\\wmetafile8 0102}}after}");
        EXPECT_EQ(doc->toPlainText(), QStringLiteral("before\uFFFCafter")) << type;
        QTextCursor cursor(doc.get());
        cursor.setPosition(7);
        const QTextImageFormat image = cursor.charFormat().toImageFormat();
        ASSERT_TRUE(image.isValid()) << type;
        EXPECT_EQ(image.width(), 100);
        EXPECT_EQ(image.height(), 50);
        const QImage resource = doc->resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
        ASSERT_EQ(resource.size(), QSize(8, 4)) << type;
        EXPECT_GT(qRed(resource.pixel(1, 1)), 200);
    }
    // A goal size larger than any page is kept to the largest page length (22 inches).
    const auto huge = Read(Tables + "{\\pict\\pngblip\\picwgoal2147483647\\pichgoal99999999 " + ImageBytes("PNG", Qt::red).toHex() + "}}");
    QTextCursor at(huge.get());
    at.setPosition(1);
    EXPECT_EQ(at.charFormat().toImageFormat().width(), 22 * 96);
    EXPECT_EQ(at.charFormat().toImageFormat().height(), 22 * 96);
    // Pictures in formats that are not read, and broken data, leave no image behind.
    EXPECT_EQ(Read(Tables + "a{\\pict\\wmetafile8 0102}{\\pict\\pngblip 0badbeef}b}")->toPlainText(), QStringLiteral("ab"));
}

TEST(RtfReader, MalformedInputIsReadAsFarAsItGoes)
{
    struct Case { QByteArray Rtf; QString Text; };
    const Case cases[] = {
        {"{\\rtf1 Hello {\\b world", QStringLiteral("Hello world")},             // truncated
        {"{\\rtf1 A}}}} B", QStringLiteral("A")},                               // braces past the end
        {"{\\rtf1 A\\", QStringLiteral("A")},                                    // a lone backslash
        {"{\\rtf1 A\\'", QStringLiteral("A")},
        {"{\\rtf1 A\\'4", QStringLiteral("A\u0004")},             // one hex digit
        {"{\\rtf1\\fs99999999999999999999 A\\u99999999999 B}", QStringLiteral("A\uFFFF")},
        {"{\\rtf1 A\\bin99999999999", QStringLiteral("A")},                     // more binary than there is
        {"{\\rtf1 A\\bin-5 B}", QStringLiteral("AB")},
        {"{\\rtf1{\\colortbl\\red999;}{\\fonttbl{\\f-7 X;}}\\cf99\\f-7 C}", QStringLiteral("C")},
        {"{\\rtf1 \\uc99999\\u65 skipped}", QStringLiteral("A")},
        {QByteArray("{\\rtf1 A\0B\x01\xff}", 13), QStringLiteral("AB\u00FF")},
        {"{\\rtf1 " + QByteArray(5000, 'x').replace('x', "\\verylongcontrolwordthatgoesonandon ") + "Z}", QStringLiteral("Z")},
    };
    for (const Case& c : cases) {
        std::unique_ptr<QTextDocument> doc;
        ASSERT_NO_THROW(doc = Read(c.Rtf)) << c.Rtf.left(60).toStdString();
        EXPECT_EQ(doc->toPlainText(), c.Text) << c.Rtf.left(60).toStdString();
    }
}

TEST(RtfReader, InputThatIsNotRtfOrNestsTooDeeplyIsRefusedWithThePosition)
{
    struct Case { QByteArray Rtf; const char* Message; };
    const QByteArray deep = "{\\rtf1 " + QByteArray(MaxRtfGroupDepth + 10, '{');
    const Case cases[] = {
        {"", "position 0"},
        {"plain text", "position 0"},
        {"{\\rt", "position 0"},
        {deep, "position 1005"},
    };
    for (const Case& c : cases) {
        try {
            Read(c.Rtf);
            ADD_FAILURE() << "no error for " << c.Rtf.left(30).toStdString();
        } catch (const ERtfError& e) {
            EXPECT_TRUE(e.Message().contains(QString::fromLatin1(c.Message))) << e.Message().toStdString();
        }
    }
    // Just within the limit is fine.
    const QByteArray nested = "{\\rtf1 " + QByteArray(MaxRtfGroupDepth - 2, '{') + "deep" + QByteArray(MaxRtfGroupDepth - 2, '}') + "}";
    EXPECT_EQ(Read(nested)->toPlainText(), QStringLiteral("deep"));
}

TEST(RtfReader, BinaryDataIsSkippedInEveryDestination)
{
    // Binary data holding braces and backslashes: read as RTF it would end the document.
    const QByteArray junk("}}}\\par{\\*", 10);
    const QByteArray bin = "\\bin" + QByteArray::number(junk.size()) + " " + junk;
    struct Case { QByteArray Rtf; QString Text; };
    const Case cases[] = {
        {"{\\rtf1 A{\\*\\objdata " + bin + "}B}", QStringLiteral("AB")},            // an ignorable destination
        {"{\\rtf1 A{\\object{\\*\\objdata 01" + bin + "02}}B}", QStringLiteral("AB")},
        {"{\\rtf1 A{\\info{\\title " + bin + "}}B}", QStringLiteral("AB")},          // a known skipped one
        {"{\\rtf1 A" + bin + "B}", QStringLiteral("AB")},                           // the text itself
    };
    for (const Case& c : cases)
        EXPECT_EQ(Read(c.Rtf)->toPlainText(), c.Text) << c.Rtf.toStdString();
}

TEST(RtfReader, AnIgnorableMarkAppliesOnlyToTheGroupItOpens)
{
    struct Case { QByteArray Rtf; QString Text; };
    const Case cases[] = {
        {"{\\rtf1 A{\\*\\unknowndest hidden}B}", QStringLiteral("AB")},
        {"{\\rtf1 A\\*{\\b B}C}", QStringLiteral("ABC")},          // a stray mark before a group
        {"{\\rtf1 A{\\*}{\\b B}C}", QStringLiteral("ABC")},        // a mark in a group of its own
        {"{\\rtf1 A\\* x{\\i B}C}", QStringLiteral("A xBC")},     // text after the mark
    };
    for (const Case& c : cases)
        EXPECT_EQ(Read(c.Rtf)->toPlainText(), c.Text) << c.Rtf.toStdString();
}

TEST(RtfReader, FontNamesInUnicodeOrTheirCodePageAreRead)
{
    const auto doc = Read("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset204 \\'cc\\'ee\\'e9;}{\\f1\\uc1 Caf\\u233?;}}"
                          "{\\f0 a}{\\f1 b}}");
    EXPECT_EQ(Family(FormatOf(*doc, QStringLiteral("a"))), QStringLiteral("\u041C\u043E\u0439"));
    EXPECT_EQ(Family(FormatOf(*doc, QStringLiteral("b"))), QStringLiteral("Caf\u00E9"));
}

TEST(RtfReader, PicturesKeepTheirAspectAndScale)
{
    // The picture is 8 x 4 pixels.
    struct Case { QByteArray Size; double Width; double Height; };
    const Case cases[] = {
        {"\\picwgoal1500", 100, 50},                               // only the width: the aspect decides
        {"\\pichgoal1500", 200, 100},
        {"", 8, 4},                                                // its own size
        {"\\picwgoal1500\\pichgoal1500\\picscalex50\\picscaley200", 50, 200},
        {"\\picscalex300", 24, 4},
    };
    for (const Case& c : cases) {
        const auto doc = Read(Tables + "{\\pict\\pngblip" + c.Size + " " + ImageBytes("PNG", Qt::red).toHex() + "}}");
        QTextCursor at(doc.get());
        at.setPosition(1);
        const QTextImageFormat image = at.charFormat().toImageFormat();
        EXPECT_DOUBLE_EQ(image.width(), c.Width) << c.Size.toStdString();
        EXPECT_DOUBLE_EQ(image.height(), c.Height) << c.Size.toStdString();
    }
}

TEST(RtfReader, OnePictureOfAShapeAndItsFallbackAndABoxForMetafiles)
{
    const QByteArray red = ImageBytes("PNG", Qt::red).toHex(), blue = ImageBytes("PNG", Qt::blue).toHex();
    const auto colourAt = [](const QTextDocument& doc, int position) {
        QTextCursor at(const_cast<QTextDocument*>(&doc));
        at.setPosition(position);
        const QImage image = doc.resource(QTextDocument::ImageResource, QUrl(at.charFormat().toImageFormat().name())).value<QImage>();
        return image.isNull() ? QColor() : image.pixelColor(1, 1);
    };
    // The shape's picture shown: its fallback is not.
    auto doc = Read(Tables + "{\\*\\shppict{\\pict\\pngblip " + red + "}}{\\nonshppict{\\pict\\pngblip " + blue + "}}}");
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("\uFFFC"));
    EXPECT_EQ(colourAt(*doc, 1), QColor(Qt::red));
    // Only the fallback (an older writer): it is shown.
    doc = Read(Tables + "{\\nonshppict{\\pict\\pngblip " + blue + "}}}");
    EXPECT_EQ(colourAt(*doc, 1), QColor(Qt::blue));
    // A metafile alone: a box of its goal size; without any size, nothing.
    doc = Read(Tables + "a{\\pict\\wmetafile8\\picwgoal1440\\pichgoal720 0102}b{\\pict\\emfblip 0102}c}");
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("a\uFFFCbc"));
    QTextCursor at(doc.get());
    at.setPosition(2);
    EXPECT_EQ(at.charFormat().toImageFormat().width(), 96);
    EXPECT_EQ(at.charFormat().toImageFormat().height(), 48);
    EXPECT_TRUE(colourAt(*doc, 2).isValid()) << "the box is drawn";
}

TEST(RtfReader, CharacterFormattingOfWordProcessors)
{
    const auto doc = Read(Tables + "\\fs24 {\\sub a}{\\super b}{\\up6 c}{\\dn12 d}{\\highlight1 e}{\\chcbpat2 f}{\\cb1 g}"
        "{\\v hidden}{\\caps h}{\\scaps i}{\\super\\nosupersub j}{\\highlight1\\highlight0 k}}");
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("abcdefghijk")) << "hidden text is not read";
    EXPECT_EQ(FormatOf(*doc, "a").verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_EQ(FormatOf(*doc, "b").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_DOUBLE_EQ(FormatOf(*doc, "c").baselineOffset(), 25.0) << "3 pt of 12";
    EXPECT_DOUBLE_EQ(FormatOf(*doc, "d").baselineOffset(), -50.0);
    EXPECT_EQ(FormatOf(*doc, "e").background().color(), QColor(Qt::red));
    EXPECT_EQ(FormatOf(*doc, "f").background().color(), QColor(Qt::blue));
    EXPECT_EQ(FormatOf(*doc, "g").background().color(), QColor(Qt::red));
    EXPECT_EQ(FormatOf(*doc, "h").fontCapitalization(), QFont::AllUppercase);
    EXPECT_EQ(FormatOf(*doc, "i").fontCapitalization(), QFont::SmallCaps);
    EXPECT_EQ(FormatOf(*doc, "j").verticalAlignment(), QTextCharFormat::AlignNormal);
    EXPECT_EQ(FormatOf(*doc, "k").background().style(), Qt::NoBrush);
}

TEST(RtfReader, LineSpacingAndPageBreaks)
{
    const auto doc = Read("{\\rtf1 \\sl360\\slmult1 a\\par\\pard\\sl300\\slmult0 b\\par\\pard\\sl-300\\slmult0 c\\page d\\par"
                          "\\pard\\pagebb e\\par\\pard f}");
    const QStringList paragraphs = Paragraphs(*doc);
    ASSERT_EQ(paragraphs, (QStringList{"a", "b", "c", "d", "e", "f"}));
    struct Case { int Block; int Type; double Height; bool Break; };
    const Case cases[] = {
        {0, QTextBlockFormat::ProportionalHeight, 150, false},
        {1, QTextBlockFormat::MinimumHeight, 20, false},
        {2, QTextBlockFormat::FixedHeight, 20, false},
        {3, QTextBlockFormat::FixedHeight, 20, true},   // after \page, which keeps the paragraph's properties
        {4, QTextBlockFormat::SingleHeight, 0, true},   // \pagebb
        {5, QTextBlockFormat::SingleHeight, 0, false},
    };
    for (const Case& c : cases) {
        const QTextBlockFormat format = doc->findBlockByNumber(c.Block).blockFormat();
        EXPECT_EQ(format.lineHeightType(), c.Type) << c.Block;
        if (c.Type != QTextBlockFormat::SingleHeight)
            EXPECT_DOUBLE_EQ(format.lineHeight(), c.Height) << c.Block;
        EXPECT_EQ(bool(format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore), c.Break) << c.Block;
    }
}

TEST(RtfReader, TabStopsCountFromTheFirstLineAndAHangingIndentIsOne)
{
    // RTF measures tab stops from the left edge; the layout from where the first line starts.
    struct Case { QByteArray Paragraph; QList<double> Tabs; };
    const Case cases[] = {
        {"\\tx1440\\tx2880 ", {96, 192}},
        {"\\li720\\tx1440 ", {48}},
        {"\\li720\\fi-360 ", {24}},                       // the hanging indent
        {"\\li720\\fi-360\\tx360\\tx2160 ", {24, 120}},    // a stop left of the line start is of no use
        {"\\li720\\fi-360\\tx720 ", {24}},                 // the same stop twice is one
    };
    for (const Case& c : cases) {
        const auto doc = Read("{\\rtf1\\pard" + c.Paragraph + "x}");
        QList<double> tabs;
        for (const QTextOption::Tab& tab : doc->begin().blockFormat().tabPositions())
            tabs << tab.position;
        EXPECT_EQ(tabs, c.Tabs) << c.Paragraph.toStdString();
    }
    const auto doc = Read("{\\rtf1\\pard\\tqr\\tx1440\\tqc\\tx2880\\tx4320 x}");
    const QList<QTextOption::Tab> tabs = doc->begin().blockFormat().tabPositions();
    ASSERT_EQ(tabs.size(), 3);
    EXPECT_EQ(tabs[0].type, QTextOption::RightTab);
    EXPECT_EQ(tabs[1].type, QTextOption::CenterTab);
    EXPECT_EQ(tabs[2].type, QTextOption::LeftTab);
}

namespace {
/// The texts of a table's cells, row by row; merged-away cells as "-".
QList<QStringList> CellTexts(const QTextTable& table)
{
    QList<QStringList> rows;
    for (int r = 0; r < table.rows(); ++r) {
        QStringList row;
        for (int c = 0; c < table.columns(); ++c) {
            const QTextTableCell cell = table.cellAt(r, c);
            if (cell.row() != r || cell.column() != c) {
                row << QStringLiteral("-");
                continue;
            }
            QTextCursor cursor = cell.firstCursorPosition();
            cursor.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
            row << cursor.selectedText().replace(QChar(0x2029), QLatin1Char('|'));
        }
        rows << row;
    }
    return rows;
}

QTextTable* FirstTable(QTextDocument& document)
{
    for (QTextFrame* frame : document.rootFrame()->childFrames())
        if (auto* table = qobject_cast<QTextTable*>(frame))
            return table;
    return nullptr;
}
} // namespace

TEST(RtfReader, TableRowsBecomeATableWithWidthsAndBorders)
{
    const auto doc = Read("{\\rtf1 before\\par"
        "\\trowd\\trgaph108\\trleft0\\clbrdrt\\brdrs\\brdrw30\\clbrdrl\\brdrs\\brdrw15\\clbrdrb\\brdrs\\brdrw15\\brdrcf1"
        "\\clbrdrr\\brdrs\\brdrw15\\cellx1440\\clbrdrb\\brdrs\\brdrw45\\clvertalc\\cellx4320\n"
        "\\pard\\intbl a1\\cell a2\\par {\\b more}\\cell\\row\n"
        "\\trowd\\trgaph108\\cellx1440\\cellx4320\\pard\\intbl b1\\cell\\qr b2\\cell\\row\n"
        "\\pard after\\par}");
    QTextTable* table = FirstTable(*doc);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(CellTexts(*table), (QList<QStringList>{{"a1", "a2|more"}, {"b1", "b2"}}));
    EXPECT_EQ(Paragraphs(*doc).first(), QStringLiteral("before"));
    // The first cell's text lines up with \trleft: the cells' edge is the gap further left.
    EXPECT_DOUBLE_EQ(table->format().leftMargin(), -7.2);
    EXPECT_EQ(Paragraphs(*doc).last(), QStringLiteral("after"));
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_DOUBLE_EQ(widths[0].rawValue(), 96);
    EXPECT_DOUBLE_EQ(widths[1].rawValue(), 192);
    const QTextTableCellFormat first = table->cellAt(0, 0).format().toTableCellFormat();
    EXPECT_DOUBLE_EQ(first.topBorder(), 2);
    EXPECT_DOUBLE_EQ(first.leftBorder(), 1);
    EXPECT_DOUBLE_EQ(first.leftPadding(), 7.2);
    const QTextTableCellFormat second = table->cellAt(0, 1).format().toTableCellFormat();
    EXPECT_EQ(second.topBorderStyle(), QTextFrameFormat::BorderStyle_None);
    EXPECT_DOUBLE_EQ(second.bottomBorder(), 3);
    EXPECT_EQ(second.verticalAlignment(), QTextCharFormat::AlignMiddle);
    EXPECT_EQ(doc->find(QStringLiteral("b2")).block().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_TRUE(FormatOf(*doc, QStringLiteral("more")).fontWeight() == QFont::Bold);
}

TEST(RtfReader, MergedCellsAndRowDefinitionsAfterTheirCells)
{
    // Across and down; the second row's definition comes after its cells, as some writers put it.
    const auto doc = Read("{\\rtf1\\trowd\\clmgf\\cellx1000\\clmrg\\cellx2000\\clvmgf\\cellx3000"
        "\\pard\\intbl wide\\cell\\cell tall\\cell\\row"
        "\\pard\\intbl x\\cell y\\cell\\cell\\trowd\\cellx1000\\cellx2000\\clvmrg\\cellx3000\\row}");
    QTextTable* table = FirstTable(*doc);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(CellTexts(*table), (QList<QStringList>{{"wide", "-", "tall"}, {"x", "y", "-"}}));
    EXPECT_EQ(table->cellAt(0, 0).columnSpan(), 2);
    EXPECT_EQ(table->cellAt(0, 2).rowSpan(), 2);
}

TEST(RtfReader, TablesFromBrokenInputStayInBounds)
{
    struct Case { QByteArray Rtf; QString Text; };
    const Case cases[] = {
        {"{\\rtf1 a\\cell b\\row c}", QStringLiteral("a\tb\nc")},                     // cells outside a table
        // A table at the very start follows an empty paragraph, and one always follows a table.
        {"{\\rtf1\\intbl a\\cell b", QStringLiteral("\na\nb\n")},                 // truncated in a row
        {"{\\rtf1\\trowd\\cellx-99999\\cellx99999999\\intbl a\\cell\\row}", QStringLiteral("\na\n\n")},
        {"{\\rtf1\\intbl " + QByteArray("c\\cell ").repeated(200) + "\\row}", QString()},
    };
    for (const Case& c : cases) {
        std::unique_ptr<QTextDocument> doc;
        ASSERT_NO_THROW(doc = Read(c.Rtf)) << c.Rtf.left(60).toStdString();
        if (!c.Text.isNull())
            EXPECT_EQ(doc->toPlainText(), c.Text) << c.Rtf.left(60).toStdString();
    }
    // Cells past the most a table takes go into its last column.
    const auto wide = Read("{\\rtf1\\intbl " + QByteArray("c\\cell ").repeated(200) + "\\row}");
    ASSERT_NE(FirstTable(*wide), nullptr);
    EXPECT_LE(FirstTable(*wide)->columns(), 64);
    EXPECT_EQ(wide->toPlainText().count(QLatin1Char('c')), 200);
}

TEST(RtfReader, ListLabelsAreReadWithoutLeadingSpaces)
{
    const auto doc = Read("{\\rtf1{\\listtext\\pard\\plain  1.\\tab}\\li720\\fi-360 one\\par"
                          "{\\pntext \\'b7\\tab}two\\par}");
    EXPECT_EQ(Paragraphs(*doc), (QStringList{"1.\tone", "\u00B7\ttwo"}));
}

TEST(RtfReader, KeepWithNextAndWidowControlAreKeptForPagination)
{
    const auto doc = Read("{\\rtf1\\widowctrl\\pard\\keepn a\\par\\pard b\\par\\pard\\nowidctlpar c\\par}");
    struct Case { int Block; bool Keep; bool Widow; };
    for (const Case c : {Case{0, true, true}, Case{1, false, true}, Case{2, false, false}}) {
        const QTextBlockFormat format = doc->findBlockByNumber(c.Block).blockFormat();
        EXPECT_EQ(format.boolProperty(KeepWithNextProperty), c.Keep) << c.Block;
        EXPECT_EQ(format.boolProperty(WidowControlProperty), c.Widow) << c.Block;
    }
    EXPECT_FALSE(Read("{\\rtf1 a\\par}")->begin().blockFormat().boolProperty(WidowControlProperty)) << "off unless asked";
}

TEST(RtfReader, ParagraphsNumberedByTheReaderWhenTheWriterLeftItsNumberOut)
{
    const QByteArray item = "{\\listtext\\tab}{\\*\\pn\\pnlvlbody\\pnstart3\\pnucrm{\\pntxtb (}{\\pntxta )}}";
    const auto doc = Read("{\\rtf1 " + item + "one\\par " + item + "two\\par plain\\par " + item + "again\\par"
        "{\\pntext 7.\\tab}{\\*\\pn\\pnlvlbody\\pndec}written\\par}");
    EXPECT_EQ(Paragraphs(*doc), (QStringList{"(III)\tone", "(IV)\ttwo", "plain", "(III)\tagain", "7.\twritten"}));
}

TEST(RtfReader, HeadingLevelsComeFromOutlineLevelsOrTheHeadingStyles)
{
    // A paragraph's own \outlinelevel, else its style's: the style's \outlinelevel, a built-in
    // heading name, or the level of the style it is based on. \outlinelevel9 is body text.
    const QByteArray styles = "{\\stylesheet{\\s0 Normal;}{\\s1\\outlinelevel0 Title Style;}{\\s2 heading 2;}"
                              "{\\s3\\sbasedon2 Numbered Heading 2;}{\\s4\\sbasedon5 Loop A;}{\\s5\\sbasedon4 Loop B;}"
                              "{\\*\\cs6 Heading 1;}{\\s7\\outlinelevel9 Heading 3;}{\\s8 Heading;}}";
    const auto doc = Read("{\\rtf1" + styles + "\\pard\\outlinelevel2 own\\par\\pard\\s1 titled\\par\\pard\\s2 named\\par"
        "\\pard\\s3 based\\par\\pard\\s4 loop\\par\\pard\\s6 character style\\par\\pard\\s7 body level\\par"
        "\\pard\\s8 unnumbered\\par\\pard\\s2\\outlinelevel9 overridden\\par\\pard\\outlinelevel42 out of range\\par"
        "{\\pard\\outlinelevel1 grouped\\par}after the group\\par\\pard\\outlinelevel0\\pard reset\\par}");
    const struct {
        const char* text;
        int level; // QTextBlockFormat::headingLevel: outline level + 1, 0 for body text
    } cases[] = {
        {"own", 3}, {"titled", 1}, {"named", 2}, {"based", 2}, {"loop", 0}, {"character style", 0},
        {"body level", 0}, {"unnumbered", 0}, {"overridden", 0}, {"out of range", 0}, {"grouped", 2},
        {"after the group", 0}, {"reset", 0},
    };
    const QStringList paragraphs = Paragraphs(*doc);
    for (const auto& c : cases) {
        const qsizetype block = paragraphs.indexOf(QString::fromLatin1(c.text));
        ASSERT_GE(block, 0) << c.text << " in " << paragraphs.join('|').toStdString();
        EXPECT_EQ(doc->findBlockByNumber(int(block)).blockFormat().headingLevel(), c.level) << c.text;
    }
}
