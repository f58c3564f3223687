#include "controls/ProgressBar.h"

TSkProgressBar::TSkProgressBar(QWidget *parent)
    : QProgressBar(parent)
{
    setTextVisible(false);
    setRange(0, 100);
    setValue(0);
}
