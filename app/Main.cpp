// The viewer: one copy per user, on the manual named on its command line or,
// without one, the manual beside the executable or the installed sample.
#include "core/CommandLine.h"
#include "core/ManualLocation.h"
#include "core/ViewerOptions.h"
#include "platform/CompanionLink.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Printers.h"
#include "platform/QtDialogs.h"
#include "platform/QtPrinters.h"
#include "platform/Shell.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"
#include "windows/MainWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QPointer>

#include <memory>

#ifndef REMONT_APP_ID
#define REMONT_APP_ID "remont"
#endif

namespace {

QStringList argumentsOf(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

void nameApplication()
{
    QApplication::setApplicationName(QStringLiteral("remont"));
    QApplication::setApplicationDisplayName(QStringLiteral("Ремонт"));
    // Wayland and the task bars find the menu entry (and its icon) by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(REMONT_APP_ID));
    // Installed, the icon theme has the program's icon; windows whose manual
    // gives no icon of their own show it.
    if (QIcon::hasThemeIcon(QStringLiteral(REMONT_APP_ID)))
        QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(REMONT_APP_ID)));
}

} // namespace

int main(int argc, char **argv)
{
    // Read before any window system is asked for, so --help works anywhere.
    const ViewerOptions options = ParseViewerOptions(argumentsOf(argc, argv));
    if (!options.Standard.isEmpty()) {
        PrintStandardOption(options.Standard, QStringLiteral("remont"), ViewerHelp());
        return 0;
    }
    if (!options.Error.isEmpty())
        return UsageError(QStringLiteral("remont"), options.Error);

    const ManualChoice choice = ChooseManual(options.Manual);
    if (!choice.Ok) {
        if (!options.FromMenu)
            return ReportStartError(choice.Error, false);
        QApplication app(argc, argv);
        nameApplication();
        platform::QtDialogs dialogs;
        platform::setDialogs(&dialogs);
        const int code = ReportStartError(choice.Error, true);
        platform::setDialogs(nullptr);
        return code;
    }

    platform::SingleInstance instance(QStringLiteral("ТЕВИР"));
    if (!instance.tryLock()) {
        // Another copy runs: it gets this start's manual and page and comes
        // to the front; this one ends at once, successfully.
        QCoreApplication app(argc, argv);
        const QString manual =
            options.Manual.isEmpty() ? QString() : QFileInfo(options.Manual).absoluteFilePath();
        platform::CompanionLink::handOver(platform::viewerTitle(), {manual, options.Page});
        return 0;
    }

    QApplication app(argc, argv);
    nameApplication();
    platform::QtDialogs dialogs;
    platform::setDialogs(&dialogs);
    platform::QtPrinters printers;
    platform::setPrinters(&printers);
    SetCurrentManual(choice.Manual);

    // A desktop logout closes the window the normal way, so nothing is lost.
    // Installed first: a signal during start-up is answered once the loop runs.
    QPointer<TfrmMain> window;
    platform::TerminationSignals terminations([&window](int) {
        if (window)
            window->close();
        else
            QApplication::exit(0);
    });

    auto mainWindow = std::make_unique<TfrmMain>();
    window = mainWindow.get();
    // The search window is created here, after the main window.
    // The print preview window is created here, after the search window.
    QObject::connect(mainWindow.get(), &QDialog::finished, &app, [] { QApplication::quit(); });

    if (!options.Page.isEmpty())
        mainWindow->ShowManualPage(options.Page);
    mainWindow->show();
    const int code = QApplication::exec();

    const QStringList restart = mainWindow->RestartArguments();
    mainWindow.reset(); // saves its state and stops listening before the next copy starts
    if (!restart.isEmpty()) {
        instance.unlock();
        platform::shell().start(platform::toVirtual(QCoreApplication::applicationFilePath()),
                                restart, QString());
    }
    platform::setDialogs(nullptr);
    platform::setPrinters(nullptr);
    return code;
}
