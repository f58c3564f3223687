#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary folder for one test, with helpers in the program's path form.
class TempDir
{
public:
    TempDir();
    QString native() const; // "/tmp/xyz"
    QString folder() const; // "Z:\tmp\xyz\" (trailing backslash)
    // Writes a file below the folder (relative name with "/"); answers its native path.
    QString write(const QString &relative, const QByteArray &bytes) const;
    QByteArray read(const QString &relative) const;

private:
    QTemporaryDir m_dir;
};
