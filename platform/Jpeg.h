#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// JPEG through libjpeg-turbo. Errors never long-jump through Qt code: they
// come back as a null image or an empty byte array with a message.
namespace platform {

// Decodes a JPEG image (grey, RGB or CMYK) into an RGB32 image. A null image
// and *error set when the bytes are not a readable JPEG.
QImage decodeJpeg(QByteArrayView bytes, QString *error = nullptr);

// Encodes with the given quality (clamped to 1..100); empty on failure.
QByteArray encodeJpeg(const QImage &image, int quality, QString *error = nullptr);

} // namespace platform
