#pragma once

#include <QByteArray>
#include <QString>

// Every data file of a manual is Windows-1251. Text is decoded at the boundary
// and the program works in Unicode inside.
namespace platform {

QString decode1251(QByteArrayView bytes);

// Encodes for files the system's own readers read (archive names). Sets *ok to
// false when a character has no Windows-1251 form.
QByteArray encode1251(QStringView text, bool *ok = nullptr);

// Object names are compared ignoring only the case of Latin A-Z, like the
// component names they stand for.
bool sameLatinName(QStringView a, QStringView b);

} // namespace platform
