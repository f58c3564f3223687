#include "../support/TempDir.h"
#include "core/ResourceArchive.h"
#include "platform/FileSystem.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLocalSocket>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <gtest/gtest.h>

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

struct RunResult
{
    int code = -1;
    QString out;
};

RunResult run(const QString &program, const QStringList &args,
              const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
              int timeoutMs = 120000)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAll())};
}

// "Key=value" lines of the main group of a desktop entry.
QHash<QString, QString> desktopKeys(const QString &path)
{
    QFile file(path);
    QHash<QString, QString> keys;
    if (!file.open(QIODevice::ReadOnly))
        return keys;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0 && !line.startsWith(u'#'))
            keys.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    return keys;
}

// One installation into a temporary prefix, shared by the tests below.
class Installed : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        prefix = new TempDir;
        const RunResult r = run(s(REMONT_CMAKE), {s("--install"), s(REMONT_BUILD_DIR),
                                                  s("--prefix"), prefix->native()});
        installLog = new QString(r.out);
        installed = r.code == 0;
    }
    static void TearDownTestSuite()
    {
        delete prefix;
        delete installLog;
    }
    void SetUp() override { ASSERT_TRUE(installed) << installLog->toStdString(); }

    static QString path(const QString &relative) { return prefix->native() + u'/' + relative; }
    static QString bin(const QString &name) { return path(s(REMONT_BINDIR "/") + name); }
    static QString data(const QString &relative) { return path(s(REMONT_DATADIR "/") + relative); }
    static QString appId() { return s(REMONT_APP_ID); }
    static QStringList programs() { return s(REMONT_PROGRAMS).split(u','); }

    static inline TempDir *prefix = nullptr;
    static inline QString *installLog = nullptr;
    static inline bool installed = false;
};

} // namespace

TEST_F(Installed, EveryProgramWithItsManualPage)
{
    QStringList inBin = QDir(path(s(REMONT_BINDIR))).entryList(QDir::Files);
    QStringList expected = programs();
    inBin.sort();
    expected.sort();
    EXPECT_EQ(inBin, expected);
    for (const QString &program : programs()) {
        SCOPED_TRACE(program.toStdString());
        EXPECT_TRUE(QFileInfo(bin(program)).isExecutable());
        const QString page = path(s(REMONT_MANDIR "/man1/") + program + s(".1"));
        EXPECT_TRUE(QFileInfo::exists(page + s(".gz")) || QFileInfo::exists(page));
        // The installed program runs where it was installed.
        const RunResult version = run(bin(program), {s("--version")});
        EXPECT_EQ(version.code, 0);
        EXPECT_TRUE(version.out.startsWith(program + s(" (Remont) ") + s(REMONT_VERSION)))
            << version.out.toStdString();
    }
}

TEST_F(Installed, SampleManual)
{
    const QString sample = data(s("remont/manuals/sample/"));
    EXPECT_TRUE(IsArchiveFile(platform::toVirtual(sample + s("interface.dat"))));
    EXPECT_TRUE(QFileInfo(sample + s("skins/remont.qss")).isFile());
}

TEST_F(Installed, DesktopEntryIconsAndMetadata)
{
    const QString entry = data(s("applications/") + appId() + s(".desktop"));
    const QHash<QString, QString> keys = desktopKeys(entry);
    ASSERT_FALSE(keys.isEmpty()) << entry.toStdString();
    EXPECT_EQ(keys.value(s("Type")), s("Application"));
    EXPECT_EQ(keys.value(s("Icon")), appId());
    // The menu starts an installed program on the file it is given.
    const QStringList exec = keys.value(s("Exec")).split(u' ');
    EXPECT_TRUE(programs().contains(exec.value(0))) << keys.value(s("Exec")).toStdString();
    EXPECT_TRUE(exec.contains(s("%f")));

    const QString icons = data(s("icons/hicolor/"));
    EXPECT_TRUE(QFileInfo(icons + s("scalable/apps/") + appId() + s(".svg")).isFile());
    QList<int> sizes;
    const QRegularExpression fixed(s("^(\\d+)x(\\d+)$"));
    for (const QString &folder : QDir(icons).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch m = fixed.match(folder);
        if (!m.hasMatch())
            continue;
        const int size = m.captured(1).toInt();
        const QString png = icons + folder + s("/apps/") + appId() + s(".png");
        EXPECT_EQ(QImageReader(png).size(), QSize(size, size)) << png.toStdString();
        sizes << size;
    }
    std::sort(sizes.begin(), sizes.end());
    ASSERT_FALSE(sizes.isEmpty());
    EXPECT_EQ(sizes.first(), 16);
    EXPECT_EQ(sizes.last(), 256);

    const QString metainfo = data(s("metainfo/") + appId() + s(".metainfo.xml"));
    QFile xml(metainfo);
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(xml.readAll());
    EXPECT_TRUE(text.contains(s("<id>") + appId() + s("</id>")));
    EXPECT_TRUE(text.contains(s("<launchable type=\"desktop-id\">") + appId() + s(".desktop<")));

    // The desktop's own validators, where the machine has them.
    const QString validate = QStandardPaths::findExecutable(s("desktop-file-validate"));
    if (!validate.isEmpty()) {
        const RunResult r = run(validate, {entry});
        EXPECT_EQ(r.code, 0) << r.out.toStdString();
        EXPECT_TRUE(r.out.trimmed().isEmpty()) << r.out.toStdString(); // not even a hint
    }
    const QString appstream = QStandardPaths::findExecutable(s("appstreamcli"));
    if (!appstream.isEmpty()) {
        const RunResult r =
            run(appstream, {s("validate"), s("--no-net"), s("--pedantic"), metainfo});
        EXPECT_EQ(r.code, 0) << r.out.toStdString();
        EXPECT_FALSE(r.out.contains(s("pedantic:"))) << r.out.toStdString();
    }
    if (validate.isEmpty() || appstream.isEmpty())
        std::fprintf(stderr, "note: desktop-file-validate or appstreamcli is missing (scripts/"
                             "install-deps installs both); their checks were left out\n");
}

TEST_F(Installed, ViewerFindsTheInstalledSample)
{
    // Nothing beside the program: the sample comes from the XDG data folders.
    TempDir runtime, home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(s("XDG_RUNTIME_DIR"), runtime.native());
    env.insert(s("XDG_DATA_HOME"), home.native());
    env.insert(s("XDG_DATA_DIRS"), path(s(REMONT_DATADIR)));
    env.insert(s("QT_QPA_PLATFORM"), s("offscreen"));
    QProcess viewer;
    viewer.setProcessEnvironment(env);
    viewer.start(bin(s("remont")), {});
    ASSERT_TRUE(viewer.waitForStarted());
    bool up = false;
    for (int i = 0; i < 600 && !up && viewer.state() == QProcess::Running; ++i) {
        QLocalSocket socket;
        socket.connectToServer(runtime.native() + s("/remont-Ремонт.socket"));
        up = socket.waitForConnected(100);
        if (!up)
            QThread::msleep(100);
    }
    ASSERT_TRUE(up) << viewer.readAllStandardError().toStdString();
    const RunResult shown =
        run(bin(s("remont-send")), {s("show"), s("pages\\engine\\index.htm")}, env, 30000);
    EXPECT_EQ(shown.code, 0) << shown.out.toStdString();
    EXPECT_TRUE(shown.out.startsWith(s("shown"))) << shown.out.toStdString();
    ::kill(pid_t(viewer.processId()), SIGTERM);
    EXPECT_TRUE(viewer.waitForFinished(10000));
    EXPECT_EQ(viewer.exitCode(), 0);
}
