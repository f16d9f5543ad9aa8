#pragma once
// Helpers for the grid job tests: a canvas that records what a job draws on it, and a page
// layout in printer pixels that puts the page rectangle where a test wants it.

#include "job/VLJob.h"
#include "platform/graphics/Canvas.h"

#include <vector>

namespace Vellaro::Testing {

/// A canvas whose every drawing call is kept, in device pixels (identity mapping).
struct RecordingCanvas {
    TDrawRecorder Recorder;
    TDeviceContext Context{&Recorder, 600, 600};
    TCanvas Canvas;
    RecordingCanvas()
    {
        Canvas.SetHandle(&Context);
        Canvas.Font()->SetPixelsPerInch(600);
    }
    const std::vector<TDrawRecord>& Records() const { return Recorder.Current(); }
    void Clear() { Recorder.Clear(); }
};

/// The records of one kind, in order.
inline std::vector<TDrawRecord> RecordsOf(const std::vector<TDrawRecord>& records, TDrawRecord::TKind kind)
{
    std::vector<TDrawRecord> result;
    for (const TDrawRecord& r : records)
        if (r.Kind == kind)
            result.push_back(r);
    return result;
}

/// Gives a job a custom page of width x height printer pixels with pixel margins, header and
/// footer, so its rectangles are known exactly.
inline void SetPixelPage(TCustomPrintJob& job, int width, int height, const TMargins& margins, int header = 0,
    int footer = 0, TJobOptionsSet options = {joMargins})
{
    job.SetPageUnits(unPixels);
    job.SetPageMode(pmCustom);
    job.SetPageWidth(width);
    job.SetPageHeight(height);
    job.SetMarginsUnits(unPixels);
    job.SetMargins(&margins);
    job.SetHeaderUnits(unPixels);
    job.SetHeader(header);
    job.SetFooterUnits(unPixels);
    job.SetFooter(footer);
    job.SetOptions(options);
}

} // namespace Vellaro::Testing

#include <QMetaObject>
#include <QMetaProperty>
#include <QStringList>

namespace Vellaro::Testing {

/// The names of the published properties of a class, in streaming order.
inline QStringList PublishedProperties(const QMetaObject& meta)
{
    QStringList names;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
        names << QString::fromLatin1(meta.property(i).name());
    return names;
}

/// The properties every published grid job ends with, from Title on.
inline QStringList PageAndEventProperties(bool withInitDraw)
{
    QStringList names = QStringList{"Title", "Margins", "MarginsUnits", "Header", "HeaderUnits", "Footer",
        "FooterUnits", "PageMode", "PageWidth", "PageHeight", "PageUnits", "Orientation", "Options", "OnCreate",
        "OnDestroy"};
    if (withInitDraw)
        names << "OnInitDraw";
    names << QStringList{"OnPrinterSetupChange", "OnStartPrint", "OnEndPrint", "OnPrintProgress", "OnStartPrintPage",
        "OnEndPrintPage", "OnUpdate"};
    return names;
}

/// The layout properties shared by the grid jobs, from RowsPerPage to IndexStart.
inline QStringList GridLayoutProperties()
{
    return {"RowsPerPage", "TableBorders", "HeaderCellBorders", "PageCellBorders", "FooterCellBorders", "IndexColumn",
        "IndexStart"};
}

} // namespace Vellaro::Testing
