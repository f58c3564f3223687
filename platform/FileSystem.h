#pragma once

#include <QByteArray>
#include <QString>

// Paths inside the program keep the Windows form the manuals are written in
// (backslashes, "X:" drives). The POSIX root is drive Z:, as under Wine, and
// these functions are the only place where the two forms meet.
namespace platform {

// "Z:\opt\remont\a.txt" -> "/opt/remont/a.txt". Separators may be "\" or "/",
// doubled separators collapse. Relative names are taken against the process's
// working folder. Other drives and UNC names have no native form: empty result.
QString toNative(const QString &path);

// "/opt/remont/a.txt" -> "Z:\opt\remont\a.txt". A relative native path is made
// absolute first. A trailing separator is kept.
QString toVirtual(const QString &nativePath);

// Like toNative, but when the exact name does not exist each component is
// matched ignoring case, as a Windows file system would. Answers the native
// path of what exists, or the plain native form when nothing matches.
QString findOnDisk(const QString &path);

bool fileExists(const QString &path);      // a regular file (case-insensitive lookup)
bool directoryExists(const QString &path); // a directory (case-insensitive lookup)

// Reads a whole file; false (and empty data) when it cannot be read.
bool readFile(const QString &path, QByteArray &data);

// Forgets cached directory listings. Lookups also notice changed folders by
// themselves; this is for callers that just created many files.
void clearDiskCache();

// The application folder of every path rule, in program form, with trailing
// backslash: the running executable's folder unless an override (the manual
// the viewer was started on, remont-render's --app-dir, tests) replaces it.
QString executableFolder();
void setAppFolderOverride(const QString &folder); // program form; empty clears

// The running executable's own folder, native, with trailing slash; never
// overridden.
QString programFolder();

} // namespace platform
