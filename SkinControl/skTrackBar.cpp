#include "SkinControl/skTrackBar.h"

TSkTrackBar::TSkTrackBar(QWidget *parent)
    : QSlider(Qt::Horizontal, parent)
{}
