#pragma once

#include "platform/Splitter.h"

// A splitter bar that can be hidden and shown again at the place it had;
// dragging it resizes the control next to it.
class TSkSplitter : public platform::Splitter
{
    Q_OBJECT

public:
    explicit TSkSplitter(QWidget *parent = nullptr);

    QString ActionText;
    qint32 SavedLeft = 0;
    qint32 SavedTop = 0;

    void ShowOrHide();
};
