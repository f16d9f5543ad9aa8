#pragma once
// The content of the demo's drawing-event jobs: each function is an event handler the main
// form registers by name, so the form file binds the jobs' events to them.

#include "gridjobs/PJGrid.h"
#include "job/VLJob.h"
#include "platform/data/DataSet.h"

#include <QString>
#include <QStringList>

namespace Vellaro::Demo {

// OnInitDraw handlers: the canvas font of a job.
void InitVerdana(TComponent* Sender, TCanvas* Canvas, TDrawTarget Target);
void InitArial(TComponent* Sender, TCanvas* Canvas, TDrawTarget Target);
void InitArial12(TComponent* Sender, TCanvas* Canvas, TDrawTarget Target);

// OnDraw handlers.
void DrawAbout(TComponent* Sender, TCanvas* Canvas, int PageIndex, TRect R, TDrawArea Area, TDrawTarget Target);
void DrawAreas(TComponent* Sender, TCanvas* Canvas, int PageIndex, TRect R, TDrawArea Area, TDrawTarget Target);
void DrawPublished(TComponent* Sender, TCanvas* Canvas, int PageIndex, TRect R, TDrawArea Area, TDrawTarget Target);
void DrawSimpliest(TComponent* Sender, TCanvas* Canvas, int PageIndex, TRect R, TDrawArea Area, TDrawTarget Target);
void DrawRules(TComponent* Sender, TCanvas* Canvas, int PageIndex, TRect R, TDrawArea Area, TDrawTarget Target);
/// One fish per page: page N shows record N of Fish.
void DrawFish(TDataSet* Fish, TComponent* Sender, TCanvas* Canvas, int PageIndex, TRect R, TDrawArea Area, TDrawTarget Target);

// The simple text grid: equal columns and generated cell texts.
void TextGridColWidth(TComponent* Sender, TCanvas* Canvas, int ACol, int& ColWidth);
void TextGridCellText(TComponent* Sender, int PageIndex, int ACol, int ARow, QString& Text);

// The colour grid: the sixteen standard colours.
void ColourGridColWidth(TComponent* Sender, TCanvas* Canvas, int ACol, int& ColWidth);
void ColourGridDrawCell(TComponent* Sender, TCanvas* Canvas, const TRect& Rect, int PageIndex, int ACol, int ARow,
    TDrawTarget Target);

/// The component classes the Published job lists, one a page.
const QStringList& PublishedClasses();
/// The published property names (events left out) and event names of a registered class, in
/// the order of its run-time type information.
void PublishedNames(const QString& ClassName, QStringList& Properties, QStringList& Events);

/// The lines a text takes when wrapped to Width on the canvas's font (words kept whole unless
/// one alone is too wide).
QStringList WrapText(TCanvas* Canvas, const QString& Text, int Width);

} // namespace Vellaro::Demo
