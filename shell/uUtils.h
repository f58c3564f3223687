#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Path, text and value helpers shared by every part of the viewer. Paths are
// in the program's Windows form (see platform/FileSystem.h); positions and
// counts are in characters.

// Colour in the manual's layout: 0x00BBGGRR (blue in the high byte).
using TColor = quint32;

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

// Head before the first separator; the text keeps what follows it. Without the
// separator the whole text is the head and the text becomes empty.
QString CutToken(QString &text, const QString &separator);
QString TextAfter(const QString &text, const QString &separator);
QString CutChars(int n, QString &text);
QString ShortenText(const QString &text, int n);

// First line at or after start that contains the key ignoring case (or starts
// with it when prefixOnly); -1 when none. progress receives index + 1 after
// every tested line.
int FindInList(const QStringList &list, const QString &key, int start,
               const std::function<void(int)> &progress, bool prefixOnly);

bool ParseBool(const QString &text, bool defaultValue);
QString BoolText(bool value);
// "#RRGGBB", "$BBGGRR" or "BBGGRR". An empty or non-hexadecimal text is not a
// colour: the answer is empty and callers keep the colour they had.
std::optional<TColor> ParseColor(const QString &text);
bool IsEven(int value);

// ShellExecute through the platform's shell hook; the result is ignored.
void ShellOpen(const QString &file, const QString &parameters, const QString &verb);
// Records the wallpaper under "Control Panel\Desktop" and asks the desktop to
// show it when it has a tool for that; nothing is reported otherwise.
void SetWallpaper(const QString &pictureFile, bool tile);
// True when there is no default printer, after showing the message (skinned
// box) when it is not empty.
bool NoDefaultPrinter(const QString &message);
