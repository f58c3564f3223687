#include "controls/ComboBox.h"

#include "core/ResourceArchive.h"
#include "platform/Text.h"

#include <QSignalBlocker>
#include <QWheelEvent>

TSkComboBox::TSkComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    SetReadOnly(false);
}

void TSkComboBox::SetReadOnly(bool readOnly)
{
    ReadOnly = readOnly;
    setEditable(!readOnly);
}

void TSkComboBox::LoadItems(const QString &fileName)
{
    // Filling the list is not a choice of the reader's: no change is reported.
    const QSignalBlocker quiet(this);
    clear();
    Values.clear();
    const TPack pack(fileName);
    const QStringList lines = platform::decode1251(pack.data()).split(QStringLiteral("\n"));
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const qsizetype semi = line.indexOf(u';');
        const QString caption = semi < 0 ? line : line.left(semi);
        if (caption.isEmpty())
            continue;
        addItem(caption);
        Values.append(semi < 0 ? QString() : line.mid(semi + 1));
    }
}

QString TSkComboBox::GetSelectedValue() const
{
    const int i = currentIndex();
    return (i >= 0 && i < Values.size()) ? Values[i] : QString();
}

void TSkComboBox::wheelEvent(QWheelEvent *event)
{
    event->accept(); // swallowed: the wheel never changes the selection
}
