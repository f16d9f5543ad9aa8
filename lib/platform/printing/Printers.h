#pragma once
// The one global printer shared by all jobs: its list of printers (the system's, the built-in
// PDF printer, and recording printers added by tests), the selected one, and the document
// calls BeginDoc / NewPage / EndDoc with a canvas for the current page.

#include "platform/graphics/Canvas.h"
#include "platform/printing/PrinterDevices.h"

#include <QStringList>
#include <memory>
#include <vector>

namespace Vellaro {

class VELLARO_EXPORT TPrinter {
public:
    /// Lists the system's printers and the PDF printer; selects the system default, or the
    /// PDF printer when the system has none.
    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    /// Names of the installed printers; empty while printers are hidden.
    QStringList Printers() const;
    int PrinterIndex() const;
    /// Selects a printer; -1 selects the default one. Not while printing.
    void SetPrinterIndex(int index);
    /// The selected device; raises EPrinter when there is none.
    TPrinterDevice* Device() const;

    /// The printable page of the selected printer in device pixels, for the current orientation;
    /// while printing, that of the page being drawn (or of the page about to start).
    int PageWidth() const;
    int PageHeight() const;
    /// The device context: the page's while printing, a measuring one otherwise.
    TDeviceContext* Handle();
    TCanvas* Canvas();

    TPrinterOrientation Orientation() const { return FOrientation; }
    /// Raises EPrinter while printing.
    void SetOrientation(TPrinterOrientation orientation);
    /// The orientation of the pages that start from now on: while printing, a page already
    /// started keeps its shape and the next one takes this; otherwise SetOrientation. A
    /// document whose pages differ in orientation sets each before drawing on the page.
    void SetPageOrientation(TPrinterOrientation orientation);
    QString Title() const { return FTitle; }
    void SetTitle(const QString& title) { FTitle = title; }

    /// Opens a document on the selected printer. Raises EPrinter when the printer cannot start
    /// one, or when there is no QApplication (Qt cannot print without one).
    void BeginDoc();
    /// Ends the page. The next page starts when it is drawn on or its canvas is fetched, so a
    /// document ended right after NewPage (an aborted run) has no empty last page.
    void NewPage();
    void EndDoc();
    /// Throws the open document away.
    void Abort();
    bool Printing() const { return FPrinting; }
    /// Adds an outline entry at the page being printed (a PDF device writes it into the
    /// document's outline). Raises EPrinter when not printing.
    void AddBookmark(const QString& title, int level);
    /// The open document's bookmarks so far.
    const std::vector<TBookmark>& Bookmarks() const { return FBookmarks; }
    /// While set, documents go to this device instead of the selected printer (an export
    /// writes a job's pages to files through the print run); the list and the selection stay
    /// as they are. nullptr goes back to the selected printer. Not while printing.
    void SetStandInDevice(TPrinterDevice* device);
    TPrinterDevice* StandInDevice() const { return FStandIn; }
    bool Aborted() const { return FAborted; }
    int PageNumber() const { return FPageNumber; }

    /// The built-in PDF printer, always in the list.
    TPdfPrinterDevice* PdfPrinter() const { return FPdf; }
    /// Adds a recording printer and selects it.
    TRecordingPrinterDevice* AddRecordingPrinter(const QString& name, int dpiX, int dpiY, QSize portraitPixels);
    /// Removes a printer that was added (the system's and the PDF printer stay).
    void RemovePrinter(TPrinterDevice* device);
    /// Hides every printer, so that the machine looks as if none were installed.
    void SetPrintersHidden(bool hidden);
    /// Selects the printer with that name; false when there is none.
    bool SelectPrinter(const QString& name);

private:
    void RequirePrinting(const char* operation) const;
    /// Starts the page a NewPage announced, once something is to go on it.
    void StartPendingPage();
    int DefaultIndex() const;
    /// The orientation PageWidth and PageHeight answer for.
    TPrinterOrientation CurrentOrientation() const;
    void FinishDocument();
    void BindCanvas(TDeviceContext* dc);

    std::vector<std::unique_ptr<TPrinterDevice>> FDevices;
    TPdfPrinterDevice* FPdf = nullptr;
    TPrinterDevice* FStandIn = nullptr;
    std::vector<TBookmark> FBookmarks;
    int FIndex = -1;
    bool FHidden = false;
    TPrinterOrientation FOrientation = poPortrait;
    /// While printing: the orientation of the page started last, and the orientation the
    /// printer had when the document began (it has it again at the end).
    TPrinterOrientation FStartedOrientation = poPortrait;
    TPrinterOrientation FDocumentOrientation = poPortrait;
    QString FTitle;
    bool FPrinting = false;
    bool FAborted = false;
    int FPageNumber = 0;
    bool FPagePending = false;
    TDeviceContext* FPageContext = nullptr;
    std::unique_ptr<TDeviceContext> FInfoContext;
    TCanvas FCanvas;
};

/// The global printer.
VELLARO_EXPORT TPrinter* Printer();

} // namespace Vellaro
