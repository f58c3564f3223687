#pragma once

#include "platform/ThemeLink.h"

#include <QColor>
#include <QFlags>
#include <QIcon>
#include <QMenu>
#include <QPointer>
#include <QString>
#include <QWidget>

class QAbstractButton;
class QLabel;
class QPropertyAnimation;

// The frame of every window: a frameless top-level gets its caption bar (icon,
// caption, caption buttons), its border and its client area from this widget,
// which fills the window. Its look comes from the skin the window is linked to
// (object names and properties in docs/skins.md) and, without a skin, from the
// colours below.
namespace platform {

class SkinFrame : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int borderWidth READ borderWidth WRITE setBorderWidth)
    Q_PROPERTY(int captionHeight READ captionHeight WRITE setCaptionHeight)
    Q_PROPERTY(QColor borderColor MEMBER m_borderColor)
    Q_PROPERTY(QColor captionColor MEMBER m_captionColor)
    Q_PROPERTY(QColor inactiveCaptionColor MEMBER m_inactiveCaptionColor)

public:
    enum Button
    {
        CloseButton = 0x1,
        SystemMenuButton = 0x2,
        MinimizeButton = 0x4,
        MaximizeButton = 0x8,
        HelpButton = 0x10,
    };
    Q_DECLARE_FLAGS(Buttons, Button)

    enum class State
    {
        Normal,
        Maximized,
        Minimized,
        RolledUp
    };
    enum class BorderStyle
    {
        None,
        Skin
    };

    // Takes over the window's frame: the window becomes frameless.
    explicit SkinFrame(QWidget *window);

    QWidget *clientArea() const { return m_client; }
    QWidget *captionBar() const { return m_caption; }
    QAbstractButton *button(Button which) const;

    Buttons buttons() const { return m_buttons; }
    void setButtons(Buttons buttons);
    void setButton(Button which, bool on);

    // Whether the border resizes the window when dragged.
    bool isResizable() const { return m_resizable; }
    void setResizable(bool on);

    // None draws neither border nor caption.
    BorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(BorderStyle style);

    int borderWidth() const { return m_borderWidth; }
    void setBorderWidth(int pixels);
    int captionHeight() const { return m_captionHeight; }
    void setCaptionHeight(int pixels);

    // Shown by the system-menu button; not owned. Without one (or with an
    // empty one) the button offers the window commands.
    QMenu *systemMenu() const { return m_systemMenu; }
    void setSystemMenu(QMenu *menu);

    // The window and everything on it are drawn with the link's skin.
    ThemeLink *themeLink() const { return m_themeLink; }
    void setThemeLink(ThemeLink *link);
    QString skinObject() const;
    void setSkinObject(const QString &name);

    int minWidth() const;
    void setMinWidth(int pixels);
    int minHeight() const;
    void setMinHeight(int pixels);

    State state() const { return m_state; }
    void setState(State state);
    // Raises maximizing() first, then switches between maximized and normal.
    void toggleMaximized();

    // The show animation, played by playShowAnimation while enabled (the
    // window's show handler calls it). Known effects: effectNames(); any other
    // name plays nothing.
    void setAnimation(bool enabled, int durationMs, const QString &effect);
    void playShowAnimation();
    bool animationEnabled() const { return m_animate; }
    int animationDuration() const { return m_animationMs; }
    QString animationEffect() const { return m_effect; }
    static QStringList effectNames();
    bool isAnimating() const;

    // The painting switch: off while a window is being built.
    bool isPainting() const;
    void setPainting(bool on);

    // Asks the system to move the window with the mouse (not while
    // maximized); answers whether it was asked.
    bool startMove();

signals:
    void maximizing();  // before the maximize/restore toggle
    void resized();     // the window's size changed; the client area follows after
    void helpClicked(); // the help caption button
    void stateChanged(platform::SkinFrame::State state);
    void moveRequested(); // a system move was asked for

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void placeChildren();
    void updateButtons();
    void updateStateLook();
    Qt::Edges edgesAt(const QPoint &pos) const;
    int frameWidth() const;
    void showSystemMenu();
    void applyWindowState(State state);

    QWidget *m_window;
    QWidget *m_caption;
    QWidget *m_client;
    QAbstractButton *m_menuButton;
    QLabel *m_title;
    QAbstractButton *m_helpButton;
    QAbstractButton *m_minimizeButton;
    QAbstractButton *m_maximizeButton;
    QAbstractButton *m_closeButton;

    Buttons m_buttons = Buttons(CloseButton) | SystemMenuButton | MinimizeButton | MaximizeButton;
    bool m_resizable = true;
    BorderStyle m_borderStyle = BorderStyle::Skin;
    int m_borderWidth = 4;
    int m_captionHeight = 30;
    QColor m_borderColor{0x23, 0x27, 0x2e};
    QColor m_captionColor{0x2b, 0x30, 0x38};
    QColor m_inactiveCaptionColor{0x4a, 0x50, 0x59};
    QPointer<QMenu> m_systemMenu;
    QPointer<ThemeLink> m_themeLink;
    State m_state = State::Normal;
    int m_rolledFromHeight = 0;
    int m_rolledFromMinHeight = 0;
    bool m_animate = false;
    int m_animationMs = 500;
    QString m_effect;
    QPointer<QPropertyAnimation> m_animation;
    QPoint m_captionPressAt;
    bool m_captionPressed = false;
};

} // namespace platform

Q_DECLARE_OPERATORS_FOR_FLAGS(platform::SkinFrame::Buttons)
