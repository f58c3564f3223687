#include "TestArchive.h"

#include "core/ResourceArchive.h"

#include <QtEndian>

namespace {
void appendLe32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}
void appendLe64(QByteArray &out, quint64 v)
{
    char b[8];
    qToLittleEndian(v, b);
    out.append(b, 8);
}
} // namespace

TestArchive &TestArchive::add(const QByteArray &name, const QByteArray &data, quint8 flag)
{
    m_entries.append({name, data, flag, -1, -1});
    return *this;
}

TestArchive &TestArchive::addScrambled(const QByteArray &name, const QByteArray &plain)
{
    return add(name, scramble(plain), 1);
}

TestArchive &TestArchive::addRaw(const Entry &entry)
{
    m_entries.append(entry);
    return *this;
}

QByteArray TestArchive::scramble(QByteArray plain)
{
    for (char &c : plain)
        c = char(quint8(c) ^ kScrambleMask);
    return plain;
}

QByteArray TestArchive::bytes() const
{
    QByteArray out = m_signature;
    appendLe32(out, 0);
    const qsizetype dirOffsetAt = out.size();
    appendLe64(out, 0);
    QList<quint32> offsets;
    for (const Entry &e : m_entries) {
        offsets.append(quint32(out.size()));
        out.append(e.data);
    }
    const quint64 dirOffset =
        m_dirOffsetOverride >= 0 ? quint64(m_dirOffsetOverride) : quint64(out.size());
    qToLittleEndian(dirOffset, out.data() + dirOffsetAt);
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const Entry &e = m_entries[i];
        out.append(char(quint8(e.name.size())));
        out.append(e.name);
        appendLe32(out, quint32(e.sizeOverride >= 0 ? e.sizeOverride : e.data.size()));
        appendLe32(out, quint32(e.offsetOverride >= 0 ? e.offsetOverride : offsets[i]));
        out.append(char(e.flag));
    }
    return out;
}
