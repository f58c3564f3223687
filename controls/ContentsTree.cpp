#include "controls/ContentsTree.h"

#include "controls/PictureFiles.h"
#include "core/ActionText.h"
#include "core/LogCategories.h"
#include "core/ResourceArchive.h"
#include "core/TreeFile.h"
#include "platform/Jpeg.h"

#include <QKeyEvent>
#include <QPixmap>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// A node knows its link record by index, so no per-node variant is needed.
class TreeNode : public QTreeWidgetItem
{
public:
    static constexpr int kType = QTreeWidgetItem::UserType + 1;

    explicit TreeNode(int record)
        : QTreeWidgetItem(kType)
        , Record(record)
    {}

    const int Record;
};

int recordOf(const QTreeWidgetItem *node)
{
    return node && node->type() == TreeNode::kType ? static_cast<const TreeNode *>(node)->Record
                                                   : -1;
}

// Links compare ignoring the case of Latin letters only.
QString foldLatin(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return out;
}

// Searches answer the first record in file order, so a later duplicate is
// not indexed.
void insertFirst(QHash<QString, int> &index, const QString &key, int record)
{
    if (!index.contains(key))
        index.insert(key, record);
}

QString trimmedName(const QString &name)
{
    qsizetype from = 0;
    qsizetype to = name.size();
    while (from < to && name[from].unicode() <= u' ')
        ++from;
    while (to > from && name[to - 1].unicode() <= u' ')
        --to;
    return name.mid(from, to - from);
}

// Bitmaps and JPEG pictures take the archive's picture path; anything else
// (PNG, GIF) is whatever QImage reads, or JPEG bytes under another name.
QImage readPicture(const QString &name)
{
    const QString lower = name.toLower();
    for (const char *ext : {".bmp", ".jpg", ".jpeg", ".jpe"}) {
        if (lower.endsWith(QLatin1String(ext)))
            return LoadBitmapResource(name);
    }
    const TPack pack(name);
    QImage image = QImage::fromData(pack.data());
    if (image.isNull() && pack.data().startsWith("\xFF\xD8"))
        image = platform::decodeJpeg(pack.data());
    return image;
}

// The picture is its own mask: its white pixels are transparent.
QPixmap masked(const QImage &picture)
{
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((row[x] & 0x00FFFFFF) == 0x00FFFFFF)
                row[x] = 0;
        }
    }
    return QPixmap::fromImage(image);
}

// With the picture's "@2x" variant, when the manual has one, a dense screen
// draws the icon from it instead of enlarging the small one.
QIcon maskedIcon(const QImage &picture, const QString &name)
{
    QIcon icon(masked(picture));
    const QString dense = ScaledPictureName(name, 2);
    if (ResourceExists(dense)) {
        const QImage big = readPicture(dense);
        if (!big.isNull())
            icon.addPixmap(masked(big));
    }
    return icon;
}

// The node under the mouse is drawn in the hot font, underlined and red.
class HotNodeDelegate : public QStyledItemDelegate
{
public:
    explicit HotNodeDelegate(TSkTree *tree)
        : QStyledItemDelegate(tree)
        , m_tree(tree)
    {}

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        // On a light selection colour the caption keeps the tree's own text
        // colour; white would hardly show.
        if ((option->state & QStyle::State_Selected) && qGray(m_tree->SelectColor().rgb()) > 128)
            option->palette.setColor(QPalette::HighlightedText,
                                     option->palette.color(QPalette::Active, QPalette::Text));
        if (option->state & QStyle::State_MouseOver) {
            option->font = m_tree->HotFont();
            option->palette.setColor(QPalette::Text, Qt::red);
            option->palette.setColor(QPalette::HighlightedText, Qt::red);
        }
    }

private:
    TSkTree *m_tree;
};

// Sets a flag for the length of a scope, whatever way the scope ends.
class FlagScope
{
public:
    FlagScope(bool &flag, bool value)
        : m_flag(flag)
        , m_old(flag)
    {
        m_flag = value;
    }
    ~FlagScope() { m_flag = m_old; }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;

private:
    bool &m_flag;
    bool m_old;
};

} // namespace

TSkTree::TSkTree(QWidget *parent)
    : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    setFrameShape(QFrame::NoFrame);
    setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_Hover);
    setItemDelegate(new HotNodeDelegate(this));
    m_selectColor = palette().color(QPalette::Active, QPalette::Highlight);
    applyPalette();

    connect(this, &QTreeWidget::itemSelectionChanged, this, &TSkTree::recordSelection);
    connect(this, &QAbstractItemView::clicked, this, &TSkTree::nodeClicked);
}

TSkTree::~TSkTree()
{
    // The view's own teardown changes the selection; nothing may be recorded
    // or raised from a half-destroyed tree.
    disconnect(this, nullptr, this, nullptr);
    m_loading = true;
}

void TSkTree::LoadTree(const QString &fileName)
{
    ClearTree();
    const QList<TTreeLine> lines = ReadTreeFile(fileName);
    FlagScope loading(m_loading, true);
    QList<QTreeWidgetItem *> nodes;
    nodes.reserve(lines.size());
    QList<QTreeWidgetItem *> top;
    m_links.reserve(lines.size());
    m_linkIndex.reserve(lines.size());
    // The nodes are put together off the view and handed to it in one step.
    for (const TTreeLine &line : lines) {
        const int record = int(m_links.size());
        auto *node = new TreeNode(record);
        node->setText(0, line.Caption);
        if (!line.Icon.isEmpty()) {
            const int icon = AddIcon(line.Icon);
            if (icon >= 0)
                node->setIcon(0, m_icons[icon]);
        }
        if (line.Parent < 0)
            top.append(node);
        else
            nodes[line.Parent]->addChild(node);
        nodes.append(node);
        m_links.append(TData{line.Link, node});
        if (!line.Link.isEmpty())
            insertFirst(m_linkIndex, foldLatin(line.Link), record);
    }
    addTopLevelItems(top);
    if (m_openBlock) {
        setUpdatesEnabled(false);
        expandAll();
        setUpdatesEnabled(true);
    }
}

void TSkTree::ClearTree()
{
    FlagScope loading(m_loading, true);
    clear();
    m_links.clear();
    m_linkIndex.clear();
    m_actionIndex.clear();
    m_actionIndexValid = false;
}

int TSkTree::AddIcon(const QString &fileName)
{
    const QString name = trimmedName(fileName);
    const QString key = name.toLower();
    if (const auto found = m_iconIndex.constFind(key); found != m_iconIndex.constEnd())
        return found.value();
    // A picture that cannot be read is remembered too, so that it is asked
    // for (and reported) once, not once per node.
    const QImage picture = readPicture(name);
    int index = -1;
    if (!picture.isNull()) {
        index = int(m_icons.size());
        m_icons.append(maskedIcon(picture, name));
    } else {
        qCInfo(lcTree).noquote() << "icon missing or unreadable:" << name;
    }
    m_iconIndex.insert(key, index);
    return index;
}

void TSkTree::SetOpenBlock(bool open)
{
    m_openBlock = open;
    setUpdatesEnabled(false);
    if (open)
        expandAll();
    // Without expand buttons the reader cannot open or close a branch by
    // mouse or key; the double click still can.
    setItemsExpandable(!open);
    setRootIsDecorated(!open);
    setUpdatesEnabled(true);
    viewport()->update();
}

void TSkTree::SetSelectColor(const QColor &color)
{
    m_selectColor = color;
    applyPalette();
}

void TSkTree::applyPalette()
{
    // The selection keeps its colour when the tree loses the focus.
    QPalette p = palette();
    p.setColor(QPalette::Active, QPalette::Highlight, m_selectColor);
    p.setColor(QPalette::Inactive, QPalette::Highlight, m_selectColor);
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);
}

QFont TSkTree::HotFont() const
{
    QFont hot = font();
    hot.setUnderline(true);
    return hot;
}

void TSkTree::SetBorder(bool bordered)
{
    setFrameStyle(bordered ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    setLineWidth(1);
}

void TSkTree::SetNextButton(QWidget *button)
{
    m_nextButton = button;
    UpdateNavButtons();
}

void TSkTree::SetPrevButton(QWidget *button)
{
    m_prevButton = button;
    UpdateNavButtons();
}

QTreeWidgetItem *TSkTree::SelectedNode() const
{
    const QList<QTreeWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QString TSkTree::LinkOf(const QTreeWidgetItem *node) const
{
    const int record = recordOf(node);
    return record >= 0 && record < m_links.size() ? m_links[record].Link : QString();
}

QString TSkTree::SelectedLink() const
{
    return LinkOf(SelectedNode());
}

QString TSkTree::SelectedAction() const
{
    const QString link = SelectedLink();
    // The very action a click runs (value appended when the template has no
    // "insert"), so history entries and favourites tell the nodes apart.
    return link.isEmpty() ? QString() : InsertValue(ActionText, link, true);
}

QTreeWidgetItem *TSkTree::FindNodeByLink(const QString &link) const
{
    if (link.isEmpty())
        return nullptr;
    const auto found = m_linkIndex.constFind(foldLatin(link));
    return found == m_linkIndex.constEnd() ? nullptr : m_links[found.value()].Node;
}

QTreeWidgetItem *TSkTree::FindNodeByAction(const QString &action) const
{
    if (action.isEmpty() || m_links.isEmpty())
        return nullptr;
    if (!m_actionIndexValid || m_actionIndexTemplate != ActionText) {
        m_actionIndex.clear();
        m_actionIndex.reserve(m_links.size());
        for (int i = 0; i < m_links.size(); ++i) {
            if (!m_links[i].Link.isEmpty())
                insertFirst(m_actionIndex,
                            foldLatin(InsertValue(ActionText, m_links[i].Link, true)), i);
        }
        m_actionIndexTemplate = ActionText;
        m_actionIndexValid = true;
    }
    const auto found = m_actionIndex.constFind(foldLatin(action));
    return found == m_actionIndex.constEnd() ? nullptr : m_links[found.value()].Node;
}

void TSkTree::FindTitles(const QString &text, QStringList &result) const
{
    const QString wanted = text.toLower();
    for (const TData &record : m_links) {
        const QString caption = record.Node->text(0);
        if (caption.toLower().contains(wanted))
            result.append(caption + u'=' + record.Link);
    }
}

QString TSkTree::HistoryItem(int position) const
{
    if (position < 0 || position >= m_historyActions.size())
        return {};
    return m_historyActions[m_historyActions.size() - 1 - position];
}

void TSkTree::recordSelection()
{
    if (m_loading)
        return;
    if (m_recording) {
        m_historyPos = 0;
        const QString action = SelectedAction();
        if (!action.isEmpty()) {
            m_historyActions.append(action);
            m_historyCaptions.prepend(SelectedNode()->text(0));
        }
        if (m_historyActions.size() > kHistorySize) {
            m_historyActions.removeFirst();
            m_historyCaptions.removeLast();
        }
    }
    UpdateNavButtons();
}

void TSkTree::selectNode(QTreeWidgetItem *node)
{
    for (QTreeWidgetItem *up = node->parent(); up; up = up->parent())
        up->setExpanded(true);
    setCurrentItem(node);
    scrollToItem(node);
}

void TSkTree::GoHistory(int position)
{
    if (topLevelItemCount() == 0 || position < 0 || position >= m_historyActions.size())
        return;
    FlagScope quiet(m_recording, false);
    m_historyPos = position;
    if (QTreeWidgetItem *node = FindNodeByAction(HistoryItem(position))) {
        selectNode(node);
        emit nodeClicked();
    }
}

void TSkTree::SelectNext()
{
    QTreeWidgetItem *selected = SelectedNode();
    if (!selected)
        return;
    if (QTreeWidgetItem *next = itemBelow(selected)) {
        selectNode(next);
        emit nodeClicked();
    }
}

void TSkTree::SelectPrev()
{
    QTreeWidgetItem *selected = SelectedNode();
    if (!selected)
        return;
    if (QTreeWidgetItem *previous = itemAbove(selected)) {
        selectNode(previous);
        emit nodeClicked();
    }
}

void TSkTree::GoLink(const QString &link)
{
    setFocus();
    if (QTreeWidgetItem *node = FindNodeByLink(link)) {
        selectNode(node);
    } else {
        setCurrentItem(nullptr);
        clearSelection();
    }
}

void TSkTree::ExpandAllNodes()
{
    setUpdatesEnabled(false);
    expandAll();
    setUpdatesEnabled(true);
    if (QTreeWidgetItem *selected = SelectedNode())
        scrollToItem(selected);
}

void TSkTree::CollapseAllNodes()
{
    setUpdatesEnabled(false);
    collapseAll();
    setUpdatesEnabled(true);
}

void TSkTree::ShowOrHide()
{
    if (!isHidden()) {
        m_savedLeft = x();
        m_savedTop = y();
    }
    setVisible(isHidden());
    if (!isHidden())
        move(m_savedLeft, m_savedTop);
}

void TSkTree::UpdateNavButtons()
{
    QTreeWidgetItem *selected = SelectedNode();
    if (!selected)
        return;
    if (m_nextButton)
        m_nextButton->setEnabled(itemBelow(selected) != nullptr);
    if (m_prevButton)
        m_prevButton->setEnabled(itemAbove(selected) != nullptr);
}

void TSkTree::SyncToPage(const QString &fileName)
{
    if (SelectedNode() && SelectedLink().compare(fileName, Qt::CaseInsensitive) == 0)
        return;
    QTreeWidgetItem *node = FindNodeByLink(fileName);
    const bool beyondLatin =
        std::any_of(fileName.cbegin(), fileName.cend(), [](QChar c) { return c.unicode() > 127; });
    if (!node && beyondLatin) {
        // The view lower-cases page names in every alphabet; a link with
        // capital Cyrillic letters is still the same page.
        for (const TData &record : m_links) {
            if (record.Link.compare(fileName, Qt::CaseInsensitive) == 0) {
                node = record.Node;
                break;
            }
        }
    }
    if (node) {
        selectNode(node);
    } else {
        setCurrentItem(nullptr);
        clearSelection();
    }
}

void TSkTree::keyReleaseEvent(QKeyEvent *event)
{
    QTreeWidget::keyReleaseEvent(event);
    // A held key repeats its release; the page opens once the key is let go.
    if (!event->isAutoRepeat())
        emit nodeClicked();
}

void TSkTree::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    QTreeWidgetItem *selected = SelectedNode();
    if (!selected)
        return;
    setUpdatesEnabled(false);
    selected->setExpanded(!selected->isExpanded());
    setUpdatesEnabled(true);
}

void TSkTree::drawBranches(QPainter *painter, const QRect &rect, const QModelIndex &index) const
{
    if (!m_openBlock)
        QTreeWidget::drawBranches(painter, rect, index);
}
