// Several jobs printed as one document with continuous page numbers, the same document four
// pages to a sheet, and the jobs saved to a form file and read back.
#include "multijobs/PJDraft.h"
#include "multijobs/PJMulti.h"
#include "platform/core/DataModule.h"
#include "platform/core/Reader.h"
#include "platform/core/Writer.h"

#include <QApplication>

using namespace Vellaro;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Printer()->SelectPrinter(QStringLiteral("PDF file"));

    TDataModule jobs;               // owns the jobs, and is the root of their form file
    jobs.SetName(QStringLiteral("Jobs"));
    auto* cover = new TPrintJob(&jobs);
    cover->SetName(QStringLiteral("Cover"));
    auto* body = new TPrintJob(&jobs);
    body->SetName(QStringLiteral("Body"));
    body->SetPageCount(3);
    jobs.RegisterMethod(QStringLiteral("DrawPage"), QVariant::fromValue(TDrawEvent(
        [](TComponent* sender, TCanvas* canvas, int page, TRect r, TDrawArea area, TDrawTarget) {
            if (area == daPage)
                canvas->TextOut(r.Left + 300, r.Top + 300,
                    QStringLiteral("%1, page %2").arg(static_cast<TPrintJob*>(sender)->Name()).arg(page));
        })));
    BindEvent(cover, "OnDraw", QStringLiteral("DrawPage"));   // stored in the form file by name
    BindEvent(body, "OnDraw", QStringLiteral("DrawPage"));

    auto* all = new TMultiPrintJob(&jobs);
    all->SetName(QStringLiteral("All"));
    all->Add(cover);
    all->Add(body);                 // 1 + 3 pages
    Printer()->PdfPrinter()->SetOutputPath(QStringLiteral("all.pdf"));
    all->Print();

    auto* sheets = new TDraftPrintJob(&jobs);
    sheets->SetName(QStringLiteral("Sheets"));
    sheets->SetPrintJob(all);
    sheets->SetScale(2);            // 2 x 2 pages a sheet
    sheets->SetSeparators(true);
    Printer()->PdfPrinter()->SetOutputPath(QStringLiteral("sheets.pdf"));
    sheets->Print();

    WriteComponentResFile(QStringLiteral("jobs.vfm"), &jobs);
    TDataModule again;              // the same jobs, read back; EReadError names a bad line
    again.RegisterMethod(QStringLiteral("DrawPage"), jobs.MethodAddress(QStringLiteral("DrawPage")));
    ReadComponentRes(QStringLiteral("jobs.vfm"), &again);
    Printer()->PdfPrinter()->SetOutputPath(QStringLiteral("again.pdf"));
    dynamic_cast<TMultiPrintJob&>(*again.FindComponent(QStringLiteral("All"))).Print();
    return 0;
}
