#pragma once

#include <QString>
#include <QStringList>

// The viewer's command line: remont [--page=PAGE] [--from-menu] [MANUAL].
struct ViewerOptions
{
    QString Manual;        // as given (native); empty when none
    QString Page;          // a page of the manual to show at once
    bool FromMenu = false; // started from the desktop: errors also in a message box
    QString Standard;      // "--help" or "--version" when asked for
    QString Error;         // a usage problem (exit 2)
};

ViewerOptions ParseViewerOptions(const QStringList &args);
QString ViewerHelp();

// A start-up error: "remont: <text>" on standard error and, when started from
// the menu, where nobody reads standard error, a message box as well (the
// caller has made the application). Answers the exit code, 2.
int ReportStartError(const QString &text, bool fromMenu);

// The arguments that start the viewer on a manual at a page.
QStringList ViewerArguments(const QString &manual, const QString &page);
