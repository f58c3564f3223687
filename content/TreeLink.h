#pragma once

#include <QString>

// What an HTML page view needs from the trees linked to it, so that the
// tree's selection follows the page the reader is on. The view owns neither
// tree. Implementers are QObject-derived widgets: the view keeps the link
// through a QPointer obtained by dynamic_cast, so a destroyed tree simply
// drops out of the link.
//
// In both calls the view has already expanded the page name to a full path
// and stripped the application folder from it (the form in which tree files
// store their links). Selecting an item only moves the tree's selection (and
// scrolls it into view); the tree must not ask the view to load anything.

// The contents tree (type "tree").
class IContentsTreeLink
{
public:
    // Compare fileName, ignoring case, with the file of the selected node;
    // when they differ, select the first node whose file equals fileName
    // ignoring case, or no node when there is none.
    virtual void SyncToPage(const QString &fileName) = 0;

protected:
    ~IContentsTreeLink() = default;
};

// The checkable tree (type "tree_ex"); it takes precedence over the contents
// tree when a view has both.
class ICheckTreeLink
{
public:
    // Compare fileName, ignoring case, with the link of the selected item;
    // when they differ, select the first item whose link equals fileName
    // ignoring case and scroll it into view (selection unchanged when none).
    virtual void SyncToPage(const QString &fileName) = 0;

protected:
    ~ICheckTreeLink() = default;
};
