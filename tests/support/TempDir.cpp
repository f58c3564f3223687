#include "TempDir.h"

#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempDir::TempDir() = default;

QString TempDir::native() const
{
    return m_dir.path();
}

QString TempDir::folder() const
{
    return platform::toVirtual(m_dir.path() + u'/');
}

QString TempDir::write(const QString &relative, const QByteArray &bytes) const
{
    const QString path = m_dir.path() + u'/' + relative;
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}

QByteArray TempDir::read(const QString &relative) const
{
    QFile file(m_dir.path() + u'/' + relative);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
