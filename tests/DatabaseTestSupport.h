#pragma once
// Real databases for the data tests: an SQLite file in a temporary folder, and throwaway
// PostgreSQL and MariaDB servers that the test program starts for itself (a fresh cluster in a
// temporary folder, reachable only over a Unix socket there), each shared by the cases of one
// process and stopped and removed when the program's tests end, failed or not. When a server
// cannot start, its cases are skipped with the reason.

#include "MariaDbServer.h"
#include "PostgresServer.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <vector>

namespace Vellaro::Testing {

/// The server shared by the cases of this process, started on first use.
inline std::unique_ptr<PostgresServer>& SharedPostgresHolder()
{
    static std::unique_ptr<PostgresServer> server;
    return server;
}
inline PostgresServer& SharedPostgres()
{
    if (!SharedPostgresHolder())
        SharedPostgresHolder() = std::make_unique<PostgresServer>();
    return *SharedPostgresHolder();
}
inline std::unique_ptr<MariaDbServer>& SharedMariaDbHolder()
{
    static std::unique_ptr<MariaDbServer> server;
    return server;
}
inline MariaDbServer& SharedMariaDb()
{
    if (!SharedMariaDbHolder())
        SharedMariaDbHolder() = std::make_unique<MariaDbServer>();
    return *SharedMariaDbHolder();
}
/// Stops the shared servers when the program's tests end, whatever their outcome.
class PostgresEnvironment : public ::testing::Environment {
public:
    void TearDown() override
    {
        SharedPostgresHolder().reset();
        SharedMariaDbHolder().reset();
    }
};
inline const bool PostgresEnvironmentRegistered = (::testing::AddGlobalTestEnvironment(new PostgresEnvironment), true);

/// Which database a parameterised case runs against, and its spelling of a binary column and
/// of a text column of any length.
struct DatabaseBackend {
    const char* Name;
    const char* Driver;
    const char* BlobType;
    const char* TextType;
};
inline const DatabaseBackend SQLiteBackend{"SQLite", "QSQLITE", "BLOB", "TEXT"};
inline const DatabaseBackend PostgresBackend{"PostgreSQL", "QPSQL", "BYTEA", "TEXT"};
inline const DatabaseBackend MariaDbBackend{"MariaDB", "QMYSQL", "LONGBLOB", "LONGTEXT"};
/// Every backend, for INSTANTIATE_TEST_SUITE_P(..., ::testing::ValuesIn(AllBackends), BackendName).
inline const DatabaseBackend AllBackends[] = {SQLiteBackend, PostgresBackend, MariaDbBackend};
inline std::string BackendName(const ::testing::TestParamInfo<DatabaseBackend>& info) { return info.param.Name; }
inline void PrintTo(const DatabaseBackend& backend, std::ostream* os) { *os << backend.Name; }

/// A connection named ConnectionName to a fresh database of the backend, removed afterwards.
class TestDatabase {
public:
    static constexpr const char* ConnectionName = "vellaro-test";

    /// Connects; returns an empty string, or the reason why the backend is not available.
    QString Connect(const DatabaseBackend& backend)
    {
        FBackend = backend;
        QSqlDatabase db = QSqlDatabase::addDatabase(QString::fromLatin1(backend.Driver), QString::fromLatin1(ConnectionName));
        FAdded = true;
        if (QString::fromLatin1(backend.Driver) == QLatin1String("QSQLITE")) {
            db.setDatabaseName(FFolder.filePath(QStringLiteral("test.sqlite")));
        } else if (IsMariaDb()) {
            MariaDbServer& server = SharedMariaDb();
            if (!server.Running())
                return QStringLiteral("MariaDB server did not start: ") + server.Error();
            db.setUserName(QStringLiteral("root"));
            db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + server.Socket());
            if (!db.open())
                return QStringLiteral("cannot connect: ") + db.lastError().text();
            QSqlQuery create(db);
            if (!create.exec(QStringLiteral("CREATE DATABASE IF NOT EXISTS vellaro")))
                return QStringLiteral("cannot create the database: ") + create.lastError().text();
            create.finish();
            db.close();
            db.setDatabaseName(QStringLiteral("vellaro"));
        } else {
            PostgresServer& server = SharedPostgres();
            if (!server.Running())
                return QStringLiteral("PostgreSQL server did not start: ") + server.Error();
            db.setHostName(server.SocketDir());
            db.setUserName(QStringLiteral("postgres"));
            db.setDatabaseName(QStringLiteral("postgres"));
            db.setConnectOptions(QStringLiteral("options=-cclient_min_messages=warning")); // no notices on stderr
        }
        if (!db.open())
            return QStringLiteral("cannot connect: ") + db.lastError().text();
        return QString();
    }
    ~TestDatabase()
    {
        if (!FAdded)
            return;
        QSqlDatabase::database(QString::fromLatin1(ConnectionName), false).close();
        QSqlDatabase::removeDatabase(QString::fromLatin1(ConnectionName));
    }

    static QSqlDatabase Db() { return QSqlDatabase::database(QString::fromLatin1(ConnectionName), false); }
    const DatabaseBackend& Backend() const { return FBackend; }
    bool IsPostgres() const { return QString::fromLatin1(FBackend.Driver) == QLatin1String("QPSQL"); }
    bool IsMariaDb() const { return QString::fromLatin1(FBackend.Driver) == QLatin1String("QMYSQL"); }
    bool IsSQLite() const { return QString::fromLatin1(FBackend.Driver) == QLatin1String("QSQLITE"); }
    /// A second connection to the same database, named Name, as another client would hold it.
    static QSqlDatabase OpenSecondConnection(const QString& Name)
    {
        QSqlDatabase other = QSqlDatabase::cloneDatabase(Db(), Name);
        if (!other.open())
            throw std::runtime_error(other.lastError().text().toStdString());
        return other;
    }

    /// Runs a statement; a refused one fails the test by an exception.
    static void Exec(const QString& sql)
    {
        QSqlQuery query(Db());
        if (!query.exec(sql))
            throw std::runtime_error((sql + QStringLiteral(": ") + query.lastError().text()).toStdString());
    }
    /// A new empty table (dropping one of that name first).
    static void CreateTable(const QString& name, const QString& columns)
    {
        Exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(name));
        Exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(name, columns));
    }
    /// Inserts rows in one transaction through a prepared statement.
    static void Insert(const QString& table, const std::vector<QVariantList>& rows)
    {
        if (rows.empty())
            return;
        QSqlDatabase db = Db();
        db.transaction();
        QSqlQuery query(db);
        QStringList marks;
        for (qsizetype i = 0; i < rows.front().size(); ++i)
            marks << QStringLiteral("?");
        query.prepare(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(table, marks.join(QLatin1Char(','))));
        for (const QVariantList& row : rows) {
            for (qsizetype i = 0; i < row.size(); ++i)
                query.bindValue(int(i), row[i]);
            if (!query.exec())
                throw std::runtime_error(query.lastError().text().toStdString());
        }
        db.commit();
    }
    /// Cuts the connection under the application's feet: the server ends the session
    /// (PostgreSQL, MariaDB) or the connection is closed (SQLite).
    void LoseConnection()
    {
        if (IsSQLite()) {
            Db().close();
            return;
        }
        {
            QSqlDatabase admin = OpenSecondConnection(QStringLiteral("vellaro-test-admin"));
            QSqlQuery query(admin);
            if (IsPostgres()) {
                if (!query.exec(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                               "WHERE pid <> pg_backend_pid() AND backend_type = 'client backend'")))
                    throw std::runtime_error(query.lastError().text().toStdString());
            } else {
                if (!query.exec(QStringLiteral("SELECT id FROM information_schema.processlist "
                                               "WHERE id <> CONNECTION_ID() AND command <> 'Daemon'")))
                    throw std::runtime_error(query.lastError().text().toStdString());
                QStringList ids;
                while (query.next())
                    ids << query.value(0).toString();
                for (const QString& id : ids)
                    QSqlQuery(admin).exec(QStringLiteral("KILL ") + id);
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("vellaro-test-admin"));
    }

private:
    QTemporaryDir FFolder;
    DatabaseBackend FBackend = SQLiteBackend;
    bool FAdded = false;
};

} // namespace Vellaro::Testing
