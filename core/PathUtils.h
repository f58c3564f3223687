#pragma once

#include <QString>
#include <QStringList>

// Path helpers shared by every part of the viewer. Paths are in the program's
// Windows form (see platform/FileSystem.h).

// Folder of the running executable, with trailing backslash.
QString AppFolder();
// The name made absolute against the application folder: unchanged when it
// has a drive; otherwise one leading "\" is dropped and AppFolder prepended.
QString AppPath(const QString &name);
// The name resolved against a folder (AppFolder when empty); "/" counts as
// "\" and every "..\" climbs one folder, dropping what stood before it.
QString ResolvePath(const QString &name, const QString &baseFolder);
QString AddSlash(const QString &text);
QString DelSlash(const QString &text);

// The system's temporary folder with trailing backslash.
QString TempFolder();
// A folder standing in for the Windows folder (the user's data folder here),
// with trailing backslash.
QString WindowsFolder();
// Creates a new empty file "<prefix(3)><unique>.tmp" in the folder and answers
// its full name; empty when the file could not be created.
QString TempFileName(const QString &folder, const QString &prefix);
// The path with every component spelled as it is on disk, no trailing "\".
QString LongPathName(const QString &path);

// The name without its first length(AppFolder) characters when it contains
// ":" anywhere (the folder is taken to be its prefix, not compared).
QString StripAppFolder(const QString &name);
