#include "../support/TempDir.h"

#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>

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
