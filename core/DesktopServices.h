#pragma once

#include <QString>

// What the viewer asks of the desktop: opening files, the wallpaper, the
// default printer.

// ShellExecute through the platform's shell hook; the result is ignored.
void ShellOpen(const QString &file, const QString &parameters, const QString &verb);
// Records the wallpaper under "Control Panel\Desktop" and asks the desktop to
// show it when it has a tool for that; nothing is reported otherwise.
void SetWallpaper(const QString &pictureFile, bool tile);
// True when there is no default printer, after showing the message (skinned
// box) when it is not empty.
bool NoDefaultPrinter(const QString &message);
