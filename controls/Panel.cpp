#include "controls/Panel.h"

#include "controls/ControlUtils.h"

TSkPanel::TSkPanel(QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    setLineWidth(0);
}

void TSkPanel::ShowOrHide()
{
    SkinControls::showOrHideKeepingPlace(this, SavedLeft, SavedTop);
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
    SkinControls::centreInParent(this, CenterHorz, CenterVert);
}

void TSkPanel::mouseDoubleClickEvent(QMouseEvent *event)
{
    QFrame::mouseDoubleClickEvent(event);
    emit doubleClicked();
}
