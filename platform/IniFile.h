#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// Reader of the INI-style structure files: sections and keys in file order,
// names compared ignoring case, blanks around names and values dropped, the
// first of two equal keys in a section wins, ";" lines are comments, and a
// value wrapped in one pair of matching quotes loses them. There are no length
// limits: the 16 KB name lists and 2047-character values of the old reader
// silently dropped an author's data.
namespace platform {

class IniFile
{
public:
    IniFile() = default;
    // Reads a Windows-1251 file; a file that cannot be read gives no sections.
    explicit IniFile(const QString &path);

    static IniFile fromBytes(QByteArrayView bytes); // Windows-1251 bytes
    static IniFile fromText(const QString &text);

    QString fileName() const { return m_fileName; }

    QStringList sectionNames() const;                   // file order, as written
    QStringList keyNames(const QString &section) const; // file order, as written
    bool sectionExists(const QString &section) const;
    bool valueExists(const QString &section, const QString &key) const;
    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue = {}) const;

private:
    struct Section
    {
        QString name;
        QStringList keys;          // as written, file order
        QStringList values;        // parallel to keys
        QHash<QString, int> index; // lower-cased key -> position
    };

    void parse(const QString &text);
    const Section *find(const QString &section) const;

    QString m_fileName;
    QVector<Section> m_sections;
    QHash<QString, int> m_sectionIndex; // lower-cased name -> position
};

} // namespace platform
