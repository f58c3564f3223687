// Build helper: renders the viewer's scalable icon into the fixed sizes the
// hicolor icon theme wants, OUTDIR/<N>x<N>/apps/NAME.png.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: remont_icon_render SVG OUTDIR NAME SIZE...\n");
        return 2;
    }
    QSvgRenderer svg(args[0]);
    if (!svg.isValid()) {
        std::fprintf(stderr, "remont_icon_render: %s is not a readable SVG\n", qPrintable(args[0]));
        return 1;
    }
    for (const QString &text : args.mid(3)) {
        bool ok = false;
        const int size = text.toInt(&ok);
        if (!ok || size <= 0 || size > 1024) {
            std::fprintf(stderr, "remont_icon_render: bad size %s\n", qPrintable(text));
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args[1]).arg(size);
        if (!QDir().mkpath(folder) ||
            !image.convertToFormat(QImage::Format_ARGB32)
                 .save(folder + u'/' + args[2] + QStringLiteral(".png"), "PNG")) {
            std::fprintf(stderr, "remont_icon_render: cannot write into %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
