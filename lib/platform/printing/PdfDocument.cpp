#include "platform/printing/PdfDocument.h"

#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryFile>

// Use the library's shared pointers as they are (no transition helpers).
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

namespace Vellaro {

namespace {

EPrinter WriteError(const QString& path, const QString& reason)
{
    return EPrinter(QStringLiteral("Cannot write the PDF file '%1': %2").arg(path, reason));
}

/// Hands what libqpdf writes to a Qt device.
class TQtDevicePipeline : public Pipeline {
public:
    explicit TQtDevicePipeline(QIODevice& device) : Pipeline("Qt device", nullptr), FDevice(device) {}
    void write(unsigned char const* data, size_t len) override
    {
        if (FDevice.write(reinterpret_cast<const char*>(data), qint64(len)) != qint64(len))
            throw std::runtime_error(FDevice.errorString().toStdString());
    }
    void finish() override {}

private:
    QIODevice& FDevice;
};

struct TOutlineNode {
    const TBookmark* Entry = nullptr;
    std::vector<std::unique_ptr<TOutlineNode>> Children;
};

/// Nests the flat list by level: an entry goes under the nearest entry before it with a lower
/// level, so a level that skips one (0, then 2) is one step deeper, and its siblings with it.
TOutlineNode BuildOutlineTree(const std::vector<TBookmark>& outline, int pageCount)
{
    TOutlineNode root;
    std::vector<std::pair<int, TOutlineNode*>> open; // (level asked for, node) from the top down
    for (const TBookmark& entry : outline) {
        if (entry.Page < 1 || entry.Page > pageCount)
            continue;
        const int level = std::max(entry.Level, 0);
        while (!open.empty() && open.back().first >= level)
            open.pop_back();
        TOutlineNode* parent = open.empty() ? &root : open.back().second;
        parent->Children.push_back(std::make_unique<TOutlineNode>());
        parent->Children.back()->Entry = &entry;
        open.emplace_back(level, parent->Children.back().get());
    }
    return root;
}

/// Writes the children of node under parent (an indirect dictionary); returns how many items
/// lie below it, all shown open.
int WriteOutlineItems(QPDF& pdf, const TOutlineNode& node, QPDFObjectHandle parent,
    const std::vector<QPDFPageObjectHelper>& pages)
{
    int count = 0;
    QPDFObjectHandle previous;
    for (const auto& child : node.Children) {
        QPDFObjectHandle item = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        item.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(child->Entry->Title.toStdString()));
        item.replaceKey("/Parent", parent);
        QPDFObjectHandle destination = QPDFObjectHandle::newArray();
        destination.appendItem(pages[size_t(child->Entry->Page - 1)].getObjectHandle());
        destination.appendItem(QPDFObjectHandle::newName("/Fit"));
        item.replaceKey("/Dest", destination);
        if (previous.isInitialized()) {
            item.replaceKey("/Prev", previous);
            previous.replaceKey("/Next", item);
        } else {
            parent.replaceKey("/First", item);
        }
        parent.replaceKey("/Last", item);
        const int below = WriteOutlineItems(pdf, *child, item, pages);
        if (below > 0)
            item.replaceKey("/Count", QPDFObjectHandle::newInteger(below));
        count += 1 + below;
        previous = item;
    }
    return count;
}

void SetInfoKey(QPDFObjectHandle info, const char* key, const QString& value)
{
    if (!value.isEmpty())
        info.replaceKey(key, QPDFObjectHandle::newUnicodeString(value.toStdString()));
}

bool NeedsStructure(const TPdfDocumentInfo& info, const std::vector<TBookmark>& outline)
{
    return !outline.empty() || !info.Author.isEmpty() || !info.Subject.isEmpty() || !info.Keywords.isEmpty();
}

void CopyFile(QIODevice& source, QIODevice& target)
{
    constexpr qint64 Chunk = 1 << 20;
    while (!source.atEnd()) {
        const QByteArray data = source.read(Chunk);
        if (data.isEmpty() && !source.atEnd())
            throw std::runtime_error(source.errorString().toStdString());
        if (target.write(data) != data.size())
            throw std::runtime_error(target.errorString().toStdString());
    }
}

} // namespace

void WritePdfStructure(const QString& sourcePath, QIODevice& target, const TPdfDocumentInfo& info,
    const std::vector<TBookmark>& outline)
{
    try {
        QPDF pdf;
        pdf.processFile(QFile::encodeName(sourcePath).constData());
        const std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
        const TOutlineNode tree = BuildOutlineTree(outline, int(pages.size()));
        QPDFObjectHandle root = pdf.getRoot();
        if (!tree.Children.empty()) {
            QPDFObjectHandle outlines = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
            outlines.replaceKey("/Type", QPDFObjectHandle::newName("/Outlines"));
            outlines.replaceKey("/Count", QPDFObjectHandle::newInteger(WriteOutlineItems(pdf, tree, outlines, pages)));
            root.replaceKey("/Outlines", outlines);
            root.replaceKey("/PageMode", QPDFObjectHandle::newName("/UseOutlines"));
        }
        QPDFObjectHandle trailer = pdf.getTrailer();
        QPDFObjectHandle documentInfo = trailer.getKey("/Info");
        if (!documentInfo.isDictionary()) {
            documentInfo = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
            trailer.replaceKey("/Info", documentInfo);
        }
        SetInfoKey(documentInfo, "/Title", info.Title);
        SetInfoKey(documentInfo, "/Author", info.Author);
        SetInfoKey(documentInfo, "/Subject", info.Subject);
        SetInfoKey(documentInfo, "/Keywords", info.Keywords);
        TQtDevicePipeline pipeline(target);
        QPDFWriter writer(pdf);
        writer.setOutputPipeline(&pipeline);
        writer.write();
    } catch (const std::exception& e) {
        throw EPrinter(QStringLiteral("Cannot add the outline to the PDF file: %1").arg(QString::fromLocal8Bit(e.what())));
    }
}

TPdfDocument::TPdfDocument() = default;

TPdfDocument::~TPdfDocument()
{
    Release();
}

TDeviceContext* TPdfDocument::Begin(const QString& path, const QPageLayout& layout, int dpi, const TPdfDocumentInfo& info)
{
    Release();
    if (info.PdfA1b && (!info.Author.isEmpty() || !info.Subject.isEmpty() || !info.Keywords.isEmpty()))
        throw WriteError(path, QStringLiteral("PDF/A-1b output takes no author, subject or keywords yet"));
    FPath = path;
    FDpi = dpi;
    FInfo = info;
    // The pages go next to the target, so moving them into place never crosses file systems.
    const QFileInfo target(path);
    auto pages = std::make_unique<QTemporaryFile>(target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    if (!target.absoluteDir().exists())
        throw WriteError(path, QStringLiteral("the folder does not exist"));
    if (!pages->open())
        throw WriteError(path, pages->errorString());
    auto writer = std::make_unique<QPdfWriter>(pages.get());
    writer->setResolution(dpi);
    writer->setTitle(info.Title);
    writer->setCreator(QStringLiteral("Vellaro"));
    writer->setPageLayout(layout);
    if (info.PdfA1b)
        writer->setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    FPages = std::move(pages);
    FWriter = std::move(writer);
    try {
        FContext = std::make_unique<TDeviceContext>(FWriter.get(), dpi, dpi);
    } catch (...) {
        Release();
        throw;
    }
    return FContext.get();
}

void TPdfDocument::NewPage(const QPageLayout& layout)
{
    if (!FWriter)
        return;
    if (!FWriter->pageLayout().isEquivalentTo(layout))
        FWriter->setPageLayout(layout);
    FWriter->newPage();
    FContext->SetDeviceSize(layout.fullRectPixels(FDpi).size());
}

void TPdfDocument::Finish(const std::vector<TBookmark>& outline)
{
    FContext.reset(); // ends the painter: the pages are complete in the temporary file
    FWriter.reset();
    try {
        if (!FPages || !FPages->flush() || FPages->error() != QFileDevice::NoError)
            throw WriteError(FPath, FPages ? FPages->errorString() : QStringLiteral("no document was begun"));
        QSaveFile file(FPath);
        if (!file.open(QIODevice::WriteOnly))
            throw WriteError(FPath, file.errorString());
        if (NeedsStructure(FInfo, outline)) {
            WritePdfStructure(FPages->fileName(), file, FInfo, outline);
        } else {
            FPages->seek(0);
            try {
                CopyFile(*FPages, file);
            } catch (const std::exception& e) {
                file.cancelWriting();
                throw WriteError(FPath, QString::fromLocal8Bit(e.what()));
            }
        }
        if (!file.commit())
            throw WriteError(FPath, file.errorString());
    } catch (...) {
        Release();
        throw;
    }
    Release();
}

void TPdfDocument::Abandon()
{
    Release();
}

void TPdfDocument::Release()
{
    FContext.reset();
    FWriter.reset();
    FPages.reset(); // removes the temporary file
}

} // namespace Vellaro
