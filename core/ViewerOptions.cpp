#include "core/ViewerOptions.h"

#include "core/CommandLine.h"
#include "platform/Dialogs.h"

#include <cstdio>

ViewerOptions ParseViewerOptions(const QStringList &args)
{
    ViewerOptions options;
    options.Standard = StandardOption(args);
    if (!options.Standard.isEmpty())
        return options;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && arg == QLatin1String("--from-menu")) {
            options.FromMenu = true;
        } else if (!optionsEnded && arg.startsWith(QLatin1String("--page="))) {
            options.Page = arg.mid(7);
        } else if (!optionsEnded && arg == QLatin1String("--page")) {
            if (i + 1 >= args.size()) {
                options.Error = QStringLiteral("option '--page' requires an argument");
                return options;
            }
            options.Page = args[++i];
        } else if (!optionsEnded && arg.startsWith(u'-') && arg.size() > 1) {
            options.Error = UnknownOption(arg);
            return options;
        } else if (options.Manual.isEmpty()) {
            options.Manual = arg;
        } else {
            options.Error = QStringLiteral("one MANUAL only (also given: '%1')").arg(arg);
            return options;
        }
    }
    return options;
}

int ReportStartError(const QString &text, bool fromMenu)
{
    std::fputs(QStringLiteral("remont: %1\n").arg(text).toLocal8Bit().constData(), stderr);
    if (fromMenu)
        platform::showMessage(text);
    return kUsageExit;
}

QStringList ViewerArguments(const QString &manual, const QString &page)
{
    QStringList args;
    if (!page.isEmpty())
        args << QStringLiteral("--page=") + page;
    if (!manual.isEmpty())
        args << QStringLiteral("--") << manual;
    return args;
}

QString ViewerHelp()
{
    return QStringLiteral(
        "Usage: remont [OPTION]... [MANUAL]\n"
        "Show an electronic car-repair manual.\n"
        "\n"
        "MANUAL is a manual folder (holding interface.dat, or the loose files\n"
        "struct_main.txt and the rest) or a manual archive file. Without MANUAL the\n"
        "viewer shows the manual beside the program (interface.dat next to the\n"
        "executable), otherwise the first remont/manuals/sample in the XDG data\n"
        "folders (the sample manual of the installation).\n"
        "\n"
        "One copy runs per user: a second start hands MANUAL and PAGE to the running\n"
        "copy, which comes to the front, and ends at once.\n"
        "\n"
        "      --page=PAGE    show PAGE of the manual (a name such as\n"
        "                       pages\\engine\\index.htm) in the page view\n"
        "      --from-menu    report start-up errors in a message box too\n"
        "                       (the desktop entry passes it)\n"
        "      --help         display this help and exit\n"
        "      --version      output version information and exit\n"
        "\n"
        "Exit status: 0 when the viewer ran or handed over to the running copy;\n"
        "2 when MANUAL does not exist or is not a manual, or the command line is wrong.\n");
}
