#pragma once
// Searching the text of a job's pages. A page's text is what drawing it puts through the canvas:
// the page is drawn into a recording context (as the pane draws it, one logical unit one
// printer pixel) and its text calls are searched, so every job kind is covered without code of
// its own. Nothing of a page's drawing is kept once its matches are found.

#include "job/VLJob.h"

#include <vector>

namespace Vellaro {

namespace VLFindTypes {
Q_NAMESPACE_EXPORT(VELLARO_EXPORT)
enum TFindOption { foMatchCase, foWholeWord };
Q_ENUM_NS(TFindOption)
} // namespace VLFindTypes
using namespace VLFindTypes;

/// How a search compares: foMatchCase (letters as written), foWholeWord (not inside a word).
using TFindOptions = TSet<TFindOption>;

/// One place where the searched text was found.
struct VELLARO_EXPORT TFindMatch {
    int Page = 0;     ///< 1-based page of the job
    TRect Rect;       ///< the matched characters' box on the page, in printer pixels
    QString Text;     ///< the whole text of the run the match lies in (one call's, or several joined)
    int Start = 0;    ///< where the match starts in Text
    /// The matched characters' box in each drawing call they lie in, in drawing order; Rect
    /// holds them all. One box unless the match spans calls drawn one after the other.
    std::vector<TRect> Pieces;
    /// Matches are equal when every field is.
    bool operator==(const TFindMatch&) const = default;
};

/// Text drawn by calls that continue each other, searched as one: "Hel" and then "lo" drawn
/// right after it on the same baseline read "Hello".
struct VELLARO_EXPORT TTextRun {
    QString Text;                      ///< the calls' texts one after another
    std::vector<TDrawRecord> Calls;    ///< the calls, in drawing order
    std::vector<int> Starts;           ///< where each call's text starts in Text
};

/// The text calls joined into runs: a call joins the run before it when it follows that run's
/// last call in drawing order, on the same baseline, and starts where that call ended (within
/// a few pixels, well under a space). Calls that do not touch stay apart, so no space is invented.
VELLARO_EXPORT std::vector<TTextRun> JoinTextRuns(const std::vector<TDrawRecord>& Texts);

/// The text calls of one page as drawn for the preview, in printer pixels.
VELLARO_EXPORT std::vector<TDrawRecord> DrawnTexts(TCustomPrintJob& Job, int PageIndex);

/// Where Text occurs in Haystack (case and whole words as Options say): the start of every
/// occurrence, not overlapping. An empty Text occurs nowhere.
VELLARO_EXPORT std::vector<int> FindInString(const QString& Haystack, const QString& Text, TFindOptions Options);

/// The matches of Text in drawn text calls, joined into runs first (page Page).
VELLARO_EXPORT std::vector<TFindMatch> FindInTexts(const std::vector<TDrawRecord>& Texts, int Page, const QString& Text, TFindOptions Options);

/// The matches of Text on one page, in drawing order.
VELLARO_EXPORT std::vector<TFindMatch> FindInPage(TCustomPrintJob& Job, int PageIndex, const QString& Text, TFindOptions Options);

/// The box of characters [start, start + length) of a text record, from the record's box and
/// its font's advances (in printer pixels).
VELLARO_EXPORT TRect TextPieceRect(const TDrawRecord& Record, int Start, int Length);

} // namespace Vellaro
