#pragma once

#include <QList>
#include <QMenu>
#include <QPointer>

class TSkItem;

// A popup menu built from a structure file; its items run their actions
// through the engine, and it can list favourites and page history.
class TSkPopMenu : public QMenu
{
    Q_OBJECT

public:
    explicit TSkPopMenu(QWidget *owner = nullptr);

    QString HistorySource;
    bool HistoryBack = false;
    bool HistoryPrev = false;
    bool HistoryFull = false;
    int CheckedIndex = -1;
    QString GlobAction;
    int FixedCount = 0;
    int LastCount = 0;
    int CaptionLength = 0;

    // The items in menu order (the menu's own action list, typed).
    QList<TSkItem *> MenuItems() const;

    TSkItem *AddItem(const QString &caption, const QString &action, const QString &shortcutText);
    TSkItem *InsertItem(int index, const QString &caption, const QString &shortcutText,
                        const QString &action);
    TSkItem *ItemAt(int index) const;
    int ItemCount() const;
    void RemoveAt(int index);
    int RemoveByAction(const QString &action);
    int RemoveByValue(const QString &value);
    void ClearItems();
    // Shows the item at CheckedIndex checked (none when outside the items).
    void ApplyChecked();
    void Popup(int x, int y);
    // Where the menu was last asked to open (screen coordinates).
    QPoint LastPopupPoint() const { return m_lastPopup; }

signals:
    void itemClicked(TSkItem *item);

private:
    QPoint m_lastPopup;

    TSkItem *makeItem(const QString &caption, const QString &action, const QString &shortcutText);
};
