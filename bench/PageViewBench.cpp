// Loads a 300 KB page with 40 pictures from an archive of 20,000 entries 50
// times into a page view and prints the time from the load request to the
// page laid out in full (median, quartiles, worst).
#include "controls/PageView.h"
#include "core/ResourceArchive.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Jpeg.h"
#include "platform/Text.h"
#include "tools/ArchiveWriter.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr int kEntries = 20000;
constexpr int kPictures = 40;
constexpr int kPageBytes = 300 * 1024;
constexpr int kLoads = 50;

QByteArray picture(int i)
{
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(QColor::fromHsv((i * 37) % 360, 120, 220));
    QPainter p(&image);
    p.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("Рисунок %1").arg(i));
    p.end();
    return platform::encodeJpeg(image, 85);
}

// A manual page: headings, paragraphs, a table now and then and the
// pictures spread through it, about kPageBytes in Windows-1251.
QByteArray manualPage()
{
    QString html = QStringLiteral("<html><head><title>Снятие и установка коробки передач</title>"
                                  "<link rel=\"stylesheet\" href=\"../style.css\"></head><body>");
    const QString sentence =
        QStringLiteral("Отверните болты крепления и снимите кронштейн, придерживая его рукой. ");
    int section = 0;
    while (html.size() < kPageBytes) {
        html += QStringLiteral("<h2>%1. Порядок работ</h2>").arg(section + 1);
        for (int p = 0; p < 6; ++p)
            html += QStringLiteral("<p>") + sentence.repeated(4) + QStringLiteral("</p>");
        if (section < kPictures)
            html += QStringLiteral("<p align=\"center\"><a href=\"pics/fig%1.jpg\"><img "
                                   "src=\"pics/fig%1.jpg\"></a><br>Рис. %1</p>")
                        .arg(section);
        if (section % 4 == 0) {
            html += QStringLiteral("<table border=\"1\" width=\"100%\">");
            for (int r = 0; r < 6; ++r)
                html +=
                    QStringLiteral("<tr><td>Момент затяжки</td><td>%1 Н·м</td><td>М%2</td></tr>")
                        .arg(20 + r)
                        .arg(6 + r);
            html += QStringLiteral("</table>");
        }
        ++section;
    }
    if (section < kPictures)
        std::fprintf(stderr, "page too short for the pictures\n");
    html += QStringLiteral("</body></html>");
    return platform::encode1251(html);
}

// CPU time of this thread: what the load costs, whatever else the machine runs.
double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

double percentile(std::vector<double> v, double q)
{
    std::sort(v.begin(), v.end());
    return v[size_t(q * double(v.size() - 1) + 0.5)];
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
    platform::setAppFolderOverride(platform::toVirtual(dir.path() + u'/'));
    const QString native = dir.path() + QStringLiteral("/interface.dat");

    ArchiveWriter writer;
    QString error;
    for (int i = 0; i < kEntries - kPictures - 2; ++i) {
        const QString name = QStringLiteral("pages\\глава%1\\стр_%2.htm").arg(i % 40).arg(i);
        writer.add(archiveEntryName(name, &error),
                   QByteArray("<html><body>page ") + QByteArray::number(i) + "</body></html>",
                   i % 3 == 0);
    }
    for (int i = 0; i < kPictures; ++i)
        writer.add(archiveEntryName(QStringLiteral("pages\\kpp\\pics\\fig%1.jpg").arg(i), &error),
                   picture(i), false);
    writer.add(archiveEntryName(QStringLiteral("pages\\style.css"), &error),
               "h2 { color: #003366; } p { margin-top: 4px; }", false);
    const QByteArray page = manualPage();
    writer.add(archiveEntryName(QStringLiteral("pages\\kpp\\kpp.htm"), &error), page, true);
    QString writeError;
    if (!writer.writeFile(native, &writeError)) {
        std::fprintf(stderr, "cannot write the archive: %s\n", qPrintable(writeError));
        return 1;
    }
    if (!OpenArchive(platform::toVirtual(native))) {
        std::fprintf(stderr, "cannot open the archive\n");
        return 1;
    }

    TSkHtml view;
    view.resize(800, 600);
    view.show();
    QApplication::processEvents();

    std::vector<double> ms, cpu;
    for (int i = 0; i < kLoads; ++i) {
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = threadCpuMs();
        if (!view.LoadPage(QStringLiteral("pages\\kpp\\kpp.htm"))) {
            std::fprintf(stderr, "load failed\n");
            return 1;
        }
        view.document()->documentLayout()->documentSize(); // laid out in full
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(threadCpuMs() - cpuStart);
        QApplication::processEvents();
    }
    std::printf("page %lld bytes, %d pictures, %lld archive entries, document height %.0f px\n",
                qlonglong(page.size()), kPictures, qlonglong(ArchiveEntries().size()),
                view.document()->size().height());
    std::printf("load to laid out over %d loads: first %.1f ms, median %.1f ms, "
                "quartiles %.1f/%.1f ms, worst %.1f ms\n",
                kLoads, ms.front(), percentile(ms, 0.5), percentile(ms, 0.25), percentile(ms, 0.75),
                *std::max_element(ms.begin(), ms.end()));
    std::printf("thread CPU time: median %.1f ms, quartiles %.1f/%.1f ms\n", percentile(cpu, 0.5),
                percentile(cpu, 0.25), percentile(cpu, 0.75));
    if (!quiet.messages.isEmpty())
        std::printf("messages: %s\n", qPrintable(quiet.texts().join(u'|')));
    CloseArchive();
    return 0;
}
