#include "controls/ParentPanel.h"

#include "controls/ControlUtils.h"

TParentPanel::TParentPanel(QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
}

void TParentPanel::SetCenterHorz(bool centre)
{
    CenterHorz = centre;
    if (centre)
        CenterInParent();
}

void TParentPanel::SetCenterVert(bool centre)
{
    CenterVert = centre;
    if (centre)
        CenterInParent();
}

void TParentPanel::CenterInParent()
{
    SkinControls::centreInParent(this, CenterHorz, CenterVert);
}

void TParentPanel::SetColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
    setAutoFillBackground(true);
}

void TParentPanel::ApplyPercent()
{
    const QWidget *parent = parentWidget();
    if (!parent)
        return;
    QSize size = this->size();
    if (WidthPercent != 0)
        size.setWidth(parent->width() * WidthPercent / 100);
    if (HeightPercent != 0)
        size.setHeight(parent->height() * HeightPercent / 100);
    if (size != this->size())
        resize(size);
}
