#pragma once

#include <QProgressBar>

class TSkProgressBar : public QProgressBar
{
    Q_OBJECT

public:
    explicit TSkProgressBar(QWidget *parent = nullptr);
};
