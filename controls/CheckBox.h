#pragma once

#include <QCheckBox>
#include <QStringList>

// A check box that, when clicked, switches the controls named in its
// EnableList on or off with its own state.
class TSkCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    explicit TSkCheckBox(QWidget *parent = nullptr);

    QString ActionText;
    QStringList EnableList; // lower-cased control names

    // Appends every ";"-separated name, lower-cased (an empty value appends one
    // empty name).
    void SetEnableControls(const QString &names);
};
