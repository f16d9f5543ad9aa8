#include "platform/data/SqlCapabilities.h"

#include "platform/data/Field.h"

namespace Vellaro {

TSqlCapabilities TSqlCapabilities::Of(const QString& Driver, QSqlDriver::DbmsType Kind, bool HasTransactions)
{
    TSqlCapabilities caps;
    caps.Driver = Driver;
    caps.Kind = Kind;
    // SQLite 3.25, PostgreSQL 8.4 and MariaDB 10.2 on; Debian 12 has newer ones of each.
    caps.WindowFunctions = Kind == QSqlDriver::SQLite || Kind == QSqlDriver::PostgreSQL || Kind == QSqlDriver::MySqlServer;
    switch (Kind) {
    case QSqlDriver::SQLite:
        caps.Paging = TSqlPaging::LimitOffset;
        caps.StreamsRows = true; // rows are stepped one by one
        caps.KeepsSubqueryOrder = true;
        break;
    case QSqlDriver::PostgreSQL:
        caps.Paging = TSqlPaging::LimitOffset;
        caps.StreamsRows = true; // a forward-only query runs in single-row mode
        caps.KeepsSubqueryOrder = true;
        break;
    case QSqlDriver::MySqlServer:
        caps.Paging = TSqlPaging::LimitOffset; // the client library stores the whole result
        caps.TextLengthInBytes = true;
        break;
    case QSqlDriver::MSSqlServer:
    case QSqlDriver::Oracle:
    case QSqlDriver::DB2:
    case QSqlDriver::Interbase:
        caps.Paging = TSqlPaging::OffsetFetch;
        break;
    default:
        caps.Paging = TSqlPaging::Scan;
        break;
    }
    if (HasTransactions) {
        switch (Kind) {
        case QSqlDriver::SQLite: caps.Snapshot = TSqlSnapshot::ReadTransaction; break;
        case QSqlDriver::PostgreSQL: caps.Snapshot = TSqlSnapshot::RepeatableRead; break;
        case QSqlDriver::MySqlServer: caps.Snapshot = TSqlSnapshot::ConsistentRead; break;
        default: caps.Snapshot = TSqlSnapshot::DriverDefault; break;
        }
    }
    return caps;
}

TSqlCapabilities TSqlCapabilities::Of(const QString& Driver, const QSqlDriver* SqlDriver)
{
    return Of(Driver, SqlDriver->dbmsType(), SqlDriver->hasFeature(QSqlDriver::Transactions));
}

QString TSqlCapabilities::Window(const QString& Select, qint64 Skip, qint64 Rows) const
{
    switch (Paging) {
    case TSqlPaging::LimitOffset:
        if (Rows >= 0)
            return QStringLiteral("%1 LIMIT %2 OFFSET %3").arg(Select).arg(Rows).arg(Skip);
        if (Skip == 0)
            return Select;
        // Without a limit: the largest 64-bit count, which SQLite, PostgreSQL and MySQL all take.
        return QStringLiteral("%1 LIMIT %2 OFFSET %3").arg(Select, QStringLiteral("9223372036854775807")).arg(Skip);
    case TSqlPaging::OffsetFetch: {
        if (Skip == 0 && Rows < 0)
            return Select;
        QString text = QStringLiteral("%1 OFFSET %2 ROWS").arg(Select).arg(Skip);
        if (Rows >= 0)
            text += QStringLiteral(" FETCH NEXT %1 ROWS ONLY").arg(Rows);
        return text;
    }
    case TSqlPaging::Scan: break;
    }
    return Select;
}

QString TSqlCapabilities::InTransactionProbe() const
{
    switch (Snapshot) {
    case TSqlSnapshot::RepeatableRead: return QStringLiteral("SELECT txid_current_if_assigned() IS NOT NULL");
    case TSqlSnapshot::ConsistentRead: return QStringLiteral("SELECT @@in_transaction");
    default: return QString();
    }
}

QStringList TSqlCapabilities::BeginSnapshot() const
{
    switch (Snapshot) {
    case TSqlSnapshot::ReadTransaction: return {QStringLiteral("BEGIN")};
    case TSqlSnapshot::RepeatableRead: return {QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY")};
    case TSqlSnapshot::ConsistentRead:
        return {QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ"),
            QStringLiteral("START TRANSACTION WITH CONSISTENT SNAPSHOT, READ ONLY")};
    case TSqlSnapshot::DriverDefault: return {};
    case TSqlSnapshot::None: break;
    }
    throw EDatabaseError(QStringLiteral("The %1 driver cannot read a print run from one snapshot: it has no transactions").arg(Driver));
}

} // namespace Vellaro
