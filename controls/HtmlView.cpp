#include "controls/HtmlView.h"

#include "controls/PictureFiles.h"
#include "controls/PopupMenu.h"
#include "core/LogCategories.h"
#include "core/PathUtils.h"
#include "core/ResourceArchive.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Jpeg.h"
#include "platform/Text.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QUrl>

namespace {

const QString kScheme = QStringLiteral("remont");

bool isPictureExtension(const QString &lowerExt)
{
    return lowerExt == QLatin1String(".bmp") || lowerExt == QLatin1String(".gif") ||
           lowerExt == QLatin1String(".jpg") || lowerExt == QLatin1String(".jpeg") ||
           lowerExt == QLatin1String(".png");
}

QString folderOf(const QString &fullName)
{
    return fullName.left(fullName.lastIndexOf(u'\\') + 1);
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// "." and ".." steps of a full name, as a file system would take them.
QString normalizeName(const QString &name)
{
    if (!name.contains(QLatin1String(".\\")) && !name.endsWith(u'.'))
        return name;
    const QStringList parts = name.split(u'\\');
    QStringList out;
    for (const QString &part : parts) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (out.size() > 1)
                out.removeLast();
            continue;
        }
        out.append(part);
    }
    return out.join(u'\\');
}

// A name in program form as a URL of the viewer's own scheme; a folder keeps
// its trailing separator, so relative names resolve inside it.
QUrl nameToUrl(const QString &name)
{
    QUrl url;
    url.setScheme(kScheme);
    QString path = name;
    path.replace(u'\\', u'/');
    url.setPath(u'/' + path, QUrl::DecodedMode);
    return url;
}

// Back from a URL the document resolved to a name for the archive reader.
// Names of other schemes (web addresses) have no name: they are left alone.
QString urlToName(const QUrl &url)
{
    const QString scheme = url.scheme();
    QString path = url.path(QUrl::FullyDecoded);
    if (scheme == kScheme) {
        if (path.startsWith(u'/'))
            path.remove(0, 1);
    } else if (scheme.size() == 1 && scheme[0].isLetter()) {
        // "Z:\pics\a.jpg" written in a page reads as the scheme "z".
        path = scheme.toUpper() + u':' + path;
    } else if (scheme == QLatin1String("file")) {
        return platform::toVirtual(url.toLocalFile());
    } else {
        return {};
    }
    path.replace(u'/', u'\\');
    return normalizeName(path);
}

// Pages, style sheets and text files are Windows-1251 unless they say UTF-8.
QString decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    const QByteArrayView head(bytes.constData(), qMin<qsizetype>(bytes.size(), 1024));
    const QByteArray lowerHead = head.toByteArray().toLower();
    if (lowerHead.contains("charset=utf-8") || lowerHead.contains("charset=\"utf-8"))
        return QString::fromUtf8(bytes);
    return platform::decode1251(bytes);
}

// The attributes of one tag ("<link rel=stylesheet href='a.css'>"), names
// lower-cased.
QHash<QString, QString> tagAttributes(QStringView tag)
{
    QHash<QString, QString> out;
    qsizetype i = 1;
    while (i < tag.size() && !tag[i].isSpace() && tag[i] != u'>')
        ++i; // the tag name
    while (i < tag.size()) {
        while (i < tag.size() && (tag[i].isSpace() || tag[i] == u'/'))
            ++i;
        if (i >= tag.size() || tag[i] == u'>')
            break;
        const qsizetype nameStart = i;
        while (i < tag.size() && !tag[i].isSpace() && tag[i] != u'=' && tag[i] != u'>')
            ++i;
        const QString name = tag.mid(nameStart, i - nameStart).toString().toLower();
        while (i < tag.size() && tag[i].isSpace())
            ++i;
        QString value;
        if (i < tag.size() && tag[i] == u'=') {
            ++i;
            while (i < tag.size() && tag[i].isSpace())
                ++i;
            if (i < tag.size() && (tag[i] == u'"' || tag[i] == u'\'')) {
                const QChar quote = tag[i++];
                const qsizetype valueStart = i;
                while (i < tag.size() && tag[i] != quote)
                    ++i;
                value = tag.mid(valueStart, i - valueStart).toString();
                ++i;
            } else {
                const qsizetype valueStart = i;
                while (i < tag.size() && !tag[i].isSpace() && tag[i] != u'>')
                    ++i;
                value = tag.mid(valueStart, i - valueStart).toString();
            }
        }
        out.insert(name, value);
    }
    return out;
}

// A picture that is missing or unreadable stays empty: a transparent point,
// so that the document neither asks again nor draws a broken-image sign.
QImage emptyPicture()
{
    QImage image(1, 1, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

TWaitCursor::TWaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

TWaitCursor::~TWaitCursor()
{
    QApplication::restoreOverrideCursor();
}

class THtmlEx::BusyGuard
{
public:
    explicit BusyGuard(THtmlEx *view)
        : m_view(view)
    {
        ++m_view->m_busy;
    }
    ~BusyGuard() { --m_view->m_busy; }
    BusyGuard(const BusyGuard &) = delete;
    BusyGuard &operator=(const BusyGuard &) = delete;

private:
    THtmlEx *m_view;
};

THtmlEx::THtmlEx(QWidget *parent)
    : QTextBrowser(parent)
{
    setFrameShape(QFrame::NoFrame);
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setAutoFillBackground(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::Base, pal.color(QPalette::Button));
    pal.setColor(QPalette::Text, pal.color(QPalette::ButtonText));
    pal.setColor(QPalette::Link, Qt::blue);
    pal.setColor(QPalette::LinkVisited, QColor(0x80, 0x00, 0x80));
    setPalette(pal);

    SetDefaultFont(QStringLiteral("Times New Roman"), 12);
    document()->setDefaultStyleSheet(
        QStringLiteral("pre, tt, code, kbd, samp { font-family: \"Courier New\"; }"));
    document()->setBaseUrl(nameToUrl(QString()));

    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) {
        // A mouse click hands over the target as the page wrote it; the URL
        // the browser made of it is only the fallback for the keyboard.
        QString target = m_pressedAnchor;
        if (target.isEmpty()) {
            target = url.toString(QUrl::PrettyDecoded);
            target.replace(QLatin1String("%5C"), QLatin1String("\\"), Qt::CaseInsensitive);
        }
        HotSpotClick(target);
    });
    // The document's size changes after a resize too, when the browser has
    // laid it out again at the new width.
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            [this] { SyncScrollBars(); });
    connect(this, qOverload<const QUrl &>(&QTextBrowser::highlighted), this,
            [this](const QUrl &) { SyncScrollBars(); });
}

THtmlEx::~THtmlEx() = default;

QString THtmlEx::ExtensionOf(const QString &name)
{
    for (qsizetype i = name.size() - 1; i >= 0; --i) {
        const QChar c = name[i];
        if (c == u'.')
            return name.mid(i);
        if (c == u'\\' || c == u'/' || c == u':')
            break;
    }
    return {};
}

// Loading.

bool THtmlEx::LoadPage(const QString &fileName)
{
    if (fileName.isEmpty() || Busy())
        return false;
    const BusyGuard busy(this);
    const TWaitCursor cursor;
    const qsizetype hash = fileName.indexOf(u'#');
    const QString file = hash >= 0 ? fileName.left(hash) : fileName;
    const QString anchor = hash >= 0 ? fileName.mid(hash + 1) : QString();
    if (file.isEmpty() && m_hasPage) {
        scrollToAnchor(anchor);
        SyncScrollBars();
        return true;
    }
    if (!ResourceExists(file)) {
        qCInfo(lcPage).noquote() << "page missing:" << file;
        platform::showMessage(QStringLiteral("Не найден файл: ") + file);
        return false;
    }
    QString fullName = ResolvePath(file, m_baseFolder);
    if (!ResourceExists(fullName))
        fullName = ResolvePath(file, AppFolder());
    const TPack pack(file);
    showDocument(decodeText(pack.data()), fullName, TFileType::Html, folderOf(fullName), anchor,
                 true);
    return true;
}

void THtmlEx::LoadHtmlText(const QString &html)
{
    ShowText(html, AppFolder());
}

void THtmlEx::LoadHtmlLines(const QStringList &lines)
{
    ShowText(lines.join(QLatin1String("\r\n")), QString());
}

void THtmlEx::ShowText(const QString &html, const QString &baseFolder)
{
    if (Busy())
        return;
    const BusyGuard busy(this);
    showDocument(html, QString(), TFileType::Text, baseFolder, QString(), false);
}

bool THtmlEx::ShowPicturePage(const QString &fullName)
{
    if (Busy())
        return false;
    const BusyGuard busy(this);
    const TWaitCursor cursor;
    if (!ResourceExists(fullName)) {
        platform::showMessage(QStringLiteral("Не найден файл: ") + fullName);
        return false;
    }
    const QString src = nameToUrl(fullName).toString(QUrl::FullyEncoded).toHtmlEscaped();
    showDocument(QStringLiteral("<img src=\"") + src + QStringLiteral("\">"), fullName,
                 TFileType::Picture, folderOf(fullName), QString(), true);
    return true;
}

void THtmlEx::showDocument(const QString &html, const QString &fullName, TFileType type,
                           const QString &baseFolder, const QString &anchor, bool advance)
{
    const THistoryEntry left{m_file, m_title, scrollPosition(), m_type};
    const bool leftFile = m_hasPage && m_type != TFileType::Text;
    const bool sameBase = m_hasPage && baseFolder.compare(m_baseFolder, Qt::CaseInsensitive) == 0;

    // Pages are mostly longer than the view: laid out beside the vertical
    // bar from the start, a long page is not laid out twice. The bars stay
    // as they are until the page is laid out in full.
    m_syncingBars = true;
    if (m_vertAllowed && verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOn)
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    document()->setBaseUrl(nameToUrl(baseFolder));
    setHtml(prepareHtml(html));
    applyPageFormat();
    m_file = fullName;
    m_type = type;
    m_baseFolder = baseFolder;
    markVisitedLinks();
    m_hasPage = true;
    m_title = document()->metaInformation(QTextDocument::DocumentTitle);

    // Laid out in full now: positions, anchors and the bars depend on it.
    document()->documentLayout()->documentSize();
    if (!anchor.isEmpty())
        scrollToAnchor(anchor);
    else if (type == TFileType::Text && sameBase)
        setScrollPosition(QPoint(0, left.Position.y()));
    else
        setScrollPosition(QPoint(0, 0));

    m_syncingBars = false;
    if (advance && !(leftFile && left.Type == type && sameName(left.File, fullName)))
        advanceHistory(leftFile ? &left : nullptr);
    SyncScrollBars();
}

QString THtmlEx::prepareHtml(const QString &html) const
{
    // Linked style sheets are read here, for rel="stylesheet" only, and put
    // in place as style elements; the document itself would follow type
    // instead of rel.
    if (!html.contains(QLatin1String("<link"), Qt::CaseInsensitive))
        return html;
    QString out;
    out.reserve(html.size());
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = html.indexOf(QLatin1String("<link"), from, Qt::CaseInsensitive);
        if (at < 0)
            break;
        const qsizetype end = html.indexOf(u'>', at);
        if (end < 0)
            break;
        const QChar next = at + 5 < html.size() ? html[at + 5] : QChar(u'>');
        if (!next.isSpace() && next != u'>' && next != u'/') { // <linkx...>
            out += QStringView(html).mid(from, at + 5 - from);
            from = at + 5;
            continue;
        }
        out += QStringView(html).mid(from, at - from);
        from = end + 1;
        const QHash<QString, QString> attributes =
            tagAttributes(QStringView(html).mid(at, end + 1 - at));
        if (attributes.value(QStringLiteral("rel")).trimmed().toLower() !=
            QLatin1String("stylesheet"))
            continue;
        const QString href = attributes.value(QStringLiteral("href"));
        const QString name =
            href.isEmpty() ? QString() : urlToName(document()->baseUrl().resolved(QUrl(href)));
        if (name.isEmpty())
            continue;
        QString css = decodeText(OpenResource(name));
        css.replace(QLatin1String("</"), QLatin1String("<\\/"));
        out += QStringLiteral("<style type=\"text/css\">") + css + QStringLiteral("</style>");
    }
    out += QStringView(html).mid(from);
    return out;
}

void THtmlEx::applyPageFormat()
{
    QTextFrame *root = document()->rootFrame();
    QTextFrameFormat format = root->frameFormat();
    format.setLeftMargin(10);
    format.setRightMargin(10);
    format.setTopMargin(5);
    format.setBottomMargin(5);
    root->setFrameFormat(format);
}

QVariant THtmlEx::loadResource(int type, const QUrl &url)
{
    const QString name = urlToName(url);
    if (name.isEmpty())
        return {};
    switch (type) {
    case QTextDocument::ImageResource: {
        // A missing picture stays empty without a word, except a GIF, which
        // gets the archive reader's message.
        if (THtmlEx::ExtensionOf(name.toLower()) != QLatin1String(".gif") &&
            !ResourceExists(name)) {
            qCInfo(lcPage).noquote() << "picture missing:" << name << "on" << CurrentFile();
            return emptyPicture();
        }
        const QImage image = loadPicture(name);
        if (image.isNull()) {
            qCInfo(lcPage).noquote() << "picture unreadable:" << name << "on" << CurrentFile();
            return emptyPicture();
        }
        return image;
    }
    case QTextDocument::StyleSheetResource:
    case QTextDocument::HtmlResource:
        return decodeText(OpenResource(name));
    default:
        return {};
    }
}

QImage THtmlEx::loadPicture(const QString &name)
{
    // On a dense screen the picture's "@2x" variant, when the manual has one,
    // takes its place at the picture's own size, so it is drawn sharp.
    int scale = 1;
    const QString source =
        devicePixelRatioF() > 1 ? DensestPicture(name, devicePixelRatioF(), &scale) : name;
    const QString key = source.toLower();
    for (qsizetype i = 0; i < m_pictureCache.size(); ++i) {
        if (m_pictureCache[i].key == key) {
            if (i > 0)
                m_pictureCache.move(i, 0);
            return m_pictureCache.first().image;
        }
    }
    const QByteArray bytes = OpenResource(source);
    if (bytes.isEmpty())
        return {};
    QImage image;
    if (bytes.startsWith("\xFF\xD8"))
        image = platform::decodeJpeg(bytes);
    else
        image = QImage::fromData(bytes);
    if (image.isNull())
        return {};
    image.setDevicePixelRatio(scale);
    m_pictureCache.prepend({key, image});
    while (m_pictureCache.size() > PictureCacheSize)
        m_pictureCache.removeLast();
    return image;
}

// History.

void THtmlEx::advanceHistory(const THistoryEntry *left)
{
    if (left && m_historyIndex < m_history.size() &&
        sameName(m_history[m_historyIndex].File, left->File))
        m_history[m_historyIndex] = *left;
    m_history.erase(m_history.begin(), m_history.begin() + m_historyIndex);
    m_history.prepend({m_file, m_title, QPoint(), m_type});
    m_historyIndex = 0;
    while (m_history.size() > HistoryMaxCount)
        m_history.removeLast();
    emit historyChanged();
}

bool THtmlEx::GoHistory(int index)
{
    if (Busy() || index < 0 || index >= m_history.size() || index == m_historyIndex)
        return false;
    const BusyGuard busy(this);
    const TWaitCursor cursor;
    if (m_hasPage && m_type != TFileType::Text && sameName(m_history[m_historyIndex].File, m_file))
        m_history[m_historyIndex].Position = scrollPosition();
    const THistoryEntry entry = m_history[index];
    if (!sameName(entry.File, m_file) || entry.Type != m_type) {
        if (!loadHistoryEntry(entry))
            return false;
    }
    setScrollPosition(entry.Position);
    m_historyIndex = int(index);
    emit historyChanged();
    SyncScrollBars();
    return true;
}

bool THtmlEx::loadHistoryEntry(const THistoryEntry &entry)
{
    if (!ResourceExists(entry.File)) {
        platform::showMessage(QStringLiteral("Не найден файл: ") + entry.File);
        return false;
    }
    if (entry.Type == TFileType::Picture) {
        const QString src = nameToUrl(entry.File).toString(QUrl::FullyEncoded).toHtmlEscaped();
        showDocument(QStringLiteral("<img src=\"") + src + QStringLiteral("\">"), entry.File,
                     TFileType::Picture, folderOf(entry.File), QString(), false);
    } else {
        const TPack pack(entry.File);
        showDocument(decodeText(pack.data()), entry.File, TFileType::Html, folderOf(entry.File),
                     QString(), false);
    }
    m_title = entry.Title.isEmpty() ? m_title : entry.Title;
    return true;
}

QStringList THtmlEx::HistoryFiles() const
{
    QStringList out;
    for (const THistoryEntry &e : m_history)
        out.append(e.File);
    return out;
}

QStringList THtmlEx::HistoryTitles() const
{
    QStringList out;
    for (const THistoryEntry &e : m_history)
        out.append(e.Title);
    return out;
}

// Links.

QString THtmlEx::visitedKey(const QString &href) const
{
    const QString file = href.left(href.indexOf(u'#') >= 0 ? href.indexOf(u'#') : href.size());
    if (file.isEmpty())
        return {};
    if (file.startsWith(u'$') || (file.contains(u':') && !(file.size() > 1 && file[1] == u':')))
        return file.toLower(); // commands and addresses are taken as written
    return normalizeName(ResolvePath(file, m_baseFolder)).toLower();
}

void THtmlEx::rememberVisited(const QString &target)
{
    const QString key = visitedKey(target);
    if (key.isEmpty())
        return;
    m_visited.removeAll(key);
    m_visited.prepend(key);
    while (m_visited.size() > VisitedMaxCount)
        m_visited.removeLast();
}

void THtmlEx::markVisitedLinks()
{
    // Links the page leaves in the default link colour turn purple once
    // followed; a page's own link colours stay.
    if (m_visited.isEmpty())
        return;
    const QColor link = palette().color(QPalette::Link);
    const QColor visited = palette().color(QPalette::LinkVisited);
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (!format.isAnchor() || format.foreground().color() != link ||
                !m_visited.contains(visitedKey(format.anchorHref())))
                continue;
            QTextCursor cursor(document());
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            QTextCharFormat colour;
            colour.setForeground(visited);
            cursor.mergeCharFormat(colour);
        }
    }
}

void THtmlEx::RouteLink(const QString &, bool &) {}

void THtmlEx::HotSpotClick(const QString &target)
{
    if (target.isEmpty())
        return;
    QPointer<THtmlEx> alive(this);
    rememberVisited(target);
    bool handled = false;
    RouteLink(target, handled);
    if (alive && !handled && !Busy())
        followLink(target);
}

void THtmlEx::followLink(const QString &target)
{
    const qsizetype hash = target.indexOf(u'#');
    const QString file = hash >= 0 ? target.left(hash) : target;
    const QString anchor = hash >= 0 ? target.mid(hash + 1) : QString();
    if (file.isEmpty()) {
        // A jump within the page is a step of the history too.
        if (anchor.isEmpty() || !m_hasPage)
            return;
        const THistoryEntry left{m_file, m_title, scrollPosition(), m_type};
        scrollToAnchor(anchor);
        if (m_type != TFileType::Text)
            advanceHistory(&left);
        SyncScrollBars();
        return;
    }
    const QString ext = THtmlEx::ExtensionOf(file.toLower());
    const bool page = ext == QLatin1String(".htm") || ext == QLatin1String(".html");
    if (!page && !isPictureExtension(ext))
        return;
    const QString fullName = ResolvePath(file, m_baseFolder);
    if (!page) {
        if (ResourceExists(fullName))
            ShowPicturePage(fullName);
        else
            platform::showMessage(QStringLiteral("Не найден файл: ") + file);
        return;
    }
    const BusyGuard busy(this);
    const TWaitCursor cursor;
    if (!ResourceExists(fullName)) {
        platform::showMessage(QStringLiteral("Не найден файл: ") + file);
        return;
    }
    const TPack pack(fullName);
    showDocument(decodeText(pack.data()), fullName, TFileType::Html, folderOf(fullName), anchor,
                 true);
}

// Scrolling and the bars.

QPoint THtmlEx::scrollPosition() const
{
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void THtmlEx::setScrollPosition(const QPoint &position)
{
    horizontalScrollBar()->setValue(position.x());
    verticalScrollBar()->setValue(position.y());
}

void THtmlEx::SetHorzBarAllowed(bool allowed)
{
    m_horzAllowed = allowed;
    SyncScrollBars();
}

void THtmlEx::SetVertBarAllowed(bool allowed)
{
    m_vertAllowed = allowed;
    SyncScrollBars();
}

bool THtmlEx::HorzBarVisible() const
{
    return horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
}

bool THtmlEx::VertBarVisible() const
{
    return verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
}

void THtmlEx::SyncScrollBars()
{
    // The browser's own bars (styled by the skin) are shown only when the
    // document is larger than the view, and never when not allowed. Showing
    // one narrows the view for the other, so the decision settles in turns;
    // it cannot swing back, as a wider view never makes the document larger.
    if (m_syncingBars)
        return;
    m_syncingBars = true;
    for (int turn = 0; turn < 3; ++turn) {
        const Qt::ScrollBarPolicy h = m_horzAllowed && horizontalScrollBar()->maximum() > 0
                                          ? Qt::ScrollBarAlwaysOn
                                          : Qt::ScrollBarAlwaysOff;
        const Qt::ScrollBarPolicy v = m_vertAllowed && verticalScrollBar()->maximum() > 0
                                          ? Qt::ScrollBarAlwaysOn
                                          : Qt::ScrollBarAlwaysOff;
        if (h == horizontalScrollBarPolicy() && v == verticalScrollBarPolicy())
            break;
        setHorizontalScrollBarPolicy(h);
        setVerticalScrollBarPolicy(v);
    }
    m_syncingBars = false;
}

void THtmlEx::resizeEvent(QResizeEvent *event)
{
    QTextBrowser::resizeEvent(event);
    SyncScrollBars();
}

void THtmlEx::keyPressEvent(QKeyEvent *event)
{
    QTextBrowser::keyPressEvent(event);
    SyncScrollBars();
}

void THtmlEx::keyReleaseEvent(QKeyEvent *event)
{
    QTextBrowser::keyReleaseEvent(event);
    SyncScrollBars();
}

void THtmlEx::wheelEvent(QWheelEvent *event)
{
    QTextBrowser::wheelEvent(event);
    SyncScrollBars();
}

void THtmlEx::mouseReleaseEvent(QMouseEvent *event)
{
    m_pressedAnchor = anchorAt(event->position().toPoint());
    QPointer<THtmlEx> alive(this);
    QTextBrowser::mouseReleaseEvent(event);
    if (alive)
        m_pressedAnchor.clear();
}

void THtmlEx::contextMenuEvent(QContextMenuEvent *event)
{
    // The viewer has no menu of its own: only the one the structure gives it.
    event->accept();
    if (!m_popupMenu)
        return;
    if (auto *menu = qobject_cast<TSkPopMenu *>(m_popupMenu.data()))
        menu->Popup(event->globalPos().x(), event->globalPos().y());
    else
        m_popupMenu->popup(event->globalPos());
}

// Settings.

void THtmlEx::SetDefaultFont(const QString &family, int pointSize)
{
    m_fontName = family;
    m_fontSize = pointSize;
    QFont font(family);
    if (pointSize > 0)
        font.setPointSize(pointSize);
    // Manual pages are Cyrillic and Latin, which need no shaping; without
    // it a long page lays out about a third faster.
    font.setStyleStrategy(QFont::PreferNoShaping);
    setFont(font);
    document()->setDefaultFont(font);
}

void THtmlEx::SetPageBackground(const QColor &color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Base, color);
    setPalette(pal);
}

void THtmlEx::SetNoSelect(bool noSelect)
{
    m_noSelect = noSelect;
    setTextInteractionFlags(noSelect ? Qt::LinksAccessibleByMouse : Qt::TextBrowserInteraction);
}

// Printing.

std::unique_ptr<QTextDocument> THtmlEx::PrintLayout(QPrinter &printer) const
{
    std::unique_ptr<QTextDocument> doc(document()->clone());
    doc->setBaseUrl(document()->baseUrl());
    // The copy has no viewer to read pictures: it gets the ones shown.
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QUrl name(format.toImageFormat().name());
            const QUrl key = doc->baseUrl().resolved(name);
            if (!doc->resource(QTextDocument::ImageResource, key).isValid())
                doc->addResource(QTextDocument::ImageResource, key,
                                 document()->resource(QTextDocument::ImageResource, name));
        }
    }
    printer.setFullPage(true);
    doc->documentLayout()->setPaintDevice(&printer);
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const qreal margin = printer.resolution() * 2.0 / 2.54;
    QTextFrameFormat format = doc->rootFrame()->frameFormat();
    format.setMargin(margin);
    format.setLeftMargin(margin);
    format.setRightMargin(margin);
    format.setTopMargin(margin);
    format.setBottomMargin(margin);
    format.clearBackground();
    doc->rootFrame()->setFrameFormat(format);
    doc->setPageSize(paper.size());
    return doc;
}

int THtmlEx::PrintPageCount(QPrinter &printer) const
{
    return PrintLayout(printer)->pageCount();
}

bool THtmlEx::PrintPages(QPrinter &printer, int first, int last) const
{
    const std::unique_ptr<QTextDocument> doc = PrintLayout(printer);
    first = qMax(first, 1);
    last = qMin(last, doc->pageCount());
    if (first > last)
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QSizeF page = doc->pageSize();
    for (int i = first; i <= last; ++i) {
        if (i > first)
            printer.newPage();
        painter.save();
        const qreal top = (i - 1) * page.height();
        painter.translate(0, -top);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, top, page.width(), page.height());
        context.palette.setColor(QPalette::Text, Qt::black);
        doc->documentLayout()->draw(&painter, context);
        painter.restore();
    }
    return painter.end();
}
