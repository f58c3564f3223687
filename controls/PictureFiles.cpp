#include "controls/PictureFiles.h"

#include "core/ResourceArchive.h"
#include "platform/Jpeg.h"

#include <algorithm>
#include <cmath>

QImage LoadBitmapResource(const QString &name, QString *error)
{
    const TPack pack(name);
    if (pack.isEmpty()) {
        if (error)
            *error = QStringLiteral("empty picture: ") + name;
        return {};
    }
    if (name.toLower().endsWith(QLatin1String(".bmp"))) {
        QImage image = QImage::fromData(pack.data(), "BMP");
        if (image.isNull() && error)
            *error = QStringLiteral("not a readable bitmap: ") + name;
        return image;
    }
    return platform::decodeJpeg(pack.data(), error);
}

QByteArray BitmapToJpeg(const QImage *bitmap, int quality)
{
    if (!bitmap || bitmap->isNull())
        return {};
    return platform::encodeJpeg(*bitmap, quality);
}

QString ScaledPictureName(const QString &name, int scale)
{
    const QString tag = QStringLiteral("@%1x").arg(scale);
    const qsizetype folder = std::max(name.lastIndexOf(u'\\'), name.lastIndexOf(u'/'));
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= folder)
        return name + tag;
    return name.left(dot) + tag + name.mid(dot);
}

QString DensestPicture(const QString &name, qreal devicePixelRatio, int *scale)
{
    *scale = 1;
    for (int n = std::min(int(std::ceil(devicePixelRatio - 0.01)), 4); n >= 2; --n) {
        const QString dense = ScaledPictureName(name, n);
        if (ResourceExists(dense)) {
            *scale = n;
            return dense;
        }
    }
    return name;
}
