#include "preview/VLExport.h"

#include "preview/VLProgress.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace Vellaro {

namespace {
TExportDialog::TExecuteHook& Hook()
{
    static TExportDialog::TExecuteHook hook;
    return hook;
}

const char* Suffix(TExportFormat format)
{
    switch (format) {
    case efPng: return "png";
    case efSvg: return "svg";
    case efPdf: break;
    }
    return "pdf";
}

QString WithSuffix(const QString& fileName, TExportFormat format)
{
    const QString suffix = QLatin1String(Suffix(format));
    return QFileInfo(fileName).suffix().compare(suffix, Qt::CaseInsensitive) == 0 ? fileName : fileName + QLatin1Char('.') + suffix;
}
} // namespace

QStringList TExportDialog::Filters()
{
    return {QCoreApplication::translate("Vellaro", "PDF document (*.pdf)"), QCoreApplication::translate("Vellaro", "PNG images, one per page (*.png)"),
        QCoreApplication::translate("Vellaro", "SVG drawings, one per page (*.svg)")};
}

bool TExportDialog::Execute(QWidget* Parent, TExportChoice& Choice)
{
    bool accepted = false;
    if (Hook()) {
        accepted = Hook()(Choice);
    } else {
        const QStringList filters = Filters();
        QString selected = filters.value(int(Choice.Format));
        const QString name = QFileDialog::getSaveFileName(Parent, QCoreApplication::translate("Vellaro", "Save as"), Choice.FileName, filters.join(QStringLiteral(";;")), &selected);
        accepted = !name.isEmpty();
        if (accepted) {
            Choice.FileName = name;
            Choice.Format = TExportFormat(std::max<qsizetype>(0, filters.indexOf(selected)));
        }
    }
    if (accepted)
        Choice.FileName = WithSuffix(Choice.FileName, Choice.Format);
    return accepted;
}

void TExportDialog::SetExecuteHook(TExecuteHook Hook_)
{
    Hook() = std::move(Hook_);
}

bool SaveJobAs(TCustomPrintJob* Job, QWidget* Parent)
{
    if (!Job)
        return false;
    TExportChoice choice;
    choice.FileName = TPdfPrinterDevice::PathForTitle(Job->Title());
    if (!TExportDialog::Execute(Parent, choice))
        return false;
    const TPrintProgress progress(Job, Parent);
    switch (choice.Format) {
    case efPng: return Job->ExportToImages(choice.FileName, choice.ImageDpi);
    case efSvg: return Job->ExportToSvg(choice.FileName);
    case efPdf: break;
    }
    return Job->ExportToPdf(choice.FileName);
}

} // namespace Vellaro
