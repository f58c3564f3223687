#include "core/DesktopServices.h"

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Printers.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

#include <QStandardPaths>

void ShellOpen(const QString &file, const QString &parameters, const QString &verb)
{
    platform::shell().open(file, parameters, verb);
}

void SetWallpaper(const QString &pictureFile, bool tile)
{
    {
        platform::RegistryKey key(QStringLiteral("Control Panel\\Desktop"));
        if (key.isOpen()) {
            key.writeString(QStringLiteral("Wallpaper"), pictureFile);
            key.writeString(QStringLiteral("TileWallpaper"),
                            tile ? QStringLiteral("1") : QStringLiteral("0"));
            key.flush();
        }
    }
    // Ask the desktop when it has a tool for it; nothing is reported otherwise.
    const QString gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
    const QString native = platform::findOnDisk(pictureFile);
    if (gsettings.isEmpty() || native.isEmpty())
        return;
    const QString uri = QStringLiteral("file://") + native;
    const QString schema = QStringLiteral("org.gnome.desktop.background");
    platform::shell().start(
        gsettings, {QStringLiteral("set"), schema, QStringLiteral("picture-uri"), uri}, {});
    platform::shell().start(gsettings,
                            {QStringLiteral("set"), schema, QStringLiteral("picture-options"),
                             tile ? QStringLiteral("wallpaper") : QStringLiteral("stretched")},
                            {});
}

bool NoDefaultPrinter(const QString &message)
{
    if (!platform::printers().defaultPrinterName().isEmpty())
        return false;
    if (!message.isEmpty())
        platform::showSkinnedMessage(message);
    return true;
}
