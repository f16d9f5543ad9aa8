#pragma once
// A PDF file written by Qt's PDF writer and finished with the structure Qt cannot write: the
// document information beyond the title, and the outline (bookmarks). The pages go to a
// temporary file next to the target; the target appears only when the document is finished,
// so a failed or abandoned document leaves nothing behind (an older file stays as it was).

#include "platform/graphics/DeviceContext.h"

#include <QPageLayout>
#include <QString>
#include <memory>
#include <vector>

class QPdfWriter;
class QTemporaryFile;
class QIODevice;

namespace Vellaro {

/// The document information dictionary of a PDF file.
struct VELLARO_EXPORT TPdfDocumentInfo {
    QString Title;
    QString Author;
    QString Subject;
    QString Keywords;
    /// Writes PDF/A-1b (Qt's writer: embedded fonts, XMP metadata, an output intent). Qt's XMP
    /// holds the title only, so author, subject and keywords are refused with it (the document
    /// information and the XMP metadata must agree).
    bool PdfA1b = false;
};

/// One entry of a document outline: its title, its nesting level (0 is the top) and the page
/// (1-based, in the written document) it leads to.
struct VELLARO_EXPORT TBookmark {
    QString Title;
    int Level = 0;
    int Page = 1;
    bool operator==(const TBookmark&) const = default;
};

/// Writes one PDF document to a file: Begin returns the context to draw the first page on,
/// NewPage starts the next, Finish completes the file, Abandon throws it away.
class VELLARO_EXPORT TPdfDocument {
public:
    TPdfDocument();
    ~TPdfDocument();
    TPdfDocument(const TPdfDocument&) = delete;
    TPdfDocument& operator=(const TPdfDocument&) = delete;

    /// Raises EPrinter naming the path when its folder cannot be written.
    TDeviceContext* Begin(const QString& path, const QPageLayout& layout, int dpi, const TPdfDocumentInfo& info);
    /// Starts the next page with its own layout (pages of one document may differ in
    /// orientation): the writer shapes a page when it starts it.
    void NewPage(const QPageLayout& layout);
    /// Adds the outline and the document information and moves the file into place. Raises
    /// EPrinter when that fails (nothing is left at the path then).
    void Finish(const std::vector<TBookmark>& outline);
    void Abandon();
    bool Active() const { return bool(FWriter); }
    QString Path() const { return FPath; }

private:
    void Release();
    QString FPath;
    int FDpi = 0;
    TPdfDocumentInfo FInfo;
    std::unique_ptr<QTemporaryFile> FPages;
    std::unique_ptr<QPdfWriter> FWriter;
    std::unique_ptr<TDeviceContext> FContext;
};

/// Rewrites the PDF file at sourcePath into target with the document information and outline
/// added (libqpdf). Bookmarks whose page lies outside the document are left out; an entry
/// nests under the nearest one before it with a lower level. Raises EPrinter.
VELLARO_EXPORT void WritePdfStructure(const QString& sourcePath, QIODevice& target, const TPdfDocumentInfo& info,
    const std::vector<TBookmark>& outline);

} // namespace Vellaro
