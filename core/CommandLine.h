#pragma once

#include <QString>
#include <QStringList>

// What every program of the project answers on its command line, in the GNU
// manner: --help and --version print on standard output and end with 0; an
// option the program does not know ends with 2 and a hint on standard error.

inline constexpr int kUsageExit = 2;

// The first of --help and --version among the arguments (before a "--"), or
// an empty text when neither is there.
QString StandardOption(const QStringList &args);

// Prints the answer to StandardOption's option: the help text or the version
// line ("remont-pack (Remont) 0.1").
void PrintStandardOption(const QString &option, const QString &program, const QString &help);

QString VersionLine(const QString &program);

// "remont-pack: <problem>" and "Try 'remont-pack --help' for more information."
// on standard error; answers kUsageExit.
int UsageError(const QString &program, const QString &problem);
// The problem text for an option the program does not know.
QString UnknownOption(const QString &option);
