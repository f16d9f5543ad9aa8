#pragma once
// A throwaway MariaDB server for tests and benchmarks: a fresh data folder in a temporary
// folder, reachable only over a Unix socket there (no TCP port), stopped and removed with the
// object.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QThread>
#include <csignal>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace Vellaro::Testing {

/// A MariaDB server of its own: mariadb-install-db and mariadbd in a temporary folder, run as
/// the mysql user when the tests run as root. The root account has no password and is reached
/// over the socket only. Stopped and removed by the destructor.
class MariaDbServer {
public:
    MariaDbServer()
    {
        FServer = FindProgram(QStringLiteral("mariadbd"), QStringLiteral("/usr/sbin/mariadbd"));
        const QString install = FindProgram(QStringLiteral("mariadb-install-db"), QStringLiteral("/usr/bin/mariadb-install-db"));
        if (FServer.isEmpty() || install.isEmpty()) {
            FError = QStringLiteral("no MariaDB server programs (mariadbd, mariadb-install-db) found");
            return;
        }
        QByteArray dir = QDir::temp().filePath(QStringLiteral("vellaro-mariadb-XXXXXX")).toLocal8Bit();
        if (!mkdtemp(dir.data())) {
            FError = QStringLiteral("cannot make a temporary folder");
            return;
        }
        FDir = QString::fromLocal8Bit(dir);
        if (geteuid() == 0) {
            // The server refuses to run as root: the folder goes to the mysql user.
            const passwd* user = getpwnam("mysql");
            if (!user || chown(dir.constData(), user->pw_uid, user->pw_gid) != 0) {
                FError = QStringLiteral("no mysql user to run the server as");
                return;
            }
        }
        if (!Install(install))
            return;
        FStarted = Start();
        if (FStarted)
            StartWatcher();
    }
    ~MariaDbServer()
    {
        if (FStarted)
            Stop();
        if (!FDir.isEmpty())
            QDir(FDir).removeRecursively();
    }
    MariaDbServer(const MariaDbServer&) = delete;
    MariaDbServer& operator=(const MariaDbServer&) = delete;

    bool Running() const { return FStarted; }
    /// Why the server is not running.
    QString Error() const { return FError; }
    /// The server's Unix socket: the client's UNIX_SOCKET option.
    QString Socket() const { return FDir + QStringLiteral("/mysqld.sock"); }

private:
    QString DataDir() const { return FDir + QStringLiteral("/data"); }
    QString PidFile() const { return FDir + QStringLiteral("/mysqld.pid"); }
    QString LogFile() const { return FDir + QStringLiteral("/server.log"); }

    static QString FindProgram(const QString& name, const QString& usual)
    {
        if (QFile::exists(usual))
            return usual;
        return QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    }

    /// The command as the mysql user when this process is root.
    static QStringList AsServerUser(QStringList command)
    {
        if (geteuid() == 0)
            command = QStringList{QStringLiteral("runuser"), QStringLiteral("-u"), QStringLiteral("mysql"), QStringLiteral("--")} + command;
        return command;
    }

    bool Install(const QString& install)
    {
        QStringList command = AsServerUser({install, QStringLiteral("--no-defaults"), QStringLiteral("--datadir=") + DataDir(),
            QStringLiteral("--auth-root-authentication-method=normal"), QStringLiteral("--skip-test-db")});
        QProcess process;
        process.setWorkingDirectory(FDir);
        process.start(command.takeFirst(), command);
        if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
            return true;
        FError = QStringLiteral("mariadb-install-db failed: %1 %2")
                     .arg(QString::fromLocal8Bit(process.readAllStandardError()).trimmed().right(500), process.errorString());
        return false;
    }

    bool Start()
    {
        QStringList command = AsServerUser({FServer, QStringLiteral("--no-defaults"), QStringLiteral("--datadir=") + DataDir(),
            QStringLiteral("--socket=") + Socket(), QStringLiteral("--skip-networking"), QStringLiteral("--pid-file=") + PidFile(),
            QStringLiteral("--log-error=") + LogFile(), QStringLiteral("--innodb-buffer-pool-size=32M"),
            QStringLiteral("--innodb-log-file-size=16M"), QStringLiteral("--innodb-flush-log-at-trx-commit=0"),
            QStringLiteral("--max-allowed-packet=64M"), QStringLiteral("--character-set-server=utf8mb4"),
            QStringLiteral("--collation-server=utf8mb4_unicode_ci")});
        const QString program = command.takeFirst();
        QProcess server;
        server.setProgram(program);
        server.setArguments(command);
        server.setWorkingDirectory(FDir);
        server.setStandardOutputFile(QProcess::nullDevice());
        server.setStandardErrorFile(FDir + QStringLiteral("/stderr.log")); // start-up warnings stay off the test output
        if (!server.startDetached()) {
            FError = QStringLiteral("cannot run %1").arg(program);
            return false;
        }
        // Ready once the log says so; a server that stops on its way there has written why.
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 60000) {
            QFile log(LogFile());
            if (log.open(QIODevice::ReadOnly)) {
                const QByteArray text = log.readAll();
                if (text.contains("ready for connections") && QFile::exists(Socket()))
                    return true;
                if (text.contains("[ERROR] Aborting")) {
                    FError = QStringLiteral("mariadbd failed: ") + QString::fromLocal8Bit(text.right(500));
                    return false;
                }
            }
            QThread::msleep(50);
        }
        FError = QStringLiteral("mariadbd did not get ready within 60 s");
        return false;
    }

    pid_t ServerPid() const
    {
        QFile file(PidFile());
        return file.open(QIODevice::ReadOnly) ? pid_t(file.readAll().trimmed().toInt()) : 0;
    }

    void Stop() const
    {
        const pid_t pid = ServerPid();
        if (pid <= 0 || kill(pid, SIGTERM) != 0)
            return;
        // The server removes its pid file when it has shut down.
        QElapsedTimer timer;
        timer.start();
        while (kill(pid, 0) == 0 && timer.elapsed() < 30000)
            QThread::msleep(20);
        if (kill(pid, 0) == 0)
            kill(pid, SIGKILL);
    }

    /// Should this process die without running destructors (a crash, a timeout), a watcher
    /// stops the server and removes its folder once the process is gone.
    void StartWatcher() const
    {
        const QString script = QStringLiteral("exec </dev/null >/dev/null 2>&1; while kill -0 %1; do sleep 1; done; "
                                              "pid=$(cat '%2'); [ -n \"$pid\" ] && kill \"$pid\"; "
                                              "while [ -n \"$pid\" ] && kill -0 \"$pid\"; do sleep 1; done; rm -rf '%3'")
                                   .arg(getpid())
                                   .arg(PidFile(), FDir);
        QProcess::startDetached(QStringLiteral("sh"), {QStringLiteral("-c"), script});
    }

    QString FServer;
    QString FDir;
    QString FError;
    bool FStarted = false;
};

} // namespace Vellaro::Testing
