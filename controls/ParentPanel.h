#pragma once

#include <QFrame>

// A container panel that can keep itself centred in its parent.
class TParentPanel : public QFrame
{
    Q_OBJECT

public:
    explicit TParentPanel(QWidget *parent = nullptr);

    QString ActionText;
    bool CenterHorz = false;
    bool CenterVert = false;
    int WidthPercent = 0;  // 0: the width is in pixels
    int HeightPercent = 0; // 0: the height is in pixels

    void SetCenterHorz(bool centre);
    void SetCenterVert(bool centre);
    void CenterInParent();
    void SetColor(const QColor &color);
    // Sizes the panel to its percentages of the parent's size.
    void ApplyPercent();
};
