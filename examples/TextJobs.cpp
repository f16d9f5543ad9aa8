// The two text jobs: a list of lines word-wrapped to the page in one font, and a rich text
// document paginated by its own layout; both printed to PDF files.
#include "textjobs/PJRichEdit.h"
#include "textjobs/PJStrings.h"

#include <QApplication>
#include <QFile>

using namespace Vellaro;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Printer()->SelectPrinter(QStringLiteral("PDF file"));

    // A list of lines in one font ("Courier New", 12 points unless set), wrapped to the page.
    TStringsPrintJob lines;
    for (int i = 1; i <= 150; ++i)
        lines.Strings()->Add(QStringLiteral("Line %1: long lines are wrapped at the last space or mark that fits, "
                                            "and every page holds as many lines as fit.").arg(i));
    lines.Update();                 // a list edited in place needs an Update; SetStringsList does it
    Printer()->PdfPrinter()->SetOutputPath(QStringLiteral("lines.pdf"));
    lines.Print();

    // Rich text: RTF, HTML, Markdown or plain text, laid out and paginated by the control.
    QFile rtf(QStringLiteral("letter.rtf"));
    rtf.open(QIODevice::WriteOnly);
    rtf.write("{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs28 {\\b Dear reader,}\\par "
              "this letter was {\\i written} in RTF and printed page by page.\\par}");
    rtf.close();
    TRichEdit edit;
    edit.LoadFromFile(QStringLiteral("letter.rtf"));
    TRichEditPrintJob letter;
    letter.SetRichEdit(&edit);      // paginates; a header and footer can come from OnDraw
    Printer()->PdfPrinter()->SetOutputPath(QStringLiteral("letter.pdf"));
    letter.Print();
    return 0;
}
