// A database table printed as a grid: a small SQLite database made here, one column per visible
// field, 30 records a page, printed to a PDF file.
#include "gridjobs/PJDBGrid.h"

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlQuery>

using namespace Vellaro;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("towns"));
    db.setDatabaseName(QStringLiteral("towns.sqlite"));                 // any Qt SQL driver works
    db.open();
    QSqlQuery(db).exec(QStringLiteral("CREATE TABLE IF NOT EXISTS towns "
                                      "(id INTEGER PRIMARY KEY, name VARCHAR(30), inhabitants INTEGER)"));
    QSqlQuery(db).exec(QStringLiteral("DELETE FROM towns"));
    for (int i = 1; i <= 100; ++i)
        QSqlQuery(db).exec(QStringLiteral("INSERT INTO towns VALUES (%1, 'Town %1', %2)").arg(i).arg(i * 1250));

    TDataSet towns;
    towns.SetConnectionName(QStringLiteral("towns"));
    towns.SetTableName(QStringLiteral("towns"));                        // or SetSQL("SELECT ...")
    TDataSource source;
    source.SetDataSet(&towns);

    TDBGridPrintJob job;
    job.SetTitle(QStringLiteral("Towns"));
    job.SetDataSource(&source);
    job.SetRowsPerPage(30);
    job.SetOptions({joMargins, joHeader, joFooter});
    job.SetMarginsUnits(unMillimeters);
    TMargins margins(15, 15, 15, 15);
    job.SetMargins(&margins);
    job.SetHeaderUnits(unMillimeters);
    job.SetHeader(10);
    job.SetFooterUnits(unMillimeters);
    job.SetFooter(10);
    towns.Open();                                                       // the job counts fields and records
    towns.FieldByName(QStringLiteral("id"))->SetVisible(false);
    towns.FieldByName(QStringLiteral("name"))->SetDisplayLabel(QStringLiteral("Town"));

    Printer()->SelectPrinter(QStringLiteral("PDF file"));
    Printer()->PdfPrinter()->SetOutputPath(QStringLiteral("towns.pdf"));
    job.Print();                                                        // a database failure raises; no PDF is left
    return 0;
}
