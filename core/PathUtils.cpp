#include "core/PathUtils.h"

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

QString StripAppFolder(const QString &name)
{
    if (name.contains(u':'))
        return name.mid(AppFolder().size());
    return name;
}
