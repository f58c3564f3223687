#include "SkinControl/skPanel.h"

#include "SkinControl/skControlUtils.h"

TSkPanel::TSkPanel(QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    setLineWidth(0);
}

void TSkPanel::ShowOrHide()
{
    if (!isHidden()) {
        SavedLeft = x();
        SavedTop = y();
    }
    setVisible(isHidden());
    if (!isHidden())
        move(SavedLeft, SavedTop);
}

void TSkPanel::SetCenterHorz(bool centre)
{
    CenterHorz = centre;
    if (centre)
        CenterInParent();
}

void TSkPanel::SetCenterVert(bool centre)
{
    CenterVert = centre;
    if (centre)
        CenterInParent();
}

void TSkPanel::CenterInParent()
{
    const QWidget *parent = parentWidget();
    if (!parent)
        return;
    int left = x(), top = y();
    if (CenterHorz)
        left = SkinControls::centred(parent->width(), width());
    if (CenterVert)
        top = SkinControls::centred(parent->height(), height());
    move(left, top);
}

void TSkPanel::mouseDoubleClickEvent(QMouseEvent *event)
{
    QFrame::mouseDoubleClickEvent(event);
    emit doubleClicked();
}
