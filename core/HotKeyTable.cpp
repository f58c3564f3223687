#include "core/HotKeyTable.h"

#include "core/TextUtils.h"

#include <Qt>

namespace {

constexpr int modifierMask = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

struct KeyName
{
    const char *name;
    int key;
};

// The form framework's key names first, then the names Qt writes, so texts
// written for either read the same.
constexpr KeyName keyNames[] = {
    {"BkSp", Qt::Key_Backspace},
    {"Backspace", Qt::Key_Backspace},
    {"Tab", Qt::Key_Tab},
    {"Enter", Qt::Key_Return},
    {"Return", Qt::Key_Return},
    {"Esc", Qt::Key_Escape},
    {"Escape", Qt::Key_Escape},
    {"Space", Qt::Key_Space},
    {"PgUp", Qt::Key_PageUp},
    {"PageUp", Qt::Key_PageUp},
    {"PgDn", Qt::Key_PageDown},
    {"PgDown", Qt::Key_PageDown},
    {"PageDown", Qt::Key_PageDown},
    {"End", Qt::Key_End},
    {"Home", Qt::Key_Home},
    {"Left", Qt::Key_Left},
    {"Up", Qt::Key_Up},
    {"Right", Qt::Key_Right},
    {"Down", Qt::Key_Down},
    {"Ins", Qt::Key_Insert},
    {"Insert", Qt::Key_Insert},
    {"Del", Qt::Key_Delete},
    {"Delete", Qt::Key_Delete},
};

int keyFromName(const QString &name)
{
    if (name.size() == 1) {
        const QChar c = name.at(0).toUpper();
        // Qt's codes of printable ASCII keys are the (upper-case) characters.
        if (c.unicode() > 0x20 && c.unicode() < 0x7F)
            return c.unicode();
        return 0;
    }
    if (name.size() >= 2 && name.size() <= 3 && (name.at(0) == u'F' || name.at(0) == u'f')) {
        bool ok = false;
        const int n = name.mid(1).toInt(&ok);
        if (ok && n >= 1 && n <= 24 && name.at(1) != u'0' && name.at(1) != u'+')
            return Qt::Key_F1 + n - 1;
        return 0;
    }
    for (const KeyName &entry : keyNames) {
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry.key;
    }
    return 0;
}

} // namespace

int TextToShortCut(const QString &text)
{
    static const struct
    {
        const char *prefix;
        int modifier;
    } prefixes[] = {
        {"Ctrl+", Qt::ControlModifier}, {"Shift+", Qt::ShiftModifier}, {"Alt+", Qt::AltModifier}};
    QString rest = text.trimmed();
    int modifiers = 0;
    bool stripped = true;
    while (stripped) {
        stripped = false;
        for (const auto &p : prefixes) {
            const QLatin1String prefix(p.prefix);
            // "Ctrl++" is Ctrl with the "+" key: the key name is never empty.
            if (rest.size() > prefix.size() && rest.startsWith(prefix, Qt::CaseInsensitive)) {
                rest.remove(0, prefix.size());
                modifiers |= p.modifier;
                stripped = true;
            }
        }
    }
    const int key = keyFromName(rest);
    return key ? (key | modifiers) : 0;
}

int KeyToShortCut(int key, int modifiers)
{
    return key | (modifiers & modifierMask);
}

void TSkHotKey::RegisterHotKey(const QString &text, int page)
{
    QString action = text;
    const QString shortCutText = CutToken(action, QStringLiteral("*"));
    m_entries.append({page, action, TextToShortCut(shortCutText)});
}

int TSkHotKey::PageAt(int index) const
{
    return index >= 0 && index < Count() ? m_entries[index].Page : 0;
}

int TSkHotKey::ShortCutAt(int index) const
{
    return index >= 0 && index < Count() ? m_entries[index].ShortCut : 0;
}

QString TSkHotKey::ActionAt(int index) const
{
    return index >= 0 && index < Count() ? m_entries[index].Action : QString();
}

int TSkHotKey::Match(int shortCut, int page) const
{
    if (shortCut == 0)
        return -1;
    for (int i = 0; i < Count(); ++i) {
        const TData &entry = m_entries[i];
        if (entry.ShortCut == shortCut && (entry.Page == -1 || entry.Page == page))
            return i;
    }
    return -1;
}
