#include "job/VLFind.h"

#include <QFont>
#include <QFontMetricsF>
#include <cmath>

namespace Vellaro {

namespace {
bool IsWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

QFont RecordFont(const TDrawRecord& Record)
{
    QFont font(Record.FontName);
    font.setPixelSize(std::max(1, std::abs(Record.FontHeight)));
    font.setBold(Record.FontStyle & TFontStyles(fsBold));
    font.setItalic(Record.FontStyle & TFontStyles(fsItalic));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

bool IsWholeWord(const QString& haystack, int start, int length)
{
    const bool startsWord = start == 0 || !IsWordCharacter(haystack[start - 1]);
    const int end = start + length;
    const bool endsWord = end >= haystack.size() || !IsWordCharacter(haystack[end]);
    return startsWord && endsWord;
}
} // namespace

std::vector<TDrawRecord> DrawnTexts(TCustomPrintJob& Job, int PageIndex)
{
    TDrawRecorder recorder;
    const int dpiX = Job.DPIX();
    const int dpiY = Job.DPIY();
    TDeviceContext dc(&recorder, dpiX, dpiY);
    const TRect sheet = Job.GetSheetRect();
    dc.SetDeviceSize(QSize(sheet.Width(), sheet.Height()));
    // The pane's mapping at one device pixel per printer pixel: what the page shows, where.
    SetMapMode(&dc, MM_ANISOTROPIC);
    SetWindowExtEx(&dc, sheet.Width(), sheet.Height(), nullptr);
    SetViewportExtEx(&dc, sheet.Width(), sheet.Height(), nullptr);
    TCanvas canvas;
    canvas.SetHandle(&dc);
    canvas.Font()->SetPixelsPerInch(std::min(dpiX, dpiY));
    Job.Draw(&canvas, PageIndex, dtPreview);
    std::vector<TDrawRecord> texts;
    for (const TDrawRecord& record : recorder.Page(0))
        if (record.Kind == TDrawRecord::drText)
            texts.push_back(record);
    return texts;
}

std::vector<int> FindInString(const QString& Haystack, const QString& Text, TFindOptions Options)
{
    std::vector<int> starts;
    if (Text.isEmpty())
        return starts;
    const Qt::CaseSensitivity cs = Options.Contains(foMatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qsizetype at = Haystack.indexOf(Text, 0, cs); at >= 0; at = Haystack.indexOf(Text, at + 1, cs)) {
        if (Options.Contains(foWholeWord) && !IsWholeWord(Haystack, int(at), int(Text.size())))
            continue;
        starts.push_back(int(at));
        at += Text.size() - 1; // matches do not overlap
    }
    return starts;
}

TRect TextPieceRect(const TDrawRecord& Record, int Start, int Length)
{
    const QFontMetricsF metrics(RecordFont(Record));
    const double whole = metrics.horizontalAdvance(Record.Text);
    const TRect box = Record.Rect;
    if (!(whole > 0))
        return box;
    // The record's box is the text as drawn; the font's advances share it out.
    const double scale = box.Width() / whole;
    const int left = box.Left + int(std::lround(metrics.horizontalAdvance(Record.Text.left(Start)) * scale));
    const int right = box.Left + int(std::lround(metrics.horizontalAdvance(Record.Text.left(Start + Length)) * scale));
    return {left, box.Top, std::max(right, left + 1), box.Bottom};
}

namespace {
/// Where a text call's baseline lies, in device pixels: its box starts at the top of the
/// font's line, the baseline an ascent below.
double Baseline(const TDrawRecord& Record)
{
    const QFontMetricsF metrics(RecordFont(Record));
    const double height = metrics.height();
    return height > 0 ? Record.Rect.Top + Record.Rect.Height() * metrics.ascent() / height : Record.Rect.Bottom;
}

/// How far apart two calls may lie and still continue each other: a few per cent of the line's
/// height (a space is about a fifth of it), at least two pixels for rounded widths.
double JoinTolerance(const TDrawRecord& a, const TDrawRecord& b)
{
    return std::max(2.0, 0.06 * std::min(a.Rect.Height(), b.Rect.Height()));
}

bool Continues(const TDrawRecord& previous, const TDrawRecord& next)
{
    if (previous.Text.isEmpty() || next.Text.isEmpty())
        return false;
    const double tolerance = JoinTolerance(previous, next);
    if (std::abs(next.Rect.Left - previous.Rect.Right) > tolerance)
        return false; // most calls: measuring fonts costs more than this
    const bool sameFont = next.FontName == previous.FontName && next.FontHeight == previous.FontHeight
        && next.FontStyle == previous.FontStyle && next.Rect.Height() == previous.Rect.Height();
    if (sameFont)
        return std::abs(next.Rect.Top - previous.Rect.Top) <= tolerance;
    return std::abs(Baseline(next) - Baseline(previous)) <= tolerance;
}
} // namespace

std::vector<TTextRun> JoinTextRuns(const std::vector<TDrawRecord>& Texts)
{
    std::vector<TTextRun> runs;
    for (const TDrawRecord& record : Texts) {
        if (runs.empty() || !Continues(runs.back().Calls.back(), record))
            runs.emplace_back();
        TTextRun& run = runs.back();
        run.Starts.push_back(int(run.Text.size()));
        run.Text += record.Text;
        run.Calls.push_back(record);
    }
    return runs;
}

std::vector<TFindMatch> FindInTexts(const std::vector<TDrawRecord>& Texts, int Page, const QString& Text, TFindOptions Options)
{
    std::vector<TFindMatch> matches;
    if (Text.isEmpty())
        return matches;
    const int length = int(Text.size());
    for (const TTextRun& run : JoinTextRuns(Texts)) {
        for (int start : FindInString(run.Text, Text, Options)) {
            TFindMatch match{Page, {}, run.Text, start, {}};
            // Each call the match reaches into gives the box of its part of the match.
            for (size_t i = 0; i < run.Calls.size(); ++i) {
                const int callStart = run.Starts[i];
                const int callEnd = callStart + int(run.Calls[i].Text.size());
                const int from = std::max(start, callStart), to = std::min(start + length, callEnd);
                if (from < to)
                    match.Pieces.push_back(TextPieceRect(run.Calls[i], from - callStart, to - from));
            }
            match.Rect = match.Pieces.front();
            for (const TRect& piece : match.Pieces)
                match.Rect = {std::min(match.Rect.Left, piece.Left), std::min(match.Rect.Top, piece.Top),
                    std::max(match.Rect.Right, piece.Right), std::max(match.Rect.Bottom, piece.Bottom)};
            matches.push_back(std::move(match));
        }
    }
    return matches;
}

std::vector<TFindMatch> FindInPage(TCustomPrintJob& Job, int PageIndex, const QString& Text, TFindOptions Options)
{
    if (Text.isEmpty())
        return {};
    return FindInTexts(DrawnTexts(Job, PageIndex), PageIndex, Text, Options);
}

} // namespace Vellaro
