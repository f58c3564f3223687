#include "controls/ListBox.h"

#include "core/ResourceArchive.h"
#include "platform/Text.h"

namespace {
const QString kSeparator = QStringLiteral("#;#");
}

TSkListBox::TSkListBox(QWidget *parent)
    : QListWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void TSkListBox::LoadItems(const QString &fileName)
{
    const TPack pack(fileName);
    QString text = platform::decode1251(pack.data());
    if (text.endsWith(u'\n'))
        text.chop(1);
    if (text.endsWith(u'\r'))
        text.chop(1);
    if (text.isEmpty())
        return;
    QStringList lines = text.split(u'\n');
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    setUpdatesEnabled(false);
    clear();
    Values.clear();
    for (const QString &line : lines) {
        const qsizetype at = line.indexOf(kSeparator);
        addItem(at < 0 ? line : line.left(at));
        Values.append(line);
    }
    setUpdatesEnabled(true);
}

QString TSkListBox::GetItemValue(int index) const
{
    if (index < 0 || index >= Values.size())
        return {};
    const QString &line = Values[index];
    const qsizetype at = line.indexOf(kSeparator);
    return at < 0 ? QString() : line.mid(at + kSeparator.size());
}

void TSkListBox::SetMultiSelect(bool multi)
{
    setSelectionMode(multi ? QAbstractItemView::ExtendedSelection
                           : QAbstractItemView::SingleSelection);
}
