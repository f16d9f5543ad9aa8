#include "Headless.h"

#include "VLDemoUnit.h"
#include "platform/core/Application.h"
#include "platform/printing/Printers.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>

namespace Vellaro::Demo {

namespace {

/// Selects the PDF printer for the life of a scope and then the printer selected before.
class TPdfPrinterScope {
public:
    TPdfPrinterScope() : FPrevious(Printer()->PrinterIndex())
    {
        if (!Printer()->SelectPrinter(Printer()->PdfPrinter()->Name()))
            throw Exception(QStringLiteral("The built-in PDF printer is not available"));
    }
    ~TPdfPrinterScope()
    {
        if (FPrevious >= 0 && FPrevious != Printer()->PrinterIndex())
            Printer()->SetPrinterIndex(FPrevious);
    }
    TPdfPrinterScope(const TPdfPrinterScope&) = delete;
    TPdfPrinterScope& operator=(const TPdfPrinterScope&) = delete;

private:
    int FPrevious;
};

/// The pane's first page at 100 %: the page panel holds the whole page at that scale.
QImage PreviewPageImage(TPreview* Pane)
{
    const TViewMode mode = Pane->ViewMode();
    const int scale = Pane->ViewScale();
    Pane->SetPageIndex(1);
    Pane->SetViewMode(vmCustom);
    Pane->SetViewScale(100);
    TDrawPanel* page = Pane->PagePanel();
    const QImage image = page->grab(QRect(1, 1, page->ClientWidth(), page->ClientHeight())).toImage();
    Pane->SetViewMode(mode);
    if (mode == vmCustom)
        Pane->SetViewScale(scale);
    return image;
}

} // namespace

bool IsHeadlessSession()
{
    return !Application().IsGuiSession();
}

std::vector<THeadlessOutput> RunHeadless(TfrmMain& Form, const QString& OutDir)
{
    if (!QDir().mkpath(OutDir))
        throw Exception(QStringLiteral("Cannot create the folder '%1'").arg(OutDir));
    const QDir dir(OutDir);
    TPdfPrinterScope pdf;
    std::vector<THeadlessOutput> outputs;
    for (int i = 0; i < Form.DemoCount(); ++i) {
        // Jobs that take the printer's orientation all start from portrait, whatever ran before.
        Printer()->SetOrientation(poPortrait);
        Form.ShowDemo(i);
        const QString base = QStringLiteral("demo-%1").arg(Form.PageCaption(i));
        THeadlessOutput output{QFileInfo(dir.filePath(base + QStringLiteral(".pdf"))).absoluteFilePath(),
            QFileInfo(dir.filePath(base + QStringLiteral(".png"))).absoluteFilePath()};
        Printer()->PdfPrinter()->SetOutputPath(output.Pdf);
        Form.DemoJob(i)->Print();
        if (!PreviewPageImage(Form.PreviewPane()).save(output.Png))
            throw Exception(QStringLiteral("Cannot write the image file '%1'").arg(output.Png));
        outputs.push_back(output);
    }
    return outputs;
}

} // namespace Vellaro::Demo
