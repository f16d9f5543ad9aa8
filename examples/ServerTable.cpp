// A table on a PostgreSQL or MariaDB server printed as a grid: the connection from the command
// line, a query whose picture column is hidden (and so never read), printed to a PDF file that
// shows the table as it was when printing began.
//   ServerTable QPSQL  /run/postgresql        postgres shop
//   ServerTable QMYSQL /run/mysqld/mysqld.sock root     shop
#include "gridjobs/PJDBGrid.h"

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <cstdio>

using namespace Vellaro;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: ServerTable QPSQL|QMYSQL host-or-socket user database\n");
        return 2;
    }

    QSqlDatabase db = QSqlDatabase::addDatabase(args[1], QStringLiteral("shop"));
    if (args[2].startsWith(QLatin1Char('/')) && args[1] == QLatin1String("QMYSQL"))
        db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + args[2]); // MariaDB: the socket file
    else
        db.setHostName(args[2]);                                     // PostgreSQL: a host or the socket's folder
    db.setUserName(args[3]);
    db.setDatabaseName(args[4]);
    if (!db.open()) {
        std::fprintf(stderr, "%s\n", qPrintable(db.lastError().text()));
        return 1;
    }

    TDataSet customers;
    customers.SetConnectionName(QStringLiteral("shop"));
    customers.SetSQL(QStringLiteral("SELECT id, name, city, picture FROM customers ORDER BY id")); // or SetTableName
    TDataSource source;
    source.SetDataSet(&customers);

    TDBGridPrintJob job;
    job.SetTitle(QStringLiteral("Customers"));
    job.SetDataSource(&source);
    job.SetRowsPerPage(40);
    job.SetOptions({joMargins, joHeader, joFooter});
    job.SetHeaderUnits(unMillimeters);                               // the titles' band
    job.SetHeader(10);
    job.SetFooterUnits(unMillimeters);                               // the page number's band
    job.SetFooter(10);
    try {
        customers.Open();
        customers.FieldByName(QStringLiteral("picture"))->SetVisible(false); // only shown fields are read
        customers.FieldByName(QStringLiteral("id"))->SetDisplayLabel(QStringLiteral("No."));
        Printer()->SelectPrinter(QStringLiteral("PDF file"));
        Printer()->PdfPrinter()->SetOutputPath(QStringLiteral("customers.pdf"));
        job.Print();                                                 // one snapshot of the table
    } catch (const EDatabaseError& error) {
        std::fprintf(stderr, "%s\n", error.what());                  // no PDF is left behind
        return 1;
    }
    return 0;
}
