#include "core/ResourceArchive.h"

#include "core/LogCategories.h"
#include "core/PathUtils.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

#include <QFile>
#include <QtEndian>

#include <vector>

namespace {

constexpr qint64 kHeaderSize = 15;

// Names of the directory, decoded, with an open-addressing table over them.
// A lookup lowers the asked name character by character while hashing and
// comparing, so it allocates nothing: lookups are the archive's hot path.
// Decoding is one-to-one, so equal decoded names mean equal stored bytes.
class NameIndex
{
public:
    void clear()
    {
        m_names.clear();
        m_slots.clear();
    }

    // Called in directory order; a later equal name replaces the earlier one.
    void build(const QVector<TData> &entries)
    {
        m_names.clear();
        m_names.reserve(entries.size());
        for (const TData &e : entries)
            m_names.append(platform::decode1251(e.name));
        size_t capacity = 16;
        while (capacity < size_t(entries.size()) * 2)
            capacity *= 2;
        m_slots.assign(capacity, -1);
        for (int i = 0; i < int(m_names.size()); ++i) {
            size_t slot = hash(m_names[i], false) & (capacity - 1);
            while (m_slots[slot] >= 0 && m_names[m_slots[slot]] != m_names[i])
                slot = (slot + 1) & (capacity - 1);
            m_slots[slot] = i;
        }
    }

    int find(QStringView name) const
    {
        if (m_slots.empty())
            return -1;
        const size_t mask = m_slots.size() - 1;
        for (size_t slot = hash(name, true) & mask; m_slots[slot] >= 0; slot = (slot + 1) & mask) {
            if (equalsLowered(m_names[m_slots[slot]], name))
                return m_slots[slot];
        }
        return -1;
    }

private:
    static char16_t lower(QChar c, bool lowerIt)
    {
        const char16_t u = c.unicode();
        if (!lowerIt)
            return u;
        if (u < 0x80)
            return (u >= u'A' && u <= u'Z') ? char16_t(u + 32) : u;
        // The basic Cyrillic capitals, the bulk of a Russian manual's names,
        // without a call into the Unicode tables.
        if (u >= 0x0410 && u <= 0x042F)
            return char16_t(u + 0x20);
        if (u >= 0x0430 && u <= 0x045F)
            return u;
        return QChar::toLower(u);
    }

    static size_t hash(QStringView name, bool lowerIt)
    {
        size_t h = 1469598103934665603ull; // FNV-1a
        for (QChar c : name) {
            h ^= lower(c, lowerIt);
            h *= 1099511628211ull;
        }
        return h ^ (h >> 29);
    }

    // The stored name against the asked one lowered; stored capitals never match.
    static bool equalsLowered(const QString &stored, QStringView asked)
    {
        if (stored.size() != asked.size())
            return false;
        for (qsizetype i = 0; i < asked.size(); ++i) {
            if (stored[i].unicode() != lower(asked[i], true))
                return false;
        }
        return true;
    }

    QVector<QString> m_names;
    std::vector<int> m_slots;
};

struct TDatPack
{
    qint32 dirOffset = 0;
    qint64 headerEnd = 0;
    QFile archive;
    bool open = false;
    QVector<TData> entries;
    NameIndex index; // built once when the directory is read
    QString archiveName;
    QString archiveFolder; // empty: the application folder
};

TDatPack &state()
{
    static TDatPack s;
    return s;
}

struct ArchiveError
{};

// Reads the whole directory in one piece and parses it from memory. Any
// inconsistency throws ArchiveError, caught by OpenArchive.
void readDirectory(TDatPack &s)
{
    const qint64 fileSize = s.archive.size();
    if (fileSize == 0)
        return; // an empty file is an open archive without entries
    QByteArray header(kHeaderSize, Qt::Uninitialized);
    if (s.archive.read(header.data(), kHeaderSize) != kHeaderSize)
        throw ArchiveError{};
    if (header.left(3) != QByteArrayView("BMA")) {
        platform::showMessage(QStringLiteral("Неверная сигнатура архива"));
        throw ArchiveError{};
    }
    // The reader has always used the low 32 bits of the 64-bit field, signed.
    s.dirOffset = qFromLittleEndian<qint32>(header.constData() + 7);
    s.headerEnd = kHeaderSize;
    if (s.dirOffset < 0 || s.dirOffset > fileSize)
        throw ArchiveError{};
    const qint64 dirSize = fileSize - s.dirOffset;
    if (!s.archive.seek(s.dirOffset))
        throw ArchiveError{};
    const QByteArray dir = s.archive.read(dirSize);
    if (dir.size() != dirSize)
        throw ArchiveError{};

    const char *p = dir.constData();
    const char *end = p + dir.size();
    // Each entry takes at least 10 bytes; the cap keeps a hostile file from
    // making us reserve much before the entries are really there.
    s.entries.reserve(qMin<qsizetype>(dir.size() / 10, 1 << 16));
    while (p < end) {
        const auto nameLen = quint8(*p++);
        if (end - p < qsizetype(nameLen) + 9)
            throw ArchiveError{}; // directory cut short
        TData e;
        e.name = QByteArray(p, nameLen);
        p += nameLen;
        e.size = qFromLittleEndian<quint32>(p);
        e.offset = qFromLittleEndian<quint32>(p + 4);
        e.flag = quint8(p[8]);
        p += 9;
        s.entries.append(std::move(e));
    }
    s.index.build(s.entries);
}

} // namespace

bool OpenArchive(const QString &fileName)
{
    TDatPack &s = state();
    s.archiveFolder = AppFolder();
    const QString native = platform::findOnDisk(fileName);
    if (native.isEmpty() || !QFile::exists(native))
        return false;
    // Opening again re-reads the directory, so a rebuilt archive is seen.
    CloseArchive();
    s.archiveName = fileName;
    const qsizetype slash = fileName.lastIndexOf(u'\\');
    if (slash >= 0)
        s.archiveFolder = fileName.left(slash + 1);
    s.archive.setFileName(native);
    try {
        if (!s.archive.open(QIODevice::ReadOnly))
            throw ArchiveError{};
        s.open = true;
        readDirectory(s);
    } catch (const ArchiveError &) {
        CloseArchive();
        return false;
    }
    return true;
}

bool IsArchiveFile(const QString &fileName)
{
    const QString native = platform::findOnDisk(fileName);
    if (native.isEmpty())
        return false;
    TDatPack probe;
    probe.archive.setFileName(native);
    // Checked here first, so that a stranger's file gets no message box.
    if (!probe.archive.open(QIODevice::ReadOnly) || probe.archive.peek(3) != QByteArrayView("BMA"))
        return false;
    try {
        readDirectory(probe);
    } catch (const ArchiveError &) {
        return false;
    }
    return true;
}

void CloseArchive()
{
    TDatPack &s = state();
    s.entries.clear();
    s.entries.squeeze();
    s.index.clear();
    s.archive.close();
    s.open = false;
    s.dirOffset = 0;
    s.archiveName.clear();
}

bool ArchiveIsOpen()
{
    return state().open;
}

QString ArchiveName()
{
    return state().archiveName;
}

QString ArchiveFolder()
{
    const TDatPack &s = state();
    return s.archiveFolder.isEmpty() ? AppFolder() : s.archiveFolder;
}

const QVector<TData> &ArchiveEntries()
{
    return state().entries;
}

QString StripFolder(const QString &name)
{
    const QString folder = ArchiveFolder();
    if (name.size() >= 2 && name[1] == u':' && name.size() >= folder.size())
        return name.mid(folder.size());
    return name;
}

int FindEntry(const QString &name)
{
    const TDatPack &s = state();
    if (!s.open)
        return -1;
    return s.index.find(name);
}

QByteArray ExtractEntry(int index)
{
    TDatPack &s = state();
    if (!s.open || index < 0 || index >= s.entries.size())
        return {};
    const TData &e = s.entries[index];
    // Only the bytes that exist are read: a hostile size never reads outside
    // the file nor allocates more than the file holds.
    const qint64 fileSize = s.archive.size();
    const qint64 available = qMax<qint64>(0, fileSize - qint64(e.offset));
    const qint64 count = qMin<qint64>(e.size, available);
    if (count == 0 || !s.archive.seek(e.offset))
        return {};
    QByteArray out(count, Qt::Uninitialized);
    const qint64 got = s.archive.read(out.data(), count);
    out.truncate(qMax<qint64>(0, got));
    if (e.flag == 1) {
        for (char &c : out)
            c = char(quint8(c) ^ kScrambleMask);
    }
    return out;
}

QByteArray OpenResource(const QString &name)
{
    if (name.isEmpty())
        return {};
    const QString rel = StripFolder(name).toLower();
    const int index = FindEntry(rel);
    if (index >= 0)
        return ExtractEntry(index);
    QByteArray data;
    const QString diskName = ResolvePath(rel, ArchiveFolder());
    if (platform::fileExists(diskName) && platform::readFile(diskName, data))
        return data;
    qCInfo(lcArchive).noquote() << "not in the archive nor on disk:" << name;
    platform::showMessage(QStringLiteral("Не найден файл \r\n") + name);
    return {};
}

TPack::TPack(const QString &name)
    : m_data(OpenResource(name))
{}

std::unique_ptr<TPack> NewPack(const QString &name)
{
    return std::make_unique<TPack>(name);
}

bool ResourceExists(const QString &name)
{
    if (FindEntry(StripFolder(name)) >= 0)
        return true;
    return platform::fileExists(AppPath(name));
}

QString ExtractToTemp(const QString &name)
{
    const QString folder = AddSlash(LongPathName(TempFolder()));
    const QString file = TempFileName(folder, QStringLiteral("BMA"));
    if (file.isEmpty())
        return {};
    const TPack pack(name);
    QFile out(platform::toNative(file));
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(pack.data());
    return file;
}
