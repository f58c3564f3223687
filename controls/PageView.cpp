#include "controls/PageView.h"

#include "controls/Label.h"
#include "core/DesktopServices.h"
#include "core/PathUtils.h"
#include "core/ResourceArchive.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Printers.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPrinter>
#include <QScrollBar>
#include <QTextDocument>

namespace {

TSkHtml::TPictureWindow &pictureWindow()
{
    static TSkHtml::TPictureWindow handler;
    return handler;
}

QString folderOf(const QString &name)
{
    return name.left(name.lastIndexOf(u'\\') + 1);
}

} // namespace

TSkHtml::TSkHtml(QWidget *parent)
    : THtmlEx(parent)
{
    connect(this, &THtmlEx::historyChanged, this, &TSkHtml::updateTitle);
}

TSkHtml::~TSkHtml() = default;

void TSkHtml::SetShowPictureWindow(TPictureWindow handler)
{
    pictureWindow() = std::move(handler);
}

// The title label.

void TSkHtml::SetTitleLabel(TSkLabel *label)
{
    m_titleLabel = label;
}

TSkLabel *TSkHtml::TitleLabel() const
{
    return m_titleLabel;
}

void TSkHtml::SetPopupMenu(QMenu *menu)
{
    m_popupMenu = menu;
}

void TSkHtml::updateTitle()
{
    if (m_titleLabel && HistoryIndex() < History().size())
        m_titleLabel->SetCaption(History()[HistoryIndex()].Title);
    SyncScrollBars();
}

void TSkHtml::SyncTree(const QString &pageName)
{
    if (pageName.isEmpty())
        return;
    // Relative names are the application folder's: the folder the manual's
    // tree files are written against, whatever the process's working folder.
    const QString full = ResolvePath(pageName, AppFolder());
    const QString inPageFolder = ResourceExists(full) ? full : ResolvePath(pageName, BaseFolder());
    emit treeSyncRequested(StripAppFolder(full), StripAppFolder(inPageFolder));
}

// Pages from memory.

void TSkHtml::ShowCentered(const QString &fragment, const QString &alignment)
{
    const QString align = alignment.isEmpty() ? QStringLiteral("center") : alignment;
    LoadHtmlLines({QStringLiteral("<table width=\"100%\" height=\"100%\" border=\"0\"><tr><td>"
                                  "<div align=\"") +
                       align + QStringLiteral("\">"),
                   fragment, QStringLiteral("</div></td></tr></table>")});
}

QString TSkHtml::ShowPicture(const QString &base, const QString &pictureName)
{
    const QString resolved = ResolvePath(pictureName, folderOf(base));
    LoadHtmlLines(
        {QStringLiteral("<img src=\"") + resolved.toHtmlEscaped() + QStringLiteral("\">")});
    return resolved;
}

// Link routing.

void TSkHtml::raiseCommand(const QString &text)
{
    if (!OnCommand)
        return;
    RHelpAction record;
    record.Action = text;
    const auto handler = OnCommand; // the handler may replace or free this view
    handler(record);
}

void TSkHtml::RouteLink(const QString &target, bool &handled)
{
    const QString lower = target.toLower();
    // 1. Web and FTP addresses go to the browser.
    if (lower.contains(QLatin1String("http:")) || lower.contains(QLatin1String("ftp:"))) {
        ShellOpen(target, QString(), QStringLiteral("open"));
        handled = true;
        return;
    }
    // 2. The target file and its extension.
    const QString file = lower.left(lower.indexOf(u'#') >= 0 ? lower.indexOf(u'#') : lower.size());
    const QString ext = ExtensionOf(file);
    // 3. A command for the window's dispatcher. The viewer has nothing to
    // follow in it (a command naming a page would otherwise be loaded as one).
    if (target.startsWith(u'$')) {
        const QString command = target.mid(1);
        handled = true;
        raiseCommand(ActionPrefix.isEmpty() ? command : ActionPrefix + u'*' + command);
        return;
    }
    // 4. A Flash movie, by its full name.
    if (ext == QLatin1String(".swf")) {
        raiseCommand(QStringLiteral("swf*") + ResolvePath(target, folderOf(CurrentFile())));
        return;
    }
    // 5. Pictures.
    if (ext == QLatin1String(".jpg") || ext == QLatin1String(".gif") ||
        ext == QLatin1String(".bmp") || ext == QLatin1String(".png")) {
        handled = true;
        if (!ShowPicturesInWindow) {
            raiseCommand(ActionPrefix.isEmpty() ? target : ActionPrefix + u'*' + target);
            return;
        }
        if (const TPictureWindow handler = pictureWindow()) {
            handler(*this, CurrentFile(), target);
            return;
        }
        const qsizetype hash = target.indexOf(u'#');
        ShowPicturePage(ResolvePath(hash >= 0 ? target.left(hash) : target, BaseFolder()));
        return;
    }
    // 6. Pages: the tree moves, the viewer loads.
    if (ext == QLatin1String(".htm") || ext == QLatin1String(".html")) {
        SyncTree(file);
        return;
    }
    // 7. An anchor of this page is the viewer's.
    if (file.isEmpty())
        return;
    // 8. Anything else is the desktop's.
    ShellOpen(target, QString(), QStringLiteral("open"));
}

// History moves.

void TSkHtml::GoBack()
{
    GoHistory(HistoryIndex() + 1);
    SyncTree(CurrentFile());
}

void TSkHtml::GoForward()
{
    GoHistory(HistoryIndex() - 1);
    SyncTree(CurrentFile());
}

void TSkHtml::GoTop()
{
    verticalScrollBar()->setValue(0);
    SyncScrollBars();
}

// Find, copy, select.

bool TSkHtml::FindText(const QString &text)
{
    if (text.isEmpty())
        return false;
    QTextCursor found = document()->find(text, textCursor().position());
    if (found.isNull())
        found = document()->find(text, 0);
    if (found.isNull()) {
        SyncScrollBars();
        return false;
    }
    // Where the match stands in the view before the caret moves decides the
    // scrolling: the middle when it is out of sight or near the far edges.
    QTextCursor start(found);
    start.setPosition(found.selectionStart());
    const QRect at = cursorRect(start);
    const QPoint before(horizontalScrollBar()->value(), verticalScrollBar()->value());
    setTextCursor(found);
    const int width = viewport()->width();
    const int height = viewport()->height();
    QPoint target = before;
    if (at.top() < 0 || at.top() > height - 20)
        target.setY(before.y() + at.top() - height / 2);
    if (at.left() < 0 || at.left() > width - 50)
        target.setX(before.x() + at.left() - width / 2);
    horizontalScrollBar()->setValue(target.x());
    verticalScrollBar()->setValue(target.y());
    SyncScrollBars();
    return true;
}

void TSkHtml::CopySelection()
{
    copy();
}

void TSkHtml::SelectAllText()
{
    setFocus();
    if (NoSelect() || document()->isEmpty())
        return;
    selectAll();
}

QString TSkHtml::SelectedText() const
{
    return textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n');
}

// Printing.

void TSkHtml::PrintPage()
{
    try {
        QPrinter printer(QPrinter::HighResolution);
        const QString name = platform::printers().defaultPrinterName();
        if (!name.isEmpty())
            printer.setPrinterName(name);
        int pages = 0;
        {
            const TWaitCursor cursor;
            pages = qMax(1, PrintPageCount(printer));
            QCoreApplication::processEvents();
        }
        platform::PrintDialogRequest request;
        request.printerName = printer.printerName();
        request.minPage = 1;
        request.maxPage = pages;
        request.fromPage = 1;
        request.toPage = pages;
        const platform::PrintDialogAnswer answer = platform::dialogs().printDialog(request);
        if (!answer.accepted)
            return;
        if (!answer.printerName.isEmpty() && answer.printerName != printer.printerName())
            printer.setPrinterName(answer.printerName);
        if (!answer.outputFile.isEmpty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(platform::toNative(answer.outputFile));
        }
        printer.setCopyCount(qMax(1, answer.copies));
        const TWaitCursor cursor;
        if (answer.allPages)
            PrintPages(printer, 1, 9999);
        else
            PrintPages(printer, answer.fromPage, answer.toPage);
    } catch (...) {
        // Printing never takes the program down; nothing is printed.
    }
}

// Drag to scroll.

void TSkHtml::SetMoveCursor(bool on)
{
    m_dragMode = on;
    m_dragging = false;
    SetNoSelect(on);
}

int TSkHtml::GetHorzPos() const
{
    return horizontalScrollBar()->value();
}

void TSkHtml::SetHorzPos(int pixels)
{
    horizontalScrollBar()->setValue(pixels);
    SyncScrollBars();
}

void TSkHtml::mousePressEvent(QMouseEvent *event)
{
    if (OnMouseDown) {
        const auto handler = OnMouseDown;
        handler(event);
    } else if (m_dragMode) {
        m_press = event->position().toPoint();
        m_dragging = true;
    }
    THtmlEx::mousePressEvent(event);
}

void TSkHtml::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragMode && m_dragging) {
        // A tenth of the distance from the press point on every move: the
        // farther the pointer, the faster the page runs.
        const QPoint at = event->position().toPoint();
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() +
                                        (m_press.x() - at.x()) / 10);
        verticalScrollBar()->setValue(verticalScrollBar()->value() + (m_press.y() - at.y()) / 10);
        SyncScrollBars();
    }
    THtmlEx::mouseMoveEvent(event);
}

void TSkHtml::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    THtmlEx::mouseReleaseEvent(event);
}
