#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTextBrowser>

#include <memory>

class QMenu;
class QPrinter;
class QTextDocument;

// The hour-glass for the length of a scope.
class TWaitCursor
{
public:
    TWaitCursor();
    ~TWaitCursor();
    TWaitCursor(const TWaitCursor &) = delete;
    TWaitCursor &operator=(const TWaitCursor &) = delete;
};

// The page viewer of the manual: a text browser whose every page, picture and
// linked style sheet comes through the archive reader, never straight from
// the disk. It keeps its own page history and follows links itself; what a
// link means to the manual is decided by RouteLink (see TSkHtml).
//
// Names are in the program's path form ("Z:\opt\remont\a\page.htm"). Inside
// the document they travel as URLs of the "remont" scheme, so that the
// document resolves relative names against the page as usual and nothing
// falls through to Qt's own file reading.
class THtmlEx : public QTextBrowser
{
    Q_OBJECT

public:
    // What the viewer shows: a page file, text handed to it, or a picture
    // file shown as a page.
    enum class TFileType
    {
        Html,
        Text,
        Picture
    };

    struct THistoryEntry
    {
        QString File; // full name
        QString Title;
        QPoint Position; // scroll position when the page was left
        TFileType Type = TFileType::Html;
    };

    static constexpr int HistoryMaxCount = 20;
    static constexpr int PictureCacheSize = 5;
    static constexpr int VisitedMaxCount = 50;

    explicit THtmlEx(QWidget *parent = nullptr);
    ~THtmlEx() override;

    // The extension from the last "." on, when no separator follows it
    // (empty otherwise), as the file-name functions take it.
    static QString ExtensionOf(const QString &name);

    // Shows a page file, "name" or "name#anchor", with the name relative to
    // the application folder (or full). A page that exists nowhere is
    // reported ("Не найден файл: " + name) and changes nothing; the answer is
    // false then, and also when the request is ignored (empty name, busy).
    bool LoadPage(const QString &fileName);
    // Shows HTML text; relative names in it are taken from the application
    // folder. No history entry.
    void LoadHtmlText(const QString &html);
    // Shows the lines joined as one page with no base folder. No history entry.
    void LoadHtmlLines(const QStringList &lines);

    // The full name of the page shown (empty for text or nothing), its type
    // and its title.
    QString CurrentFile() const { return m_file; }
    TFileType CurrentType() const { return m_type; }
    QString CurrentTitle() const { return m_title; }
    // The folder relative names of the shown page are resolved against
    // (empty: none).
    QString BaseFolder() const { return m_baseFolder; }
    // A load is in progress (a message box inside it runs a nested loop).
    bool Busy() const { return m_busy > 0; }

    // The page history, newest first.
    const QList<THistoryEntry> &History() const { return m_history; }
    QStringList HistoryFiles() const;
    QStringList HistoryTitles() const;
    int HistoryIndex() const { return m_historyIndex; }
    // Moves to a history entry; ignored outside the history, at the current
    // index and while busy. Answers whether it moved.
    bool GoHistory(int index);

    // A click on a link, with the target exactly as written in the page:
    // RouteLink first, then the viewer's own following unless handled.
    void HotSpotClick(const QString &target);

    // Vertical and horizontal scroll bars: allowed by the owner, shown only
    // when the document is larger than the view.
    bool HorzBarAllowed() const { return m_horzAllowed; }
    bool VertBarAllowed() const { return m_vertAllowed; }
    void SetHorzBarAllowed(bool allowed);
    void SetVertBarAllowed(bool allowed);
    bool HorzBarVisible() const;
    bool VertBarVisible() const;
    void SyncScrollBars();

    // The viewer settings a page relies on.
    void SetDefaultFont(const QString &family, int pointSize);
    QString DefFontName() const { return m_fontName; }
    int DefFontSize() const { return m_fontSize; }
    // Background of pages that set none (button face by default).
    void SetPageBackground(const QColor &color);
    // No text selection (links still work).
    void SetNoSelect(bool noSelect);
    bool NoSelect() const { return m_noSelect; }

    // The document laid out for the printer (2 cm margins, page background
    // left out); owned by the caller.
    std::unique_ptr<QTextDocument> PrintLayout(QPrinter &printer) const;
    int PrintPageCount(QPrinter &printer) const;
    // Prints pages first..last (1-based, clamped to the document).
    bool PrintPages(QPrinter &printer, int first, int last) const;

signals:
    // The history or its current index changed.
    void historyChanged();

protected:
    QVariant loadResource(int type, const QUrl &name) override;
    // The link routing of the owner; handled stops the viewer's own following.
    virtual void RouteLink(const QString &target, bool &handled);

    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

    // Shows a picture file as a page, making a history entry.
    bool ShowPicturePage(const QString &fullName);
    // Shows HTML from memory with a base folder (empty: none), keeping the
    // vertical position when the base folder is that of the page before.
    void ShowText(const QString &html, const QString &baseFolder);

    // Where a right click opens its menu; none: no menu.
    QPointer<QMenu> m_popupMenu;

private:
    class BusyGuard;

    // Shows html as the page fullName of the given type and base folder;
    // advances the history when the page differs from the one shown.
    void showDocument(const QString &html, const QString &fullName, TFileType type,
                      const QString &baseFolder, const QString &anchor, bool advanceHistory);
    void advanceHistory(const THistoryEntry *left);
    bool loadHistoryEntry(const THistoryEntry &entry);
    void followLink(const QString &target);
    QString prepareHtml(const QString &html) const;
    QImage loadPicture(const QString &name);
    QPoint scrollPosition() const;
    void setScrollPosition(const QPoint &position);
    void applyPageFormat();
    QString visitedKey(const QString &href) const;
    void rememberVisited(const QString &target);
    void markVisitedLinks();

    QString m_file;
    TFileType m_type = TFileType::Text;
    QString m_title;
    QString m_baseFolder;
    bool m_hasPage = false; // anything shown at all
    int m_busy = 0;
    QList<THistoryEntry> m_history;
    int m_historyIndex = 0;
    bool m_horzAllowed = true;
    bool m_vertAllowed = true;
    bool m_noSelect = false;
    bool m_syncingBars = false;
    QString m_fontName;
    int m_fontSize = 12;
    QString m_pressedAnchor;
    QStringList m_visited; // followed links, newest first, as visitedKey gives them
    struct CachedPicture
    {
        QString key;
        QImage image;
    };
    QList<CachedPicture> m_pictureCache; // most recent first
};
