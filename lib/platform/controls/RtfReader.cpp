#include "platform/controls/RtfReader.h"

#include "platform/core/Strings.h"

#include <QImage>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>
#include <cctype>
#include <map>
#include <utility>
#include <vector>

namespace Vellaro {

namespace {

/// Where the text of a group goes.
enum class TDestination { Text, Skip, FontTable, ColorTable, Picture };

/// Lengths in RTF are twips; the document measures in pixels of a 96 dpi screen.
constexpr double TwipsPerPixel = 15.0;

/// A length as large as a page can be (22 inches) at most, so hostile values cannot make the
/// layout of a page enormous.
int PageLength(int twips)
{
    return std::clamp(twips, -31680, 31680);
}

/// What a group carries: its destination and the character and paragraph properties in force.
struct TGroupState {
    TDestination Destination = TDestination::Text;
    int Font = -1;
    int HalfPoints = 24;
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
    int Color = 0;
    int SkipAfterUnicode = 1;
    Qt::Alignment Alignment = Qt::AlignLeft;
    int LeftIndent = 0, RightIndent = 0, FirstIndent = 0, SpaceBefore = 0, SpaceAfter = 0;
    std::vector<int> Tabs;
};

struct TFontEntry {
    QByteArray Name;
    int CodePage = 0;
};

/// The code page of a font character set (0 when the document's own applies).
int CodePageOfCharset(int charset)
{
    static const std::map<int, int> pages{{0, 1252}, {128, 932}, {129, 949}, {134, 936}, {136, 950}, {161, 1253},
        {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251}, {222, 874}, {238, 1250}};
    const auto it = pages.find(charset);
    return it == pages.end() ? 0 : it->second;
}

class TRtfReader {
public:
    TRtfReader(const QByteArray& data, QTextDocument* document) : FData(data), FDocument(document), FCursor(document) {}

    void Read()
    {
        if (!FData.startsWith("{\\rtf"))
            throw ERtfError(QStringLiteral("Not an RTF document at position 0"));
        const qsizetype size = FData.size();
        while (FPos < size && !FFinished) {
            const char c = FData[FPos];
            if (c == '{') {
                ++FPos;
                OpenGroup();
            } else if (c == '}') {
                ++FPos;
                CloseGroup();
            } else if (c == '\\') {
                ++FPos;
                ReadControl();
            } else {
                ++FPos;
                if (c != '\r' && c != '\n')
                    Character(static_cast<unsigned char>(c));
            }
        }
        // A truncated document keeps what was read; its last paragraph gets its properties.
        FlushText();
        FinishPicture();
        // A paragraph mark at the very end is the document's own last mark, not an empty paragraph.
        if (!FBreakPending)
            FCursor.setBlockFormat(BlockFormat());
    }

private:
    TGroupState& State() { return FStack.back(); }

    // ---- Groups ---------------------------------------------------------------------------

    void OpenGroup()
    {
        FSkip = 0;
        if (int(FStack.size()) >= MaxRtfGroupDepth)
            throw ERtfError(QStringLiteral("RTF groups nested deeper than %1 at position %2").arg(MaxRtfGroupDepth).arg(FPos - 1));
        FStack.push_back(FStack.back());
    }

    void CloseGroup()
    {
        FSkip = 0;
        FlushText();
        const TDestination closing = State().Destination;
        if (FStack.size() <= 2) {
            // The document's own group ends: anything after it is not part of the document.
            FFinished = true;
            return;
        }
        FStack.pop_back();
        if (closing == TDestination::Picture && State().Destination != TDestination::Picture)
            FinishPicture();
    }

    void SetDestination(TDestination destination)
    {
        State().Destination = destination;
        if (destination == TDestination::Picture)
            FPicture = {};
    }

    // ---- Control words --------------------------------------------------------------------

    void ReadControl()
    {
        const qsizetype size = FData.size();
        if (FPos >= size)
            return;
        const char first = FData[FPos];
        if (!std::isalpha(static_cast<unsigned char>(first))) {
            ++FPos;
            Symbol(first);
            return;
        }
        const qsizetype start = FPos;
        while (FPos < size && std::isalpha(static_cast<unsigned char>(FData[FPos])))
            ++FPos;
        const QByteArray word = FData.mid(start, std::min<qsizetype>(FPos - start, 32));
        bool hasParam = false;
        bool negative = false;
        long long value = 0;
        if (FPos < size && FData[FPos] == '-' && FPos + 1 < size && std::isdigit(static_cast<unsigned char>(FData[FPos + 1]))) {
            negative = true;
            ++FPos;
        }
        while (FPos < size && std::isdigit(static_cast<unsigned char>(FData[FPos]))) {
            hasParam = true;
            // Longer numbers than RTF allows are kept at the limit.
            value = std::min(value * 10 + (FData[FPos] - '0'), 2147483647LL);
            ++FPos;
        }
        if (FPos < size && FData[FPos] == ' ')
            ++FPos;
        const int param = int(negative ? -value : value);
        if (ConsumeSkipped())
            return;
        Word(word, hasParam, param);
    }

    /// A character after \uN stands in for it; control words count as one such character.
    bool ConsumeSkipped()
    {
        if (FSkip <= 0)
            return false;
        --FSkip;
        return true;
    }

    void Symbol(char c)
    {
        switch (c) {
        case '*': FIgnorableNext = true; return;
        case '\'': HexByte(); return;
        case '\r':
        case '\n': Paragraph(); return;
        default: break;
        }
        if (ConsumeSkipped())
            return;
        switch (c) {
        case '\\':
        case '{':
        case '}': Character(static_cast<unsigned char>(c)); break;
        case '~': Text(QString(QChar(0x00A0))); break;
        case '_': Text(QString(QChar(0x2011))); break;
        case '-': Text(QString(QChar(0x00AD))); break;
        case '|':
        case ':': break;
        default: break;
        }
    }

    void HexByte()
    {
        const qsizetype size = FData.size();
        int value = 0, digits = 0;
        while (digits < 2 && FPos < size && std::isxdigit(static_cast<unsigned char>(FData[FPos]))) {
            value = value * 16 + QByteArray(1, FData[FPos]).toInt(nullptr, 16);
            ++FPos;
            ++digits;
        }
        if (ConsumeSkipped() || digits == 0)
            return;
        if (State().Destination == TDestination::Text)
            FPendingBytes.append(char(value));
        else if (State().Destination == TDestination::FontTable)
            FFontName.append(char(value));
    }

    void Word(const QByteArray& word, bool hasParam, int param)
    {
        const bool ignorable = FIgnorableNext;
        FIgnorableNext = false;
        if (State().Destination == TDestination::Skip)
            return;
        if (DestinationWord(word, ignorable))
            return;
        TGroupState& s = State();
        switch (s.Destination) {
        case TDestination::Skip: return;
        case TDestination::FontTable: FontTableWord(word, param); return;
        case TDestination::ColorTable: ColorTableWord(word, param); return;
        case TDestination::Picture: PictureWord(word, hasParam, param); return;
        case TDestination::Text: break;
        }
        if (word == "bin") {
            SkipBinary(param);
            return;
        }
        if (TextWord(word, param))
            return;
        if (CharacterWord(word, hasParam, param))
            return;
        ParagraphWord(word, param);
    }

    /// Words that start a destination; true when word was one (or an ignorable unknown one).
    bool DestinationWord(const QByteArray& word, bool ignorable)
    {
        static const QByteArrayList skipped{"stylesheet", "info", "header", "headerl", "headerr", "headerf", "footer",
            "footerl", "footerr", "footerf", "footnote", "annotation", "fldinst", "nonshppict", "listtable",
            "listoverridetable", "revtbl", "rsidtbl", "xe", "tc", "template", "objdata", "pn", "generator"};
        if (word == "fonttbl") {
            SetDestination(TDestination::FontTable);
            return true;
        }
        if (word == "colortbl") {
            SetDestination(TDestination::ColorTable);
            FColors.clear();
            FColorSet = false;
            FRed = FGreen = FBlue = 0;
            return true;
        }
        if (word == "pict") {
            SetDestination(TDestination::Picture);
            return true;
        }
        // Word processors wrap the picture that they want read in a destination of this name.
        if (word == "shppict" || word == "fldrslt" || word == "field")
            return true;
        if (skipped.contains(word) || ignorable) {
            SetDestination(TDestination::Skip);
            return true;
        }
        return false;
    }

    bool TextWord(const QByteArray& word, int param)
    {
        static const std::map<QByteArray, char16_t> symbols{{"tab", u'\t'}, {"line", 0x2028}, {"emdash", 0x2014},
            {"endash", 0x2013}, {"bullet", 0x2022}, {"lquote", 0x2018}, {"rquote", 0x2019}, {"ldblquote", 0x201C},
            {"rdblquote", 0x201D}, {"emspace", 0x2003}, {"enspace", 0x2002}, {"qmspace", 0x2005}, {"cell", u'\t'}};
        if (const auto it = symbols.find(word); it != symbols.end()) {
            Text(QString(QChar(it->second)));
            return true;
        }
        if (word == "par" || word == "row" || word == "page" || word == "sect") {
            Paragraph();
            return true;
        }
        if (word == "u") {
            Text(QString(QChar(char16_t(param < 0 ? param + 65536 : param))));
            FSkip = State().SkipAfterUnicode;
            return true;
        }
        if (word == "uc") {
            State().SkipAfterUnicode = std::clamp(param, 0, 16);
            return true;
        }
        if (word == "ansicpg") {
            FCodePage = param;
            return true;
        }
        if (word == "deff") {
            FDefaultFont = param;
            State().Font = param;
            return true;
        }
        return false;
    }

    bool CharacterWord(const QByteArray& word, bool hasParam, int param)
    {
        const bool on = !hasParam || param != 0;
        TGroupState& s = State();
        if (word == "plain") {
            FlushText();
            const TGroupState fresh;
            s.Font = FDefaultFont;
            s.HalfPoints = fresh.HalfPoints;
            s.Bold = s.Italic = s.Underline = s.StrikeOut = false;
            s.Color = 0;
            return true;
        }
        static const QByteArrayList words{"b", "i", "ul", "ulnone", "uld", "uldb", "ulw", "strike", "striked", "f", "fs", "cf"};
        if (!words.contains(word))
            return false;
        FlushText();
        if (word == "b")
            s.Bold = on;
        else if (word == "i")
            s.Italic = on;
        else if (word == "ul" || word == "uld" || word == "uldb" || word == "ulw")
            s.Underline = on;
        else if (word == "ulnone")
            s.Underline = false;
        else if (word == "strike" || word == "striked")
            s.StrikeOut = on;
        else if (word == "f")
            s.Font = param;
        else if (word == "fs" && param > 0)
            s.HalfPoints = std::min(param, 3276);
        else if (word == "cf")
            s.Color = param;
        return true;
    }

    void ParagraphWord(const QByteArray& word, int param)
    {
        TGroupState& s = State();
        if (word == "pard") {
            const TGroupState fresh;
            s.Alignment = fresh.Alignment;
            s.LeftIndent = s.RightIndent = s.FirstIndent = s.SpaceBefore = s.SpaceAfter = 0;
            s.Tabs.clear();
        } else if (word == "ql") {
            s.Alignment = Qt::AlignLeft;
        } else if (word == "qr") {
            s.Alignment = Qt::AlignRight;
        } else if (word == "qc") {
            s.Alignment = Qt::AlignHCenter;
        } else if (word == "qj") {
            s.Alignment = Qt::AlignJustify;
        } else if (word == "li") {
            s.LeftIndent = PageLength(param);
        } else if (word == "ri") {
            s.RightIndent = PageLength(param);
        } else if (word == "fi") {
            s.FirstIndent = PageLength(param);
        } else if (word == "sb") {
            s.SpaceBefore = std::max(PageLength(param), 0);
        } else if (word == "sa") {
            s.SpaceAfter = std::max(PageLength(param), 0);
        } else if (word == "tx" && s.Tabs.size() < 64) {
            s.Tabs.push_back(PageLength(param));
        }
    }

    void SkipBinary(int count)
    {
        FPos += std::clamp<qsizetype>(count, 0, FData.size() - FPos);
    }

    // ---- Tables ---------------------------------------------------------------------------

    void FontTableWord(const QByteArray& word, int param)
    {
        if (word == "f") {
            FFontNumber = param;
            FFontName.clear();
        } else if (word == "fcharset") {
            FFonts[FFontNumber].CodePage = CodePageOfCharset(param);
        } else if (word == "cpg") {
            FFonts[FFontNumber].CodePage = param;
        }
    }

    void ColorTableWord(const QByteArray& word, int param)
    {
        const int component = std::clamp(param, 0, 255);
        if (word == "red")
            FRed = component;
        else if (word == "green")
            FGreen = component;
        else if (word == "blue")
            FBlue = component;
        else
            return;
        FColorSet = true;
    }

    void PictureWord(const QByteArray& word, bool hasParam, int param)
    {
        if (word == "pngblip" || word == "jpegblip")
            FPicture.Supported = true;
        else if (word == "wmetafile" || word == "emfblip" || word == "macpict" || word == "dibitmap" || word == "wbitmap")
            FPicture.Supported = false;
        else if (word == "picwgoal" && hasParam)
            FPicture.WidthTwips = PageLength(param);
        else if (word == "pichgoal" && hasParam)
            FPicture.HeightTwips = PageLength(param);
        else if (word == "bin") {
            const qsizetype count = std::clamp<qsizetype>(param, 0, FData.size() - FPos);
            FPicture.Data.append(FData.mid(FPos, count));
            FPos += count;
        }
    }

    void FinishPicture()
    {
        if (!FPicture.Supported)
            return;
        const TPicture picture = std::exchange(FPicture, TPicture{});
        const QByteArray bytes = picture.Hex.isEmpty() ? picture.Data : QByteArray::fromHex(picture.Hex);
        QImage image;
        if (bytes.isEmpty() || !image.loadFromData(bytes))
            return;
        const QUrl name(QStringLiteral("rtfimage://%1").arg(++FImageCount));
        FDocument->addResource(QTextDocument::ImageResource, name, image);
        QTextImageFormat format;
        format.setName(name.toString());
        if (picture.WidthTwips > 0)
            format.setWidth(picture.WidthTwips / TwipsPerPixel);
        if (picture.HeightTwips > 0)
            format.setHeight(picture.HeightTwips / TwipsPerPixel);
        BreakIfPending();
        FCursor.insertImage(format);
    }

    // ---- Text -----------------------------------------------------------------------------

    void Character(unsigned char c)
    {
        if (ConsumeSkipped())
            return;
        switch (State().Destination) {
        case TDestination::Text:
            if (c == '\t')
                Text(QStringLiteral("\t"));
            else if (c >= 0x20)
                FPendingBytes.append(char(c));
            return;
        case TDestination::FontTable:
            if (c == ';') {
                FFonts[FFontNumber].Name = FFontName.trimmed();
                FFontName.clear();
            } else if (c >= 0x20) {
                FFontName.append(char(c));
            }
            return;
        case TDestination::ColorTable:
            if (c == ';') {
                FColors.push_back(FColorSet ? QColor(FRed, FGreen, FBlue) : QColor());
                FColorSet = false;
                FRed = FGreen = FBlue = 0;
            }
            return;
        case TDestination::Picture:
            if (std::isxdigit(c))
                FPicture.Hex.append(char(c));
            return;
        case TDestination::Skip: return;
        }
    }

    void Text(const QString& text)
    {
        if (State().Destination != TDestination::Text)
            return;
        FlushBytes();
        FPendingText += text;
    }

    void FlushBytes()
    {
        if (FPendingBytes.isEmpty())
            return;
        const auto font = FFonts.find(State().Font);
        const int codePage = font != FFonts.end() && font->second.CodePage ? font->second.CodePage : FCodePage;
        FPendingText += DecodeCodePage(FPendingBytes, codePage);
        FPendingBytes.clear();
    }

    void FlushText()
    {
        FlushBytes();
        if (FPendingText.isEmpty())
            return;
        BreakIfPending();
        FCursor.insertText(FPendingText, CharFormat());
        FPendingText.clear();
    }

    void Paragraph()
    {
        if (ConsumeSkipped() || State().Destination != TDestination::Text)
            return;
        FlushText();
        BreakIfPending();
        // The properties in force at the paragraph mark belong to the paragraph it ends; the
        // next paragraph begins only when something follows.
        FCursor.setBlockFormat(BlockFormat());
        FBreakPending = true;
    }

    void BreakIfPending()
    {
        if (!FBreakPending)
            return;
        FBreakPending = false;
        FCursor.insertBlock(BlockFormat(), CharFormat());
    }

    QTextCharFormat CharFormat()
    {
        const TGroupState& s = State();
        QTextCharFormat format;
        const auto font = FFonts.find(s.Font);
        if (font != FFonts.end() && !font->second.Name.isEmpty())
            format.setFontFamilies(QStringList{DecodeCodePage(font->second.Name, font->second.CodePage ? font->second.CodePage : FCodePage)});
        format.setFontPointSize(s.HalfPoints / 2.0);
        format.setFontWeight(s.Bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(s.Italic);
        format.setFontUnderline(s.Underline);
        format.setFontStrikeOut(s.StrikeOut);
        if (s.Color > 0 && s.Color < int(FColors.size()) && FColors[size_t(s.Color)].isValid())
            format.setForeground(FColors[size_t(s.Color)]);
        return format;
    }

    QTextBlockFormat BlockFormat()
    {
        const TGroupState& s = State();
        QTextBlockFormat format;
        format.setAlignment(s.Alignment);
        format.setLeftMargin(s.LeftIndent / TwipsPerPixel);
        format.setRightMargin(s.RightIndent / TwipsPerPixel);
        format.setTextIndent(s.FirstIndent / TwipsPerPixel);
        format.setTopMargin(s.SpaceBefore / TwipsPerPixel);
        format.setBottomMargin(s.SpaceAfter / TwipsPerPixel);
        QList<QTextOption::Tab> tabs;
        for (int tab : s.Tabs)
            tabs << QTextOption::Tab(tab / TwipsPerPixel, QTextOption::LeftTab);
        if (!tabs.isEmpty())
            format.setTabPositions(tabs);
        return format;
    }

    struct TPicture {
        bool Supported = false;
        int WidthTwips = 0, HeightTwips = 0;
        QByteArray Hex;
        QByteArray Data;
    };

    const QByteArray& FData;
    QTextDocument* FDocument;
    QTextCursor FCursor;
    qsizetype FPos = 0;
    bool FFinished = false;
    // The bottom entry stands for the state outside every group.
    std::vector<TGroupState> FStack{TGroupState{}};
    int FSkip = 0;
    bool FIgnorableNext = false;
    int FCodePage = 1252;
    int FDefaultFont = -1;
    std::map<int, TFontEntry> FFonts;
    int FFontNumber = 0;
    QByteArray FFontName;
    std::vector<QColor> FColors;
    bool FColorSet = false;
    int FRed = 0, FGreen = 0, FBlue = 0;
    TPicture FPicture;
    bool FBreakPending = false;
    int FImageCount = 0;
    QByteArray FPendingBytes;
    QString FPendingText;
};

} // namespace

void ReadRtf(const QByteArray& data, QTextDocument* document)
{
    document->clear();
    TRtfReader reader(data, document);
    reader.Read();
}

} // namespace Vellaro
