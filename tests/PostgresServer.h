#pragma once
// A throwaway PostgreSQL server for tests and benchmarks: a fresh cluster in a temporary
// folder, reachable only over a Unix socket there, stopped and removed with the object.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

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
        if (FStarted)
            StartWatcher();
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

    /// Should this process die without running destructors (a crash, a timeout), a watcher
    /// stops the server and removes its folder once the process is gone.
    void StartWatcher() const
    {
        const QString asPostgres = geteuid() == 0 ? QStringLiteral("runuser -u postgres -- ") : QString();
        const QString script = QStringLiteral("exec </dev/null >/dev/null 2>&1; while kill -0 %1; do sleep 1; done; "
                                              "%2'%3/pg_ctl' -D '%4' -m immediate stop; rm -rf '%5'")
                                   .arg(getpid())
                                   .arg(asPostgres, FBinDir, DataDir(), FDir);
        QProcess::startDetached(QStringLiteral("sh"), {QStringLiteral("-c"), script});
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

} // namespace Vellaro::Testing
