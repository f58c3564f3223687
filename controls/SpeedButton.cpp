#include "controls/SpeedButton.h"

#include "controls/ControlUtils.h"

TSkSpeedButton::TSkSpeedButton(QWidget *parent)
    : QToolButton(parent)
{
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    SetTransparent(true);
    connect(this, &QToolButton::toggled, this, [this](bool down) {
        if (down)
            releaseGroup();
    });
}

void TSkSpeedButton::releaseGroup()
{
    if (m_group == 0 || !parentWidget())
        return;
    const auto siblings =
        parentWidget()->findChildren<TSkSpeedButton *>(Qt::FindDirectChildrenOnly);
    for (TSkSpeedButton *other : siblings) {
        if (other != this && other->m_group == m_group && other->isChecked()) {
            other->setChecked(false);
            other->DownState = false;
        }
    }
}

void TSkSpeedButton::ShowOrHide()
{
    setVisible(isHidden());
}

void TSkSpeedButton::ToggleDown()
{
    if (DownState) {
        SetDown(false);
        DownState = false;
    } else {
        DownState = true;
        SetDown(true);
    }
}

void TSkSpeedButton::SetDown(bool down)
{
    // A button can be held down only while it is checkable; the group decides
    // whether clicking toggles it.
    setCheckable(true);
    setChecked(down);
    if (m_group == 0 && !down)
        setCheckable(false);
}

void TSkSpeedButton::SetGroupIndex(int group)
{
    m_group = group;
    setCheckable(group != 0 || isChecked());
}

void TSkSpeedButton::SetTransparent(bool transparent)
{
    m_transparent = transparent;
    setAutoRaise(transparent);
    SkinControls::setSkinFlag(this, "transparent", transparent);
}
