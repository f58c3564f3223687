#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QTreeWidget>

// The manual's table of contents: captions read from a tree file, each linked
// to a page. Selecting a node (click, key release, next/previous, history)
// raises nodeClicked, on which the engine runs the action template with the
// node's link. The tree keeps the last 20 nodes visited and follows the page
// view it is linked to.
class TSkTree : public QTreeWidget
{
    Q_OBJECT

public:
    // The link record of one node; one per node, in file order.
    struct TData
    {
        QString Link;
        QTreeWidgetItem *Node = nullptr;
    };

    static constexpr int kHistorySize = 20;

    explicit TSkTree(QWidget *parent = nullptr);
    ~TSkTree() override;

    QString ActionText;

    void LoadTree(const QString &fileName);
    void ClearTree();
    // The index of the picture in the tree's image list, read once per
    // distinct name (trimmed, lower-cased); negative when it cannot be read.
    int AddIcon(const QString &fileName);
    void SetOpenBlock(bool open);
    bool OpenBlock() const { return m_openBlock; }
    void SetSelectColor(const QColor &color);
    QColor SelectColor() const { return m_selectColor; }
    QFont HotFont() const;
    // A single plain line around the tree, or none (the default).
    void SetBorder(bool bordered);
    void SetNextButton(QWidget *button);
    void SetPrevButton(QWidget *button);
    QWidget *NextButton() const { return m_nextButton; }
    QWidget *PrevButton() const { return m_prevButton; }

    QTreeWidgetItem *SelectedNode() const;
    QString SelectedLink() const;
    QString SelectedAction() const;
    // First node in file order whose link equals the text ignoring the case
    // of Latin letters; none for an empty text.
    QTreeWidgetItem *FindNodeByLink(const QString &link) const;
    QTreeWidgetItem *FindNodeByAction(const QString &action) const;
    // "caption=link" of every node whose caption contains the text (any case).
    void FindTitles(const QString &text, QStringList &result) const;
    const QList<TData> &Links() const { return m_links; }
    QString LinkOf(const QTreeWidgetItem *node) const;
    const QHash<QString, int> &IconIndex() const { return m_iconIndex; }
    int IconCount() const { return int(m_icons.size()); }

    // History: entry 0 is the newest.
    QString HistoryItem(int position) const;
    const QStringList &HistoryCaptions() const { return m_historyCaptions; }
    int HistoryCount() const { return int(m_historyActions.size()); }
    int HistoryPos() const { return m_historyPos; }
    void GoHistory(int position);

    void SelectNext();
    void SelectPrev();
    // tree_go: the focus, then the node of the link selected (no node when
    // there is none). Runs nothing.
    void GoLink(const QString &link);
    void ExpandAllNodes();
    void CollapseAllNodes();
    void ShowOrHide();
    void UpdateNavButtons();

public slots:
    // The linked page view shows another page (fileName as tree files store
    // links): when it is not the selected node's file (ignoring case), the
    // first node of that file is selected, or none. Nothing is loaded.
    void SyncToPage(const QString &fileName);

public:
signals:
    // The tree's click: the engine runs the action with the selected link.
    void nodeClicked();

protected:
    void keyReleaseEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void drawBranches(QPainter *painter, const QRect &rect,
                      const QModelIndex &index) const override;

private:
    void recordSelection();
    void selectNode(QTreeWidgetItem *node);
    void applyPalette();

    QList<TData> m_links;
    QHash<QString, int> m_linkIndex; // Latin-folded link -> first record
    // FindNodeByAction's index, built on first use for the template it was
    // built with.
    mutable QHash<QString, int> m_actionIndex;
    mutable QString m_actionIndexTemplate;
    mutable bool m_actionIndexValid = false;

    QList<QIcon> m_icons;
    QHash<QString, int> m_iconIndex;

    QStringList m_historyActions;  // oldest first
    QStringList m_historyCaptions; // newest first
    int m_historyPos = 0;
    bool m_recording = true;
    bool m_loading = false;

    bool m_openBlock = false;
    QColor m_selectColor;
    QPointer<QWidget> m_nextButton;
    QPointer<QWidget> m_prevButton;
    int m_savedLeft = 0;
    int m_savedTop = 0;
};
