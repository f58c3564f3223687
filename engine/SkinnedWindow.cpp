#include "engine/SkinnedWindow.h"

#include "core/ManualLocation.h"
#include "core/ViewerOptions.h"
#include "platform/FileSystem.h"
#include "platform/FormLayout.h"
#include "platform/Notebook.h"
#include "platform/Process.h"
#include "platform/Shell.h"
#include "platform/SkinFrame.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>

namespace {

// Hands every size change of the client area to the window. A filter of its
// own: the window's filter also sees the application's events, and would see
// these twice.
class ClientResizeWatcher : public QObject
{
public:
    ClientResizeWatcher(QWidget *client, std::function<void()> onResize)
        : QObject(client)
        , m_onResize(std::move(onResize))
    {
        client->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            m_onResize();
        return false;
    }

private:
    std::function<void()> m_onResize;
};

} // namespace

TSkForm::TSkForm(QWidget *owner)
    : QDialog(owner)
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setSizeGripEnabled(false);
    resize(640, 480);

    m_systemMenu = new QMenu(this);
    m_frame = new platform::SkinFrame(this);
    m_frame->setButtons(platform::SkinFrame::CloseButton | platform::SkinFrame::SystemMenuButton |
                        platform::SkinFrame::MinimizeButton | platform::SkinFrame::MaximizeButton);
    m_frame->setSystemMenu(m_systemMenu);
    connect(m_frame, &platform::SkinFrame::helpClicked, this,
            [this] { SysCommand(SC_CONTEXTHELP); });
    platform::FormLayout::of(m_frame->clientArea());
    new ClientResizeWatcher(m_frame->clientArea(), [this] {
        if (OnWindowResize) {
            const auto handler = OnWindowResize;
            handler(ClientArea()->width(), ClientArea()->height());
        }
    });
    qApp->installEventFilter(this);

    CenterOnScreen();
}

TSkForm::~TSkForm()
{
    qApp->removeEventFilter(this);
}

QWidget *TSkForm::ClientArea() const
{
    return m_frame->clientArea();
}

void TSkForm::CenterOnScreen()
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void TSkForm::SetHelpButton(bool on)
{
    m_frame->setButton(platform::SkinFrame::HelpButton, on);
    m_helpButton = on;
}

void TSkForm::SetDialog(bool on)
{
    m_frame->setResizable(!on);
    m_frame->setButton(platform::SkinFrame::MaximizeButton, !on);
    m_frame->setButton(platform::SkinFrame::MinimizeButton, !on);
    m_dialogMode = on;
    EscClose = on;
}

void TSkForm::SetResizable(bool on)
{
    m_frame->setResizable(on);
    m_frame->setButton(platform::SkinFrame::MaximizeButton, on);
    m_resizable = on;
}

platform::Notebook *TSkForm::CreateNotebook()
{
    if (m_notebook)
        return m_notebook;
    m_notebook = new platform::Notebook(ClientArea());
    m_notebook->addPage(QStringLiteral("p0"));
    platform::FormLayout::setAlign(m_notebook, TAlign::Client);
    return m_notebook;
}

void TSkForm::AddHotKey(const QString &text)
{
    m_hotKeys.RegisterHotKey(text, m_notebook ? m_notebook->currentIndex() : -1);
}

void TSkForm::DragMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, int, int)
{
    if (m_frame->state() != platform::SkinFrame::State::Maximized && Moving &&
        button == Qt::LeftButton)
        SysCommand(SC_DRAGMOVE);
}

void TSkForm::WindowKeyDown(int key, Qt::KeyboardModifiers shift)
{
    QPointer<TSkForm> alive(this);
    const int page = m_notebook ? m_notebook->currentIndex() : -1;
    const int hit = m_hotKeys.Match(KeyToShortCut(key, int(shift)), page);
    if (hit >= 0 && OnWindowAction) {
        RHelpAction action{m_hotKeys.ActionAt(hit), 0, 0, 0};
        // The action may replace the handler (or close the window) while it runs.
        const auto handler = OnWindowAction;
        handler(action);
        if (!alive)
            return;
    }
    if (key == Qt::Key_Escape && EscClose)
        close();
    const Qt::KeyboardModifiers pressed =
        shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (key == Qt::Key_Q && pressed == (Qt::ControlModifier | Qt::AltModifier))
        Restart();
}

void TSkForm::Restart()
{
    // The new copy shows the same manual.
    platform::shell().start(platform::toVirtual(QCoreApplication::applicationFilePath()),
                            ViewerArguments(ManualArgument(CurrentManual()), QString()), QString());
    platform::exitProcess(0);
}

void TSkForm::ShowEffect()
{
    if (Effect.isEmpty())
        return;
    m_frame->setAnimation(true, 500, Effect);
    m_frame->playShowAnimation();
}

int TSkForm::SysCommand(int command)
{
    using State = platform::SkinFrame::State;
    if (command == SC_CONTEXTHELP && m_helpButton) {
        const QPoint at = QCursor::pos();
        RHelpAction action{HelpAction, 0, at.x(), at.y()};
        // Let the help button look released before the help runs.
        QPointer<TSkForm> alive(this);
        QCoreApplication::processEvents();
        if (alive && OnWindowAction) {
            const auto handler = OnWindowAction;
            handler(action);
        }
        return 0;
    }
    switch (command & 0xFFF0) {
    case SC_MOVE:
        m_frame->startMove();
        break;
    case SC_MINIMIZE:
        m_frame->setState(State::Minimized);
        break;
    case SC_MAXIMIZE:
        if (m_frame->state() != State::Maximized)
            m_frame->toggleMaximized();
        break;
    case SC_RESTORE:
        if (m_frame->state() == State::Maximized)
            m_frame->toggleMaximized();
        else
            m_frame->setState(State::Normal);
        break;
    case SC_CLOSE:
        close();
        break;
    default:
        break;
    }
    return 1;
}

bool TSkForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto *receiver = static_cast<QWidget *>(watched);
    if (receiver->window() != this)
        return false;
    // A propagated key is the same event object travelling to a strict
    // ancestor with the same key and time stamp. Events are often created at
    // the same address one after another, so the address alone proves nothing.
    const auto *key = static_cast<QKeyEvent *>(event);
    if (event == m_lastKey && m_lastKeyReceiver && receiver != m_lastKeyReceiver &&
        receiver->isAncestorOf(m_lastKeyReceiver) && key->key() == m_lastKeyCode &&
        key->timestamp() == m_lastKeyTime) {
        m_lastKeyReceiver = receiver;
        return false;
    }
    m_lastKey = event;
    m_lastKeyReceiver = receiver;
    m_lastKeyCode = key->key();
    m_lastKeyTime = key->timestamp();
    QPointer<QWidget> target(receiver);
    WindowKeyDown(key->key(), key->modifiers());
    // A key that closed and freed its control goes no further.
    return target.isNull();
}

void TSkForm::showEvent(QShowEvent *event)
{
    ShowEffect();
    QDialog::showEvent(event);
}

void TSkForm::keyPressEvent(QKeyEvent *event)
{
    // Not the dialog's own Esc and Enter handling: keys act only as the
    // window's settings and hot keys say.
    QWidget::keyPressEvent(event);
}

void TSkForm::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    DragMouseDown(event->button(), event->modifiers(), at.x(), at.y());
    QWidget::mousePressEvent(event);
}
