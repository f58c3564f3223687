#include "controls/Button.h"

#include "controls/ControlUtils.h"

TSkButton::TSkButton(QWidget *parent)
    : QPushButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    SetTransparent(true);
    SetTextAlignment(Qt::AlignHCenter);
}

void TSkButton::ShowOrHide()
{
    setVisible(isHidden());
}

void TSkButton::SetCaption(const QString &caption)
{
    m_caption = caption;
    updateShownText();
}

void TSkButton::SetWordWrap(bool wrap)
{
    m_wordWrap = wrap;
    updateShownText();
}

void TSkButton::SetTransparent(bool transparent)
{
    m_transparent = transparent;
    setFlat(transparent);
    SkinControls::setSkinFlag(this, "transparent", transparent);
}

void TSkButton::SetTextAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    // Skins draw the caption's alignment: QPushButton[textAlign="left"].
    SkinControls::setSkinFlag(this, "textAlign", SkinControls::alignmentName(alignment));
}

void TSkButton::resizeEvent(QResizeEvent *event)
{
    QPushButton::resizeEvent(event);
    if (m_wordWrap)
        updateShownText();
}

void TSkButton::updateShownText()
{
    setText(m_wordWrap ? SkinControls::wrapText(m_caption, font(), width() - 8) : m_caption);
}
