#include "platform/SkinFrame.h"

#include "platform/FormLayout.h"
#include "platform/ThemeLink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QStyle>
#include <QStyleOption>
#include <QWindow>

#include <algorithm>

namespace platform {

namespace {

constexpr int cornerGrip = 16;
constexpr int dragThreshold = 4;

void repolish(QWidget *widget)
{
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
    widget->update();
}

// A caption button: flat, with a glyph drawn in code unless the skin gives it
// an icon (qproperty-icon, and qproperty-restoreIcon for the maximize button).
class CaptionButton : public QAbstractButton
{
    Q_OBJECT
    Q_PROPERTY(QColor glyphColor MEMBER m_glyphColor)
    Q_PROPERTY(QColor glyphHoverColor MEMBER m_glyphHoverColor)
    Q_PROPERTY(QColor hoverColor MEMBER m_hoverColor)
    Q_PROPERTY(QColor pressedColor MEMBER m_pressedColor)
    Q_PROPERTY(QIcon restoreIcon READ restoreIcon WRITE setRestoreIcon)
    Q_PROPERTY(int buttonWidth MEMBER m_width)

public:
    enum Kind
    {
        Menu,
        Help,
        Minimize,
        Maximize,
        Close
    };

    CaptionButton(Kind kind, const QString &name, const QString &tip, QWidget *parent)
        : QAbstractButton(parent)
        , m_kind(kind)
    {
        setObjectName(name);
        setToolTip(tip);
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_Hover);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        if (kind == Close) {
            m_hoverColor = QColor(0xe8, 0x11, 0x23);
            m_pressedColor = QColor(0xb0, 0x0d, 0x1a);
            m_glyphHoverColor = Qt::white;
        }
        if (kind == Menu)
            m_width = 36;
    }

    QIcon restoreIcon() const { return m_restoreIcon; }
    void setRestoreIcon(const QIcon &icon)
    {
        m_restoreIcon = icon;
        update();
    }

    void setShowsRestore(bool on)
    {
        m_restore = on;
        update();
    }

    QSize sizeHint() const override { return QSize(m_width, 30); }
    QSize minimumSizeHint() const override { return QSize(m_width, 16); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const bool hover = testAttribute(Qt::WA_UnderMouse) && isEnabled();
        const bool pressed = isDown();
        if (m_kind != Menu && (hover || pressed))
            painter.fillRect(rect(), pressed ? m_pressedColor : m_hoverColor);

        QStyleOption option;
        option.initFrom(this);
        if (hover)
            option.state |= QStyle::State_MouseOver;
        if (pressed)
            option.state |= QStyle::State_Sunken;
        style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);

        const QIcon skinIcon = (m_kind == Maximize && m_restore) ? m_restoreIcon : icon();
        if (!skinIcon.isNull()) {
            skinIcon.paint(&painter, rect(), Qt::AlignCenter,
                           isEnabled() ? QIcon::Normal : QIcon::Disabled);
            return;
        }
        const QColor glyph =
            (hover || pressed) && m_glyphHoverColor.isValid() ? m_glyphHoverColor : m_glyphColor;
        painter.setRenderHint(QPainter::Antialiasing);
        paintGlyph(painter, glyph);
    }

private:
    void paintGlyph(QPainter &painter, const QColor &color)
    {
        const QPointF c = QRectF(rect()).center();
        const qreal s = std::clamp(height() / 3.0, 7.0, 12.0) / 2.0; // half the glyph size
        QPen pen(color, 1.3);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        switch (m_kind) {
        case Close:
            painter.drawLine(c + QPointF(-s, -s), c + QPointF(s, s));
            painter.drawLine(c + QPointF(-s, s), c + QPointF(s, -s));
            break;
        case Minimize:
            painter.drawLine(c + QPointF(-s, 0.5), c + QPointF(s, 0.5));
            break;
        case Maximize:
            if (m_restore) {
                const qreal d = s * 0.45;
                painter.drawRect(QRectF(c.x() - s, c.y() - s + d, 2 * s - d, 2 * s - d));
                QPainterPath back;
                back.moveTo(c.x() - s + d, c.y() - s + d);
                back.lineTo(c.x() - s + d, c.y() - s);
                back.lineTo(c.x() + s, c.y() - s);
                back.lineTo(c.x() + s, c.y() + s - d);
                back.lineTo(c.x() + s - d, c.y() + s - d);
                painter.drawPath(back);
            } else {
                painter.drawRect(QRectF(c.x() - s, c.y() - s, 2 * s, 2 * s));
            }
            break;
        case Help: {
            QFont f = font();
            f.setBold(true);
            f.setPixelSize(int(s * 2.4));
            painter.setFont(f);
            painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
        case Menu: {
            const QIcon windowIcon = window()->windowIcon();
            const QRectF box(c.x() - 8, c.y() - 8, 16, 16);
            if (!windowIcon.isNull() && !windowIcon.availableSizes().isEmpty()) {
                windowIcon.paint(&painter, box.toRect());
                break;
            }
            // The program's own mark when the window has no icon.
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0x3d, 0x8b, 0xd9));
            painter.drawRoundedRect(box, 3.5, 3.5);
            QFont f = font();
            f.setBold(true);
            f.setPixelSize(12);
            painter.setFont(f);
            painter.setPen(Qt::white);
            painter.drawText(box, Qt::AlignCenter, QStringLiteral("Р"));
            break;
        }
        }
    }

    Kind m_kind;
    bool m_restore = false;
    int m_width = 46;
    QColor m_glyphColor{0xdf, 0xe3, 0xe8};
    QColor m_glyphHoverColor;
    QColor m_hoverColor{255, 255, 255, 36};
    QColor m_pressedColor{255, 255, 255, 64};
    QIcon m_restoreIcon;
};

// The caption bar paints the frame's caption colour under whatever the skin adds.
class CaptionBar : public QWidget
{
public:
    CaptionBar(SkinFrame *frame)
        : QWidget(frame)
        , m_frame(frame)
    {
        setObjectName(QStringLiteral("SkinCaption"));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const char *name =
            m_frame->property("active").toBool() ? "captionColor" : "inactiveCaptionColor";
        painter.fillRect(rect(), m_frame->property(name).value<QColor>());
        QStyleOption option;
        option.initFrom(this);
        style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
    }

private:
    SkinFrame *m_frame;
};

} // namespace

SkinFrame::SkinFrame(QWidget *window)
    : QWidget(window)
    , m_window(window)
{
    setObjectName(QStringLiteral("SkinFrame"));
    setMouseTracking(true);
    window->setWindowFlags(window->windowFlags() | Qt::FramelessWindowHint);

    m_caption = new CaptionBar(this);
    m_caption->installEventFilter(this);
    m_menuButton = new CaptionButton(CaptionButton::Menu, QStringLiteral("SkinSystemMenuButton"),
                                     QString(), m_caption);
    m_title = new QLabel(m_caption);
    m_title->setObjectName(QStringLiteral("SkinCaptionText"));
    m_title->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_title->setTextFormat(Qt::PlainText);
    QPalette titlePalette = m_title->palette();
    titlePalette.setColor(QPalette::WindowText, QColor(0xec, 0xee, 0xf1));
    m_title->setPalette(titlePalette);
    QFont titleFont = m_title->font();
    titleFont.setPointSize(10);
    titleFont.setWeight(QFont::DemiBold);
    m_title->setFont(titleFont);
    m_helpButton = new CaptionButton(CaptionButton::Help, QStringLiteral("SkinHelpButton"),
                                     QStringLiteral("Справка"), m_caption);
    m_minimizeButton =
        new CaptionButton(CaptionButton::Minimize, QStringLiteral("SkinMinimizeButton"),
                          QStringLiteral("Свернуть"), m_caption);
    m_maximizeButton =
        new CaptionButton(CaptionButton::Maximize, QStringLiteral("SkinMaximizeButton"),
                          QStringLiteral("Развернуть"), m_caption);
    m_closeButton = new CaptionButton(CaptionButton::Close, QStringLiteral("SkinCloseButton"),
                                      QStringLiteral("Закрыть"), m_caption);

    auto *row = new QHBoxLayout(m_caption);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(m_menuButton);
    row->addSpacing(2);
    row->addWidget(m_title, 1);
    row->addWidget(m_helpButton);
    row->addWidget(m_minimizeButton);
    row->addWidget(m_maximizeButton);
    row->addWidget(m_closeButton);

    connect(m_closeButton, &QAbstractButton::clicked, m_window, &QWidget::close);
    connect(m_minimizeButton, &QAbstractButton::clicked, this,
            [this] { setState(State::Minimized); });
    connect(m_maximizeButton, &QAbstractButton::clicked, this, &SkinFrame::toggleMaximized);
    connect(m_helpButton, &QAbstractButton::clicked, this, &SkinFrame::helpClicked);
    connect(m_menuButton, &QAbstractButton::clicked, this, &SkinFrame::showSystemMenu);

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("SkinClient"));
    m_client->setAutoFillBackground(true);
    m_client->setAttribute(Qt::WA_StyledBackground);

    m_title->setText(window->windowTitle());
    window->installEventFilter(this);
    updateButtons();
    updateStateLook();
    FormLayout::applyGeometry(this, window->rect());
    placeChildren();
}

QAbstractButton *SkinFrame::button(Button which) const
{
    switch (which) {
    case CloseButton:
        return m_closeButton;
    case SystemMenuButton:
        return m_menuButton;
    case MinimizeButton:
        return m_minimizeButton;
    case MaximizeButton:
        return m_maximizeButton;
    case HelpButton:
        return m_helpButton;
    }
    return nullptr;
}

void SkinFrame::setButtons(Buttons buttons)
{
    m_buttons = buttons;
    updateButtons();
}

void SkinFrame::setButton(Button which, bool on)
{
    setButtons(on ? (m_buttons | which) : (m_buttons & ~Buttons(which)));
}

void SkinFrame::updateButtons()
{
    m_closeButton->setVisible(m_buttons & CloseButton);
    m_menuButton->setVisible(m_buttons & SystemMenuButton);
    m_minimizeButton->setVisible(m_buttons & MinimizeButton);
    m_maximizeButton->setVisible(m_buttons & MaximizeButton);
    m_helpButton->setVisible(m_buttons & HelpButton);
}

void SkinFrame::setResizable(bool on)
{
    m_resizable = on;
    if (!on)
        unsetCursor();
}

void SkinFrame::setBorderStyle(BorderStyle style)
{
    m_borderStyle = style;
    placeChildren();
}

void SkinFrame::setBorderWidth(int pixels)
{
    m_borderWidth = std::max(pixels, 0);
    placeChildren();
}

void SkinFrame::setCaptionHeight(int pixels)
{
    m_captionHeight = std::max(pixels, 0);
    placeChildren();
}

void SkinFrame::setSystemMenu(QMenu *menu)
{
    m_systemMenu = menu;
}

void SkinFrame::setThemeLink(ThemeLink *link)
{
    m_themeLink = link;
    if (link)
        link->link(m_window);
    placeChildren();
}

QString SkinFrame::skinObject() const
{
    return platform::skinObject(this);
}

void SkinFrame::setSkinObject(const QString &name)
{
    platform::setSkinObject(this, name);
    updateStateLook();
}

int SkinFrame::minWidth() const
{
    return m_window->minimumWidth();
}

void SkinFrame::setMinWidth(int pixels)
{
    m_window->setMinimumWidth(std::max(pixels, 0));
}

int SkinFrame::minHeight() const
{
    return m_state == State::RolledUp ? m_rolledFromMinHeight : m_window->minimumHeight();
}

void SkinFrame::setMinHeight(int pixels)
{
    if (m_state == State::RolledUp)
        m_rolledFromMinHeight = std::max(pixels, 0);
    else
        m_window->setMinimumHeight(std::max(pixels, 0));
}

void SkinFrame::setState(State state)
{
    if (state == m_state)
        return;
    const State previous = m_state;
    m_state = state;
    if (previous == State::RolledUp) {
        m_window->setMinimumHeight(m_rolledFromMinHeight);
        m_window->resize(m_window->width(), m_rolledFromHeight);
        m_client->show();
    }
    Qt::WindowStates ws = m_window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    switch (state) {
    case State::Normal:
        m_window->setWindowState(ws);
        break;
    case State::Maximized:
        m_window->setWindowState(ws | Qt::WindowMaximized);
        break;
    case State::Minimized:
        m_window->setWindowState(m_window->windowState() | Qt::WindowMinimized);
        break;
    case State::RolledUp:
        m_window->setWindowState(ws);
        m_rolledFromHeight = m_window->height();
        m_rolledFromMinHeight = m_window->minimumHeight();
        m_client->hide();
        m_window->setMinimumHeight(0);
        m_window->resize(m_window->width(), 2 * frameWidth() + m_captionHeight);
        break;
    }
    updateStateLook();
    emit stateChanged(m_state);
}

void SkinFrame::toggleMaximized()
{
    emit maximizing();
    setState(m_state == State::Maximized ? State::Normal : State::Maximized);
}

QStringList SkinFrame::effectNames()
{
    return {QStringLiteral("fade"), QStringLiteral("blend"), QStringLiteral("zoom"),
            QStringLiteral("roll"), QStringLiteral("slide")};
}

void SkinFrame::setAnimation(bool enabled, int durationMs, const QString &effect)
{
    m_animate = enabled;
    m_animationMs = std::max(durationMs, 0);
    m_effect = effect;
}

bool SkinFrame::isAnimating() const
{
    return m_animation && m_animation->state() == QAbstractAnimation::Running;
}

void SkinFrame::playShowAnimation()
{
    const QString effect = m_effect.trimmed().toLower();
    if (!m_animate || m_animationMs == 0 || !effectNames().contains(effect) || isAnimating())
        return;
    const QRect end = m_window->geometry();
    QPropertyAnimation *animation = nullptr;
    if (effect == QLatin1String("fade") || effect == QLatin1String("blend")) {
        animation = new QPropertyAnimation(m_window, "windowOpacity", this);
        animation->setStartValue(0.0);
        animation->setEndValue(1.0);
    } else if (m_state == State::Normal) {
        QRect start = end;
        if (effect == QLatin1String("zoom")) {
            start.setSize(end.size() * 0.6);
            start.moveCenter(end.center());
        } else if (effect == QLatin1String("roll")) {
            start.setHeight(std::min(end.height(), 2 * frameWidth() + m_captionHeight));
        } else {
            start.translate(0, -40);
        }
        animation = new QPropertyAnimation(m_window, "geometry", this);
        animation->setStartValue(start);
        animation->setEndValue(end);
    }
    if (!animation)
        return;
    animation->setDuration(m_animationMs);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    m_animation = animation;
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

bool SkinFrame::isPainting() const
{
    return m_window->updatesEnabled();
}

void SkinFrame::setPainting(bool on)
{
    m_window->setUpdatesEnabled(on);
}

bool SkinFrame::startMove()
{
    if (m_state == State::Maximized)
        return false;
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    emit moveRequested();
    if (QWindow *handle = m_window->windowHandle())
        handle->startSystemMove();
    return true;
}

int SkinFrame::frameWidth() const
{
    if (m_borderStyle == BorderStyle::None || m_state == State::Maximized)
        return 0;
    return m_borderWidth;
}

void SkinFrame::placeChildren()
{
    const int b = frameWidth();
    const int c = m_borderStyle == BorderStyle::None ? 0 : m_captionHeight;
    const int w = width();
    const int h = height();
    m_caption->setVisible(c > 0);
    FormLayout::applyGeometry(m_caption, QRect(b, b, std::max(w - 2 * b, 0), c));
    // While rolled up the client keeps its size, so nothing on it is squeezed.
    if (m_state != State::RolledUp)
        FormLayout::applyGeometry(
            m_client, QRect(b, b + c, std::max(w - 2 * b, 0), std::max(h - 2 * b - c, 0)));
}

void SkinFrame::updateStateLook()
{
    static const char *const names[] = {"normal", "maximized", "minimized", "rolledup"};
    const QString state = QLatin1String(names[int(m_state)]);
    // Dimmed only while another window of the program has the focus.
    const QWidget *focused = QApplication::activeWindow();
    const bool active = !focused || focused == m_window;
    static_cast<CaptionButton *>(m_maximizeButton)->setShowsRestore(m_state == State::Maximized);
    m_maximizeButton->setToolTip(m_state == State::Maximized ? QStringLiteral("Восстановить")
                                                             : QStringLiteral("Развернуть"));
    for (QWidget *w : {static_cast<QWidget *>(this), m_caption}) {
        w->setProperty("windowState", state);
        w->setProperty("active", active);
    }
    if (!styleSheet().isEmpty() || !m_window->styleSheet().isEmpty() ||
        !qApp->styleSheet().isEmpty()) {
        for (QWidget *w :
             {static_cast<QWidget *>(this), m_caption, static_cast<QWidget *>(m_title),
              static_cast<QWidget *>(m_menuButton), static_cast<QWidget *>(m_helpButton),
              static_cast<QWidget *>(m_minimizeButton), static_cast<QWidget *>(m_maximizeButton),
              static_cast<QWidget *>(m_closeButton)})
            repolish(w);
    }
    placeChildren();
    m_caption->update();
}

Qt::Edges SkinFrame::edgesAt(const QPoint &pos) const
{
    Qt::Edges edges;
    const int b = frameWidth();
    if (!m_resizable || m_state != State::Normal || b == 0)
        return edges;
    if (pos.x() < b)
        edges |= Qt::LeftEdge;
    if (pos.x() >= width() - b)
        edges |= Qt::RightEdge;
    if (pos.y() < b)
        edges |= Qt::TopEdge;
    if (pos.y() >= height() - b)
        edges |= Qt::BottomEdge;
    if (edges & (Qt::TopEdge | Qt::BottomEdge)) {
        if (pos.x() < cornerGrip)
            edges |= Qt::LeftEdge;
        else if (pos.x() >= width() - cornerGrip)
            edges |= Qt::RightEdge;
    }
    if (edges & (Qt::LeftEdge | Qt::RightEdge)) {
        if (pos.y() < cornerGrip)
            edges |= Qt::TopEdge;
        else if (pos.y() >= height() - cornerGrip)
            edges |= Qt::BottomEdge;
    }
    return edges;
}

void SkinFrame::showSystemMenu()
{
    const QPoint at = m_menuButton->mapToGlobal(QPoint(0, m_menuButton->height()));
    if (m_systemMenu && !m_systemMenu->isEmpty()) {
        m_systemMenu->popup(at);
        return;
    }
    // Without a menu of its own the window offers its commands.
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction *restore =
        menu->addAction(QStringLiteral("Восстановить"), this, [this] { setState(State::Normal); });
    restore->setEnabled(m_state != State::Normal);
    if (m_buttons & MinimizeButton)
        menu->addAction(QStringLiteral("Свернуть"), this, [this] { setState(State::Minimized); });
    if (m_buttons & MaximizeButton) {
        QAction *maximize =
            menu->addAction(QStringLiteral("Развернуть"), this, &SkinFrame::toggleMaximized);
        maximize->setEnabled(m_state != State::Maximized);
    }
    menu->addSeparator();
    menu->addAction(QStringLiteral("Закрыть"), m_window, &QWidget::close);
    menu->popup(at);
}

bool SkinFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Resize:
            emit resized();
            FormLayout::applyGeometry(this, m_window->rect());
            placeChildren();
            break;
        case QEvent::WindowTitleChange:
            m_title->setText(m_window->windowTitle());
            break;
        case QEvent::WindowIconChange:
            m_menuButton->update();
            break;
        case QEvent::ActivationChange:
            updateStateLook();
            break;
        case QEvent::WindowStateChange: {
            const Qt::WindowStates ws = m_window->windowState();
            State now = ws & Qt::WindowMinimized     ? State::Minimized
                        : ws & Qt::WindowMaximized   ? State::Maximized
                        : m_state == State::RolledUp ? State::RolledUp
                                                     : State::Normal;
            if (now != m_state) {
                m_state = now;
                updateStateLook();
                emit stateChanged(m_state);
            }
            break;
        }
        default:
            break;
        }
        return false;
    }
    if (watched == m_caption) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() != Qt::LeftButton)
                return false;
            m_captionPressAt = mouse->globalPosition().toPoint();
            m_captionPressed = true;
            return true;
        }
        case QEvent::MouseMove: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (m_captionPressed && (mouse->buttons() & Qt::LeftButton) &&
                (mouse->globalPosition().toPoint() - m_captionPressAt).manhattanLength() >=
                    dragThreshold) {
                m_captionPressed = false;
                startMove();
            }
            return m_captionPressed;
        }
        case QEvent::MouseButtonRelease:
            m_captionPressed = false;
            return false;
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
                (m_buttons & MaximizeButton) &&
                (m_state == State::Normal || m_state == State::Maximized)) {
                m_captionPressed = false;
                toggleMaximized();
                return true;
            }
            return false;
        default:
            return false;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SkinFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_borderColor);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void SkinFrame::mousePressEvent(QMouseEvent *event)
{
    const Qt::Edges edges =
        event->button() == Qt::LeftButton ? edgesAt(event->position().toPoint()) : Qt::Edges();
    if (!edges) {
        event->ignore(); // the window's own mouse handling gets it
        return;
    }
    if (QWindow *handle = m_window->windowHandle())
        handle->startSystemResize(edges);
}

void SkinFrame::mouseMoveEvent(QMouseEvent *event)
{
    const Qt::Edges e = edgesAt(event->position().toPoint());
    if (e == (Qt::TopEdge | Qt::LeftEdge) || e == (Qt::BottomEdge | Qt::RightEdge))
        setCursor(Qt::SizeFDiagCursor);
    else if (e == (Qt::TopEdge | Qt::RightEdge) || e == (Qt::BottomEdge | Qt::LeftEdge))
        setCursor(Qt::SizeBDiagCursor);
    else if (e & (Qt::LeftEdge | Qt::RightEdge))
        setCursor(Qt::SizeHorCursor);
    else if (e & (Qt::TopEdge | Qt::BottomEdge))
        setCursor(Qt::SizeVerCursor);
    else
        unsetCursor();
    event->ignore();
}

void SkinFrame::leaveEvent(QEvent *event)
{
    unsetCursor();
    QWidget::leaveEvent(event);
}

} // namespace platform

#include "SkinFrame.moc"
