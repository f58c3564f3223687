#include "platform/Registry.h"

#include <QSettings>
#include <QStandardPaths>

namespace platform {

namespace {
QString g_fileOverride;

QString groupOf(const QString &keyPath)
{
    QString group = keyPath;
    group.replace(u'\\', u'/');
    while (group.startsWith(u'/'))
        group.remove(0, 1);
    while (group.endsWith(u'/'))
        group.chop(1);
    return group;
}
} // namespace

QString registryFile()
{
    if (!g_fileOverride.isEmpty())
        return g_fileOverride;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/remont/registry.ini");
}

void setRegistryFile(const QString &nativeFile)
{
    g_fileOverride = nativeFile;
}

RegistryKey::RegistryKey(const QString &keyPath)
    : m_settings(std::make_unique<QSettings>(registryFile(), QSettings::IniFormat))
{
    const QString group = groupOf(keyPath);
    if (!group.isEmpty())
        m_settings->beginGroup(group);
}

RegistryKey::~RegistryKey()
{
    if (m_settings)
        m_settings->sync();
}

bool RegistryKey::isOpen() const
{
    return m_settings->isWritable();
}

QString RegistryKey::readString(const QString &name, const QString &defaultValue) const
{
    return m_settings->value(name, defaultValue).toString();
}

bool RegistryKey::valueExists(const QString &name) const
{
    return m_settings->contains(name);
}

void RegistryKey::writeString(const QString &name, const QString &value)
{
    m_settings->setValue(name, value);
}

void RegistryKey::deleteValue(const QString &name)
{
    m_settings->remove(name);
}

QStringList RegistryKey::valueNames() const
{
    return m_settings->childKeys();
}

bool RegistryKey::flush()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

} // namespace platform
