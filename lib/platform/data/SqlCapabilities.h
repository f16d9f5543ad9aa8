#pragma once
// What a Qt SQL driver's database can do for a data set: how a window of rows past the first
// is asked for, whether a forward-only query hands rows over as they arrive (so one query can
// stream a whole print run), and how a print run reads one snapshot. Taken from the driver's
// own report of its database kind and features, never from guesses about its name.

#include "platform/core/Types.h"

#include <QSqlDriver>
#include <QString>
#include <QStringList>

namespace Vellaro {

/// How rows after the first N are asked for.
enum class TSqlPaging {
    LimitOffset, ///< ... LIMIT n OFFSET m
    OffsetFetch, ///< ... OFFSET m ROWS FETCH NEXT n ROWS ONLY
    Scan,        ///< no clause: the rows before are read and passed over
};

/// How a print run reads the table as it was when the run began.
enum class TSqlSnapshot {
    None,             ///< the driver has no transactions
    ReadTransaction,  ///< SQLite: one read transaction
    RepeatableRead,   ///< PostgreSQL: a read-only repeatable-read transaction
    ConsistentRead,   ///< MySQL/MariaDB: a read-only transaction with a consistent snapshot
    DriverDefault,    ///< another driver: a transaction at the driver's default isolation
};

/// The capabilities of one driver.
struct VELLARO_EXPORT TSqlCapabilities {
    QString Driver; ///< the driver's name, for messages
    QSqlDriver::DbmsType Kind = QSqlDriver::UnknownDbms;
    TSqlPaging Paging = TSqlPaging::Scan;
    /// A forward-only query hands rows over one by one instead of fetching the whole result first.
    bool StreamsRows = false;
    TSqlSnapshot Snapshot = TSqlSnapshot::None;
    /// A subquery's ORDER BY orders the rows selected from it (MySQL/MariaDB drop it), so a
    /// query's columns can be picked from it as a subquery.
    bool KeepsSubqueryOrder = false;
    /// ROW_NUMBER() OVER (ORDER BY ...) is understood.
    bool WindowFunctions = false;
    /// Text columns report their length in bytes of UTF-8 (up to 4 per character).
    bool TextLengthInBytes = false;

    /// Capabilities from a driver's database kind and whether it has transactions.
    static TSqlCapabilities Of(const QString& Driver, QSqlDriver::DbmsType Kind, bool HasTransactions);
    /// Capabilities of an open connection's driver.
    static TSqlCapabilities Of(const QString& Driver, const QSqlDriver* SqlDriver);

    /// The clause that limits Select (which ends in its ORDER BY, if any) to Rows rows after
    /// Skip rows; Rows < 0 means no limit. Empty for Scan paging, where the caller passes over
    /// the first Skip rows itself.
    QString Window(const QString& Select, qint64 Skip, qint64 Rows) const;
    /// A query answering true while the connection is inside a transaction of its own, where a
    /// run's BEGIN would be refused only with a warning (PostgreSQL: one that has written) or
    /// would commit it (MariaDB); empty where BEGIN itself refuses (SQLite) or none is known.
    QString InTransactionProbe() const;
    /// The statements that begin a print run's snapshot; EDatabaseError naming the driver when
    /// it cannot take one.
    QStringList BeginSnapshot() const;
};

} // namespace Vellaro
