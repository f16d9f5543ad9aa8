#include "platform/controls/RichEdit.h"

#include "platform/core/ClassRegistry.h"

#include "platform/controls/RtfReader.h"
#include "platform/core/Application.h"
#include "platform/controls/RtfWriter.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>
#include <QTextFragment>
#include <cmath>
#include <optional>
#include <unordered_map>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TRichEdit)

// ---- The paragraphs as a string list ----------------------------------------------------

namespace {

/// The lines of a rich edit: one entry per paragraph of its document. An empty document has
/// no lines.
class TRichEditStrings : public TStrings {
public:
    explicit TRichEditStrings(QTextEdit* edit) : FEdit(edit) {}
    int Count() const override { return Document()->characterCount() <= 1 ? 0 : Document()->blockCount(); }

protected:
    QString Get(int Index) const override { return Document()->findBlockByNumber(Index).text(); }
    void Put(int Index, const QString& S) override
    {
        QTextCursor cursor(Document()->findBlockByNumber(Index));
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.insertText(S);
    }
    void InsertItem(int Index, const QString& S) override
    {
        const int count = Count();
        if (count == 0) {
            QTextCursor(Document()).insertText(S);
            return;
        }
        if (Index == count) {
            QTextCursor cursor(Document());
            cursor.movePosition(QTextCursor::End);
            cursor.insertBlock();
            cursor.insertText(S);
            return;
        }
        QTextCursor cursor(Document()->findBlockByNumber(Index));
        cursor.insertText(S);
        cursor.insertBlock();
    }
    void DeleteItem(int Index) override
    {
        const QTextBlock block = Document()->findBlockByNumber(Index);
        QTextCursor cursor(block);
        if (block.next().isValid()) {
            cursor.setPosition(block.next().position(), QTextCursor::KeepAnchor);
        } else if (Index > 0) {
            cursor.setPosition(block.previous().position() + block.previous().length() - 1);
            cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
        } else {
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        }
        cursor.removeSelectedText();
    }
    void ClearItems() override { FEdit->clear(); }
    void ReplaceAll(const QStringList& lines) override { FEdit->setPlainText(lines.join(QLatin1Char('\n'))); }

private:
    QTextDocument* Document() const { return FEdit->document(); }
    QTextEdit* FEdit;
};

/// Twips to units of a resolution.
double FromTwips(int twips, int dpi)
{
    return double(twips) * dpi / TwipsPerInch;
}

/// The block margins of a format times scale; nullopt when it has none to scale.
std::optional<QTextBlockFormat> ScaledMargins(QTextBlockFormat format, double scale)
{
    if (format.leftMargin() == 0 && format.rightMargin() == 0 && format.textIndent() == 0)
        return std::nullopt;
    format.setLeftMargin(format.leftMargin() * scale);
    format.setRightMargin(format.rightMargin() * scale);
    format.setTextIndent(format.textIndent() * scale);
    return format;
}

/// Brings a document measured in document pixels to a device of dpi.
///
/// Every length in a document is in document pixels, 1/96 in (a CSS px; the RTF reader turns
/// twips into them), on screen, in the preview and on paper. Laid out for a device of another
/// resolution, Qt scales tab stops, paragraph spacing, line heights, pictures, list indents
/// and tables itself, but takes a paragraph's left, right and first-line margins and pixel
/// font sizes as the device's own pixels. This is the one place that scales those, so that
/// every length keeps its physical size.
void ScaleToDevice(QTextDocument& document, int dpi)
{
    const double scale = double(dpi) / DocumentPixelsPerInch;
    if (scale == 1)
        return;
    std::unordered_map<int, std::optional<QTextBlockFormat>> blockFormats;
    std::unordered_map<int, std::optional<QTextCharFormat>> charFormats;
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        auto [blockIt, newBlock] = blockFormats.try_emplace(block.blockFormatIndex());
        if (newBlock)
            blockIt->second = ScaledMargins(block.blockFormat(), scale);
        if (blockIt->second) {
            cursor.setPosition(block.position());
            cursor.setBlockFormat(*blockIt->second);
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            auto [charIt, newChar] = charFormats.try_emplace(fragment.charFormatIndex());
            if (newChar && fragment.charFormat().hasProperty(QTextFormat::FontPixelSize)) {
                QTextCharFormat format = fragment.charFormat();
                format.setProperty(QTextFormat::FontPixelSize, std::max(1, int(std::lround(format.intProperty(QTextFormat::FontPixelSize) * scale))));
                charIt->second = format;
            }
            if (charIt->second) {
                cursor.setPosition(fragment.position());
                cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
                cursor.setCharFormat(*charIt->second);
            }
        }
    }
    cursor.endEditBlock();
}

} // namespace

// ---- The layout kept for printing -------------------------------------------------------

/// A copy of the control's text laid out for one resolution and width, in that resolution's
/// pixels, without page breaks: a page is a band of lines of it.
class TRichEditLayout {
public:
    TRichEditLayout(const QTextDocument& source, int dpiX, int dpiY, double width)
        : FDpiX(dpiX), FDpiY(dpiY), FWidth(width), FDevice(1, 1, QImage::Format_RGB32), FDocument(source.clone())
    {
        // The layout resolves point sizes against this device's resolution.
        FDevice.setDotsPerMeterX(int(std::lround(dpiX / 0.0254)));
        FDevice.setDotsPerMeterY(int(std::lround(dpiY / 0.0254)));
        QFont font = FDocument->defaultFont();
        // Widths must not depend on hinting at one size or another.
        font.setHintingPreference(QFont::PreferNoHinting);
        FDocument->setDefaultFont(font);
        FDocument->setUndoRedoEnabled(false);
        ScaleToDevice(*FDocument, dpiX);
        FDocument->setDocumentMargin(0);
        FDocument->documentLayout()->setPaintDevice(&FDevice);
        FDocument->setTextWidth(width);
    }

    bool Matches(int dpiX, int dpiY, double width) const { return dpiX == FDpiX && dpiY == FDpiY && width == FWidth; }
    int DpiX() const { return FDpiX; }
    int DpiY() const { return FDpiY; }
    int Length() const { return FDocument->characterCount() - 1; }

    /// The first position from start whose line ends below start's line top plus height;
    /// start's own line always fits when height is above 0.
    int FirstPositionBelow(int start, double height) const
    {
        const int length = Length();
        if (start >= length)
            return length;
        if (height <= 0)
            return start;
        QTextBlock block = FDocument->findBlock(start);
        const double limit = LineTop(start) + height;
        int lineIndex = FirstLineAt(block, start);
        bool first = true;
        for (; block.isValid(); block = block.next(), lineIndex = 0) {
            // A paragraph that starts a page does so wherever the page before it ends.
            if (!first && lineIndex == 0 && (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
                return block.position();
            const QTextLayout* layout = block.layout();
            const double top = BlockTop(block);
            for (int i = lineIndex; i < layout->lineCount(); ++i) {
                const QTextLine line = layout->lineAt(i);
                if (!first && top + line.y() + line.height() > limit)
                    return KeepingRowsWhole(KeepingParagraphsTogether(block, i, start), start);
                first = false;
            }
            if ((block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter) && block.next().isValid())
                return block.next().position();
        }
        return length;
    }

    /// The top of the line holding the position; the bottom of the text for the text length.
    double LineTop(int position) const
    {
        if (position >= Length())
            return FDocument->documentLayout()->documentSize().height();
        const QTextBlock block = FDocument->findBlock(position);
        const QTextLayout* layout = block.layout();
        const QTextLine line = layout->lineForTextPosition(position - block.position());
        return BlockTop(block) + (line.isValid() ? line.y() : 0);
    }

    /// Draws the band of lines from first's line to last's line with its top left corner at
    /// origin, scaled by scale, through the transform into logical units.
    void Draw(QPainter* painter, const QTransform& logical, QPointF origin, QPointF scale, int first, int last) const
    {
        const double top = LineTop(first);
        const double bottom = LineTop(last);
        if (bottom <= top)
            return;
        painter->save();
        painter->setWorldTransform(QTransform::fromTranslate(0, -top) * QTransform::fromScale(scale.x(), scale.y())
            * QTransform::fromTranslate(origin.x(), origin.y()) * logical);
        QAbstractTextDocumentLayout::PaintContext context;
        // Lines that only touch the band belong to the pages before and after it: the layout
        // draws every line the clip meets, and a line drawn outside the painter's clip would
        // still be text of this page (in a PDF file, for one).
        constexpr double touching = 0.5;
        context.clip = QRectF(-FWidth, top + touching, 3 * FWidth, std::max(0.0, bottom - top - 2 * touching));
        context.palette.setColor(QPalette::Text, Qt::black);
        painter->setClipRect(QRectF(-FWidth, top, 3 * FWidth, bottom - top), Qt::IntersectClip);
        FDocument->documentLayout()->draw(painter, context);
        painter->restore();
    }

    /// Records one text per line of the band, as a recording device keeps drawing calls.
    void Record(TDeviceContext* dc, QPointF origin, QPointF scale, int first, int last) const
    {
        const double top = LineTop(first);
        const double bottom = LineTop(last);
        for (QTextBlock block = FDocument->findBlock(first); block.isValid(); block = block.next()) {
            const QTextLayout* layout = block.layout();
            const QRectF blockRect = FDocument->documentLayout()->blockBoundingRect(block);
            for (int i = 0; i < layout->lineCount(); ++i) {
                const QTextLine line = layout->lineAt(i);
                const double y = blockRect.top() + line.y();
                if (y < top)
                    continue;
                if (y >= bottom)
                    return;
                RecordLine(dc, block, line, QPointF(origin.x() + (blockRect.left() + line.x()) * scale.x(),
                    origin.y() + (y - top) * scale.y()), scale);
            }
        }
    }

private:
    /// Where a page that line of block does not fit ends, as the paragraphs ask: never after
    /// just a paragraph's first line or before just its last (widow control), and never
    /// between a paragraph kept with the next and that next one; unless that would leave the
    /// page starting at start empty.
    int KeepingParagraphsTogether(const QTextBlock& block, int line, int start) const
    {
        const QTextLayout* layout = block.layout();
        int lineIndex = line;
        if (block.blockFormat().boolProperty(WidowControlProperty) && lineIndex > 0) {
            // Two lines at least on each side, else the whole paragraph moves on.
            lineIndex = std::min(lineIndex, layout->lineCount() - 2);
            if (lineIndex < 2)
                lineIndex = 0;
        }
        int position = block.position() + layout->lineAt(lineIndex).textStart();
        if (position <= start)
            return block.position() + layout->lineAt(line).textStart();
        if (lineIndex > 0)
            return position;
        for (QTextBlock previous = block.previous(); previous.isValid() && previous.position() > start
             && previous.blockFormat().boolProperty(KeepWithNextProperty); previous = previous.previous())
            position = previous.position();
        return position;
    }

    /// Where a page ending at position ends instead: before the table row that holds the
    /// position, unless that row starts at the page's start (a row taller than a page splits).
    int KeepingRowsWhole(int position, int pageStart) const
    {
        QTextCursor cursor(FDocument.get());
        cursor.setPosition(position);
        const QTextTable* table = cursor.currentTable();
        if (!table)
            return position;
        const int row = table->cellAt(position).row();
        int rowStart = position;
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.row() == row)
                rowStart = std::min(rowStart, cell.firstPosition());
        }
        return rowStart > pageStart ? rowStart : position;
    }

    double BlockTop(const QTextBlock& block) const { return FDocument->documentLayout()->blockBoundingRect(block).top(); }

    static int FirstLineAt(const QTextBlock& block, int position)
    {
        const QTextLine line = block.layout()->lineForTextPosition(position - block.position());
        return line.isValid() ? line.lineNumber() : 0;
    }

    void RecordLine(TDeviceContext* dc, const QTextBlock& block, const QTextLine& line, QPointF at, QPointF scale) const
    {
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + line.textStart() + 1);
        const QTextCharFormat format = cursor.charFormat();
        TDrawRecord record;
        record.Kind = TDrawRecord::drText;
        record.Text = block.text().mid(line.textStart(), line.textLength());
        const int left = int(std::lround(at.x())), top = int(std::lround(at.y()));
        record.Rect = dc->LPtoDP(TRect{left, top, left + int(std::lround(line.naturalTextWidth() * scale.x())),
            top + int(std::lround(line.height() * scale.y()))});
        // The font as the layout used it: resolved against the default and the layout's device.
        const QFont font(format.font().resolve(FDocument->defaultFont()), &FDevice);
        record.FontName = font.family();
        record.FontHeight = -int(std::lround(QFontInfo(font).pixelSize() * scale.y() * std::abs(dc->Transform().m22())));
        record.FontStyle = (font.bold() ? TFontStyles(fsBold) : 0u) | (font.italic() ? TFontStyles(fsItalic) : 0u)
            | (font.underline() ? TFontStyles(fsUnderline) : 0u) | (font.strikeOut() ? TFontStyles(fsStrikeOut) : 0u);
        record.Color = format.foreground().style() == Qt::NoBrush ? clBlack : FromQColor(format.foreground().color());
        record.BrushStyle = bsClear;
        dc->Recorder()->Add(std::move(record));
    }

    int FDpiX;
    int FDpiY;
    double FWidth;
    QImage FDevice;
    std::unique_ptr<QTextDocument> FDocument;
};

// ---- The control ------------------------------------------------------------------------

TCustomRichEdit::TCustomRichEdit(TComponent* AOwner, QWidget* parent)
    : QTextEdit(parent)
    , TWinControl(AOwner)
    , FLines(std::make_unique<TRichEditStrings>(this))
{
    setAcceptRichText(true);
    WatchDocument();
    connect(this, &QTextEdit::textChanged, this, [this] {
        GuardEvent([this] {
            if (FOnChange)
                FOnChange(this);
        });
    });
    connect(this, &QTextEdit::selectionChanged, this, [this] {
        GuardEvent([this] {
            if (FOnSelectionChange)
                FOnSelectionChange(this);
        });
    });
}

TCustomRichEdit::~TCustomRichEdit()
{
    // Jobs printing the control forget it while it is still whole.
    DestroyComponent();
}

void TCustomRichEdit::SetLines(const TStrings* Value)
{
    FLines->Assign(Value);
}

int TCustomRichEdit::GetTextLen() const
{
    return document()->characterCount() - 1;
}

namespace {
TRichEditFileFormat FormatOf(const QString& fileName, const QByteArray& bytes)
{
    if (bytes.startsWith("{\\rtf"))
        return ffRtf;
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("rtf"))
        return ffRtf;
    if (suffix == QLatin1String("htm") || suffix == QLatin1String("html"))
        return ffHtml;
    if (suffix == QLatin1String("md") || suffix == QLatin1String("markdown"))
        return ffMarkdown;
    return ffPlainText;
}
} // namespace

void TCustomRichEdit::LoadFromFile(const QString& FileName, TRichEditFileFormat Format)
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\": %2").arg(FileName, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (Format == ffAuto)
        Format = FormatOf(FileName, bytes);
    switch (Format) {
    case ffRtf: {
        // Read into a document of its own first, so a failure leaves the control as it was.
        QTextDocument read;
        read.setDefaultFont(document()->defaultFont());
        ReadRtf(bytes, &read);
        setDocument(read.clone(this));
        // The editor puts its own wrapping on a document it is given: the file's, then.
        setWordWrapMode(read.defaultTextOption().wrapMode());
        WatchDocument();
        return;
    }
    case ffHtml: setHtml(DecodeTextFile(bytes)); break;
    case ffMarkdown: setMarkdown(DecodeTextFile(bytes)); break;
    default: setPlainText(DecodeTextFile(bytes)); break;
    }
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

void TCustomRichEdit::SaveToFile(const QString& FileName) const
{
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\": %2").arg(FileName, file.errorString()));
    file.write(WriteRtf(*document()));
    if (!file.commit())
        throw EFCreateError(QStringLiteral("Cannot write file \"%1\": %2").arg(FileName, file.errorString()));
}

void TCustomRichEdit::WatchDocument()
{
    // Any change of the text or its formatting makes the printing layout stale.
    FWatchedDocument = document();
    connect(FWatchedDocument, &QTextDocument::contentsChanged, this, [this] { FLayoutStale = true; });
    FLayoutStale = true;
}

TRichEditLayout* TCustomRichEdit::LayoutFor(const TFormatRange& Range)
{
    // A document set on the editor directly is watched from its first printing on.
    if (document() != FWatchedDocument)
        WatchDocument();
    const TDeviceContext* target = Range.hdcTarget ? Range.hdcTarget : Range.hdc;
    if (!target)
        throw EInvalidOperation(QStringLiteral("Formatting a range needs a device context"));
    const int dpiX = target->GetDeviceCaps(LOGPIXELSX);
    const int dpiY = target->GetDeviceCaps(LOGPIXELSY);
    const double width = std::max(0.0, FromTwips(Range.rc.Right - Range.rc.Left, dpiX));
    if (FLayoutStale || !FLayout || !FLayout->Matches(dpiX, dpiY, width)) {
        FLayout.reset();
        FLayout = std::make_unique<TRichEditLayout>(*document(), dpiX, dpiY, width);
        FLayoutStale = false;
    }
    return FLayout.get();
}

int TCustomRichEdit::FormatRange(const TFormatRange* Range, bool Render)
{
    // Nothing of a device is kept between calls; the layout itself stays for the next page.
    if (!Range)
        return 0;
    TRichEditLayout* layout = LayoutFor(*Range);
    const int length = layout->Length();
    const int start = std::clamp(Range->chrg.cpMin, 0, length);
    if (!Render)
        return layout->FirstPositionBelow(start, FromTwips(Range->rc.Bottom - Range->rc.Top, layout->DpiY()));

    TDeviceContext* dc = Range->hdc;
    if (!dc)
        throw EInvalidOperation(QStringLiteral("Rendering a range needs a device context"));
    const int end = Range->chrg.cpMax < 0 ? length : std::clamp(Range->chrg.cpMax, start, length);
    const int dcDpiX = dc->GetDeviceCaps(LOGPIXELSX);
    const int dcDpiY = dc->GetDeviceCaps(LOGPIXELSY);
    const QPointF origin(FromTwips(Range->rc.Left, dcDpiX), FromTwips(Range->rc.Top, dcDpiY));
    const QPointF scale(double(dcDpiX) / layout->DpiX(), double(dcDpiY) / layout->DpiY());
    if (dc->Painter())
        layout->Draw(dc->Painter(), dc->PainterTransform(), origin, scale, start, end);
    if (dc->Recorder())
        layout->Record(dc, origin, scale, start, end);
    return end;
}

void TCustomRichEdit::keyPressEvent(QKeyEvent* event)
{
    bool swallowed = false;
    GuardEvent([&] {
        int key = VirtualKey(event->key());
        if (key != 0 && FOnKeyDown) {
            FOnKeyDown(this, key, event->modifiers());
            swallowed = key == 0;
        }
        const QString text = event->text();
        if (!swallowed && FOnKeyPress && text.size() == 1 && (text[0].isPrint() || text[0] == QChar(8))) {
            QChar c = text[0];
            FOnKeyPress(this, c);
            swallowed = c.isNull();
        }
    });
    if (swallowed) {
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

} // namespace Vellaro
