#include "../support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <csignal>
#include <gtest/gtest.h>

namespace {

// The viewer and the companion client as a desktop would run them, with a
// runtime folder of their own.
QProcessEnvironment environment(const TempDir &runtime)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.native());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

bool waitForLine(QProcess &process, const QByteArray &line, int timeoutMs)
{
    QByteArray seen;
    for (int waited = 0; waited < timeoutMs; waited += 50) {
        process.waitForReadyRead(50);
        seen += process.readAllStandardOutput();
        if (seen.contains(line))
            return true;
    }
    return false;
}

// The viewer listens for its companion once its windows are built.
bool waitUntilBuilt(const TempDir &runtime, QProcess &viewer, int timeoutMs)
{
    const QString path = runtime.native() + QStringLiteral("/remont-Ремонт.socket");
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        // A socket file left by a killed copy refuses connections.
        QLocalSocket socket;
        socket.connectToServer(path);
        if (socket.waitForConnected(50))
            return true;
        if (viewer.waitForFinished(50))
            return false;
    }
    return false;
}

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

struct RunResult
{
    int code = -1;
    QString out, err;
};

RunResult run(const QString &program, const QStringList &args, const QProcessEnvironment &env,
              int timeoutMs = 30000)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

// A manual of its own: the sample's archive under a name of our choice, with a
// page that no other manual has beside it on disk.
QString manualIn(const TempDir &dir, const QString &archiveName)
{
    const QString built = QFileInfo(QStringLiteral(REMONT_PATH)).dir().filePath(s("interface.dat"));
    QFile::copy(built, dir.native() + u'/' + archiveName);
    dir.write(s("pages/only-here.htm"),
              "<html><head><title>only here</title></head><body>x</body></html>");
    return dir.native();
}

// The page is shown when the viewer answers; a page it could not find would
// hold it in a message box instead.
bool showsPage(const TempDir &runtime, const QString &page)
{
    const RunResult r =
        run(QStringLiteral(REMONT_SEND_PATH), {s("show"), page}, environment(runtime), 20000);
    return r.code == 0 && r.out.startsWith(s("shown"));
}

// The copy holding the single-instance lock, by the process id in the lock.
qint64 lockHolder(const TempDir &runtime)
{
    QFile lock(runtime.native() + s("/remont-ТЕВИР.lock"));
    if (!lock.open(QIODevice::ReadOnly))
        return 0;
    return lock.readLine().trimmed().toLongLong();
}

QString commandLineOf(qint64 pid)
{
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    return cmdline.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(cmdline.readAll())
                                             : QString();
}

void stopByPid(qint64 pid)
{
    ::kill(pid_t(pid), SIGTERM);
    for (int i = 0; i < 200 && QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)); ++i)
        QThread::msleep(50);
}

} // namespace

TEST(ViewerProcess, SingleInstanceSignalsAndTheCompanionClose)
{
    TempDir runtime;
    QProcess companion;
    companion.setProcessEnvironment(environment(runtime));
    companion.start(QStringLiteral(REMONT_SEND_PATH), {QStringLiteral("listen")});
    ASSERT_TRUE(waitForLine(companion, "listening", 10000));

    QProcess first;
    first.setProcessEnvironment(environment(runtime));
    first.start(QStringLiteral(REMONT_PATH), {});
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(waitUntilBuilt(runtime, first, 60000));

    QProcess second;
    second.setProcessEnvironment(environment(runtime));
    second.start(QStringLiteral(REMONT_PATH), {});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    // A desktop logout: the window closes the normal way and the companion hears it.
    ::kill(pid_t(first.processId()), SIGTERM);
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_TRUE(waitForLine(companion, "close", 5000));
    companion.waitForFinished(5000);

    // The lock went with the first copy: a new one starts.
    QProcess third;
    third.setProcessEnvironment(environment(runtime));
    third.start(QStringLiteral(REMONT_PATH), {});
    ASSERT_TRUE(waitUntilBuilt(runtime, third, 60000));
    third.kill(); // killed: leaves its lock file behind
    third.waitForFinished();
    QProcess fourth;
    fourth.setProcessEnvironment(environment(runtime));
    fourth.start(QStringLiteral(REMONT_PATH), {});
    // A killed copy never blocks the next start (its socket file is replaced too).
    ASSERT_TRUE(waitUntilBuilt(runtime, fourth, 60000));
    EXPECT_EQ(fourth.state(), QProcess::Running);
    ::kill(pid_t(fourth.processId()), SIGINT);
    EXPECT_TRUE(fourth.waitForFinished(10000));
    EXPECT_EQ(fourth.exitCode(), 0);
}

TEST(ViewerProcess, ManualArgument)
{
    TempDir runtime, folder, archive, empty;
    manualIn(folder, s("interface.dat"));
    manualIn(archive, s("lada.dat"));
    empty.write(s("readme.txt"), "not a manual");
    struct Case
    {
        QStringList args;
        int code;            // 0: it starts and shows the page
        const char *message; // on standard error
    } cases[] = {
        {{folder.native()}, 0, ""},
        {{s("--page=pages\\only-here.htm"), archive.native() + s("/lada.dat")}, 0, ""},
        {{runtime.native() + s("/missing")}, 2, "remont: Руководство не найдено: "},
        {{empty.native()}, 2, "remont: В папке нет руководства"},
        {{empty.native() + s("/readme.txt")}, 2, "remont: Файл не является архивом руководства: "},
        {{s("--bogus"), folder.native()}, 2, "remont: unrecognized option '--bogus'\nTry 'remont"},
        {{folder.native(), archive.native()}, 2, "remont: one MANUAL only"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        if (c.code != 0) {
            const RunResult r = run(QStringLiteral(REMONT_PATH), c.args, environment(runtime));
            EXPECT_EQ(r.code, c.code);
            EXPECT_TRUE(r.err.startsWith(s(c.message))) << r.err.toStdString();
            continue;
        }
        QProcess viewer;
        viewer.setProcessEnvironment(environment(runtime));
        viewer.start(QStringLiteral(REMONT_PATH), c.args);
        ASSERT_TRUE(waitUntilBuilt(runtime, viewer, 60000));
        // The manual's folder is the application folder: its loose page is found.
        EXPECT_TRUE(showsPage(runtime, s("pages\\only-here.htm")));
        ::kill(pid_t(viewer.processId()), SIGTERM);
        ASSERT_TRUE(viewer.waitForFinished(10000));
        EXPECT_EQ(viewer.exitCode(), 0);
    }
}

TEST(ViewerProcess, HelpAndVersionOfEveryProgram)
{
    // Answered before any window system is asked for: none is reachable here.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(s("QT_QPA_PLATFORM"), s("xcb"));
    env.remove(s("DISPLAY"));
    env.remove(s("WAYLAND_DISPLAY"));
    const struct
    {
        const char *name, *path;
    } programs[] = {{"remont", REMONT_PATH},
                    {"remont-pack", REMONT_PACK_PATH},
                    {"remont-render", REMONT_RENDER_PATH},
                    {"remont-send", REMONT_SEND_PATH}};
    for (const auto &p : programs) {
        SCOPED_TRACE(p.name);
        const RunResult help = run(s(p.path), {s("--help")}, env);
        EXPECT_EQ(help.code, 0);
        EXPECT_TRUE(help.out.startsWith(s("Usage: ") + s(p.name) + u' ')) << help.out.toStdString();
        EXPECT_TRUE(help.out.contains(s("--version"))) << help.out.toStdString();
        const RunResult version = run(s(p.path), {s("--version")}, env);
        EXPECT_EQ(version.code, 0);
        EXPECT_EQ(version.out, s(p.name) + s(" (Remont) ") + s(REMONT_VERSION) + u'\n');
        EXPECT_EQ(run(s(p.path), {s("--no-such-option")}, env).code, 2);
    }
}

TEST(ViewerProcess, SecondStartHandsOverToTheRunningCopy)
{
    TempDir runtime, first, second;
    manualIn(first, s("interface.dat"));
    manualIn(second, s("other.dat"));
    // The copy started in its place writes where this one did: nowhere.
    QProcess viewer;
    viewer.setProcessEnvironment(environment(runtime));
    viewer.setStandardOutputFile(QProcess::nullDevice());
    viewer.setStandardErrorFile(QProcess::nullDevice());
    viewer.start(QStringLiteral(REMONT_PATH), {first.native()});
    ASSERT_TRUE(waitUntilBuilt(runtime, viewer, 60000));

    // The same manual with a page: handed over, and this start ends at once.
    const RunResult again = run(QStringLiteral(REMONT_PATH),
                                {s("--page=pages\\only-here.htm"), first.native() + s("/")},
                                environment(runtime), 10000);
    EXPECT_EQ(again.code, 0);
    EXPECT_EQ(viewer.state(), QProcess::Running);
    // The running copy showed the page and is free again (not held by a message).
    EXPECT_TRUE(showsPage(runtime, s("pages\\only-here.htm")));

    // Another manual: the running copy closes and the program starts on it.
    const RunResult other = run(QStringLiteral(REMONT_PATH), {second.native() + s("/other.dat")},
                                environment(runtime), 10000);
    EXPECT_EQ(other.code, 0);
    ASSERT_TRUE(viewer.waitForFinished(20000));
    EXPECT_EQ(viewer.exitCode(), 0);
    qint64 next = 0;
    for (int i = 0; i < 600 && (next = lockHolder(runtime)) == 0; ++i)
        QThread::msleep(100);
    ASSERT_NE(next, 0);
    EXPECT_NE(next, viewer.processId());
    EXPECT_TRUE(commandLineOf(next).contains(second.native() + s("/other.dat")))
        << commandLineOf(next).toStdString();
    // Not this test's child: it is reached by its socket and its process id.
    bool up = false;
    for (int i = 0; i < 600 && !up; ++i) {
        QLocalSocket socket;
        socket.connectToServer(runtime.native() + s("/remont-Ремонт.socket"));
        up = socket.waitForConnected(100);
        if (!up)
            QThread::msleep(100);
    }
    EXPECT_TRUE(up);
    EXPECT_TRUE(showsPage(runtime, s("pages\\only-here.htm")));
    stopByPid(next);
}
