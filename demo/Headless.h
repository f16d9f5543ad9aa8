#pragma once
// The demo without a display: every demonstration printed to a PDF file through the built-in
// PDF printer, and its first preview page written as a PNG image.

#include <QString>
#include <vector>

namespace Vellaro {

class TfrmMain;

namespace Demo {

/// The files written for one demonstration.
struct THeadlessOutput {
    QString Pdf;
    QString Png;
};

/// Prints each demonstration of Form to OutDir/demo-<page>.pdf and writes the preview's first
/// page at 100 % to OutDir/demo-<page>.png; returns the absolute paths in list order. The
/// printer selection is restored afterwards; a failing print raises.
std::vector<THeadlessOutput> RunHeadless(TfrmMain& Form, const QString& OutDir);

/// True when windows cannot be shown: an offscreen or minimal platform, or no display.
bool IsHeadlessSession();

} // namespace Demo
} // namespace Vellaro
