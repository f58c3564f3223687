#pragma once

#include <QToolButton>

// A tool-bar style button that can stay pressed (group buttons release each
// other) and can carry a drop-down menu.
class TSkSpeedButton : public QToolButton
{
    Q_OBJECT

public:
    explicit TSkSpeedButton(QWidget *parent = nullptr);

    QString ActionText;
    bool DownState = false;

    void ShowOrHide();
    // sbutton_down: flips the pressed state kept in DownState.
    void ToggleDown();

    bool Down() const { return isChecked(); }
    // Sets the pressed state; a pressed button of a group releases the others.
    void SetDown(bool down);
    int GroupIndex() const { return m_group; }
    void SetGroupIndex(int group);
    void SetTransparent(bool transparent);
    bool Transparent() const { return m_transparent; }

private:
    void releaseGroup();

    int m_group = 0;
    bool m_transparent = true;
};
