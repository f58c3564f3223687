#include "controls/PopupMenu.h"

#include "controls/MenuItem.h"
#include "core/HotKeyTable.h"
#include "core/TextUtils.h"

TSkPopMenu::TSkPopMenu(QWidget *owner)
    : QMenu(owner)
{}

QList<TSkItem *> TSkPopMenu::MenuItems() const
{
    QList<TSkItem *> items;
    for (QAction *action : actions()) {
        if (auto *item = qobject_cast<TSkItem *>(action))
            items.append(item);
    }
    return items;
}

TSkItem *TSkPopMenu::makeItem(const QString &caption, const QString &action,
                              const QString &shortcutText)
{
    auto *item = new TSkItem(this);
    item->setText(ShortenText(caption, CaptionLength));
    item->Action = action;
    if (const int code = TextToShortCut(shortcutText)) {
        // Shown in the menu; the window's hot-key table makes it work.
        item->setShortcut(QKeySequence(code));
        item->setShortcutContext(Qt::WidgetShortcut);
        item->setShortcutVisibleInContextMenu(true);
    }
    connect(item, &QAction::triggered, this, [this, item] { emit itemClicked(item); });
    return item;
}

TSkItem *TSkPopMenu::AddItem(const QString &caption, const QString &action,
                             const QString &shortcutText)
{
    TSkItem *item = makeItem(caption, action, shortcutText);
    addAction(item);
    return item;
}

TSkItem *TSkPopMenu::InsertItem(int index, const QString &caption, const QString &shortcutText,
                                const QString &action)
{
    const QList<TSkItem *> items = MenuItems();
    if (items.isEmpty() || index < 0 || index >= items.size())
        return AddItem(caption, action, shortcutText);
    TSkItem *item = makeItem(caption, action, shortcutText);
    insertAction(items[index], item);
    return item;
}

TSkItem *TSkPopMenu::ItemAt(int index) const
{
    const QList<TSkItem *> items = MenuItems();
    return (index >= 0 && index < items.size()) ? items[index] : nullptr;
}

int TSkPopMenu::ItemCount() const
{
    return int(MenuItems().size());
}

void TSkPopMenu::RemoveAt(int index)
{
    if (TSkItem *item = ItemAt(index)) {
        removeAction(item);
        delete item;
    }
}

int TSkPopMenu::RemoveByAction(const QString &action)
{
    const QList<TSkItem *> items = MenuItems();
    for (int i = 0; i < items.size(); ++i) {
        if (items[i]->Action.compare(action, Qt::CaseInsensitive) == 0) {
            RemoveAt(i);
            return i;
        }
    }
    return -1;
}

int TSkPopMenu::RemoveByValue(const QString &value)
{
    const QList<TSkItem *> items = MenuItems();
    for (int i = 0; i < items.size(); ++i) {
        if (items[i]->FavoriteValue.compare(value, Qt::CaseInsensitive) == 0) {
            RemoveAt(i);
            return i;
        }
    }
    return -1;
}

void TSkPopMenu::ClearItems()
{
    const QList<TSkItem *> items = MenuItems();
    for (TSkItem *item : items) {
        removeAction(item);
        delete item;
    }
    clear();
}

void TSkPopMenu::ApplyChecked()
{
    const QList<TSkItem *> items = MenuItems();
    for (int i = 0; i < items.size(); ++i) {
        items[i]->setCheckable(i == CheckedIndex);
        items[i]->setChecked(i == CheckedIndex);
    }
}

void TSkPopMenu::Popup(int x, int y)
{
    m_lastPopup = QPoint(x, y);
    popup(m_lastPopup);
}
