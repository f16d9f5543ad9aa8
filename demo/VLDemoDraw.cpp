#include "VLDemoDraw.h"

#include "platform/core/ClassRegistry.h"
#include "platform/data/Field.h"

#include <QMetaProperty>
#include <array>

namespace Vellaro::Demo {

namespace {

TCustomPrintJob* JobOf(TComponent* Sender)
{
    return dynamic_cast<TCustomPrintJob*>(Sender);
}

void SetFont(TCanvas* Canvas, const QString& Name, int Points, TFontStyles Style)
{
    if (!Name.isEmpty())
        Canvas->Font()->SetName(Name);
    Canvas->Font()->SetSize(Points);
    Canvas->Font()->SetStyle(Style);
}

/// One line of text centred horizontally between Left and Right, its top at Top.
void TextCentred(TCanvas* Canvas, int Left, int Right, int Top, const QString& Text)
{
    Canvas->TextOut((Left + Right - Canvas->TextWidth(Text)) / 2, Top, Text);
}

/// One line of text centred both ways in R.
void TextInRect(TCanvas* Canvas, TRect R, const QString& Text)
{
    DrawText(Canvas->Handle(), Text, &R, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void Frame(TCanvas* Canvas, const TRect& R)
{
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Rectangle(R);
    Canvas->Brush()->SetStyle(bsSolid);
}

int Pixels(TCustomPrintJob* Job, double Inches, TDirection Direction)
{
    return Round(Job->InchToPix(Inches, Direction));
}

} // namespace

void InitVerdana(TComponent*, TCanvas* Canvas, TDrawTarget)
{
    Canvas->Font()->SetName(QStringLiteral("Verdana"));
}

void InitArial(TComponent*, TCanvas* Canvas, TDrawTarget)
{
    Canvas->Font()->SetName(QStringLiteral("Arial"));
}

void InitArial12(TComponent*, TCanvas* Canvas, TDrawTarget)
{
    Canvas->Font()->SetName(QStringLiteral("Arial"));
    Canvas->Font()->SetSize(12);
}

// --- About -----------------------------------------------------------------------------------

void DrawAbout(TComponent*, TCanvas* Canvas, int PageIndex, TRect R, TDrawArea Area, TDrawTarget)
{
    if (Area != daPage)
        return;
    Frame(Canvas, R);
    int y = R.Top + R.Height() / 3;
    const auto line = [&](int points, TFontStyles style, const QString& text) {
        SetFont(Canvas, {}, points, style);
        TextCentred(Canvas, R.Left, R.Right, y, text);
        y += Canvas->TextHeight(text) * 3 / 2;
    };
    if (PageIndex == 1) {
        line(20, fsBold, QStringLiteral("Vellaro"));
        line(16, 0, QStringLiteral("Meets all of your printing needs."));
        line(16, 0, QStringLiteral("Print more, better, and easier!"));
    } else if (PageIndex == 2) {
        line(16, 0, QStringLiteral("Printing with print preview for Qt 6 applications."));
        line(16, 0, QStringLiteral("Every page drawn once, for the screen and for paper."));
        line(12, 0, QStringLiteral("https://vellaro.example.org  -  demo@vellaro.example.org"));
        line(12, fsItalic, QStringLiteral("Copy and show this demonstration freely."));
    }
}

// --- Areas -----------------------------------------------------------------------------------

void DrawAreas(TComponent*, TCanvas* Canvas, int, TRect R, TDrawArea Area, TDrawTarget)
{
    static constexpr std::array<TColor, 3> Colours{0xCCFFCC, 0xCCCCFF, 0xFFCCCC}; // header, page, footer
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Colours[size_t(Area)]);
    Canvas->FillRect(R);
}

// --- Published -------------------------------------------------------------------------------

const QStringList& PublishedClasses()
{
    static const QStringList classes{QStringLiteral("TPrintJob"), QStringLiteral("TPreview"),
        QStringLiteral("TPreviewWindow"), QStringLiteral("TPreviewToolbar"), QStringLiteral("TPreviewStatusBar"),
        QStringLiteral("TPreviewComboBox"), QStringLiteral("TPreviewLabel"), QStringLiteral("TSimpleGridPrintJob"),
        QStringLiteral("TSimpleTextGridPrintJob"), QStringLiteral("TStringGridPrintJob"),
        QStringLiteral("TDBGridPrintJob"), QStringLiteral("TListViewPrintJob"), QStringLiteral("TStringsPrintJob"),
        QStringLiteral("TRichEditPrintJob"), QStringLiteral("TMultiPrintJob"), QStringLiteral("TDraftPrintJob")};
    return classes;
}

void PublishedNames(const QString& ClassName, QStringList& Properties, QStringList& Events)
{
    Properties.clear();
    Events.clear();
    const TComponentClass* cls = FindComponentClass(ClassName);
    if (!cls)
        return;
    for (int index : StreamedProperties(cls->MetaObject)) {
        const QMetaProperty property = cls->MetaObject->property(index);
        const QString name = QString::fromLatin1(property.name());
        // Events are the properties holding a handler, named On... by convention.
        if (name.size() > 2 && name.startsWith(QLatin1String("On")) && name.at(2).isUpper())
            Events << name;
        else
            Properties << name;
    }
}

void DrawPublished(TComponent*, TCanvas* Canvas, int PageIndex, TRect R, TDrawArea Area, TDrawTarget)
{
    if (PageIndex < 1 || PageIndex > PublishedClasses().size())
        return;
    const QString className = PublishedClasses().at(PageIndex - 1);
    if (Area == daHeader) {
        SetFont(Canvas, {}, 20, fsBold);
        TextInRect(Canvas, R, className);
        return;
    }
    if (Area != daPage)
        return;
    QStringList properties, events;
    PublishedNames(className, properties, events);
    const int middle = (R.Left + R.Right) / 2;
    SetFont(Canvas, {}, 10, fsBold);
    const int lineHeight = Canvas->TextHeight(QStringLiteral("Hg"));
    Canvas->TextOut(R.Left, R.Top, QStringLiteral("Properties"));
    TextCentred(Canvas, R.Left, R.Right, R.Top, QStringLiteral("Events"));
    SetFont(Canvas, {}, 10, 0);
    for (int i = 0; i < properties.size(); ++i)
        Canvas->TextOut(R.Left, R.Top + (i + 1) * lineHeight, properties.at(i));
    for (int i = 0; i < events.size(); ++i)
        Canvas->TextOut(middle, R.Top + (i + 1) * lineHeight, events.at(i));
}

// --- Simpliest -------------------------------------------------------------------------------

void DrawSimpliest(TComponent*, TCanvas* Canvas, int PageIndex, TRect R, TDrawArea Area, TDrawTarget)
{
    if (Area != daPage)
        return;
    Frame(Canvas, R);
    SetFont(Canvas, QStringLiteral("Arial"), 200, fsBold);
    TextInRect(Canvas, R, QString::number(PageIndex));
}

// --- Rules -----------------------------------------------------------------------------------

void DrawRules(TComponent* Sender, TCanvas* Canvas, int, TRect R, TDrawArea Area, TDrawTarget)
{
    TCustomPrintJob* job = JobOf(Sender);
    if (!job || Area != daPage)
        return;
    const int M = (R.Top + R.Bottom) / 2;
    Canvas->Font()->SetName(QStringLiteral("Verdana"));
    Canvas->Font()->SetStyle(0);
    Canvas->Font()->SetHeight(-Pixels(job, 0.1, dirVertical));
    Canvas->Brush()->SetStyle(bsClear);
    const int T = Pixels(job, 0.3, dirVertical);
    const int medium = Round(0.75 * job->InchToPix(0.3, dirVertical));
    const int shortTick = Round(0.5 * job->InchToPix(0.3, dirVertical));
    const auto tick = [&](int n) { return n % 10 == 0 ? T : n % 10 == 5 ? medium : shortTick; };
    const double start = job->InchToPix(0.1, dirHorizontal);

    Canvas->MoveTo(R.Left, M);
    Canvas->LineTo(R.Right, M);
    const int W = R.Right - R.Left - Pixels(job, 0.2, dirHorizontal);

    // Millimetres above the line.
    for (int n = 0; n <= int(job->PixToMm(W, dirHorizontal)); ++n) {
        const int x = R.Left + Round(job->MmToPix(n, dirHorizontal) + start);
        Canvas->MoveTo(x, M);
        Canvas->LineTo(x, M - tick(n));
        if (n % 10 == 0) {
            const QString label = QString::number(n);
            Canvas->TextOut(x - Canvas->TextWidth(label) / 2, M - T - Canvas->TextHeight(label), label);
        }
    }
    const QString mm = QStringLiteral("millimeters");
    Canvas->TextOut(R.Left, M - 2 * T - Canvas->TextHeight(mm), mm);

    // Tenths of an inch below it.
    for (int i = 0; i <= int(10 * job->PixToInch(W, dirHorizontal)); ++i) {
        const int x = R.Left + Round(0.1 * job->InchToPix(i, dirHorizontal) + start);
        Canvas->MoveTo(x, M);
        Canvas->LineTo(x, M + tick(i));
        if (i % 10 == 0) {
            const QString label = QString::number(i / 10);
            Canvas->TextOut(x - Canvas->TextWidth(label) / 2, M + T, label);
        }
    }
    Canvas->TextOut(R.Left, M + 2 * T, QStringLiteral("inches"));
}

// --- Database detail -------------------------------------------------------------------------

QStringList WrapText(TCanvas* Canvas, const QString& Text, int Width)
{
    QStringList lines;
    for (const QString& paragraph : Text.split(u'\n')) {
        QString line;
        for (const QString& word : paragraph.split(u' ', Qt::SkipEmptyParts)) {
            const QString candidate = line.isEmpty() ? word : line + u' ' + word;
            if (!line.isEmpty() && Canvas->TextWidth(candidate) > Width) {
                lines << line;
                line = word;
            } else {
                line = candidate;
            }
        }
        lines << line;
    }
    return lines;
}

namespace {

QString FieldText(TDataSet* Fish, int Index)
{
    return Fish->Fields(Index)->DisplayText();
}

void DrawFishHeader(TDataSet* Fish, TCanvas* Canvas, const TRect& R)
{
    SetFont(Canvas, {}, 28, fsBold);
    Canvas->TextOut(R.Left, R.Top, FieldText(Fish, 2));
    Canvas->MoveTo(R.Left, R.Bottom - 1);
    Canvas->LineTo(R.Right, R.Bottom - 1);
}

void DrawFishPage(TCustomPrintJob* Job, TDataSet* Fish, TCanvas* Canvas, const TRect& R, TDrawTarget Target)
{
    const int inch = Pixels(Job, 1, dirVertical);
    const int top = R.Top + inch;
    const int middle = (R.Left + R.Right) / 2;

    // The picture fills the right half, keeping its aspect.
    int pictureBottom = top;
    const TBitmap picture(QImage::fromData(Fish->Fields(7)->Value().toByteArray()));
    if (!picture.Empty()) {
        const int width = R.Right - middle;
        pictureBottom = top + MulDiv(width, picture.Height(), picture.Width());
        Job->DrawBitmap(Canvas, TRect{middle, top, R.Right, pictureBottom}, picture, Target);
    }

    // Three label / value pairs, centred in the left half so that they stay clear of the picture.
    SetFont(Canvas, {}, 13, fsBold);
    const int fontHeight = Canvas->TextHeight(QStringLiteral("Hg"));
    const double cm = Fish->Fields(4)->Value().toDouble();
    const double inches = Fish->Fields(5)->Value().toDouble();
    const QString pairs[3][2] = {
        {QStringLiteral("Category"), FieldText(Fish, 1)},
        {QStringLiteral("Species name"), FieldText(Fish, 3)},
        {QStringLiteral("Length"), QString::asprintf("%0.0f cm / %0.1f inches", cm, inches)}};
    int y = top;
    for (const auto& pair : pairs) {
        SetFont(Canvas, {}, 13, fsBold);
        TextCentred(Canvas, R.Left, middle, y, pair[0]);
        SetFont(Canvas, {}, 13, 0);
        TextCentred(Canvas, R.Left, middle, y + fontHeight, pair[1]);
        y += 4 * fontHeight; // label, value and a gap of twice the font height
    }

    // The notes across the whole width, below both, as far as the area reaches.
    SetFont(Canvas, {}, 13, 0);
    y = std::max(y, pictureBottom) + inch;
    const int lineHeight = Canvas->TextHeight(QStringLiteral("Hg"));
    for (const QString& line : WrapText(Canvas, FieldText(Fish, 6), R.Width())) {
        if (y + lineHeight > R.Bottom)
            break;
        Canvas->TextOut(R.Left, y, line);
        y += lineHeight;
    }
}

void DrawFishFooter(TCustomPrintJob* Job, TCanvas* Canvas, int PageIndex, const TRect& R)
{
    SetFont(Canvas, {}, 10, 0);
    const QString notice = QStringLiteral("Vellaro demo - sample fish data");
    const QString page = QStringLiteral("Page %1 from %2").arg(PageIndex).arg(Job->PageCount());
    const int textTop = R.Bottom - Canvas->TextHeight(page);
    Canvas->TextOut(R.Left, textTop, notice);
    Canvas->TextOut(R.Right - Canvas->TextWidth(page), textTop, page);
    Canvas->MoveTo(R.Left, R.Top);
    Canvas->LineTo(R.Right, R.Top);
}

} // namespace

void DrawFish(TDataSet* Fish, TComponent* Sender, TCanvas* Canvas, int PageIndex, TRect R, TDrawArea Area, TDrawTarget Target)
{
    TCustomPrintJob* job = JobOf(Sender);
    if (!job || !Fish || !Fish->Active() || Fish->FieldCount() < 8 || PageIndex < 1 || PageIndex > Fish->RecordCount())
        return;
    Fish->SetRecNo(PageIndex);
    Canvas->Brush()->SetStyle(bsClear);
    switch (Area) {
    case daHeader: DrawFishHeader(Fish, Canvas, R); break;
    case daPage: DrawFishPage(job, Fish, Canvas, R, Target); break;
    case daFooter: DrawFishFooter(job, Canvas, PageIndex, R); break;
    }
}

// --- Simple text grid ------------------------------------------------------------------------

void TextGridColWidth(TComponent* Sender, TCanvas*, int, int& ColWidth)
{
    if (auto* grid = dynamic_cast<TCustomGridPrintJob*>(Sender); grid && grid->ColCount() > 0)
        ColWidth = grid->GetPageRect().Width() / grid->ColCount();
}

void TextGridCellText(TComponent*, int, int ACol, int ARow, QString& Text)
{
    if (ARow == HeaderRow)
        Text = QStringLiteral("H.%1").arg(ACol);
    else if (ARow == FooterRow)
        Text = QStringLiteral("F.%1").arg(ACol);
    else
        Text = QStringLiteral("%1.%2").arg(ACol).arg(ARow);
}

// --- Colour grid -----------------------------------------------------------------------------

namespace {

struct TNamedColour {
    const char* Name;
    int Red, Green, Blue;
};

constexpr std::array<TNamedColour, 16> StandardColours{{
    {"Black", 0, 0, 0}, {"Maroon", 128, 0, 0}, {"Green", 0, 128, 0}, {"Olive", 128, 128, 0},
    {"Navy", 0, 0, 128}, {"Purple", 128, 0, 128}, {"Teal", 0, 128, 128}, {"Gray", 128, 128, 128},
    {"Silver", 192, 192, 192}, {"Red", 255, 0, 0}, {"Lime", 0, 255, 0}, {"Yellow", 255, 255, 0},
    {"Blue", 0, 0, 255}, {"Fuchsia", 255, 0, 255}, {"Aqua", 0, 255, 255}, {"White", 255, 255, 255}}};

QString ColourCellText(int ACol, int ARow, int IndexStart)
{
    if (ARow == HeaderRow)
        return QStringList{QStringLiteral("#"), QStringLiteral("C"), QStringLiteral("Name"), QStringLiteral("RGB Hex"),
            QStringLiteral("RGB Decimal")}.value(ACol + 1);
    if (ACol == IndexCol)
        return QString::number(ARow + IndexStart);
    const TNamedColour& c = StandardColours[size_t(ARow)];
    switch (ACol) {
    case 1: return QString::fromLatin1(c.Name);
    case 2: return QString::asprintf("%2.2x%2.2x%2.2x", c.Red, c.Green, c.Blue);
    case 3: return QString::asprintf("%d,%d,%d", c.Red, c.Green, c.Blue);
    default: return {};
    }
}

} // namespace

void ColourGridColWidth(TComponent* Sender, TCanvas*, int ACol, int& ColWidth)
{
    auto* grid = dynamic_cast<TCustomGridPrintJob*>(Sender);
    if (!grid)
        return;
    const int width = grid->GetPageRect().Width();
    ColWidth = ACol <= 0 ? width / 10 : width * 8 / 30;
}

void ColourGridDrawCell(TComponent* Sender, TCanvas* Canvas, const TRect& Rect, int, int ACol, int ARow, TDrawTarget)
{
    auto* grid = dynamic_cast<TCustomGridPrintJob*>(Sender);
    const bool body = ARow >= 0 && ARow < int(StandardColours.size());
    if (!grid || (ARow != HeaderRow && !body))
        return;
    if (body && ACol == 0) {
        const TNamedColour& c = StandardColours[size_t(ARow)];
        const int dx = Rect.Width() / 5, dy = Rect.Height() / 5;
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(TColor(c.Red | (c.Green << 8) | (c.Blue << 16)));
        Canvas->FillRect(TRect{Rect.Left + dx, Rect.Top + dy, Rect.Right - dx, Rect.Bottom - dy});
        return;
    }
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(clWhite);
    Canvas->Font()->SetStyle(ARow == HeaderRow ? TFontStyles(fsBold) : 0);
    TextInRect(Canvas, Rect, ColourCellText(ACol, ARow, grid->IndexStart()));
}

} // namespace Vellaro::Demo
