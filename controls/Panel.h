#pragma once

#include <QFrame>

// A container panel without caption or border. It can keep itself centred in
// its parent and be hidden and shown again at the place it had.
class TSkPanel : public QFrame
{
    Q_OBJECT

public:
    explicit TSkPanel(QWidget *parent = nullptr);

    QString ActionText;
    bool CenterHorz = false;
    bool CenterVert = false;
    qint32 SavedLeft = 0;
    qint32 SavedTop = 0;

    void ShowOrHide();
    void SetCenterHorz(bool centre);
    void SetCenterVert(bool centre);
    void CenterInParent();

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};
