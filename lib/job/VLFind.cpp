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
    QFont font(Record.FontName);
    font.setPixelSize(std::max(1, std::abs(Record.FontHeight)));
    font.setBold(Record.FontStyle & TFontStyles(fsBold));
    font.setItalic(Record.FontStyle & TFontStyles(fsItalic));
    font.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF metrics(font);
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

std::vector<TFindMatch> FindInPage(TCustomPrintJob& Job, int PageIndex, const QString& Text, TFindOptions Options)
{
    std::vector<TFindMatch> matches;
    if (Text.isEmpty())
        return matches;
    for (const TDrawRecord& record : DrawnTexts(Job, PageIndex))
        for (int start : FindInString(record.Text, Text, Options))
            matches.push_back({PageIndex, TextPieceRect(record, start, int(Text.size())), record.Text, start});
    return matches;
}

} // namespace Vellaro
