#include "platform/controls/RtfReader.h"

#include "platform/controls/RtfTableBuilder.h"
#include "platform/core/Strings.h"

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTextBlock>
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
enum class TDestination { Text, Skip, FontTable, ColorTable, Picture, Numbering, NumberBefore, NumberAfter, StyleSheet };

/// The deepest outline level RTF gives a heading (\outlinelevel0 to 8); 9 is body text.
constexpr int MaxOutlineLevel = 8;

constexpr double TwipsPerPixel = TwipsPerDocumentPixel;

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
    int Background = 0;
    QTextCharFormat::VerticalAlignment VAlign = QTextCharFormat::AlignNormal;
    int RaiseHalfPoints = 0;
    bool Hidden = false;
    QFont::Capitalization Caps = QFont::MixedCase;
    int SkipAfterUnicode = 1;
    Qt::Alignment Alignment = Qt::AlignLeft;
    int LeftIndent = 0, RightIndent = 0, FirstIndent = 0, SpaceBefore = 0, SpaceAfter = 0;
    int LineSpacing = 0;
    bool LineMultiple = false;
    bool PageBreakBefore = false;
    bool InTable = false;
    bool KeepWithNext = false;
    int WidowControl = -1;
    int OutlineLevel = -1; ///< the heading's outline level from 0, or -1 for body text
    bool ListLabel = false;
    std::vector<std::pair<int, QTextOption::TabType>> Tabs;
    QTextOption::TabType NextTabType = QTextOption::LeftTab;
};

struct TFontEntry {
    QString Name;
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

/// A percentage of \picscalex or \picscaley as a factor; missing or zero means 100 %.
double ScaleFactor(int percent)
{
    return percent > 0 ? std::min(percent, 10000) / 100.0 : 1.0;
}

/// A grey box with a frame standing for a picture in a format that cannot be shown.
QImage PlaceholderImage(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(235, 235, 235));
    QPainter painter(&image);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    painter.drawLine(0, 0, size.width() - 1, size.height() - 1);
    painter.drawLine(0, size.height() - 1, size.width() - 1, 0);
    return image;
}

/// A picture as its group describes it: kind, own size (pixels, or hundredths of a
/// millimetre for metafiles), goal size in twips, scale and data.
struct TPicture {
    enum { Unknown, Readable, Unreadable } Kind = Unknown;
    int Width = 0, Height = 0;
    int WidthTwips = 0, HeightTwips = 0;
    double ScaleX = 1, ScaleY = 1;
    QByteArray Hex;
    QByteArray Data;
};

/// Paragraph numbering as \pn describes it.
struct TNumbering {
    enum TStyle { None, Decimal, UpperLetter, LowerLetter, UpperRoman, LowerRoman };
    bool Body = false;
    TStyle Style = None;
    int Start = 1;
    QString Before, After;
};

class TRtfReader {
public:
    TRtfReader(const QByteArray& data, QTextDocument* document)
        : FData(data), FDocument(document), FCursor(document), FTables(FCursor)
    {
    }

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
                if (c != '\r' && c != '\n') {
                    FIgnorableNext = false;
                    Character(static_cast<unsigned char>(c));
                }
            }
        }
        // A truncated document keeps what was read; its last paragraph gets its properties.
        FlushText();
        FinishPicture();
        if (FTables.InTable())
            FTables.Leave();
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
        // \* marks the destination that opens its own group, never a later one.
        FIgnorableNext = false;
        FStack.push_back(FStack.back());
    }

    void CloseGroup()
    {
        FSkip = 0;
        FIgnorableNext = false;
        FlushText();
        const TDestination closing = State().Destination;
        if (FStack.size() <= 2) {
            // The document's own group ends: anything after it is not part of the document.
            FFinished = true;
            return;
        }
        const int depth = int(FStack.size());
        FStack.pop_back();
        if (closing == TDestination::Picture && State().Destination != TDestination::Picture)
            FinishPicture();
        if (closing == TDestination::Numbering && State().Destination == TDestination::Text)
            FinishNumbering();
        if (depth == FShapePictureDepth)
            FShapePictureDepth = 0;
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
        // Binary data is never RTF, whatever destination it is in, skipped ones included.
        if (word == "bin") {
            Binary(param);
            return;
        }
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
        if (c == '*') {
            FIgnorableNext = true;
            return;
        }
        FIgnorableNext = false;
        switch (c) {
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
        if (State().Destination == TDestination::Text && !State().Hidden)
            FPendingBytes.append(char(value));
        else if (State().Destination == TDestination::FontTable)
            FFontBytes.append(char(value));
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
        case TDestination::Numbering:
        case TDestination::NumberBefore:
        case TDestination::NumberAfter: NumberingWord(word, param); return;
        case TDestination::StyleSheet: StyleSheetWord(word, param); return;
        case TDestination::Text: break;
        }
        if (TextWord(word, param))
            return;
        if (CharacterWord(word, hasParam, param))
            return;
        if (TableWord(word, param))
            return;
        ParagraphWord(word, hasParam, param);
    }

    /// Words that start a destination; true when word was one (or an ignorable unknown one).
    bool DestinationWord(const QByteArray& word, bool ignorable)
    {
        static const QByteArrayList skipped{"info", "header", "headerl", "headerr", "headerf", "footer",
            "footerl", "footerr", "footerf", "footnote", "annotation", "fldinst", "listtable", "listoverridetable",
            "revtbl", "rsidtbl", "xe", "tc", "template", "objdata", "generator", "picprop", "sp",
            "nesttableprops", "themedata", "colorschememapping", "datastore", "latentstyles", "pgdsctbl"};
        if (word == "fonttbl") {
            SetDestination(TDestination::FontTable);
            return true;
        }
        if (word == "stylesheet") {
            SetDestination(TDestination::StyleSheet);
            FStyleEntry = {};
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
        if (word == "pn") {
            SetDestination(TDestination::Numbering);
            FNumbering = {};
            return true;
        }
        if ((word == "pntxtb" || word == "pntxta") && State().Destination == TDestination::Numbering) {
            SetDestination(word == "pntxtb" ? TDestination::NumberBefore : TDestination::NumberAfter);
            return true;
        }
        // A picture in a shape, usually followed by a copy in an older format for readers
        // without shapes: the copy is read only when the shape's picture could not be shown.
        if (word == "shppict") {
            FShapePictureDepth = int(FStack.size());
            FShapePictureShown = false;
            return true;
        }
        if (word == "nonshppict") {
            if (FShapePictureShown)
                SetDestination(TDestination::Skip);
            return true;
        }
        if (word == "fldrslt" || word == "field")
            return true;
        // The label a writer put before a list item for readers without lists: read as text.
        if (word == "listtext" || word == "pntext") {
            State().ListLabel = true;
            FListLabelStart = true;
            return true;
        }
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
            {"rdblquote", 0x201D}, {"emspace", 0x2003}, {"enspace", 0x2002}, {"qmspace", 0x2005}, {"nestcell", u'\t'}};
        if (const auto it = symbols.find(word); it != symbols.end()) {
            Text(QString(QChar(it->second)));
            return true;
        }
        if (word == "par" || word == "sect" || word == "nestrow") {
            Paragraph();
            return true;
        }
        if (word == "page") {
            Paragraph();
            FPageBreakPending = true;
            return true;
        }
        if (word == "cell") {
            EndCell();
            return true;
        }
        if (word == "row") {
            EndRow();
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
        if (word == "widowctrl") {
            FWidowControl = true;
            return true;
        }
        if (word == "deftab") {
            if (param > 0)
                FDocument->setDefaultTextOption(WithTabDistance(FDocument->defaultTextOption(), PageLength(param) / TwipsPerPixel));
            return true;
        }
        return false;
    }

    static QTextOption WithTabDistance(QTextOption option, double distance)
    {
        option.setTabStopDistance(distance);
        return option;
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
            s.Bold = s.Italic = s.Underline = s.StrikeOut = s.Hidden = false;
            s.Color = s.Background = 0;
            s.VAlign = QTextCharFormat::AlignNormal;
            s.RaiseHalfPoints = 0;
            s.Caps = QFont::MixedCase;
            return true;
        }
        static const QByteArrayList words{"b", "i", "ul", "ulnone", "uld", "uldb", "ulw", "strike", "striked", "f",
            "fs", "cf", "highlight", "chcbpat", "cb", "sub", "super", "nosupersub", "up", "dn", "v", "caps", "scaps"};
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
        else if (word == "highlight" || word == "chcbpat" || word == "cb")
            s.Background = std::max(param, 0);
        else if (word == "sub")
            s.VAlign = on ? QTextCharFormat::AlignSubScript : QTextCharFormat::AlignNormal;
        else if (word == "super")
            s.VAlign = on ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignNormal;
        else if (word == "nosupersub")
            s.VAlign = QTextCharFormat::AlignNormal;
        else if (word == "up")
            s.RaiseHalfPoints = std::clamp(hasParam ? param : 6, -3276, 3276);
        else if (word == "dn")
            s.RaiseHalfPoints = -std::clamp(hasParam ? param : 6, -3276, 3276);
        else if (word == "v")
            s.Hidden = on;
        else if (word == "caps")
            s.Caps = on ? QFont::AllUppercase : QFont::MixedCase;
        else if (word == "scaps")
            s.Caps = on ? QFont::SmallCaps : QFont::MixedCase;
        return true;
    }

    void ParagraphWord(const QByteArray& word, bool hasParam, int param)
    {
        TGroupState& s = State();
        if (word == "pard") {
            const TGroupState fresh;
            s.Alignment = fresh.Alignment;
            s.LeftIndent = s.RightIndent = s.FirstIndent = s.SpaceBefore = s.SpaceAfter = s.LineSpacing = 0;
            s.LineMultiple = s.PageBreakBefore = s.InTable = s.KeepWithNext = false;
            s.WidowControl = -1;
            s.OutlineLevel = -1;
            s.Tabs.clear();
            s.NextTabType = QTextOption::LeftTab;
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
        } else if (word == "sl") {
            s.LineSpacing = PageLength(param);
        } else if (word == "slmult") {
            s.LineMultiple = param != 0;
        } else if (word == "pagebb") {
            s.PageBreakBefore = !hasParam || param != 0;
        } else if (word == "keepn") {
            s.KeepWithNext = !hasParam || param != 0;
        } else if (word == "widctlpar" || word == "nowidctlpar") {
            s.WidowControl = word == "widctlpar";
        } else if (word == "outlinelevel") {
            s.OutlineLevel = hasParam && param >= 0 && param <= MaxOutlineLevel ? param : -1;
        } else if (word == "s") {
            s.OutlineLevel = StyleOutlineLevel(param);
        } else if (word == "intbl") {
            s.InTable = true;
        } else if (word == "tqr") {
            s.NextTabType = QTextOption::RightTab;
        } else if (word == "tqc") {
            s.NextTabType = QTextOption::CenterTab;
        } else if (word == "tqdec") {
            s.NextTabType = QTextOption::DelimiterTab;
        } else if ((word == "tx" || word == "tb") && s.Tabs.size() < 64) {
            s.Tabs.emplace_back(PageLength(param), s.NextTabType);
            s.NextTabType = QTextOption::LeftTab;
        }
    }

    /// Row and cell definitions; true when word was one.
    bool TableWord(const QByteArray& word, int param)
    {
        TRtfRowDefinition& row = FTables.Definition();
        if (word == "trowd") {
            FTables.StartDefinition();
        } else if (word == "trgaph") {
            row.Gap = std::clamp(param, 0, 31680);
        } else if (word == "trleft") {
            row.LeftEdge = PageLength(param);
        } else if (word.startsWith("trpadd") && word.size() == 7) {
            if (const int side = SideOf(word.back()); side >= 0)
                row.Padding[side] = std::clamp(param, 0, 31680);
        } else if (word.startsWith("clpad") && word.size() == 6) {
            if (const int side = SideOf(word.back()); side >= 0)
                FTables.PendingCell().Padding[side] = std::clamp(param, 0, 31680);
        } else if (word == "cellx") {
            FTables.AddCell(PageLength(param));
        } else if (word.startsWith("clbrdr") && word.size() == 7) {
            FBorderSide = SideOf(word.back());
            FBorderTarget = TBorderTarget::Cell;
            if (FBorderSide >= 0)
                FTables.PendingCell().Borders[FBorderSide] = TRtfBorder{15, {}};
        } else if (word.startsWith("trbrdr") && word.size() == 7) {
            FBorderSide = SideOf(word.back());
            FBorderTarget = FBorderSide >= 0 ? TBorderTarget::Row : TBorderTarget::None;
            if (FBorderSide >= 0)
                row.Borders[FBorderSide] = TRtfBorder{15, {}};
        } else if (word == "brdrb" || word == "brdrt" || word == "brdrl" || word == "brdrr" || word == "box") {
            // A paragraph's border, which is not shown: what follows sets none of a cell's.
            FBorderTarget = TBorderTarget::None;
        } else if (word.startsWith("brdr")) {
            BorderWord(word, param);
        } else if (word == "clmgf") {
            FTables.PendingCell().MergeFirst = true;
        } else if (word == "clmrg") {
            FTables.PendingCell().Merged = true;
        } else if (word == "clvmgf") {
            FTables.PendingCell().VMergeFirst = true;
        } else if (word == "clvmrg") {
            FTables.PendingCell().VMerged = true;
        } else if (word == "clvertalc") {
            FTables.PendingCell().VAlign = Qt::AlignVCenter;
        } else if (word == "clvertalb") {
            FTables.PendingCell().VAlign = Qt::AlignBottom;
        } else if (word == "clcbpat") {
            FTables.PendingCell().Shading = Color(param);
        } else {
            return false;
        }
        return true;
    }

    static int SideOf(char c)
    {
        switch (c) {
        case 't': return TRtfRowDefinition::Top;
        case 'l': return TRtfRowDefinition::Left;
        case 'b': return TRtfRowDefinition::Bottom;
        case 'r': return TRtfRowDefinition::Right;
        default: return -1;
        }
    }

    /// The style, width and colour of the border named last (a cell's or the row's).
    void BorderWord(const QByteArray& word, int param)
    {
        if (FBorderTarget == TBorderTarget::None || FBorderSide < 0)
            return;
        TRtfBorder& border = FBorderTarget == TBorderTarget::Cell ? FTables.PendingCell().Borders[FBorderSide]
                                                                  : FTables.Definition().Borders[FBorderSide];
        if (word == "brdrw")
            border.Width = std::clamp(param, 1, 1440);
        else if (word == "brdrcf")
            border.Color = Color(param);
        else if (word == "brdrnone" || word == "brdrnil" || word == "brdrtbl")
            border.Width = 0;
    }

    /// The colour of a colour-table entry: invalid for the automatic colour or a missing entry.
    QColor Color(int index) const
    {
        return index > 0 && index < int(FColors.size()) ? FColors[size_t(index)] : QColor();
    }

    void Binary(int count)
    {
        const qsizetype length = std::clamp<qsizetype>(count, 0, FData.size() - FPos);
        if (State().Destination == TDestination::Picture)
            FPicture.Data.append(FData.mid(FPos, length));
        FPos += length;
    }

    // ---- Style sheet ------------------------------------------------------------------------

    /// Of the style sheet only what makes a paragraph a heading is read: a paragraph style's
    /// \outlinelevel, or else a name "heading N" (the built-in heading styles, which some
    /// writers give no level), and the style it is based on. Paragraphs repeat their style's
    /// formatting themselves.
    void StyleSheetWord(const QByteArray& word, int param)
    {
        if (word == "s")
            FStyleEntry.Number = param;
        else if (word == "ds" || word == "ts")
            FStyleEntry.Number = -1; // section and table styles make no headings
        else if (word == "outlinelevel")
            FStyleEntry.Level = param >= 0 && param <= MaxOutlineLevel ? param : NoOutline;
        else if (word == "sbasedon")
            FStyleEntry.BasedOn = param;
    }

    void FinishStyleEntry()
    {
        TStyleEntry entry = std::exchange(FStyleEntry, TStyleEntry{});
        if (entry.Number < 0 || FStyles.size() >= 4096)
            return;
        if (entry.Level == Unset) {
            static const QRegularExpression headingName(QStringLiteral("^heading ([1-9])$"), QRegularExpression::CaseInsensitiveOption);
            if (const QRegularExpressionMatch m = headingName.match(entry.Name.trimmed()); m.hasMatch())
                entry.Level = m.captured(1).toInt() - 1;
        }
        FStyles[entry.Number] = entry;
    }

    /// A paragraph style's outline level, through the styles it is based on; -1 for body text.
    int StyleOutlineLevel(int number) const
    {
        // A chain of styles based on each other may loop in broken input.
        for (int depth = 0; depth < 16; ++depth) {
            const auto it = FStyles.find(number);
            if (it == FStyles.end())
                return -1;
            if (it->second.Level != Unset)
                return it->second.Level == NoOutline ? -1 : it->second.Level;
            number = it->second.BasedOn;
        }
        return -1;
    }

    // ---- Font, colour and picture destinations -----------------------------------------------

    void FontTableWord(const QByteArray& word, int param)
    {
        if (word == "f") {
            FFontNumber = param;
            FFontBytes.clear();
            FFontName.clear();
        } else if (word == "fcharset") {
            FFonts[FFontNumber].CodePage = CodePageOfCharset(param);
        } else if (word == "cpg") {
            FFonts[FFontNumber].CodePage = param;
        } else if (word == "u") {
            FlushFontBytes();
            FFontName += QChar(char16_t(param < 0 ? param + 65536 : param));
            FSkip = State().SkipAfterUnicode;
        } else if (word == "uc") {
            State().SkipAfterUnicode = std::clamp(param, 0, 16);
        }
    }

    /// Font names are 8-bit text in the font's own code page, or Unicode characters.
    void FlushFontBytes()
    {
        if (FFontBytes.isEmpty())
            return;
        const int codePage = FFonts[FFontNumber].CodePage;
        FFontName += DecodeCodePage(FFontBytes, codePage ? codePage : FCodePage);
        FFontBytes.clear();
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
            FPicture.Kind = TPicture::Readable;
        else if (word == "wmetafile" || word == "emfblip" || word == "macpict" || word == "dibitmap" || word == "wbitmap"
            || word == "pmmetafile")
            FPicture.Kind = TPicture::Unreadable;
        else if (word == "picw" && hasParam)
            FPicture.Width = std::clamp(param, 0, 100000);
        else if (word == "pich" && hasParam)
            FPicture.Height = std::clamp(param, 0, 100000);
        else if (word == "picwgoal" && hasParam)
            FPicture.WidthTwips = PageLength(param);
        else if (word == "pichgoal" && hasParam)
            FPicture.HeightTwips = PageLength(param);
        else if (word == "picscalex" && hasParam)
            FPicture.ScaleX = ScaleFactor(param);
        else if (word == "picscaley" && hasParam)
            FPicture.ScaleY = ScaleFactor(param);
    }

    void FinishPicture()
    {
        const TPicture picture = std::exchange(FPicture, TPicture{});
        if (picture.Kind == TPicture::Unknown)
            return;
        QImage image;
        if (picture.Kind == TPicture::Readable) {
            const QByteArray bytes = picture.Hex.isEmpty() ? picture.Data : QByteArray::fromHex(picture.Hex);
            if (bytes.isEmpty() || !image.loadFromData(bytes))
                return;
        }
        const QSizeF size = PictureSize(picture, image);
        if (image.isNull()) {
            // A format that cannot be shown keeps its place on the page as a box of its size.
            if (size.isEmpty())
                return;
            image = PlaceholderImage(QSize(std::max(1, int(size.width())), std::max(1, int(size.height()))));
        }
        const QUrl name(QStringLiteral("rtfimage://%1").arg(++FImageCount));
        FDocument->addResource(QTextDocument::ImageResource, name, image);
        QTextImageFormat format;
        format.setName(name.toString());
        if (!size.isEmpty()) {
            format.setWidth(size.width());
            format.setHeight(size.height());
        }
        if (State().Destination == TDestination::Text || State().Destination == TDestination::Picture) {
            PrepareForText();
            FCursor.insertImage(format);
        }
        if (FShapePictureDepth > 0)
            FShapePictureShown = true;
    }

    /// The picture's size in document pixels: its goal size, or its own, scaled; a missing
    /// side follows the other at the picture's aspect. Empty when nothing tells it.
    static QSizeF PictureSize(const TPicture& picture, const QImage& image)
    {
        double width = picture.WidthTwips > 0 ? picture.WidthTwips / TwipsPerPixel : 0;
        double height = picture.HeightTwips > 0 ? picture.HeightTwips / TwipsPerPixel : 0;
        // Metafile extents are in hundredths of a millimetre; bitmaps count pixels.
        const double ownPerPixel = image.isNull() ? 2540.0 / DocumentPixelsPerInch : 1.0;
        const QSizeF own = image.isNull() ? QSizeF(picture.Width / ownPerPixel, picture.Height / ownPerPixel) : QSizeF(image.size());
        if (width == 0 && height == 0) {
            width = own.width();
            height = own.height();
        } else if (height == 0 && own.width() > 0) {
            height = width * own.height() / own.width();
        } else if (width == 0 && own.height() > 0) {
            width = height * own.width() / own.height();
        }
        const double limit = 31680 / TwipsPerPixel;
        return {std::min(width * picture.ScaleX, limit), std::min(height * picture.ScaleY, limit)};
    }

    // ---- Paragraph numbering -----------------------------------------------------------------

    void NumberingWord(const QByteArray& word, int param)
    {
        static const std::map<QByteArray, TNumbering::TStyle> styles{{"pndec", TNumbering::Decimal},
            {"pnucltr", TNumbering::UpperLetter}, {"pnlcltr", TNumbering::LowerLetter}, {"pnucrm", TNumbering::UpperRoman},
            {"pnlcrm", TNumbering::LowerRoman}};
        if (word == "pnlvlbody")
            FNumbering.Body = true;
        else if (word == "pnstart")
            FNumbering.Start = std::clamp(param, 0, 32767);
        else if (const auto it = styles.find(word); it != styles.end())
            FNumbering.Style = it->second;
    }

    /// A numbered paragraph whose writer left its number to the reader (an empty list label):
    /// the number goes before its text, counting on from the numbered paragraph before it.
    void FinishNumbering()
    {
        if (!FNumbering.Body || FNumbering.Style == TNumbering::None)
            return;
        FNumber = FPreviousNumbered ? FNumber + 1 : FNumbering.Start;
        FParagraphNumbered = true;
        FlushText();
        PrepareForText();
        const QTextBlock block = FCursor.block();
        if (!block.text().trimmed().isEmpty())
            return;
        QTextCursor start(block);
        start.insertText(FNumbering.Before + NumberText(FNumber, FNumbering.Style) + FNumbering.After, FCursor.charFormat());
    }

    static QString NumberText(int number, TNumbering::TStyle style)
    {
        switch (style) {
        case TNumbering::UpperLetter:
        case TNumbering::LowerLetter: {
            QString letters;
            for (int n = std::max(number, 1); n > 0; n = (n - 1) / 26)
                letters.prepend(QChar(char16_t((style == TNumbering::UpperLetter ? u'A' : u'a') + (n - 1) % 26)));
            return letters;
        }
        case TNumbering::UpperRoman:
        case TNumbering::LowerRoman: {
            static const std::pair<int, const char*> numerals[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"},
                {100, "c"}, {90, "xc"}, {50, "l"}, {40, "xl"}, {10, "x"}, {9, "ix"}, {5, "v"}, {4, "iv"}, {1, "i"}};
            QString roman;
            int n = std::clamp(number, 1, 3999);
            for (const auto& [value, text] : numerals)
                for (; n >= value; n -= value)
                    roman += QLatin1String(text);
            return style == TNumbering::UpperRoman ? roman.toUpper() : roman;
        }
        default: return QString::number(number);
        }
    }

    // ---- Tables ---------------------------------------------------------------------------

    /// Outside a table, a cell ends as a tab and a row as a paragraph, as older readers show them.
    bool OutsideTables() const { return !FStack.back().InTable && !FTables.InTable(); }

    void EndCell()
    {
        if (State().Destination != TDestination::Text)
            return;
        if (OutsideTables()) {
            Text(QStringLiteral("\t"));
            return;
        }
        PrepareForText();
        FlushText();
        FCursor.setBlockFormat(BlockFormat());
        FBreakPending = false;
        FTables.NextCell();
    }

    void EndRow()
    {
        if (State().Destination != TDestination::Text)
            return;
        if (OutsideTables()) {
            Paragraph();
            return;
        }
        FlushText();
        if (!FTables.InRow())
            return;
        FTables.EndRow();
        FBreakPending = false;
    }

    // ---- Text -----------------------------------------------------------------------------

    void Character(unsigned char c)
    {
        if (ConsumeSkipped())
            return;
        switch (State().Destination) {
        case TDestination::Text:
            if (State().Hidden)
                return;
            // Spaces before a list label are not shown (the label stands at the indent).
            if (State().ListLabel && std::exchange(FListLabelStart, false) && c == ' ') {
                FListLabelStart = true;
                return;
            }
            if (c == '\t')
                Text(QStringLiteral("\t"));
            else if (c >= 0x20)
                FPendingBytes.append(char(c));
            return;
        case TDestination::FontTable:
            if (c == ';') {
                FlushFontBytes();
                FFonts[FFontNumber].Name = FFontName.trimmed();
                FFontName.clear();
            } else if (c >= 0x20) {
                FFontBytes.append(char(c));
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
        case TDestination::NumberBefore:
        case TDestination::NumberAfter:
            if (c >= 0x20 && c < 0x80)
                (State().Destination == TDestination::NumberBefore ? FNumbering.Before : FNumbering.After) += QLatin1Char(char(c));
            return;
        case TDestination::StyleSheet:
            if (c == ';')
                FinishStyleEntry();
            else if (c >= 0x20 && c < 0x80)
                FStyleEntry.Name += QLatin1Char(char(c));
            return;
        case TDestination::Numbering:
        case TDestination::Skip: return;
        }
    }

    void Text(const QString& text)
    {
        if (State().Destination != TDestination::Text || State().Hidden)
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
        PrepareForText();
        FCursor.insertText(FPendingText, CharFormat());
        FPendingText.clear();
    }

    /// Puts the cursor where the next text goes: into a table's cell or out of the table, and
    /// into a new paragraph when the last one ended.
    void PrepareForText()
    {
        if (State().InTable && !FTables.InRow()) {
            // The row replaces the paragraph that would have followed the last one.
            FlushBytes();
            FTables.StartRow();
            FBreakPending = false;
        } else if (!State().InTable && FTables.InTable()) {
            FTables.Leave();
            FBreakPending = false;
        }
        if (FTables.InRow())
            FTables.EnterCell();
        BreakIfPending();
    }

    void Paragraph()
    {
        if (ConsumeSkipped() || State().Destination != TDestination::Text)
            return;
        FlushText();
        PrepareForText();
        // The properties in force at the paragraph mark belong to the paragraph it ends; the
        // next paragraph begins only when something follows.
        FCursor.setBlockFormat(BlockFormat());
        FBreakPending = true;
        FPreviousNumbered = std::exchange(FParagraphNumbered, false);
        // A \page before the paragraph breaks the page before it, not before the next one.
        FPageBreakPending = false;
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
            format.setFontFamilies(QStringList{font->second.Name});
        format.setFontPointSize(s.HalfPoints / 2.0);
        format.setFontWeight(s.Bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(s.Italic);
        format.setFontUnderline(s.Underline);
        format.setFontStrikeOut(s.StrikeOut);
        if (const QColor color = Color(s.Color); color.isValid())
            format.setForeground(color);
        if (const QColor color = Color(s.Background); color.isValid())
            format.setBackground(color);
        if (s.VAlign != QTextCharFormat::AlignNormal)
            format.setVerticalAlignment(s.VAlign);
        if (s.RaiseHalfPoints != 0)
            format.setBaselineOffset(100.0 * s.RaiseHalfPoints / s.HalfPoints);
        if (s.Caps != QFont::MixedCase)
            format.setFontCapitalization(s.Caps);
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
        if (s.LineSpacing != 0) {
            if (s.LineMultiple)
                format.setLineHeight(std::abs(s.LineSpacing) * 100.0 / 240, QTextBlockFormat::ProportionalHeight);
            else if (s.LineSpacing > 0)
                format.setLineHeight(s.LineSpacing / TwipsPerPixel, QTextBlockFormat::MinimumHeight);
            else
                format.setLineHeight(-s.LineSpacing / TwipsPerPixel, QTextBlockFormat::FixedHeight);
        }
        if (s.PageBreakBefore || FPageBreakPending)
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        format.setTabPositions(TabStops(s));
        if (s.KeepWithNext)
            format.setProperty(KeepWithNextProperty, true);
        if (s.OutlineLevel >= 0)
            format.setHeadingLevel(s.OutlineLevel + 1);
        if (s.WidowControl == 1 || (s.WidowControl == -1 && FWidowControl))
            format.setProperty(WidowControlProperty, true);
        return format;
    }

    /// The paragraph's tab stops as the layout measures them: from the start of the first
    /// line, where RTF measures from the left edge of the text. A hanging indent is a tab stop
    /// of its own, so a list's text after its bullet lines up with the lines below it.
    static QList<QTextOption::Tab> TabStops(const TGroupState& s)
    {
        const int lineStart = s.LeftIndent + s.FirstIndent;
        std::vector<std::pair<int, QTextOption::TabType>> stops = s.Tabs;
        if (s.FirstIndent < 0)
            stops.emplace_back(s.LeftIndent, QTextOption::LeftTab);
        std::sort(stops.begin(), stops.end());
        QList<QTextOption::Tab> tabs;
        for (const auto& [position, type] : stops) {
            if (position <= lineStart || (!tabs.isEmpty() && tabs.back().position == (position - lineStart) / TwipsPerPixel))
                continue;
            QTextOption::Tab tab((position - lineStart) / TwipsPerPixel, type);
            if (type == QTextOption::DelimiterTab)
                tab.delimiter = QLatin1Char('.');
            tabs << tab;
        }
        return tabs;
    }

    enum class TBorderTarget { None, Cell, Row };

    const QByteArray& FData;
    QTextDocument* FDocument;
    QTextCursor FCursor;
    TRtfTableBuilder FTables;
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
    /// A paragraph style as far as headings go: Level is Unset when the style says nothing
    /// (its base style may), NoOutline for body text.
    static constexpr int Unset = -2, NoOutline = -1;
    struct TStyleEntry {
        int Number = 0; ///< \s0 may be left out
        int Level = Unset;
        int BasedOn = -1;
        QString Name;
    };
    TStyleEntry FStyleEntry;
    std::map<int, TStyleEntry> FStyles;
    QByteArray FFontBytes;
    QString FFontName;
    std::vector<QColor> FColors;
    bool FColorSet = false;
    int FRed = 0, FGreen = 0, FBlue = 0;
    TPicture FPicture;
    int FShapePictureDepth = 0;
    bool FShapePictureShown = false;
    TBorderTarget FBorderTarget = TBorderTarget::None;
    int FBorderSide = -1;
    bool FBreakPending = false;
    bool FPageBreakPending = false;
    bool FListLabelStart = false;
    TNumbering FNumbering;
    int FNumber = 0;
    bool FParagraphNumbered = false, FPreviousNumbered = false;
    bool FWidowControl = false;
    int FImageCount = 0;
    QByteArray FPendingBytes;
    QString FPendingText;
};

} // namespace

void ReadRtf(const QByteArray& data, QTextDocument* document)
{
    document->clear();
    // As word processors lay text out: tab stops every half inch unless \deftab says otherwise,
    // and a word too long for its line (or table cell) overflows it rather than being parted.
    QTextOption option = document->defaultTextOption();
    option.setTabStopDistance(720 / TwipsPerDocumentPixel);
    option.setWrapMode(QTextOption::WordWrap);
    document->setDefaultTextOption(option);
    TRtfReader reader(data, document);
    reader.Read();
}

} // namespace Vellaro
