#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include <memory>

// The resource archive "interface.dat": a "BMA" header, the files' bytes, and
// a directory at the end. Every file the viewer reads comes through here; a
// name the archive does not hold is read from disk under the archive folder.
// One process-wide reader, used from the user-interface thread only.

// The one-byte mask of scrambled entries, shared with the archive builder.
inline constexpr quint8 kScrambleMask = 0xA5;

// A directory entry as stored.
struct TData
{
    QByteArray name; // Windows-1251, as stored
    quint32 size = 0;
    quint32 offset = 0;
    quint8 flag = 0; // 1 = scrambled
};

// Opens an archive and reads its directory; false (reading goes to disk) when
// the file is missing or not a readable archive.
bool OpenArchive(const QString &fileName);
void CloseArchive();
bool ArchiveIsOpen();
// Whether the file is an archive the reader can open (signature and whole
// directory), asked without a message and without touching the open archive.
bool IsArchiveFile(const QString &fileName);
QString ArchiveName();
QString ArchiveFolder();
// The directory in file order (empty when closed).
const QVector<TData> &ArchiveEntries();

// The name relative to the archive folder: a name with a drive loses its
// first length(ArchiveFolder) characters (the folder is taken to be its prefix).
QString StripFolder(const QString &name);

// Index of the entry the reader uses for the name (lower-cased; the last entry
// of a name wins), or -1.
int FindEntry(const QString &name);
// The entry's bytes, unscrambled. Only the bytes that exist in the file are
// returned for an entry that runs past its end.
QByteArray ExtractEntry(int index);
// The named file from the archive, else from disk, else empty after the
// message "Не найден файл" + CR LF + the name.
QByteArray OpenResource(const QString &name);

// A private copy of one file read through the archive.
class TPack
{
public:
    explicit TPack(const QString &name);
    const QByteArray &data() const { return m_data; }
    QByteArray takeData() { return std::move(m_data); }
    qsizetype size() const { return m_data.size(); }
    bool isEmpty() const { return m_data.isEmpty(); }

private:
    QByteArray m_data;
};

std::unique_ptr<TPack> NewPack(const QString &name);

// True when the archive holds the name or AppPath(name) exists on disk.
bool ResourceExists(const QString &name);
// Writes the named file (archive or disk) to a new "BMA....tmp" file in the
// temporary folder and answers its name; the caller deletes it.
QString ExtractToTemp(const QString &name);
