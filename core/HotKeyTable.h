#pragma once

#include <QList>
#include <QString>

// The window's hot-key table: keys registered by the engines that build into
// the window, each tied to the notebook page that was shown when it was
// registered. Shortcut codes are Qt key combinations (key | modifiers).
class TSkHotKey
{
public:
    struct TData
    {
        qint32 Page = -1; // notebook page, -1 = any page
        QString Action;   // action text to run
        int ShortCut = 0; // 0 = no shortcut, never fires
    };

    // text is shortcut text + "*" + action (cut at the first "*").
    void RegisterHotKey(const QString &text, int page);

    int Count() const { return int(m_entries.size()); }
    int PageAt(int index) const;
    int ShortCutAt(int index) const;
    QString ActionAt(int index) const;

    // The first entry (in registration order) with this shortcut whose page is
    // -1 or the given one; -1 when none.
    int Match(int shortCut, int page) const;

private:
    QList<TData> m_entries;
};

// "Ctrl+Shift+F5", "Alt+X", "PgUp", "Del" ... read into a shortcut code; 0 for
// an empty or unreadable text. Prefixes and key names ignore case.
int TextToShortCut(const QString &text);
// The code of a pressed key with its modifiers (keypad and other flags dropped).
int KeyToShortCut(int key, int modifiers);
