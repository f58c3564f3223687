#include "controls/TrackBar.h"

TSkTrackBar::TSkTrackBar(QWidget *parent)
    : QSlider(Qt::Horizontal, parent)
{}
