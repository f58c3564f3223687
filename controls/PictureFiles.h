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

// A picture drawn for a denser screen: "pics\a.gif" at scale 2 is
// "pics\a@2x.gif", as Qt names its own high-density pictures.
QString ScaledPictureName(const QString &name, int scale);

// The name of the densest variant of the picture the manual holds (archive or
// disk) for a screen of that device-pixel ratio, with its scale in *scale;
// the name itself (scale 1) when there is none or the screen is not dense.
QString DensestPicture(const QString &name, qreal devicePixelRatio, int *scale);
