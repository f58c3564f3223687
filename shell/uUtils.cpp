#include "shell/uUtils.h"

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Printers.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <cctype>

namespace {

bool hasDrive(const QString &name)
{
    return name.size() >= 2 && name[1] == u':';
}

// Drops the last component of a folder written without trailing backslash;
// a drive root ("C:") stays where it is.
QString parentFolder(const QString &folder)
{
    const qsizetype slash = folder.lastIndexOf(u'\\');
    if (slash < 0)
        return folder;
    if (hasDrive(folder) && slash == 2 && folder.size() == 3)
        return folder.left(2);
    return folder.left(slash);
}

} // namespace

QString AppFolder()
{
    return platform::executableFolder();
}

QString AppPath(const QString &name)
{
    if (name.isEmpty())
        return {};
    if (hasDrive(name))
        return name;
    return AppFolder() + (name.startsWith(u'\\') ? name.mid(1) : name);
}

QString ResolvePath(const QString &name, const QString &baseFolder)
{
    const QString base0 = baseFolder.isEmpty() ? AppFolder() : baseFolder;
    if (name.isEmpty() || hasDrive(name))
        return name;
    QString rest = name;
    rest.replace(u'/', u'\\');
    int ups = 0;
    const QString up = QStringLiteral("..\\");
    for (qsizetype at = rest.indexOf(up); at >= 0; at = rest.indexOf(up)) {
        rest = rest.mid(at + up.size());
        ++ups;
    }
    QString base = AddSlash(base0);
    if (ups > 0) {
        base = DelSlash(base);
        for (int i = 0; i < ups; ++i)
            base = parentFolder(base);
        base = AddSlash(base);
    }
    return base + rest;
}

QString AddSlash(const QString &text)
{
    if (text.isEmpty() || text.endsWith(u'\\'))
        return text;
    return text + u'\\';
}

QString DelSlash(const QString &text)
{
    if (!text.isEmpty() && text.endsWith(u'\\'))
        return text.left(text.size() - 1);
    return text;
}

QString TempFolder()
{
    return platform::toVirtual(QDir::tempPath() + u'/');
}

QString WindowsFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (data.isEmpty())
        return {};
    QDir().mkpath(data);
    return platform::toVirtual(data + u'/');
}

QString TempFileName(const QString &folder, const QString &prefix)
{
    const QString nativeFolder = platform::findOnDisk(AddSlash(folder));
    if (nativeFolder.isEmpty() || !QFileInfo(nativeFolder).isDir())
        return {};
    const QString head = prefix.left(3);
    // Like the system call: try unique hexadecimal suffixes until a new file
    // can be created exclusively.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const quint32 unique = QRandomGenerator::global()->generate() & 0xFFFFF;
        const QString name = head + QString::number(unique, 16).toUpper() + QStringLiteral(".tmp");
        QFile file(QDir(nativeFolder).filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return AddSlash(folder) + name;
        if (file.error() != QFileDevice::OpenError || !QFileInfo(nativeFolder).isWritable())
            return {};
    }
    return {};
}

QString LongPathName(const QString &path)
{
    if (path.isEmpty())
        return {};
    QString full = path;
    if (!hasDrive(full))
        full = platform::toVirtual(QDir::currentPath() + u'/') +
               (full.startsWith(u'\\') ? full.mid(1) : full);
    full.replace(u'/', u'\\');
    const QStringList parts = full.split(u'\\', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return {};
    QString prefix = parts.first();
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString candidate = prefix + u'\\' + parts[i];
        const QString onDisk = platform::findOnDisk(candidate);
        QString component = parts[i];
        if (!onDisk.isEmpty() && QFileInfo::exists(onDisk))
            component = QFileInfo(onDisk).fileName();
        prefix = prefix + u'\\' + component;
    }
    if (prefix.size() == 2 && hasDrive(prefix))
        prefix += u'\\';
    return prefix;
}

QString CutToken(QString &text, const QString &separator)
{
    const qsizetype at = separator.isEmpty() ? -1 : text.indexOf(separator);
    if (at < 0) {
        QString head = text;
        text.clear();
        return head;
    }
    QString head = text.left(at);
    text = text.mid(at + separator.size());
    return head;
}

QString TextAfter(const QString &text, const QString &separator)
{
    const qsizetype at = separator.isEmpty() ? -1 : text.indexOf(separator);
    return at < 0 ? QString() : text.mid(at + separator.size());
}

QString CutChars(int n, QString &text)
{
    if (n >= 0 && text.size() >= n) {
        QString head = text.left(n);
        text = text.mid(n);
        return head;
    }
    QString head = text;
    text.clear();
    return head;
}

QString ShortenText(const QString &text, int n)
{
    if (n <= 0 || n > text.size())
        return text;
    const QString kept = text.left(n - 1);
    const qsizetype blank = kept.lastIndexOf(u' ');
    if (blank < 0)
        return kept;
    return kept.left(blank) + QStringLiteral("...");
}

int FindInList(const QStringList &list, const QString &key, int start,
               const std::function<void(int)> &progress, bool prefixOnly)
{
    const QString lowered = key.toLower();
    for (int i = qMax(0, start); i < list.size(); ++i) {
        const QString line = list[i].toLower();
        const bool match = prefixOnly ? line.startsWith(lowered) : line.contains(lowered);
        if (progress)
            progress(i + 1);
        if (match)
            return i;
    }
    return -1;
}

bool ParseBool(const QString &text, bool defaultValue)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("true") || t == QLatin1String("1"))
        return true;
    if (t == QLatin1String("false") || t == QLatin1String("0"))
        return false;
    return defaultValue;
}

QString BoolText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

std::optional<TColor> ParseColor(const QString &text)
{
    QString value = text.trimmed();
    if (value.startsWith(u'#')) {
        const QString digits = value.mid(1);
        if (digits.size() >= 6)
            value = u'$' + digits.mid(4, 2) + digits.mid(2, 2) + digits.mid(0, 2);
        else
            value = u'$' + digits;
    }
    if (!value.startsWith(u'$'))
        value = u'$' + value;
    const QString hex = value.mid(1);
    if (hex.isEmpty() || hex.size() > 8)
        return std::nullopt;
    for (QChar c : hex) {
        if (!isxdigit(c.unicode() < 128 ? c.toLatin1() : 'x'))
            return std::nullopt;
    }
    bool ok = false;
    const uint parsed = hex.toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return TColor(parsed & 0x00FFFFFFu);
}

bool IsEven(int value)
{
    return value % 2 == 0;
}

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
