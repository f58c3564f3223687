#include "tools/RenderReport.h"

#include "controls/Button.h"
#include "controls/CheckBox.h"
#include "controls/ComboBox.h"
#include "controls/ContentsTree.h"
#include "controls/ListBox.h"
#include "controls/MenuItem.h"
#include "controls/PageView.h"
#include "controls/PopupMenu.h"
#include "controls/RadioButton.h"
#include "controls/ScrollBox.h"
#include "controls/SpeedButton.h"
#include "engine/SkinnedWindow.h"
#include "engine/StructureEngine.h"
#include "platform/Dialogs.h"
#include "platform/Notebook.h"

#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace {

// The object a control sits on: a built container, or "" for the page.
QString parentName(const QWidget *widget, const TSkStract &engine)
{
    for (QWidget *p = widget->parentWidget(); p; p = p->parentWidget()) {
        if (p == engine.Page() || p == engine.Window)
            return {};
        if (auto *box = qobject_cast<TSkScrollBox *>(
                p->parentWidget() ? p->parentWidget()->parentWidget() : nullptr);
            box && box->Content() == p)
            return box->objectName();
        if (!TSkStract::ObjectType(p).isEmpty())
            return p->objectName();
    }
    return {};
}

QJsonArray itemsOf(const QStringList &items)
{
    QJsonArray out;
    for (const QString &item : items)
        out.append(item);
    return out;
}

QJsonObject describe(QObject *object, const TSkStract &engine)
{
    QJsonObject o;
    o[QStringLiteral("name")] = object->objectName();
    o[QStringLiteral("type")] = TSkStract::ObjectType(object);
    auto *widget = qobject_cast<QWidget *>(object);
    o[QStringLiteral("parent")] = widget ? parentName(widget, engine) : QString();
    const QRect g = widget && !widget->isWindow() ? widget->geometry() : QRect();
    o[QStringLiteral("x")] = g.x();
    o[QStringLiteral("y")] = g.y();
    o[QStringLiteral("width")] = g.width();
    o[QStringLiteral("height")] = g.height();
    o[QStringLiteral("visible")] = widget ? !widget->isHidden() : false;
    o[QStringLiteral("enabled")] = widget ? widget->isEnabled() : true;

    QString text;
    if (auto *b = qobject_cast<TSkButton *>(object)) {
        text = b->Caption();
    } else if (auto *sp = qobject_cast<TSkSpeedButton *>(object)) {
        text = sp->text();
        o[QStringLiteral("down")] = sp->Down();
    } else if (auto *check = qobject_cast<TSkCheckBox *>(object)) {
        text = check->text();
        o[QStringLiteral("checked")] = check->isChecked();
    } else if (auto *radio = qobject_cast<TSkRadioButton *>(object)) {
        text = radio->text();
        o[QStringLiteral("checked")] = radio->isChecked();
    } else if (auto *combo = qobject_cast<TSkComboBox *>(object)) {
        text = combo->currentText();
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        o[QStringLiteral("items")] = itemsOf(items);
    } else if (auto *list = qobject_cast<TSkListBox *>(object)) {
        text = list->currentItem() ? list->currentItem()->text() : QString();
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->item(i)->text();
        o[QStringLiteral("items")] = itemsOf(items);
    } else if (auto *menu = qobject_cast<TSkPopMenu *>(object)) {
        QStringList captions, actions;
        int checked = -1;
        const QList<TSkItem *> items = menu->MenuItems();
        for (int i = 0; i < items.size(); ++i) {
            captions << items[i]->text();
            actions << items[i]->Action;
            if (items[i]->isChecked())
                checked = i;
        }
        o[QStringLiteral("items")] = itemsOf(captions);
        o[QStringLiteral("actions")] = itemsOf(actions);
        o[QStringLiteral("checked")] = checked;
    } else if (auto *tree = qobject_cast<TSkTree *>(object)) {
        const QTreeWidgetItem *selected = tree->SelectedNode();
        text = selected ? selected->text(0) : QString();
        o[QStringLiteral("nodes")] = int(tree->Links().size());
        o[QStringLiteral("selectedLink")] = tree->SelectedLink();
        o[QStringLiteral("selectedCaption")] = text;
        o[QStringLiteral("historyPos")] = tree->HistoryPos();
        o[QStringLiteral("history")] = itemsOf(tree->HistoryCaptions());
    } else if (auto *view = qobject_cast<TSkHtml *>(object)) {
        text = view->CurrentTitle();
        o[QStringLiteral("page")] = view->CurrentFile();
        o[QStringLiteral("title")] = text;
        o[QStringLiteral("history")] = itemsOf(view->HistoryFiles());
        o[QStringLiteral("historyIndex")] = view->HistoryIndex();
        o[QStringLiteral("selection")] = view->SelectedText();
    } else if (auto *label = qobject_cast<QLabel *>(object)) {
        text = label->text();
    } else if (auto *edit = qobject_cast<QLineEdit *>(object)) {
        text = edit->text();
    } else if (auto *spin = qobject_cast<QSpinBox *>(object)) {
        text = spin->text();
    }
    o[QStringLiteral("text")] = text;
    return o;
}

} // namespace

QJsonObject RenderReport(const TSkStract &engine, const platform::RecordingDialogs &messages)
{
    QJsonObject window;
    const TSkForm *form = engine.Window;
    window[QStringLiteral("caption")] = form->windowTitle();
    window[QStringLiteral("x")] = form->x();
    window[QStringLiteral("y")] = form->y();
    window[QStringLiteral("width")] = form->width();
    window[QStringLiteral("height")] = form->height();
    window[QStringLiteral("visible")] = form->isVisible();
    window[QStringLiteral("page")] = form->Notebook() ? form->Notebook()->currentIndex() : -1;

    QJsonArray objects;
    for (QObject *object : engine.Controls())
        objects.append(describe(object, engine));

    QJsonArray shown;
    for (const platform::MessageRecord &m : messages.messages) {
        QJsonObject o;
        o[QStringLiteral("title")] = m.title;
        o[QStringLiteral("text")] = m.text;
        shown.append(o);
    }

    QJsonObject report;
    report[QStringLiteral("window")] = window;
    report[QStringLiteral("objects")] = objects;
    report[QStringLiteral("messages")] = shown;
    return report;
}
