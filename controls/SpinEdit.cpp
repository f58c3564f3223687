#include "controls/SpinEdit.h"

#include <climits>

TSkSpinEdit::TSkSpinEdit(QWidget *parent)
    : QSpinBox(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    // No limit of the box itself; the engine's own limits clamp every change.
    setRange(INT_MIN, INT_MAX);
    setValue(0);
    connect(this, &QSpinBox::valueChanged, this, &TSkSpinEdit::clamp);
}

void TSkSpinEdit::SetMaxValue(double x)
{
    MaxValue = x;
    if (value() > x)
        setValue(int(x));
}

void TSkSpinEdit::SetMinValue(double x)
{
    MinValue = x;
    if (x > value())
        setValue(int(x));
}

void TSkSpinEdit::clamp()
{
    // Setting the value fires this handler again; with a minimum above the
    // maximum the two rules would push the value back and forth for ever.
    if (m_clamping)
        return;
    m_clamping = true;
    if (value() < MinValue)
        setValue(int(MinValue));
    if (value() > MaxValue)
        setValue(int(MaxValue));
    m_clamping = false;
}
