// Loads a contents tree of 20,000 lines (five levels, 200 distinct icons)
// from an archive, then looks nodes up by link and by action, printing the
// median time of each step over several runs.
#include "controls/ContentsTree.h"
#include "core/ResourceArchive.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "tools/ArchiveWriter.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kLines = 20000;
constexpr int kIcons = 200;
constexpr int kLookups = 100000;
constexpr int kRuns = 7;

QString link(int i)
{
    return QStringLiteral("pages\\глава%1\\страница_%2.htm").arg(i / 500).arg(i);
}

QByteArray iconBytes(int i)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(QColor::fromHsv((i * 7) % 360, 200, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// Levels run 0,1,2,3,4,4,3,2,1,... so every depth holds many nodes.
QByteArray treeFile()
{
    static const int kPattern[] = {0, 1, 2, 3, 4, 4, 3, 4, 2, 3, 1, 2};
    QString text;
    for (int i = 0; i < kLines; ++i) {
        const int level = kPattern[i % std::size(kPattern)];
        QString icon = QStringLiteral("icons\\i%1.bmp").arg(i % kIcons);
        if (i % 3 == 0)
            icon = icon.toUpper(); // same picture, other case
        text += QString(level, u'\t') + QStringLiteral("Раздел номер %1;").arg(i) + link(i) + u';' +
                icon + QStringLiteral("\r\n");
    }
    return platform::encode1251(text);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::RecordingDialogs quiet;
    platform::setDialogs(&quiet);
    QTemporaryDir dir;
    const QString native = dir.path() + QStringLiteral("/interface.dat");

    ArchiveWriter writer;
    QString error;
    writer.add(archiveEntryName(QStringLiteral("tree.txt"), &error), treeFile(), false);
    for (int i = 0; i < kIcons; ++i) {
        writer.add(archiveEntryName(QStringLiteral("icons\\i%1.bmp").arg(i), &error), iconBytes(i),
                   i % 2 == 0);
    }
    QString writeError;
    if (!writer.writeFile(native, &writeError)) {
        std::fprintf(stderr, "cannot write the archive: %s\n", qPrintable(writeError));
        return 1;
    }
    if (!OpenArchive(platform::toVirtual(native)))
        return 1;

    QStringList links;
    for (int i = 0; i < kLookups; ++i) {
        // Mixed case, a tenth of them missing.
        const QString l = link((i * 7919) % kLines);
        links << (i % 10 == 0 ? l + QStringLiteral(".x") : (i % 2 ? l.toUpper() : l));
    }

    std::vector<double> loadMs, openMs, linkUs, actionMs, actionUs;
    qint64 checksum = 0;
    int nodes = 0;
    for (int run = 0; run < kRuns; ++run) {
        auto tree = std::make_unique<TSkTree>();
        tree->ActionText = QStringLiteral("html_load*html_see*insert");
        QElapsedTimer t;
        t.start();
        tree->LoadTree(QStringLiteral("tree.txt"));
        loadMs.push_back(t.nsecsElapsed() / 1e6);
        nodes = int(tree->Links().size());

        // Every node expanded after loading (open_block).
        auto open = std::make_unique<TSkTree>();
        open->SetOpenBlock(true);
        t.restart();
        open->LoadTree(QStringLiteral("tree.txt"));
        openMs.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        for (const QString &l : links)
            checksum += tree->FindNodeByLink(l) != nullptr;
        linkUs.push_back(t.nsecsElapsed() / 1e3 / kLookups);

        // The first search by action builds its index; later ones reuse it.
        t.restart();
        checksum +=
            tree->FindNodeByAction(QStringLiteral("html_load*html_see*") + link(1)) != nullptr;
        actionMs.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        for (int i = 0; i < 1000; ++i) {
            checksum +=
                tree->FindNodeByAction(QStringLiteral("html_load*html_see*") + links[i]) != nullptr;
        }
        actionUs.push_back(t.nsecsElapsed() / 1e3 / 1000);
    }
    std::printf("tree: %d lines, %d icons, %d nodes loaded, %d pictures\n", kLines, kIcons, nodes,
                kIcons);
    std::printf("LoadTree:                    %8.2f ms (median of %d, fresh tree each run)\n",
                median(loadMs), kRuns);
    std::printf("LoadTree with open_block:    %8.2f ms\n", median(openMs));
    std::printf("FindNodeByLink:              %8.3f us per lookup (%d lookups)\n", median(linkUs),
                kLookups);
    std::printf("FindNodeByAction, first:     %8.2f ms (builds its index)\n", median(actionMs));
    std::printf("FindNodeByAction, later:     %8.3f us per lookup\n", median(actionUs));
    std::printf("(checksum %lld, messages %lld)\n", (long long)checksum,
                (long long)quiet.messages.size());
    return 0;
}
