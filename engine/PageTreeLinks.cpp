#include "engine/PageTreeLinks.h"

#include "controls/PageView.h"

TPageTreeLinks::TPageTreeLinks(TSkHtml *view)
    : QObject(view)
{
    setObjectName(QStringLiteral("remontTreeLinks"));
    connect(view, &TSkHtml::treeSyncRequested, this, &TPageTreeLinks::follow);
}

TPageTreeLinks &TPageTreeLinks::of(TSkHtml *view)
{
    if (TPageTreeLinks *links = find(view))
        return *links;
    return *new TPageTreeLinks(view); // owned by the view
}

TPageTreeLinks *TPageTreeLinks::find(const TSkHtml *view)
{
    return view ? view->findChild<TPageTreeLinks *>(QString(), Qt::FindDirectChildrenOnly)
                : nullptr;
}

namespace {

// Only an object that can follow a page is linked: a control of a type still
// to come must not hide the contents tree.
QObject *follower(QObject *tree)
{
    if (!tree || tree->metaObject()->indexOfMethod("SyncToPage(QString)") < 0)
        return nullptr;
    return tree;
}

} // namespace

void TPageTreeLinks::SetTree(QObject *tree)
{
    m_tree = follower(tree);
}

void TPageTreeLinks::SetTreeEx(QObject *tree)
{
    m_treeEx = follower(tree);
}

void TPageTreeLinks::follow(const QString &fromAppFolder, const QString &fromPageFolder)
{
    if (m_treeEx) {
        QMetaObject::invokeMethod(m_treeEx, "SyncToPage", Q_ARG(QString, fromAppFolder));
        return;
    }
    if (m_tree)
        QMetaObject::invokeMethod(m_tree, "SyncToPage", Q_ARG(QString, fromPageFolder));
}
