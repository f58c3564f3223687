#pragma once

#include <QString>
#include <QVariant>

#include <memory>

class QSettings;

// The current user's registry. Each key path becomes a group path in one
// settings file in the user's configuration folder; writes go to disk
// atomically, so a crash never leaves half a file.
namespace platform {

class RegistryKey
{
public:
    // Opens (creating when needed) a key below HKEY_CURRENT_USER, for example
    // "Software\Remont\Main" or "Control Panel\Desktop".
    explicit RegistryKey(const QString &keyPath);
    ~RegistryKey();
    RegistryKey(const RegistryKey &) = delete;
    RegistryKey &operator=(const RegistryKey &) = delete;

    bool isOpen() const;
    QString readString(const QString &name, const QString &defaultValue = {}) const;
    bool valueExists(const QString &name) const;
    void writeString(const QString &name, const QString &value);
    void deleteValue(const QString &name);
    QStringList valueNames() const;
    bool flush(); // false when the file could not be written

private:
    std::unique_ptr<QSettings> m_settings;
};

// The file holding every key. Tests point it elsewhere; empty restores the
// default in the user's configuration folder.
QString registryFile();
void setRegistryFile(const QString &nativeFile);

} // namespace platform
