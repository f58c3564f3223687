#pragma once

#include "platform/ThemeLink.h"

#include <QList>
#include <QPointer>
#include <QString>

class QWidget;

// An engine's cache of skin files: one theme link per file name, whatever
// folder it was named with. The links belong to the window.
class TSkSkin
{
public:
    explicit TSkSkin(QWidget *window);
    ~TSkSkin();
    TSkSkin(const TSkSkin &) = delete;
    TSkSkin &operator=(const TSkSkin &) = delete;

    // True when a new link was made: false for an empty name and for a file
    // name (without its folder, ignoring case) that is held already. A file
    // that cannot be loaded still gets its (empty) link: nothing changes look.
    bool AddSkin(const QString &fileName);
    platform::ThemeLink *FindLink(const QString &fileName) const;
    int Count() const { return int(m_records.size()); }

private:
    struct Record
    {
        QString Name; // file part
        QPointer<platform::ThemeLink> Link;
    };

    QPointer<QWidget> m_window;
    QList<Record> m_records;
};
