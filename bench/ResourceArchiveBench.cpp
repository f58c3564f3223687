// Opens an archive of 50,000 entries, looks up 100,000 names and reads 10,000
// small entries, printing the time of each step (median of several runs).
#include "core/ResourceArchive.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "tools/ArchiveWriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kEntries = 50000;
constexpr int kLookups = 100000;
constexpr int kReads = 10000;
constexpr int kRuns = 7;

QString entryName(int i)
{
    return QStringLiteral("pages\\глава%1\\страница_%2.htm").arg(i % 40).arg(i);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    platform::RecordingDialogs quiet;
    platform::setDialogs(&quiet);
    QTemporaryDir dir;
    const QString native = dir.path() + QStringLiteral("/interface.dat");

    ArchiveWriter writer;
    for (int i = 0; i < kEntries; ++i) {
        QString error;
        const QByteArray body =
            QByteArray("<html><body>page ") + QByteArray::number(i) + "</body></html>";
        writer.add(archiveEntryName(entryName(i), &error), body, i % 3 == 0);
    }
    QString writeError;
    if (!writer.writeFile(native, &writeError)) {
        std::fprintf(stderr, "cannot write the archive: %s\n", qPrintable(writeError));
        return 1;
    }
    const QString archive = platform::toVirtual(native);

    std::vector<double> openMs, lookupMs, readMs;
    QStringList queries;
    for (int i = 0; i < kLookups; ++i) {
        // Mixed case like callers write, a tenth of them missing.
        const QString n = entryName((i * 7919) % kEntries);
        queries << (i % 10 == 0 ? n + QStringLiteral(".missing") : (i % 2 ? n.toUpper() : n));
    }
    qint64 checksum = 0;
    for (int run = 0; run < kRuns; ++run) {
        CloseArchive();
        QElapsedTimer t;
        t.start();
        if (!OpenArchive(archive))
            return 1;
        openMs.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        for (const QString &q : queries)
            checksum += FindEntry(q);
        lookupMs.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        for (int i = 0; i < kReads; ++i)
            checksum += OpenResource(queries[(i * 13) % kLookups]).size();
        readMs.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("archive: %d entries, %lld bytes\n", kEntries, (long long)QFileInfo(native).size());
    std::printf("open:            %8.2f ms (median of %d)\n", median(openMs), kRuns);
    std::printf("%d lookups: %8.2f ms\n", kLookups, median(lookupMs));
    std::printf("%d reads:    %8.2f ms (includes disk fallback for missing names)\n", kReads,
                median(readMs));
    std::printf("(checksum %lld)\n", (long long)checksum);
    return 0;
}
