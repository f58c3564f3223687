#pragma once

#include <QSpinBox>

// A number box kept between MinValue and MaxValue on every change.
class TSkSpinEdit : public QSpinBox
{
    Q_OBJECT

public:
    explicit TSkSpinEdit(QWidget *parent = nullptr);

    double MinValue = -1;
    double MaxValue = 1000000;

    void SetMaxValue(double x);
    void SetMinValue(double x);

private:
    void clamp();

    bool m_clamping = false;
};
