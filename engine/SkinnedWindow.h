#pragma once

#include "core/ActionText.h"
#include "core/HotKeyTable.h"
#include "core/ValueSyntax.h"
#include "platform/Notebook.h"

#include <QDialog>
#include <QFont>
#include <QPointer>

#include <functional>

class QMenu;

namespace platform {
class SkinFrame;
} // namespace platform

// Every window of the viewer: a frameless window whose frame is drawn by the
// skin frame, filled by one or more structure engines (one notebook page
// each), with the hot-key table and the events through which it hands actions
// and resizes to the engine that is active on it.
class TSkForm : public QDialog
{
    Q_OBJECT

public:
    // Window commands, as the system menu and the caption buttons send them.
    enum SysCommandCode
    {
        SC_MOVE = 0xF010,
        SC_DRAGMOVE = 0xF012,
        SC_MINIMIZE = 0xF020,
        SC_MAXIMIZE = 0xF030,
        SC_CLOSE = 0xF060,
        SC_RESTORE = 0xF120,
        SC_CONTEXTHELP = 0xF180,
    };

    explicit TSkForm(QWidget *owner = nullptr);
    ~TSkForm() override;

    // State the engines and the form keys set.
    QString Effect; // show animation; empty = none
    bool EscClose = false;
    bool Moving = false; // dragging by the client area moves the window
    QString StructFile;  // structure file of the last engine built into the window
    QString StartAction;
    QString MaximizedButtons; // "name;name;" shown while maximized
    QString NormalButtons;    // "name;name;" shown while not maximized
    TColor WindowColor = 0;   // 0 = none
    QString HelpAction;       // run by the help caption button
    std::function<void(RHelpAction &)> OnWindowAction;
    std::function<void(int clientWidth, int clientHeight)> OnWindowResize;

    bool HelpButton() const { return m_helpButton; }
    bool DialogMode() const { return m_dialogMode; }
    bool Resizable() const { return m_resizable; }
    void SetHelpButton(bool on);
    // A dialog cannot be resized, has neither maximize nor minimize button and
    // closes on Esc; leaving dialog mode gives all of that back.
    void SetDialog(bool on);
    void SetResizable(bool on);

    platform::SkinFrame *SkinFrame() const { return m_frame; }
    // Where the window's contents go (the notebook, or controls of windows
    // that have no engine).
    QWidget *ClientArea() const;
    QMenu *SystemMenu() const { return m_systemMenu; }
    QFont &MessageFont() { return m_messageFont; }
    TSkHotKey &HotKeys() { return m_hotKeys; }

    platform::Notebook *Notebook() const { return m_notebook; }
    // The first engine makes the notebook: one page (index 0), filling the
    // client area. Later engines add their pages to it.
    platform::Notebook *CreateNotebook();

    // Registers text ("shortcut*action") with the page shown now (-1 without
    // a notebook).
    void AddHotKey(const QString &text);

    // The window's mouse-down handler, also given to controls on it: with
    // Moving on, the left button starts moving the window (not when maximized).
    void DragMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    // Sees every key pressed in the window before its controls do: hot keys of
    // the page shown, Esc (with EscClose), Ctrl+Alt+Q (restart the program).
    void WindowKeyDown(int key, Qt::KeyboardModifiers shift);
    void ShowEffect();
    // A window command; answers the message result (0 when handled here).
    int SysCommand(int command);

protected:
    void CenterOnScreen();
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void Restart();

    platform::SkinFrame *m_frame = nullptr;
    QMenu *m_systemMenu = nullptr;
    QPointer<platform::Notebook> m_notebook;
    TSkHotKey m_hotKeys;
    QFont m_messageFont;
    bool m_helpButton = false;
    bool m_dialogMode = false;
    bool m_resizable = true;
    // A key that a control ignores travels up to its parents; it is
    // previewed once, at its first receiver.
    const QEvent *m_lastKey = nullptr;
    QPointer<QWidget> m_lastKeyReceiver;
    int m_lastKeyCode = 0;
    quint64 m_lastKeyTime = 0;
};
