#include "textjobs/PJStrings.h"

#include "platform/core/ClassRegistry.h"
#include "platform/core/ComponentRegistry.h"

#include <QFontMetricsF>
#include <QHash>
#include <algorithm>
#include <array>
#include <vector>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TStringsPrintJob)

namespace {

/// Finds where the prefixes of a text stop fitting a width. Widths are those of the device
/// context; the sum of the characters' own advances gives a first guess for each piece.
/// Where that sum is exact (plain characters, and every neighbouring pair in the piece as wide
/// as its two characters apart: no kerning, no ligature), and one exact measurement of the
/// guessed prefix agrees with it, the sums decide the piece; otherwise exact measurements
/// confirm the guess (kerning makes it differ a little). Either way a piece costs a fixed
/// number of measurements, and in the plain case one, rather than one per character.
class TPrefixFinder {
public:
    TPrefixFinder(TDeviceContext* dc, const QFont& font, int maxWidth) : FDc(dc), FMetrics(font), FMaxWidth(maxWidth)
    {
        FLatin1.fill(-1);
    }

    /// The number J of characters of text from start whose prefix is the first one wider than
    /// the width, or 0 when the whole rest of the text fits.
    int FirstOverflow(const QString& text, int start)
    {
        const int rest = int(text.size()) - start;
        // FSums[k] is the sum of the advances of the first k characters.
        FSums.assign(1, 0.0);
        int j = 1;
        for (; j <= rest; ++j) {
            FSums.push_back(FSums.back() + Advance(text[start + j - 1]));
            if (FSums.back() > FMaxWidth)
                break;
        }
        j = std::min(j, rest);
        FExactUpTo = SumsExact(text, start, j) ? j : 0;
        // Confirm with the rule: prefix j too wide, prefix j - 1 not.
        while (j > 1 && Wider(text, start, j - 1))
            --j;
        while (j <= rest && !Wider(text, start, j))
            ++j;
        return j > rest ? 0 : j;
    }

private:
    double Advance(QChar c)
    {
        if (c.unicode() < FLatin1.size()) {
            double& cached = FLatin1[c.unicode()];
            if (cached < 0)
                cached = FMetrics.horizontalAdvance(c);
            return cached;
        }
        auto it = FOthers.find(c.unicode());
        if (it == FOthers.end())
            it = FOthers.insert(c.unicode(), FMetrics.horizontalAdvance(c));
        return *it;
    }

    /// Whether the sums give the exact widths of the prefixes up to length: its characters are
    /// plain, each neighbouring pair measures as its two characters apart, and the prefix of
    /// that length measures as its sum.
    bool SumsExact(const QString& text, int start, int length)
    {
        for (int k = 0; k < length; ++k) {
            const QChar c = text[start + k];
            // Marks, surrogates, controls and complex scripts shape in context. (Printable
            // ASCII, most text, is answered without the Unicode tables.)
            const bool printableAscii = c.unicode() >= 0x20 && c.unicode() < 0x7F;
            if (!printableAscii && (c.unicode() >= 0x300 || !c.isPrint()))
                return false;
            if (k > 0 && !PairAdditive(text[start + k - 1], c))
                return false;
        }
        return length > 0 && Measure(text, start, length) == qRound(FSums[size_t(length)]);
    }

    bool PairAdditive(QChar a, QChar b)
    {
        // Pairs of Latin-1 characters, asked for on nearly every character, are kept in a
        // flat table; others in a hash.
        if (a.unicode() < 256 && b.unicode() < 256) {
            if (FLatin1Pairs.empty())
                FLatin1Pairs.assign(256 * 256, -1);
            qint8& known = FLatin1Pairs[size_t(a.unicode()) << 8 | b.unicode()];
            if (known < 0)
                known = MeasuredPairAdditive(a, b) ? 1 : 0;
            return known != 0;
        }
        const quint32 key = (quint32(a.unicode()) << 16) | b.unicode();
        auto it = FPairs.constFind(key);
        if (it == FPairs.cend())
            it = FPairs.insert(key, MeasuredPairAdditive(a, b));
        return *it;
    }

    bool MeasuredPairAdditive(QChar a, QChar b)
    {
        const QChar pair[2] = {a, b};
        return FMetrics.horizontalAdvance(QString(pair, 2)) == Advance(a) + Advance(b);
    }

    bool Wider(const QString& text, int start, int length)
    {
        if (length <= FExactUpTo)
            return qRound(FSums[size_t(length)]) > FMaxWidth;
        return Measure(text, start, length) > FMaxWidth;
    }

    int Measure(const QString& text, int start, int length) const
    {
        return FDc->TextExtent(text.mid(start, length)).cx;
    }

    TDeviceContext* FDc;
    QFontMetricsF FMetrics;
    int FMaxWidth;
    std::array<double, 256> FLatin1;
    QHash<char16_t, double> FOthers;
    /// Latin-1 pairs by their two codes: -1 not measured yet, else whether additive.
    std::vector<qint8> FLatin1Pairs;
    QHash<quint32, bool> FPairs;
    std::vector<double> FSums;
    int FExactUpTo = 0;
};

/// The length of the next piece of text from start, given the first overflowing prefix
/// length j: up to the last character before j that is not a letter or digit, else the j - 1
/// characters that fit, and never less than one character.
int PieceLength(const QString& text, int start, int j)
{
    int length = std::max(j - 1, 1);
    for (int k = j - 1; k >= 1; --k)
        if (!text[start + k - 1].isLetterOrNumber()) {
            length = k;
            break;
        }
    // Never part a surrogate pair.
    if (text[start + length - 1].isHighSurrogate() && start + length < text.size())
        ++length;
    return length;
}

} // namespace

TCustomStringsPrintJob::TCustomStringsPrintJob(TComponent* AOwner)
    : TCustomPrintJob(AOwner)
    , FLines(std::make_unique<TStringList>())
    , FStrings(std::make_unique<TStringList>())
    , FFont(std::make_unique<TFont>())
{
    FFont->SetName(QStringLiteral("Courier New"));
    FFont->SetSize(12);
}

TCustomStringsPrintJob::~TCustomStringsPrintJob()
{
    BeginDestruction();
}

void TCustomStringsPrintJob::SetStrings(const TStrings* Value)
{
    FStrings->Assign(Value);
    Update();
}

void TCustomStringsPrintJob::SetStringsList(const QStringList& Value)
{
    FStrings->SetStringList(Value);
    Update();
}

void TCustomStringsPrintJob::SetFont(const TFont* Value)
{
    if (Value)
        FFont->Assign(*Value);
    Update();
}

void TCustomStringsPrintJob::SetWordWrap(bool Value)
{
    if (Value == FWordWrap)
        return;
    FWordWrap = Value;
    Update();
}

void TCustomStringsPrintJob::Update()
{
    // Setting PageCount below re-enters Update; the layout just made stands, and the lock keeps
    // that inner call from telling anyone.
    if (FLayingOut)
        return;
    LockUpdate();
    FLayingOut = true;
    try {
        if (!PrinterOK()) {
            SetPageCount(1);
        } else if (FStrings->Count() == 0) {
            FLines->Clear();
            SetPageCount(1);
        } else {
            LayOut();
        }
    } catch (...) {
        FLayingOut = false;
        UnlockUpdate();
        throw;
    }
    FLayingOut = false;
    UnlockUpdate();
    TCustomPrintJob::Update();
}

void TCustomStringsPrintJob::LayOut()
{
    // Measured on a display context whose font resolves points at the printer's resolution,
    // so every width and height is in printer pixels.
    TDeviceContext measuring(Screen().PixelsPerInch(), Screen().PixelsPerInch());
    TCanvas canvas;
    canvas.SetHandle(&measuring);
    canvas.Font()->SetPixelsPerInch(DPIY());
    canvas.Font()->Assign(*FFont);
    const TRect page = GetPageRect();
    FLines->Assign(FStrings.get());
    if (FWordWrap)
        FormatText(canvas.Handle(), FLines.get(), page.Width());
    const int lineHeight = canvas.TextHeight(QStringLiteral(" "));
    // A page lower than one line still holds one line, so the count stays defined.
    FLinesPerPage = std::max(lineHeight > 0 ? page.Height() / lineHeight : 1, 1);
    const int count = FLines->Count();
    SetPageCount(count / FLinesPerPage + (count % FLinesPerPage ? 1 : 0));
}

void TCustomStringsPrintJob::ReportProgress(int Pos, int Max)
{
    if (!FOnUpdateProgress)
        return;
    try {
        FOnUpdateProgress(this, Pos, 0, Max);
    } catch (...) {
    }
}

void TCustomStringsPrintJob::FormatText(TDeviceContext* DC, TStrings* Lines, int MaxWidth)
{
    // The pieces are collected in a new list and put in place at the end: cutting in place
    // would move every later entry for each piece.
    const QStringList entries = Lines->ToStringList();
    const int total = int(entries.size());
    TPrefixFinder finder(DC, DC->Font().ToQFont(), MaxWidth);
    QStringList laidOut;
    laidOut.reserve(total);
    for (const QString& entry : entries) {
        // The first piece's search measures the whole entry only when it may fit, so an entry
        // is not measured once more beforehand.
        const int overflow = entry.isEmpty() ? 0 : finder.FirstOverflow(entry, 0);
        if (overflow == 0) {
            laidOut << entry;
            ReportProgress(int(laidOut.size()), total);
            continue;
        }
        laidOut << entry.left(PieceLength(entry, 0, overflow));
        int start = int(laidOut.constLast().size());
        while (start < entry.size()) {
            const int overflow = finder.FirstOverflow(entry, start);
            const int length = overflow == 0 ? int(entry.size()) - start : PieceLength(entry, start, overflow);
            laidOut << entry.mid(start, length);
            start += length;
        }
    }
    Lines->SetStringList(laidOut);
}

void TCustomStringsPrintJob::DrawArea(TCanvas* TheCanvas, int PageIndex, TRect TheRect, TDrawArea Area, TDrawTarget Target)
{
    TheCanvas->Font()->Assign(*FFont);
    TheCanvas->Brush()->SetStyle(bsClear);
    if (Area != daPage) {
        TCustomPrintJob::DrawArea(TheCanvas, PageIndex, TheRect, Area, Target);
        return;
    }
    DrawLines(TheCanvas, PageIndex, TheRect);
}

void TCustomStringsPrintJob::DrawLines(TCanvas* TheCanvas, int PageIndex, const TRect& TheRect)
{
    const int count = FLines->Count();
    if (count == 0 || FLinesPerPage < 1 || PageIndex < 1)
        return;
    const qint64 first = qint64(PageIndex - 1) * FLinesPerPage;
    const qint64 height = qint64(TheRect.Bottom) - TheRect.Top;
    for (int k = 0; k < FLinesPerPage && first + k < count; ++k) {
        const int n = int(first + k);
        const int y = TheRect.Top + int(qint64(k) * height / FLinesPerPage);
        if (FWordWrap)
            TheCanvas->TextOut(TheRect.Left, y, FLines->Strings(n));
        else
            TheCanvas->TextRect({TheRect.Left, y, TheRect.Right, TheRect.Bottom}, TheRect.Left, y, FLines->Strings(n));
    }
}

void RegisterPJStrings()
{
    RegisterComponents(QStringLiteral("Print Jobs"), {QStringLiteral("TStringsPrintJob")});
}

} // namespace Vellaro
