#include "tools/ArchiveWriter.h"

#include "core/ResourceArchive.h"
#include "platform/Text.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>

namespace {

constexpr qint64 kHeaderSize = 15;
// The reader takes offsets as signed 32-bit numbers.
constexpr qint64 kMaxArchiveSize = 0x7FFFFFFF;

void appendLe32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

// Iterative match with one backtrack point: linear in practice, never
// exponential on patterns with many stars.
bool globAt(QStringView p, QStringView n)
{
    qsizetype pi = 0, ni = 0, starP = -1, starN = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == u'?' || (p[pi] != u'*' && p[pi] == n[ni]))) {
            ++pi;
            ++ni;
        } else if (pi < p.size() && p[pi] == u'*') {
            starP = pi++;
            starN = ni;
        } else if (starP >= 0) {
            pi = starP + 1;
            ni = ++starN;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == u'*')
        ++pi;
    return pi == p.size();
}

} // namespace

void ArchiveWriter::add(const QByteArray &name, const QByteArray &data, bool scrambled)
{
    m_entries.append({name, data, scrambled});
}

bool ArchiveWriter::write(QIODevice &out, QString *error) const
{
    auto fail = [&](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    qint64 total = kHeaderSize;
    for (const Entry &e : m_entries)
        total += e.data.size() + 10 + e.name.size();
    if (total > kMaxArchiveSize)
        return fail(QStringLiteral(
            "the archive would be larger than 2 GiB, which its format cannot address"));

    QByteArray header("BMA\0\0\0\0", 7);
    qint64 dirOffset = kHeaderSize;
    for (const Entry &e : m_entries)
        dirOffset += e.data.size();
    char b[8];
    qToLittleEndian(quint64(dirOffset), b);
    header.append(b, 8);
    if (out.write(header) != header.size())
        return fail(out.errorString());

    QByteArray directory;
    quint32 offset = quint32(kHeaderSize);
    for (const Entry &e : m_entries) {
        QByteArray data = e.data;
        if (e.scrambled) {
            for (char &c : data)
                c = char(quint8(c) ^ kScrambleMask);
        }
        if (out.write(data) != data.size())
            return fail(out.errorString());
        directory.append(char(quint8(e.name.size())));
        directory.append(e.name);
        appendLe32(directory, quint32(e.data.size()));
        appendLe32(directory, offset);
        directory.append(char(e.scrambled ? 1 : 0));
        offset += quint32(e.data.size());
    }
    if (out.write(directory) != directory.size())
        return fail(out.errorString());
    return true;
}

bool ArchiveWriter::writeFile(const QString &nativePath, QString *error) const
{
    QSaveFile out(nativePath);
    if (!out.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(nativePath, out.errorString());
        return false;
    }
    if (!write(out, error)) {
        out.cancelWriting();
        return false;
    }
    if (!out.commit()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(nativePath, out.errorString());
        return false;
    }
    return true;
}

QByteArray archiveEntryName(const QString &relativePath, QString *error)
{
    QString name = relativePath.toLower();
    name.replace(u'/', u'\\');
    bool ok = false;
    const QByteArray stored = platform::encode1251(name, &ok);
    if (!ok) {
        if (error)
            *error = QStringLiteral("\"%1\": the name cannot be written in Windows-1251")
                         .arg(relativePath);
        return {};
    }
    if (stored.size() > 255) {
        if (error)
            *error = QStringLiteral("\"%1\": the name is longer than 255 bytes").arg(relativePath);
        return {};
    }
    return stored;
}

bool globMatch(const QString &pattern, const QString &name)
{
    QString p = pattern.toLower();
    p.replace(u'/', u'\\');
    return globAt(p, name.toLower());
}

PackResult packFolder(const QString &nativeArchive, const QString &nativeFolder,
                      const QStringList &scramblePatterns)
{
    PackResult result;
    const QDir folder(nativeFolder);
    if (!folder.exists()) {
        result.error = QStringLiteral("%1: no such folder").arg(nativeFolder);
        return result;
    }
    const QString archivePath = QFileInfo(nativeArchive).absoluteFilePath();

    struct Source
    {
        QString relative;
        QByteArray name;
        QString path;
    };
    QList<Source> sources;
    QDirIterator it(folder.absolutePath(), QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (QFileInfo(path).absoluteFilePath() == archivePath)
            continue; // never pack the archive into itself
        const QString relative = folder.relativeFilePath(path);
        QString error;
        const QByteArray name = archiveEntryName(relative, &error);
        if (name.isEmpty()) {
            result.error = error;
            return result;
        }
        sources.append({relative, name, path});
    }
    // A stable order makes builds reproducible.
    std::sort(sources.begin(), sources.end(),
              [](const Source &a, const Source &b) { return a.name < b.name; });

    ArchiveWriter writer;
    for (const Source &s : sources) {
        QFile file(s.path);
        if (!file.open(QIODevice::ReadOnly)) {
            result.error = QStringLiteral("%1: %2").arg(s.path, file.errorString());
            return result;
        }
        const QString stored = platform::decode1251(s.name);
        const bool scramble = std::any_of(scramblePatterns.begin(), scramblePatterns.end(),
                                          [&](const QString &p) { return globMatch(p, stored); });
        writer.add(s.name, file.readAll(), scramble);
        result.scrambled += scramble ? 1 : 0;
    }

    if (!writer.writeFile(nativeArchive, &result.error))
        return result;
    result.ok = true;
    result.entries = int(writer.count());
    return result;
}
