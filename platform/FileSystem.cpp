#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QString g_appFolderOverride;

bool isZDrive(const QString &path)
{
    return path.size() >= 2 && path[1] == u':' && (path[0] == u'Z' || path[0] == u'z');
}

struct DirListing
{
    qint64 mtimeNs = -1;
    QHash<QString, QString> byLowerName; // lower-cased name -> name on disk
};

// A page with fifty pictures in one folder must not list that folder fifty
// times; the folder's modification time tells when a listing is stale.
QHash<QString, DirListing> g_listings;

qint64 dirMtime(const QByteArray &nativeDir)
{
    struct stat st
    {};
    if (::stat(nativeDir.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return -1;
    return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

const DirListing *listing(const QString &nativeDir)
{
    const qint64 mtime = dirMtime(QFile::encodeName(nativeDir));
    if (mtime < 0)
        return nullptr;
    auto it = g_listings.find(nativeDir);
    if (it != g_listings.end() && it->mtimeNs == mtime)
        return &*it;
    DirListing fresh;
    fresh.mtimeNs = mtime;
    const QStringList names = QDir(nativeDir).entryList(QDir::AllEntries | QDir::Hidden |
                                                        QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        // The first spelling wins when a folder holds names that differ only in case.
        fresh.byLowerName.insert(name.toLower(), name);
    }
    return &*g_listings.insert(nativeDir, std::move(fresh));
}

bool existsNative(const QString &native)
{
    struct stat st
    {};
    return ::stat(QFile::encodeName(native).constData(), &st) == 0;
}

} // namespace

QString toNative(const QString &path)
{
    if (path.isEmpty())
        return {};
    QString rest;
    if (path.size() >= 2 && path[1] == u':') {
        if (!isZDrive(path))
            return {};
        rest = path.mid(2);
        if (rest.isEmpty())
            rest = QStringLiteral("/");
    } else if (path.startsWith(QLatin1String("\\\\"))) {
        return {};
    } else {
        rest = path;
    }
    rest.replace(u'\\', u'/');
    // Collapse doubled separators ("folder\\name" is accepted by Windows).
    QString out;
    out.reserve(rest.size());
    for (QChar c : rest) {
        if (c == u'/' && out.endsWith(u'/'))
            continue;
        out.append(c);
    }
    return out;
}

QString toVirtual(const QString &nativePath)
{
    if (nativePath.isEmpty())
        return {};
    const bool trailing = nativePath.endsWith(u'/') && nativePath.size() > 1;
    QString abs = QDir::cleanPath(QDir::current().absoluteFilePath(nativePath));
    if (trailing && !abs.endsWith(u'/'))
        abs.append(u'/');
    abs.replace(u'/', u'\\');
    return QStringLiteral("Z:") + abs;
}

QString findOnDisk(const QString &path)
{
    const QString native = toNative(path);
    if (native.isEmpty() || existsNative(native))
        return native;

    const QString absolute = QDir::current().absoluteFilePath(native);
    const QStringList parts = absolute.split(u'/', Qt::SkipEmptyParts);
    QString current = QStringLiteral("/");
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts[i];
        QString candidate =
            current + (current.endsWith(u'/') ? QString() : QStringLiteral("/")) + part;
        if (part != QLatin1String(".") && part != QLatin1String("..") && !existsNative(candidate)) {
            const DirListing *dir = listing(current);
            const auto hit = dir ? dir->byLowerName.constFind(part.toLower())
                                 : QHash<QString, QString>::const_iterator();
            if (!dir || hit == dir->byLowerName.cend())
                return native;
            candidate = current + (current.endsWith(u'/') ? QString() : QStringLiteral("/")) + *hit;
        }
        current = candidate;
    }
    if (native.endsWith(u'/') && !current.endsWith(u'/'))
        current.append(u'/');
    return current;
}

bool fileExists(const QString &path)
{
    const QString native = findOnDisk(path);
    return !native.isEmpty() && QFileInfo(native).isFile();
}

bool directoryExists(const QString &path)
{
    const QString native = findOnDisk(path);
    return !native.isEmpty() && QFileInfo(native).isDir();
}

bool readFile(const QString &path, QByteArray &data)
{
    data.clear();
    const QString native = findOnDisk(path);
    if (native.isEmpty())
        return false;
    QFile file(native);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    data = file.readAll();
    return file.error() == QFileDevice::NoError;
}

void clearDiskCache()
{
    g_listings.clear();
}

QString executableFolder()
{
    if (!g_appFolderOverride.isEmpty())
        return g_appFolderOverride;
    return toVirtual(programFolder());
}

QString programFolder()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return QDir::currentPath() + u'/';
    const QString folder = QFile::decodeName(exe.parent_path().c_str());
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

void setAppFolderOverride(const QString &folder)
{
    g_appFolderOverride = folder;
    if (!g_appFolderOverride.isEmpty() && !g_appFolderOverride.endsWith(u'\\'))
        g_appFolderOverride.append(u'\\');
}

} // namespace platform
