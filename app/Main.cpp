// The viewer: one copy per user; everything it shows comes from
// "interface.dat" next to the executable (or the files on disk there).
#include "platform/Dialogs.h"
#include "platform/Printers.h"
#include "platform/QtDialogs.h"
#include "platform/QtPrinters.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"
#include "windows/MainWindow.h"

#include <QApplication>
#include <QPointer>

int main(int argc, char **argv)
{
    platform::SingleInstance instance(QStringLiteral("ТЕВИР"));
    if (!instance.tryLock())
        return 0; // another copy runs: end at once, silently

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("remont"));
    QApplication::setApplicationDisplayName(QStringLiteral("Ремонт"));
    platform::QtDialogs dialogs;
    platform::setDialogs(&dialogs);
    platform::QtPrinters printers;
    platform::setPrinters(&printers);

    // A desktop logout closes the window the normal way, so nothing is lost.
    // Installed first: a signal during start-up is answered once the loop runs.
    QPointer<TfrmMain> window;
    platform::TerminationSignals terminations([&window](int) {
        if (window)
            window->close();
        else
            QApplication::exit(0);
    });

    TfrmMain mainWindow;
    window = &mainWindow;
    // The search window is created here, after the main window.
    // The print preview window is created here, after the search window.
    QObject::connect(&mainWindow, &QDialog::finished, &app, [] { QApplication::quit(); });

    mainWindow.show();
    const int code = QApplication::exec();
    platform::setDialogs(nullptr);
    platform::setPrinters(nullptr);
    return code;
}
