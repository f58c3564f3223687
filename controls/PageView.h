#pragma once

#include "controls/HtmlView.h"
#include "core/ActionText.h"

#include <QPointer>

#include <functional>

class TSkLabel;

// The html object of a structure file: the page viewer with what the manual
// needs around it. Links are routed by their targets (pages, pictures, web
// addresses, "$" commands); the linked tree and title label follow the page;
// drag-to-scroll, find, copy and printing serve the html_ commands.
class TSkHtml : public THtmlEx
{
    Q_OBJECT

public:
    explicit TSkHtml(QWidget *parent = nullptr);
    ~TSkHtml() override;

    // Put before the command of a "$" link and before a picture link when
    // pictures do not open in their window (key action).
    QString ActionPrefix;
    // Where commands built from links go (the engine's dispatcher).
    std::function<void(RHelpAction &)> OnCommand;
    // When set, a mouse press on the page goes here instead of starting
    // drag-to-scroll (key move: the press starts moving the window).
    std::function<void(QMouseEvent *)> OnMouseDown;
    // Keys min_width and min_height, kept for the layout.
    int MinWidth = 0;
    int MinHeight = 0;
    // A picture link opens the enlarged-picture window; off: it becomes a command.
    bool ShowPicturesInWindow = true;

    // The enlarged-picture window, once it exists: called with the view, the
    // full name of the page and the picture link as written. Until one is
    // installed a picture link is shown as a picture page in the view.
    using TPictureWindow =
        std::function<void(TSkHtml &view, const QString &base, const QString &target)>;
    static void SetShowPictureWindow(TPictureWindow handler);

    // The label kept in step with the page; not owned (a destroyed label
    // drops out).
    void SetTitleLabel(TSkLabel *label);
    TSkLabel *TitleLabel() const;
    void SetPopupMenu(QMenu *menu);

    // The fragment in a full-size table cell, aligned ("center" when empty).
    void ShowCentered(const QString &fragment, const QString &alignment);
    // The picture, resolved against the folder of base, as a page from
    // memory; answers the resolved name.
    QString ShowPicture(const QString &base, const QString &pictureName);
    // Forward from the caret ignoring case, wrapping once to the top; the
    // match is selected and scrolled into sight.
    bool FindText(const QString &text);
    // Asks the trees that follow this view to move to the page
    // (treeSyncRequested); an empty name asks nothing.
    void SyncTree(const QString &pageName);

    void GoBack();
    void GoForward();
    void GoTop();
    void CopySelection();
    void SelectAllText();
    QString SelectedText() const;
    // The print dialog with the page range, then printing; errors are swallowed.
    void PrintPage();

    // Drag-to-scroll, with no text selection while it is on.
    void SetMoveCursor(bool on);
    bool MoveCursor() const { return m_dragMode; }
    int GetHorzPos() const;
    void SetHorzPos(int pixels);

    void RouteLink(const QString &target, bool &handled) override;

signals:
    // The view shows another page. Both names are in the form tree files
    // store links in (full path, application folder stripped): fromAppFolder
    // resolves a relative name against the application folder;
    // fromPageFolder does the same unless no such file exists, when it is
    // resolved against the folder of the page shown. Whoever links a tree to
    // the view connects here; the view owns no tree.
    void treeSyncRequested(const QString &fromAppFolder, const QString &fromPageFolder);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void raiseCommand(const QString &text);
    void updateTitle();

    QPoint m_press;
    bool m_dragging = false;
    bool m_dragMode = false;
    QPointer<TSkLabel> m_titleLabel;
};
