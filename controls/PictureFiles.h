#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Picture helpers of the controls. They live apart from the core because
// they need Qt Gui, which the widget-free core does not link.

// The named picture read through the archive: ".bmp" (any case) as a bitmap,
// every other extension decoded as JPEG. A null image, with *error set, when
// the file is missing or cannot be decoded; the caller decides what to show.
QImage LoadBitmapResource(const QString &name, QString *error = nullptr);

// The bitmap as JPEG bytes with the given quality (1..100); empty for a null
// bitmap or when encoding fails.
QByteArray BitmapToJpeg(const QImage *bitmap, int quality);
