// remont-render: builds a structure file into an offscreen window exactly as
// the viewer does, and reports what was built (JSON) or shows it (PNG).
#include "core/CommandLine.h"
#include "core/PathUtils.h"
#include "core/ResourceArchive.h"
#include "engine/GenericWindow.h"
#include "engine/StructureEngine.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/FormLayout.h"
#include "platform/Process.h"
#include "tools/RenderReport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

constexpr int kUsage = 2;

int usage(const char *problem = nullptr)
{
    if (problem)
        std::fprintf(stderr, "remont-render: %s\n", problem);
    std::fprintf(stderr, "usage: remont-render --app-dir DIR [--size WxH] [--run ACTION]... "
                         "[--json FILE] [--png FILE] STRUCT_FILE\n");
    return kUsage;
}

QString help()
{
    return QStringLiteral(
        "Usage: remont-render --app-dir DIR [OPTION]... STRUCT_FILE\n"
        "Build STRUCT_FILE into an offscreen window exactly as the viewer does, with\n"
        "DIR as the application folder, and report what was built.\n"
        "\n"
        "      --app-dir DIR   the manual's folder (its interface.dat, else its files)\n"
        "      --size WxH      the window's outer size after the build\n"
        "      --run ACTION    run an action on the built window (repeatable)\n"
        "      --json FILE     write the window, its objects and the messages shown\n"
        "      --png FILE      save a picture of the window\n"
        "      --help          display this help and exit\n"
        "      --version       output version information and exit\n"
        "\n"
        "Exit status: 0 when the window was built, 1 when a report could not be\n"
        "written, 2 on a usage error or an unreadable DIR.\n");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit();
}

} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (const QString option = StandardOption(args); !option.isEmpty()) {
        PrintStandardOption(option, QStringLiteral("remont-render"), help());
        return 0;
    }
    // The tool never needs a screen: everything happens offscreen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QString appDir, json, png, structFile;
    QSize size;
    QStringList actions;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        auto value = [&]() {
            return args.isEmpty() ? QString() : args.takeFirst();
        };
        if (a == QLatin1String("--app-dir")) {
            appDir = value();
        } else if (a == QLatin1String("--json")) {
            json = value();
        } else if (a == QLatin1String("--png")) {
            png = value();
        } else if (a == QLatin1String("--run")) {
            actions << value();
        } else if (a == QLatin1String("--size")) {
            const QStringList wh = value().split(u'x');
            bool okW = false, okH = false;
            if (wh.size() == 2)
                size = QSize(wh[0].toInt(&okW), wh[1].toInt(&okH));
            if (!okW || !okH || size.width() <= 0 || size.height() <= 0)
                return usage("--size takes WIDTHxHEIGHT");
        } else if (a.startsWith(u'-') && a.size() > 1) {
            return usage("unknown option");
        } else if (structFile.isEmpty()) {
            structFile = a;
        } else {
            return usage("one structure file only");
        }
    }
    if (appDir.isEmpty() || structFile.isEmpty())
        return usage();
    const QFileInfo dir(appDir);
    if (!dir.isDir() || !dir.isReadable())
        return usage("--app-dir is not a readable folder");

    platform::setAppFolderOverride(platform::toVirtual(dir.absoluteFilePath() + u'/'));
    platform::RecordingDialogs messages;
    platform::setDialogs(&messages);
    OpenArchive(AppPath(QStringLiteral("interface.dat")));

    auto form = std::make_unique<TfrmFORM>();
    auto engine = std::make_unique<TSkStract>(form.get(), structFile);
    engine->LoadStructure();
    form->show();
    if (size.isValid())
        form->resize(size);
    QApplication::processEvents();
    platform::FormLayout::flush(form.get());
    {
        // Nobody answers here: a modal window an action opens is built, shown
        // and closed again, and a request to end the program only ends the run.
        platform::ScopedExitRecorder exits;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [] {
            if (auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                modal->reject();
        });
        closer.start(100);
        for (const QString &action : std::as_const(actions)) {
            engine->RunAction(action);
            QApplication::processEvents();
            if (!exits.codes.isEmpty())
                break;
        }
    }
    QApplication::processEvents();

    int status = 0;
    if (!json.isEmpty()) {
        const QByteArray bytes = QJsonDocument(RenderReport(*engine, messages)).toJson();
        if (!writeFile(json, bytes)) {
            std::fprintf(stderr, "remont-render: cannot write %s\n", qPrintable(json));
            status = 1;
        }
    }
    if (!png.isEmpty()) {
        if (!form->grab().save(png, "PNG")) {
            std::fprintf(stderr, "remont-render: cannot write %s\n", qPrintable(png));
            status = 1;
        }
    }
    engine.reset();
    form.reset();
    platform::setDialogs(nullptr);
    CloseArchive();
    return status;
}
