#pragma once
// The devices behind the global printer: a system (CUPS) printer, the built-in PDF printer
// and the recording printer used by tests. Each knows its resolution and page size and opens
// one document at a time.

#include "platform/graphics/DeviceContext.h"
#include "platform/printing/PdfDocument.h"

#include <QPageSize>
#include <QString>
#include <memory>
#include <vector>

class QPrinter;

namespace Vellaro {

enum TPrinterOrientation { poPortrait, poLandscape };

class VELLARO_EXPORT TPrinterDevice {
public:
    virtual ~TPrinterDevice() = default;
    virtual QString Name() const = 0;
    virtual int DpiX() const = 0;
    virtual int DpiY() const = 0;
    /// The printable page in device pixels for the orientation.
    virtual QSize PageSizePixels(TPrinterOrientation orientation) const = 0;
    /// Opens a document; returns the context to draw the first page on. Raises EPrinter.
    virtual TDeviceContext* BeginDoc(const QString& title, TPrinterOrientation orientation) = 0;
    /// Starts the next page in the orientation given: pages of one document may differ.
    virtual void NewPage(TPrinterOrientation orientation) = 0;
    /// Whether NewPage may wait until the page is drawn on (devices that produce paper or
    /// files); a device that records the calls takes each one as it comes.
    virtual bool DefersNewPage() const { return true; }
    /// The bookmarks the document's run added, handed over right before EndDoc; devices that
    /// write a navigable file (PDF) write them as its outline, others ignore them.
    virtual void SetOutline(const std::vector<TBookmark>&) {}
    /// Finishes the document (the output is complete afterwards).
    virtual void EndDoc() = 0;
    /// Throws the document away.
    virtual void Abort() = 0;
    /// A Qt printer to hand to Qt's dialogs, or nullptr when the device has none.
    virtual QPrinter* QtPrinter() { return nullptr; }
    /// Whether Qt's native page setup dialog can serve this device.
    virtual bool NativeSetupDialog() const { return false; }
    /// The paper, for devices whose paper can be chosen.
    virtual QPageSize PaperSize() const { return QPageSize(QPageSize::A4); }
    virtual void SetPaperSize(const QPageSize&) {}
};

/// The built-in printer that writes a PDF file: 600 dpi, A4 unless set otherwise, no margins.
/// The file appears only when a document ends; an aborted or failed one leaves nothing behind.
/// It writes the document information (the title is the document's) and the run's bookmarks.
class VELLARO_EXPORT TPdfPrinterDevice : public TPrinterDevice {
public:
    static constexpr int Resolution = 600;
    TPdfPrinterDevice();
    ~TPdfPrinterDevice() override;
    QString Name() const override { return QStringLiteral("PDF file"); }
    int DpiX() const override { return Resolution; }
    int DpiY() const override { return Resolution; }
    QSize PageSizePixels(TPrinterOrientation orientation) const override;
    TDeviceContext* BeginDoc(const QString& title, TPrinterOrientation orientation) override;
    void NewPage(TPrinterOrientation orientation) override;
    void SetOutline(const std::vector<TBookmark>& outline) override { FOutline = outline; }
    void EndDoc() override;
    void Abort() override;
    QPageSize PaperSize() const override { return FPaper; }
    void SetPaperSize(const QPageSize& size) override { FPaper = size; }
    QPrinter* QtPrinter() override;

    /// Where the next document is written; empty means derived from the document title.
    QString OutputPath() const { return FOutputPath; }
    void SetOutputPath(const QString& path) { FOutputPath = path; }
    /// The file the last finished document was written to.
    QString LastOutputPath() const { return FLastOutput; }
    /// The file name a title gives: the title with characters unsafe in file names replaced.
    static QString PathForTitle(const QString& title);
    /// Author, subject and keywords written into the next documents (the title is each
    /// document's own).
    TPdfDocumentInfo DocumentInfo() const { return FInfo; }
    void SetDocumentInfo(const TPdfDocumentInfo& info) { FInfo = info; }

private:
    QString FOutputPath;
    QString FLastOutput;
    QPageSize FPaper{QPageSize::A4};
    TPdfDocumentInfo FInfo;
    std::vector<TBookmark> FOutline;
    TPdfDocument FDocument;
    std::unique_ptr<QPrinter> FDialogPrinter;
};

/// A printer of the system, printed to through Qt (CUPS).
class VELLARO_EXPORT TSystemPrinterDevice : public TPrinterDevice {
public:
    explicit TSystemPrinterDevice(const QString& printerName);
    ~TSystemPrinterDevice() override;
    QString Name() const override { return FName; }
    int DpiX() const override;
    int DpiY() const override;
    QSize PageSizePixels(TPrinterOrientation orientation) const override;
    TDeviceContext* BeginDoc(const QString& title, TPrinterOrientation orientation) override;
    void NewPage(TPrinterOrientation orientation) override;
    void EndDoc() override;
    void Abort() override;
    QPrinter* QtPrinter() override { return FPrinter.get(); }
    bool NativeSetupDialog() const override { return true; }
    QPageSize PaperSize() const override;
    void SetPaperSize(const QPageSize& size) override;

private:
    QString FName;
    std::unique_ptr<QPrinter> FPrinter;
    std::unique_ptr<TDeviceContext> FContext;
};

/// A printer for tests: a chosen resolution and page size; its canvas draws nothing and keeps
/// every call in device coordinates, page by page, together with counts of the document calls.
class VELLARO_EXPORT TRecordingPrinterDevice : public TPrinterDevice {
public:
    TRecordingPrinterDevice(const QString& name, int dpiX, int dpiY, QSize portraitPixels);
    QString Name() const override { return FName; }
    int DpiX() const override { return FDpiX; }
    int DpiY() const override { return FDpiY; }
    QSize PageSizePixels(TPrinterOrientation orientation) const override;
    TDeviceContext* BeginDoc(const QString& title, TPrinterOrientation orientation) override;
    void NewPage(TPrinterOrientation orientation) override;
    bool DefersNewPage() const override { return false; }
    void EndDoc() override;
    void Abort() override;
    QPrinter* QtPrinter() override;

    const TDrawRecorder& Recorder() const { return FRecorder; }
    int BeginDocCount() const { return FBeginDocs; }
    int NewPageCount() const { return FNewPages; }
    int EndDocCount() const { return FEndDocs; }
    int AbortCount() const { return FAborts; }
    QString LastTitle() const { return FTitle; }
    /// The orientation each page of the last document was started in (index 0 is page 1).
    const std::vector<TPrinterOrientation>& PageOrientations() const { return FPageOrientations; }
    /// Makes the next BeginDoc fail as a printer that cannot start a job would.
    void SetFailBeginDoc(bool fail) { FFailBeginDoc = fail; }

private:
    QString FName;
    int FDpiX;
    int FDpiY;
    QSize FPortrait;
    TDrawRecorder FRecorder;
    std::unique_ptr<TDeviceContext> FContext;
    std::unique_ptr<QPrinter> FDialogPrinter;
    int FBeginDocs = 0, FNewPages = 0, FEndDocs = 0, FAborts = 0;
    bool FFailBeginDoc = false;
    QString FTitle;
    std::vector<TPrinterOrientation> FPageOrientations;
};

} // namespace Vellaro
