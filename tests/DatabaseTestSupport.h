#pragma once
// Real databases for the data tests: an SQLite file in a temporary folder, and a throwaway
// PostgreSQL server that the test program starts for itself (a fresh cluster in a temporary
// folder, reachable only over a Unix socket there), shared by the cases of one process and
// stopped and removed when the program's tests end, failed or not. When the server cannot
// start, the PostgreSQL cases are skipped with the reason.

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVariant>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <pwd.h>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace Vellaro::Testing {

/// A PostgreSQL server of its own: initdb and pg_ctl in a temporary folder, run as the
/// postgres user when the tests run as root. Stopped and removed by the destructor.
class PostgresServer {
public:
    PostgresServer()
    {
        FBinDir = FindBinDir();
        if (FBinDir.isEmpty()) {
            FError = QStringLiteral("no PostgreSQL server programs (initdb, pg_ctl) found");
            return;
        }
        QByteArray dir = QDir::temp().filePath(QStringLiteral("vellaro-pg-XXXXXX")).toLocal8Bit();
        if (!mkdtemp(dir.data())) {
            FError = QStringLiteral("cannot make a temporary folder");
            return;
        }
        FDir = QString::fromLocal8Bit(dir);
        if (geteuid() == 0) {
            // The server refuses to run as root: the folder goes to the postgres user.
            const passwd* user = getpwnam("postgres");
            if (!user || chown(dir.constData(), user->pw_uid, user->pw_gid) != 0) {
                FError = QStringLiteral("no postgres user to run the server as");
                return;
            }
        }
        if (!Run(QStringLiteral("initdb"), {"-D", DataDir(), "-A", "trust", "-U", "postgres", "-E", "UTF8", "--no-locale", "--no-sync"}))
            return;
        FStarted = Run(QStringLiteral("pg_ctl"),
            {"-D", DataDir(), "-w", "-t", "60", "-l", FDir + "/server.log", "-o",
                QStringLiteral("-c listen_addresses='' -k %1 -c fsync=off -c full_page_writes=off").arg(FDir), "start"});
    }
    ~PostgresServer()
    {
        if (FStarted)
            Run(QStringLiteral("pg_ctl"), {"-D", DataDir(), "-m", "fast", "-w", "stop"});
        if (!FDir.isEmpty())
            QDir(FDir).removeRecursively();
    }
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    bool Running() const { return FStarted; }
    /// Why the server is not running.
    QString Error() const { return FError; }
    /// The folder holding the server's Unix socket: the host name for a client.
    QString SocketDir() const { return FDir; }

private:
    QString DataDir() const { return FDir + QStringLiteral("/data"); }

    static QString FindBinDir()
    {
        // Debian keeps each major version apart; take the newest.
        QDir versions(QStringLiteral("/usr/lib/postgresql"));
        QStringList names = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
        for (const QString& name : names)
            if (QFile::exists(versions.filePath(name + QStringLiteral("/bin/pg_ctl"))))
                return versions.filePath(name + QStringLiteral("/bin"));
        const QString onPath = QStandardPaths::findExecutable(QStringLiteral("pg_ctl"));
        return onPath.isEmpty() ? QString() : QFileInfo(onPath).absolutePath();
    }

    bool Run(const QString& tool, const QStringList& args)
    {
        QProcess process;
        QStringList command{FBinDir + QLatin1Char('/') + tool};
        command += args;
        if (geteuid() == 0)
            command = QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--")} + command;
        process.setWorkingDirectory(FDir);
        process.start(geteuid() == 0 ? QStringLiteral("runuser") : command.takeFirst(), command);
        const bool ok = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        if (!ok) {
            QFile log(FDir + QStringLiteral("/server.log"));
            log.open(QIODevice::ReadOnly);
            FError = QStringLiteral("%1 failed: %2 %3 %4")
                         .arg(tool, QString::fromLocal8Bit(process.readAllStandardError()).trimmed(), process.errorString(),
                             QString::fromLocal8Bit(log.readAll().right(500)));
        }
        return ok;
    }

    QString FBinDir;
    QString FDir;
    QString FError;
    bool FStarted = false;
};

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
/// Stops the shared server when the program's tests end, whatever their outcome.
class PostgresEnvironment : public ::testing::Environment {
public:
    void TearDown() override { SharedPostgresHolder().reset(); }
};
inline const bool PostgresEnvironmentRegistered = (::testing::AddGlobalTestEnvironment(new PostgresEnvironment), true);

/// Which database a parameterised case runs against, and its spelling of a binary column.
struct DatabaseBackend {
    const char* Name;
    const char* Driver;
    const char* BlobType;
};
inline const DatabaseBackend SQLiteBackend{"SQLite", "QSQLITE", "BLOB"};
inline const DatabaseBackend PostgresBackend{"PostgreSQL", "QPSQL", "BYTEA"};
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
    /// Cuts the connection under the application's feet: the server ends the session (PostgreSQL)
    /// or the connection is closed (SQLite).
    void LoseConnection()
    {
        if (!IsPostgres()) {
            Db().close();
            return;
        }
        {
            QSqlDatabase admin = QSqlDatabase::cloneDatabase(Db(), QStringLiteral("vellaro-test-admin"));
            if (!admin.open())
                throw std::runtime_error(admin.lastError().text().toStdString());
            QSqlQuery query(admin);
            if (!query.exec(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                           "WHERE pid <> pg_backend_pid() AND backend_type = 'client backend'")))
                throw std::runtime_error(query.lastError().text().toStdString());
        }
        QSqlDatabase::removeDatabase(QStringLiteral("vellaro-test-admin"));
    }

private:
    QTemporaryDir FFolder;
    DatabaseBackend FBackend = SQLiteBackend;
    bool FAdded = false;
};

} // namespace Vellaro::Testing
