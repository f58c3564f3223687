#pragma once

#include <QSlider>

// A horizontal track bar; media and Flash players use it as position display.
class TSkTrackBar : public QSlider
{
    Q_OBJECT

public:
    explicit TSkTrackBar(QWidget *parent = nullptr);

    QString ActionText;
};
