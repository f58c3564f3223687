#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

// Writes resource archives in the reader's format: "BMA", 4 reserved bytes,
// the 64-bit directory offset, the entries' bytes, then the directory.
class ArchiveWriter
{
public:
    // name: the stored name (Windows-1251, at most 255 bytes).
    void add(const QByteArray &name, const QByteArray &data, bool scrambled);
    qsizetype count() const { return m_entries.size(); }
    // False (with *error) when the archive would not fit the format's 32-bit
    // offsets or the device fails.
    bool write(QIODevice &out, QString *error) const;
    // Writes the archive to a temporary file and renames it into place, so a
    // failure never leaves half an archive behind.
    bool writeFile(const QString &nativePath, QString *error) const;

private:
    struct Entry
    {
        QByteArray name;
        QByteArray data;
        bool scrambled;
    };
    QList<Entry> m_entries;
};

// The stored name of a file at a path relative to the packed folder: lower
// case, backslash-separated, Windows-1251. Empty with *error when the name
// cannot be spelled in Windows-1251 or is longer than 255 bytes.
QByteArray archiveEntryName(const QString &relativePath, QString *error);

// Shell-style match of an entry name ("*" any run, "?" one character),
// ignoring case; "/" in the pattern stands for "\".
bool globMatch(const QString &pattern, const QString &name);

// Packs every file below a folder into an archive. Nothing is left behind
// when it fails: the archive is written to a temporary file and renamed.
struct PackResult
{
    bool ok = false;
    QString error;
    int entries = 0;
    int scrambled = 0;
};
PackResult packFolder(const QString &nativeArchive, const QString &nativeFolder,
                      const QStringList &scramblePatterns);
