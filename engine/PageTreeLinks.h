#pragma once

#include <QObject>
#include <QPointer>

class TSkHtml;

// The trees a page view keeps in step with the page it shows (keys link_tree,
// link_tree_ex). The view only announces its page; this object, a child of
// the view, hands the name to the linked trees: the checkable tree when there
// is one, else the contents tree. Neither tree is owned: a destroyed tree
// simply drops out.
class TPageTreeLinks : public QObject
{
    Q_OBJECT

public:
    // The links of the view, made on first use.
    static TPageTreeLinks &of(TSkHtml *view);
    // The links of the view, or null when nothing was ever linked.
    static TPageTreeLinks *find(const TSkHtml *view);

    // The trees are objects with a SyncToPage(QString) slot (TSkTree and the
    // checkable tree); null unlinks.
    void SetTree(QObject *tree);
    void SetTreeEx(QObject *tree);
    QObject *Tree() const { return m_tree; }
    QObject *TreeEx() const { return m_treeEx; }

private:
    explicit TPageTreeLinks(TSkHtml *view);
    void follow(const QString &fromAppFolder, const QString &fromPageFolder);

    QPointer<QObject> m_tree;
    QPointer<QObject> m_treeEx;
};
