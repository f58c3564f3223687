#include "core/CommandLine.h"

#include <cstdio>

#ifndef REMONT_VERSION
#define REMONT_VERSION "0"
#endif

QString StandardOption(const QStringList &args)
{
    for (const QString &arg : args) {
        if (arg == QLatin1String("--"))
            break;
        if (arg == QLatin1String("--help") || arg == QLatin1String("--version"))
            return arg;
    }
    return {};
}

QString VersionLine(const QString &program)
{
    return program + QStringLiteral(" (Remont) ") + QStringLiteral(REMONT_VERSION);
}

void PrintStandardOption(const QString &option, const QString &program, const QString &help)
{
    const QString text = option == QLatin1String("--version") ? VersionLine(program) + u'\n' : help;
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

int UsageError(const QString &program, const QString &problem)
{
    const QString text =
        QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n").arg(program, problem);
    std::fputs(text.toLocal8Bit().constData(), stderr);
    return kUsageExit;
}

QString UnknownOption(const QString &option)
{
    return QStringLiteral("unrecognized option '%1'").arg(option);
}
