#include "core/ManualLocation.h"

#include "core/PathUtils.h"
#include "core/ResourceArchive.h"
#include "platform/FileSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef REMONT_INSTALL_DATA_RELATIVE
#define REMONT_INSTALL_DATA_RELATIVE "../share"
#endif

namespace {

const QString kArchiveName = QStringLiteral("interface.dat");

// A manual set for an application folder that has since been replaced by
// hand (tests, remont-render) no longer counts.
ManualLocation g_current;

QString withSlash(const QString &native)
{
    return native.endsWith(u'/') ? native : native + u'/';
}

bool holdsArchive(const QString &nativeFolder)
{
    return platform::fileExists(platform::toVirtual(withSlash(nativeFolder)) + kArchiveName);
}

bool isManualFolder(const QString &nativeFolder)
{
    return holdsArchive(nativeFolder) ||
           platform::fileExists(platform::toVirtual(withSlash(nativeFolder)) +
                                QStringLiteral("struct_main.txt"));
}

ManualLocation folderManual(const QString &nativeFolder)
{
    const QString folder = platform::toVirtual(withSlash(nativeFolder));
    return {folder, folder + kArchiveName};
}

ManualChoice chosen(const ManualLocation &manual)
{
    return {true, manual, {}};
}

ManualChoice refused(const QString &text, const QString &path)
{
    return {false, {}, text + QStringLiteral(": ") + QDir::toNativeSeparators(path)};
}

} // namespace

ManualSearch DefaultManualSearch()
{
    ManualSearch search;
    search.ProgramFolder = platform::programFolder();
    search.DataFolders = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    search.InstallData =
        QDir::cleanPath(search.ProgramFolder + QStringLiteral(REMONT_INSTALL_DATA_RELATIVE));
    return search;
}

ManualChoice ChooseManual(const QString &argument, const ManualSearch &search)
{
    if (argument.isEmpty()) {
        if (holdsArchive(search.ProgramFolder))
            return chosen(folderManual(search.ProgramFolder));
        QStringList data = search.DataFolders;
        if (!search.InstallData.isEmpty())
            data.append(search.InstallData);
        for (const QString &root : std::as_const(data)) {
            const QString sample = withSlash(root) + QStringLiteral("remont/manuals/sample");
            if (QFileInfo(sample).isDir() && isManualFolder(sample))
                return chosen(folderManual(sample));
        }
        // As it always was: whatever lies next to the program, if anything.
        return chosen(folderManual(search.ProgramFolder));
    }

    const QFileInfo info(QDir::cleanPath(QDir::current().absoluteFilePath(argument)));
    const QString path = info.absoluteFilePath();
    if (!info.exists())
        return refused(QStringLiteral("Руководство не найдено"), path);
    if (info.isDir()) {
        if (!isManualFolder(path))
            return refused(
                QStringLiteral("В папке нет руководства (ни interface.dat, ни struct_main.txt)"),
                path);
        return chosen(folderManual(info.canonicalFilePath()));
    }
    if (!info.isFile() || !IsArchiveFile(platform::toVirtual(path)))
        return refused(QStringLiteral("Файл не является архивом руководства"), path);
    // Links resolved, so that one manual is one location however it is named.
    const QFileInfo real(info.canonicalFilePath());
    return chosen({platform::toVirtual(withSlash(real.absolutePath())),
                   platform::toVirtual(real.absoluteFilePath())});
}

ManualChoice ChooseManual(const QString &argument)
{
    return ChooseManual(argument, DefaultManualSearch());
}

ManualLocation CurrentManual()
{
    const QString folder = AppFolder();
    if (!g_current.Folder.isEmpty() && g_current.Folder == folder)
        return g_current;
    return {folder, folder + kArchiveName};
}

void SetCurrentManual(const ManualLocation &manual)
{
    g_current = manual;
    platform::setAppFolderOverride(manual.Folder);
}

QString ManualArgument(const ManualLocation &manual)
{
    if (manual.Archive.compare(manual.Folder + kArchiveName, Qt::CaseInsensitive) != 0)
        return platform::toNative(manual.Archive);
    return platform::toNative(manual.Folder);
}
