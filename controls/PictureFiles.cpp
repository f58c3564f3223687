#include "controls/PictureFiles.h"

#include "core/ResourceArchive.h"
#include "platform/Jpeg.h"

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
