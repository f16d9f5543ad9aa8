#include "platform/controls/RtfWriter.h"

#include "platform/controls/RtfReader.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>
#include <cmath>

namespace Vellaro {

namespace {

constexpr double TwipsPerPixel = TwipsPerDocumentPixel;

int Twips(double pixels)
{
    return int(std::lround(pixels * TwipsPerPixel));
}

/// Collects the fonts and colours the document uses, numbered in the order they are met.
class TRtfTables {
public:
    int FontIndex(const QString& family)
    {
        const qsizetype i = FFonts.indexOf(family);
        if (i >= 0)
            return int(i);
        FFonts << family;
        return int(FFonts.size() - 1);
    }
    /// Colour entries start at 1: entry 0 is the automatic colour.
    int ColorIndex(const QColor& color)
    {
        const QRgb rgb = color.rgb();
        const qsizetype i = FColors.indexOf(rgb);
        if (i >= 0)
            return int(i + 1);
        FColors << rgb;
        return int(FColors.size());
    }
    QByteArray Header() const
    {
        QByteArray out("{\\fonttbl");
        for (int i = 0; i < FFonts.size(); ++i)
            out += "{\\f" + QByteArray::number(i) + "\\fnil " + EscapeText(FFonts[i]) + ";}";
        out += "}\n{\\colortbl;";
        for (QRgb rgb : FColors)
            out += "\\red" + QByteArray::number(qRed(rgb)) + "\\green" + QByteArray::number(qGreen(rgb)) + "\\blue"
                + QByteArray::number(qBlue(rgb)) + ";";
        out += "}\n";
        return out;
    }

    /// Text with RTF's special characters escaped and everything outside ASCII as \uN?.
    static QByteArray EscapeText(const QString& text)
    {
        QByteArray out;
        out.reserve(text.size());
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            if (u == u'\\' || u == u'{' || u == u'}') {
                out += '\\';
                out += char(u);
            } else if (u == u'\t') {
                out += "\\tab ";
            } else if (u == 0x2028) {
                out += "\\line ";
            } else if (u == 0x00A0) {
                out += "\\~";
            } else if (u >= 0x20 && u < 0x80) {
                out += char(u);
            } else if (u >= 0x80) {
                out += "\\u" + QByteArray::number(int(u) > 32767 ? int(u) - 65536 : int(u)) + '?';
            }
        }
        return out;
    }

private:
    QStringList FFonts;
    QList<QRgb> FColors;
};

QByteArray ParagraphProperties(const QTextBlockFormat& format, bool inTable)
{
    QByteArray out("\\pard");
    if (inTable)
        out += "\\intbl";
    const Qt::Alignment align = format.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignHCenter)
        out += "\\qc";
    else if (align & Qt::AlignJustify)
        out += "\\qj";
    else if (align & (Qt::AlignRight | Qt::AlignTrailing))
        out += "\\qr";
    const std::pair<const char*, double> lengths[] = {{"\\li", format.leftMargin()}, {"\\ri", format.rightMargin()},
        {"\\fi", format.textIndent()}, {"\\sb", format.topMargin()}, {"\\sa", format.bottomMargin()}};
    for (const auto& [word, pixels] : lengths)
        if (Twips(pixels) != 0)
            out += word + QByteArray::number(Twips(pixels));
    switch (format.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        if (format.lineHeight() != 100)
            out += "\\sl" + QByteArray::number(int(std::lround(format.lineHeight() * 2.4))) + "\\slmult1";
        break;
    case QTextBlockFormat::MinimumHeight: out += "\\sl" + QByteArray::number(Twips(format.lineHeight())) + "\\slmult0"; break;
    case QTextBlockFormat::FixedHeight: out += "\\sl-" + QByteArray::number(Twips(format.lineHeight())) + "\\slmult0"; break;
    default: break;
    }
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        out += "\\pagebb";
    if (format.boolProperty(KeepWithNextProperty))
        out += "\\keepn";
    out += format.boolProperty(WidowControlProperty) ? "\\widctlpar" : "\\nowidctlpar";
    // The layout measures tab stops from the start of the first line, RTF from the left edge.
    const double lineStart = format.leftMargin() + format.textIndent();
    for (const QTextOption::Tab& tab : format.tabPositions()) {
        if (tab.type == QTextOption::RightTab)
            out += "\\tqr";
        else if (tab.type == QTextOption::CenterTab)
            out += "\\tqc";
        else if (tab.type == QTextOption::DelimiterTab)
            out += "\\tqdec";
        out += "\\tx" + QByteArray::number(Twips(tab.position + lineStart));
    }
    return out + ' ';
}

QByteArray CharacterGroup(const QTextCharFormat& format, const QFont& defaultFont, TRtfTables& tables)
{
    const QStringList families = format.fontFamilies().toStringList();
    const QString family = families.isEmpty() ? defaultFont.family() : families.first();
    const double points = format.fontPointSize() > 0 ? format.fontPointSize() : defaultFont.pointSizeF();
    QByteArray out = "{\\plain\\f" + QByteArray::number(tables.FontIndex(family)) + "\\fs"
        + QByteArray::number(int(std::lround(points * 2)));
    if (format.fontWeight() >= QFont::DemiBold)
        out += "\\b";
    if (format.fontItalic())
        out += "\\i";
    if (format.fontUnderline())
        out += "\\ul";
    if (format.fontStrikeOut())
        out += "\\strike";
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
        out += "\\cf" + QByteArray::number(tables.ColorIndex(format.foreground().color()));
    if (format.hasProperty(QTextFormat::BackgroundBrush) && format.background().style() != Qt::NoBrush)
        out += "\\highlight" + QByteArray::number(tables.ColorIndex(format.background().color()));
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        out += "\\super";
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        out += "\\sub";
    if (const double offset = format.baselineOffset(); offset != 0) {
        const int halfPoints = int(std::lround(offset * points * 2 / 100));
        out += (halfPoints > 0 ? "\\up" : "\\dn") + QByteArray::number(std::abs(halfPoints));
    }
    if (format.fontCapitalization() == QFont::AllUppercase)
        out += "\\caps";
    else if (format.fontCapitalization() == QFont::SmallCaps)
        out += "\\scaps";
    return out + ' ';
}

QByteArray Picture(const QTextDocument& document, const QTextImageFormat& format)
{
    const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(format.name()));
    QImage image = resource.value<QImage>();
    if (image.isNull())
        image = resource.value<QPixmap>().toImage();
    if (image.isNull())
        return {};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const double width = format.width() > 0 ? format.width() : image.width();
    const double height = format.height() > 0 ? format.height() : image.height();
    return "{\\pict\\pngblip\\picw" + QByteArray::number(image.width()) + "\\pich" + QByteArray::number(image.height())
        + "\\picwgoal" + QByteArray::number(Twips(width)) + "\\pichgoal" + QByteArray::number(Twips(height)) + "\n"
        + png.toHex() + "}";
}

} // namespace

namespace {

/// Writes the blocks and tables of a frame in document order.
class TRtfBodyWriter {
public:
    TRtfBodyWriter(const QTextDocument& document, TRtfTables& tables) : FDocument(document), FTables(tables) {}

    QByteArray Write()
    {
        Frame(FDocument.rootFrame(), false);
        return FBody;
    }

private:
    void Frame(const QTextFrame* frame, bool inTable)
    {
        for (auto it = frame->begin(); !it.atEnd(); ++it) {
            if (const auto* table = qobject_cast<const QTextTable*>(it.currentFrame()))
                Table(table);
            else if (it.currentFrame())
                Frame(it.currentFrame(), inTable);
            else
                Paragraph(it.currentBlock(), inTable, "\\par\n");
        }
    }

    void Paragraph(const QTextBlock& block, bool inTable, const char* end)
    {
        FBody += ParagraphProperties(block.blockFormat(), inTable);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                FBody += Picture(FDocument, format.toImageFormat());
                continue;
            }
            FBody += CharacterGroup(format, FDocument.defaultFont(), FTables) + TRtfTables::EscapeText(fragment.text()) + '}';
        }
        FBody += end;
    }

    void Table(const QTextTable* table)
    {
        const QTextTableFormat format = table->format();
        const QList<QTextLength> widths = format.columnWidthConstraints();
        const QTextTableCellFormat first = table->cellAt(0, 0).format().toTableCellFormat();
        const double padding = first.hasProperty(QTextFormat::TableCellLeftPadding) ? first.leftPadding() : format.cellPadding();
        for (int row = 0; row < table->rows(); ++row) {
            FBody += "\\trowd\\trgaph" + QByteArray::number(Twips(padding)) + "\\trleft" + QByteArray::number(Twips(format.leftMargin()));
            double right = format.leftMargin();
            for (int column = 0; column < table->columns(); ++column) {
                const QTextTableCell cell = table->cellAt(row, column);
                FBody += CellDefinition(cell, row, column, format);
                right += ColumnWidth(widths, column, table->columns());
                FBody += "\\cellx" + QByteArray::number(Twips(right)) + '\n';
            }
            for (int column = 0; column < table->columns(); ++column) {
                const QTextTableCell cell = table->cellAt(row, column);
                if (cell.row() == row && cell.column() == column)
                    CellText(cell);
                else
                    FBody += "\\pard\\intbl\\cell\n";
            }
            FBody += "\\row\n";
        }
    }

    QByteArray CellDefinition(const QTextTableCell& cell, int row, int column, const QTextTableFormat& table)
    {
        QByteArray out;
        if (cell.rowSpan() > 1 || cell.row() != row)
            out += cell.row() == row ? "\\clvmgf" : "\\clvmrg";
        if (cell.columnSpan() > 1 || cell.column() != column)
            out += cell.column() == column ? "\\clmgf" : "\\clmrg";
        const QTextTableCellFormat format = cell.format().toTableCellFormat();
        const std::pair<const char*, double> borders[] = {{"t", format.topBorder()}, {"l", format.leftBorder()},
            {"b", format.bottomBorder()}, {"r", format.rightBorder()}};
        for (const auto& [side, width] : borders) {
            const double w = width > 0 ? width : table.border();
            if (w > 0)
                out += QByteArray("\\clbrdr") + side + "\\brdrs\\brdrw" + QByteArray::number(std::max(Twips(w), 1));
        }
        if (format.verticalAlignment() == QTextCharFormat::AlignMiddle)
            out += "\\clvertalc";
        else if (format.verticalAlignment() == QTextCharFormat::AlignBottom)
            out += "\\clvertalb";
        if (format.background().style() != Qt::NoBrush)
            out += "\\clcbpat" + QByteArray::number(FTables.ColorIndex(format.background().color()));
        return out;
    }

    /// A column's width: its fixed width, or its share of a 6.5 inch table.
    static double ColumnWidth(const QList<QTextLength>& widths, int column, int columns)
    {
        const double page = 6.5 * DocumentPixelsPerInch;
        if (column < widths.size()) {
            const QTextLength length = widths[column];
            if (length.type() == QTextLength::FixedLength)
                return length.rawValue();
            if (length.type() == QTextLength::PercentageLength)
                return page * length.rawValue() / 100;
        }
        return page / columns;
    }

    void CellText(const QTextTableCell& cell)
    {
        // Nested frames and tables are left out; the cell's own paragraphs are written.
        std::vector<QTextBlock> blocks;
        for (QTextFrame::iterator it = cell.begin(); !it.atEnd(); ++it)
            if (it.currentBlock().isValid())
                blocks.push_back(it.currentBlock());
        if (blocks.empty())
            FBody += "\\pard\\intbl\\cell\n";
        for (size_t i = 0; i < blocks.size(); ++i)
            Paragraph(blocks[i], true, i + 1 == blocks.size() ? "\\cell\n" : "\\par\n");
    }

    const QTextDocument& FDocument;
    TRtfTables& FTables;
    QByteArray FBody;
};

} // namespace

QByteArray WriteRtf(const QTextDocument& document)
{
    TRtfTables tables;
    tables.FontIndex(document.defaultFont().family());
    const QByteArray body = TRtfBodyWriter(document, tables).Write();
    const int tabDistance = Twips(document.defaultTextOption().tabStopDistance());
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\\deftab" + QByteArray::number(tabDistance) + "\n" + tables.Header() + body + "}\n";
}

} // namespace Vellaro
