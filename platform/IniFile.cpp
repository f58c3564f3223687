#include "platform/IniFile.h"

#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace platform {

namespace {

QString unquote(QString value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

} // namespace

IniFile::IniFile(const QString &path)
    : m_fileName(path)
{
    QByteArray bytes;
    if (readFile(path, bytes))
        parse(decode1251(bytes));
}

IniFile IniFile::fromBytes(QByteArrayView bytes)
{
    IniFile ini;
    ini.parse(decode1251(bytes));
    return ini;
}

IniFile IniFile::fromText(const QString &text)
{
    IniFile ini;
    ini.parse(text);
    return ini;
}

void IniFile::parse(const QString &text)
{
    // A section that repeats an earlier name adds nothing: the first one
    // answers every lookup, as the platform reader did.
    Section *current = nullptr;
    bool currentIsDuplicate = false;
    qsizetype pos = 0;
    const qsizetype n = text.size();
    while (pos < n) {
        qsizetype end = pos;
        while (end < n && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        const QString line = text.mid(pos, end - pos).trimmed();
        pos = end;
        while (pos < n && (text[pos] == u'\n' || text[pos] == u'\r'))
            ++pos;

        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QString name = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed();
            const QString lower = name.toLower();
            const auto existing = m_sectionIndex.constFind(lower);
            if (existing != m_sectionIndex.cend()) {
                current = nullptr;
                currentIsDuplicate = true;
                continue;
            }
            m_sectionIndex.insert(lower, int(m_sections.size()));
            m_sections.append(Section{name, {}, {}, {}});
            current = &m_sections.back();
            currentIsDuplicate = false;
            continue;
        }
        if (!current || currentIsDuplicate)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        if (key.isEmpty())
            continue;
        const QString lower = key.toLower();
        if (current->index.contains(lower))
            continue; // the first of two equal keys wins
        current->index.insert(lower, int(current->keys.size()));
        current->keys.append(key);
        current->values.append(unquote(line.mid(eq + 1).trimmed()));
    }
}

const IniFile::Section *IniFile::find(const QString &section) const
{
    const auto it = m_sectionIndex.constFind(section.trimmed().toLower());
    return it == m_sectionIndex.cend() ? nullptr : &m_sections[*it];
}

QStringList IniFile::sectionNames() const
{
    QStringList out;
    out.reserve(m_sections.size());
    for (const Section &s : m_sections)
        out.append(s.name);
    return out;
}

QStringList IniFile::keyNames(const QString &section) const
{
    const Section *s = find(section);
    return s ? s->keys : QStringList();
}

bool IniFile::sectionExists(const QString &section) const
{
    return find(section) != nullptr;
}

bool IniFile::valueExists(const QString &section, const QString &key) const
{
    const Section *s = find(section);
    return s && s->index.contains(key.trimmed().toLower());
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    const Section *s = find(section);
    if (!s)
        return defaultValue;
    const auto it = s->index.constFind(key.trimmed().toLower());
    return it == s->index.cend() ? defaultValue : s->values[*it];
}

} // namespace platform
