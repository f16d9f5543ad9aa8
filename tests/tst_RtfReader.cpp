// Reading RTF: each construct read into the formatting it stands for, and malformed input
// read as far as it goes or refused with the position, never a crash or a hang.
#include "platform/controls/RtfReader.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
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
    ASSERT_EQ(justified.tabPositions().size(), 2);
    EXPECT_EQ(justified.tabPositions()[1].position, 192);
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
