#pragma once

#include <QByteArray>
#include <QList>

// Builds archive bytes by hand, so tests can make well-formed and hostile
// archives alike.
class TestArchive
{
public:
    struct Entry
    {
        QByteArray name; // stored bytes (Windows-1251)
        QByteArray data; // stored bytes (already scrambled if wanted)
        quint8 flag = 0;
        qint64 sizeOverride = -1;   // write this size instead of data.size()
        qint64 offsetOverride = -1; // write this offset instead of the real one
    };

    TestArchive &add(const QByteArray &name, const QByteArray &data, quint8 flag = 0);
    TestArchive &addScrambled(const QByteArray &name, const QByteArray &plain);
    TestArchive &addRaw(const Entry &entry);
    TestArchive &signature(const QByteArray &three)
    {
        m_signature = three;
        return *this;
    }
    TestArchive &dirOffsetOverride(qint64 offset)
    {
        m_dirOffsetOverride = offset;
        return *this;
    }

    QByteArray bytes() const;

    static QByteArray scramble(QByteArray plain);

private:
    QList<Entry> m_entries;
    QByteArray m_signature = "BMA";
    qint64 m_dirOffsetOverride = -1;
};
