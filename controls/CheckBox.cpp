#include "controls/CheckBox.h"

TSkCheckBox::TSkCheckBox(QWidget *parent)
    : QCheckBox(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void TSkCheckBox::SetEnableControls(const QString &names)
{
    const QStringList parts = names.split(u';');
    for (const QString &part : parts)
        EnableList.append(part.toLower());
}
