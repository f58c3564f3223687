#pragma once

#include <QWidget>

// A splitter bar that can be hidden and shown again at the place it had. The
// dragging itself is the form layout's (it resizes the control next to it).
class TSkSplitter : public QWidget
{
    Q_OBJECT

public:
    explicit TSkSplitter(QWidget *parent = nullptr);

    QString ActionText;
    qint32 SavedLeft = 0;
    qint32 SavedTop = 0;

    void ShowOrHide();
};
