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
    QString Text;     ///< the whole text drawn by the call the match lies in
    int Start = 0;    ///< where the match starts in Text
    /// Matches are equal when every field is.
    bool operator==(const TFindMatch&) const = default;
};

/// The text calls of one page as drawn for the preview, in printer pixels.
VELLARO_EXPORT std::vector<TDrawRecord> DrawnTexts(TCustomPrintJob& Job, int PageIndex);

/// Where Text occurs in Haystack (case and whole words as Options say): the start of every
/// occurrence, not overlapping. An empty Text occurs nowhere.
VELLARO_EXPORT std::vector<int> FindInString(const QString& Haystack, const QString& Text, TFindOptions Options);

/// The matches of Text on one page, in drawing order.
VELLARO_EXPORT std::vector<TFindMatch> FindInPage(TCustomPrintJob& Job, int PageIndex, const QString& Text, TFindOptions Options);

/// The box of characters [start, start + length) of a text record, from the record's box and
/// its font's advances (in printer pixels).
VELLARO_EXPORT TRect TextPieceRect(const TDrawRecord& Record, int Start, int Length);

} // namespace Vellaro
