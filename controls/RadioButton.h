#pragma once

#include <QRadioButton>

class TSkRadioButton : public QRadioButton
{
    Q_OBJECT

public:
    explicit TSkRadioButton(QWidget *parent = nullptr);

    QString ActionText;
};
