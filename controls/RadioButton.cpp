#include "controls/RadioButton.h"

TSkRadioButton::TSkRadioButton(QWidget *parent)
    : QRadioButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}
