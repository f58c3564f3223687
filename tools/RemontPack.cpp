// remont-pack: builds, lists and extracts the viewer's resource archives.
#include "core/CommandLine.h"
#include "core/ResourceArchive.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "tools/ArchiveWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace {

constexpr int kUsage = 2;
constexpr int kRefused = 2;
constexpr int kNoEntry = 1;

void err(const QString &text)
{
    std::fprintf(stderr, "remont-pack: %s\n", text.toLocal8Bit().constData());
}

QString help()
{
    return QStringLiteral(
        "Usage: remont-pack pack ARCHIVE FOLDER [--scramble PATTERN]...\n"
        "  or:  remont-pack list ARCHIVE\n"
        "  or:  remont-pack extract ARCHIVE NAME [-o FILE]\n"
        "Build, list and extract the viewer's manual archives (interface.dat).\n"
        "\n"
        "  pack      store every file below FOLDER under its relative name, in lower\n"
        "            case with backslashes\n"
        "  list      one line per entry: name, size, offset, flag (tab-separated)\n"
        "  extract   the entry the viewer reads for NAME, to standard output or FILE\n"
        "\n"
        "      --scramble PATTERN   store entries matching PATTERN scrambled\n"
        "                             (* any run, ? one character, / stands for \\)\n"
        "  -o FILE                  write the extracted entry to FILE\n"
        "      --help               display this help and exit\n"
        "      --version            output version information and exit\n"
        "\n"
        "Exit status: 0 on success, 1 when extract finds no such entry, 2 on a usage\n"
        "error or a file that is not a readable archive.\n");
}

int usage()
{
    std::fprintf(stderr, "usage: remont-pack pack ARCHIVE FOLDER [--scramble PATTERN]...\n"
                         "       remont-pack list ARCHIVE\n"
                         "       remont-pack extract ARCHIVE NAME [-o FILE]\n");
    return kUsage;
}

// Opens the archive with the viewer's own reader, so what the tool shows is
// what the viewer would read.
bool openWithReader(const QString &nativeArchive)
{
    if (!QFileInfo(nativeArchive).isFile()) {
        err(QStringLiteral("%1: no such file").arg(nativeArchive));
        return false;
    }
    if (!OpenArchive(platform::toVirtual(QFileInfo(nativeArchive).absoluteFilePath()))) {
        err(QStringLiteral("%1: not a readable archive").arg(nativeArchive));
        return false;
    }
    return true;
}

int pack(const QStringList &args)
{
    if (args.size() < 2)
        return usage();
    QStringList patterns;
    for (qsizetype i = 2; i < args.size(); ++i) {
        if (args[i] != QLatin1String("--scramble") || i + 1 >= args.size())
            return usage();
        patterns.append(args[++i]);
    }
    const PackResult result = packFolder(args[0], args[1], patterns);
    if (!result.ok) {
        err(result.error);
        return kRefused;
    }
    std::printf("%s: %d entries (%d scrambled)\n", qPrintable(args[0]), result.entries,
                result.scrambled);
    return 0;
}

int list(const QStringList &args)
{
    if (args.size() != 1)
        return usage();
    if (!openWithReader(args[0]))
        return kRefused;
    for (const TData &e : ArchiveEntries()) {
        const QString line = QStringLiteral("%1\t%2\t%3\t%4\n")
                                 .arg(platform::decode1251(e.name))
                                 .arg(e.size)
                                 .arg(e.offset)
                                 .arg(e.flag);
        std::fputs(line.toUtf8().constData(), stdout);
    }
    return 0;
}

int extract(const QStringList &args)
{
    if (args.size() != 2 && !(args.size() == 4 && args[2] == QLatin1String("-o")))
        return usage();
    if (!openWithReader(args[0]))
        return kRefused;
    const int index = FindEntry(args[1]);
    if (index < 0) {
        err(QStringLiteral("%1: no entry named \"%2\"").arg(args[0], args[1]));
        return kNoEntry;
    }
    const QByteArray data = ExtractEntry(index);
    if (args.size() == 4) {
        QSaveFile out(args[3]);
        if (!out.open(QIODevice::WriteOnly) || out.write(data) != data.size() || !out.commit()) {
            err(QStringLiteral("%1: %2").arg(args[3], out.errorString()));
            return kRefused;
        }
        return 0;
    }
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly) || out.write(data) != data.size())
        return kRefused;
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (const QString option = StandardOption(args); !option.isEmpty()) {
        PrintStandardOption(option, QStringLiteral("remont-pack"), help());
        return 0;
    }
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    if (command == QLatin1String("pack"))
        return pack(args);
    if (command == QLatin1String("list"))
        return list(args);
    if (command == QLatin1String("extract"))
        return extract(args);
    return usage();
}
