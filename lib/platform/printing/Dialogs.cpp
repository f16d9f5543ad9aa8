#include "platform/printing/Dialogs.h"

#include "platform/core/Translations.h"
#include "platform/printing/Printers.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QVBoxLayout>

namespace Vellaro {

namespace {
TPrintDialog::TExecuteHook& PrintHook()
{
    static TPrintDialog::TExecuteHook hook;
    return hook;
}

TPrinterSetupDialog::TExecuteHook& SetupHook()
{
    static TPrinterSetupDialog::TExecuteHook hook;
    return hook;
}

/// Takes over what the user chose in one of Qt's dialogs: printer, paper, orientation.
void ApplyQtChoice(QPrinter& chosen)
{
    TPrinter* printer = Printer();
    if (chosen.outputFormat() == QPrinter::PdfFormat) {
        if (!dynamic_cast<TRecordingPrinterDevice*>(printer->Device())) {
            printer->SelectPrinter(printer->PdfPrinter()->Name());
            if (!chosen.outputFileName().isEmpty())
                printer->PdfPrinter()->SetOutputPath(chosen.outputFileName());
        }
    } else {
        printer->SelectPrinter(chosen.printerName());
    }
    printer->Device()->SetPaperSize(chosen.pageLayout().pageSize());
    printer->SetOrientation(chosen.pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait);
}
} // namespace

void TPrintDialog::SetExecuteHook(TExecuteHook hook)
{
    PrintHook() = std::move(hook);
}

bool TPrintDialog::Execute()
{
    if (PrintHook())
        return PrintHook()(*this);
    return ExecuteQtDialog();
}

bool TPrintDialog::ExecuteQtDialog()
{
    TPrinterDevice* device = Printer()->Device();
    QPrinter* qtPrinter = device->QtPrinter();
    QPrinter fallback(QPrinter::HighResolution);
    if (!qtPrinter)
        qtPrinter = &fallback;
    qtPrinter->setPageOrientation(Printer()->Orientation() == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPrintDialog dialog(qtPrinter);
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintShowPageSize;
    if (FOptions & poPageNums)
        options |= QAbstractPrintDialog::PrintPageRange;
    if (!(FOptions & poDisablePrintToFile))
        options |= QAbstractPrintDialog::PrintToFile;
    dialog.setOptions(options);
    dialog.setMinMax(FMinPage, FMaxPage);
    dialog.setFromTo(FFromPage, FToPage);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (dialog.printRange() == QAbstractPrintDialog::PageRange && dialog.fromPage() > 0) {
        FFromPage = dialog.fromPage();
        FToPage = dialog.toPage();
    }
    ApplyQtChoice(*qtPrinter);
    return true;
}

void TPrinterSetupDialog::SetExecuteHook(TExecuteHook hook)
{
    SetupHook() = std::move(hook);
}

bool TPrinterSetupDialog::Execute()
{
    if (SetupHook())
        return SetupHook()(*this);
    TPrinterDevice* device = Printer()->Device();
    if (!device->NativeSetupDialog())
        return ExecuteOwnDialog();
    QPrinter* qtPrinter = device->QtPrinter();
    qtPrinter->setPageOrientation(Printer()->Orientation() == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPageSetupDialog dialog(qtPrinter);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    ApplyQtChoice(*qtPrinter);
    return true;
}

bool TPrinterSetupDialog::ExecuteOwnDialog()
{
    // Qt's page setup dialog serves only native printers; the PDF printer gets this one.
    TPrinter* printer = Printer();
    TPrinterDevice* device = printer->Device();
    QDialog dialog;
    dialog.setWindowTitle(QCoreApplication::translate("Vellaro", "Printer setup"));
    auto* paper = new QComboBox(&dialog);
    const QPageSize::PageSizeId sizes[] = {QPageSize::A4, QPageSize::A3, QPageSize::A5, QPageSize::Letter, QPageSize::Legal};
    for (QPageSize::PageSizeId id : sizes) {
        paper->addItem(QPageSize::name(id), int(id));
        if (device->PaperSize().id() == id)
            paper->setCurrentIndex(paper->count() - 1);
    }
    auto* portrait = new QRadioButton(QCoreApplication::translate("Vellaro", "Portrait"), &dialog);
    auto* landscape = new QRadioButton(QCoreApplication::translate("Vellaro", "Landscape"), &dialog);
    (printer->Orientation() == poLandscape ? landscape : portrait)->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* form = new QFormLayout;
    form->addRow(QCoreApplication::translate("Vellaro", "Printer:"), new QLabel(device->Name(), &dialog));
    form->addRow(QCoreApplication::translate("Vellaro", "Paper size:"), paper);
    form->addRow(QCoreApplication::translate("Vellaro", "Orientation:"), portrait);
    form->addRow(QString(), landscape);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    device->SetPaperSize(QPageSize(QPageSize::PageSizeId(paper->currentData().toInt())));
    printer->SetOrientation(landscape->isChecked() ? poLandscape : poPortrait);
    return true;
}

} // namespace Vellaro
